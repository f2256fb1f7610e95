#pragma once
#include "content/PrintProgress.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress of a print job on screen: a dialog "Printing page N of M" with Cancel, shown once
// a job has more than a few pages. Cancel stops the job after the page being printed. While the
// dialog is up, the pointer over it is the ordinary one (the busy pointer would hide Cancel).
class PrintProgressDialog : public PrintProgress
{
public:
    static constexpr int kShownAbovePages = 3;

    explicit PrintProgressDialog(QWidget *parent);
    ~PrintProgressDialog() override;

    bool beforePage(int page, int pageCount) override;

private:
    void show(int pageCount);

    QPointer<QWidget> m_parent;
    QPointer<QProgressDialog> m_dialog;
    bool m_shown = false;
};
