#pragma once
#include "platform/Dialogs.h"

#include <QColor>
#include <QString>

class QPrinter;
class QWidget;

// One common-dialog instance: it keeps its title, filter, flags, last file name and colour from
// one use to the next, and shows the platform's dialogs through Dialogs. With cancelError set, a
// cancel is reported as a Failure, as the commands that use the instance expect.
class CommonDialog
{
public:
    explicit CommonDialog(Dialogs &dialogs) : m_dialogs(&dialogs) {}

    QString dialogTitle;
    QString filter;
    int flags = 0;
    QString fileName; // full path of the last chosen file
    QString fileTitle; // its name without folder
    QColor color = Qt::black;
    bool cancelError = false;

    // Each returns true when the user accepted; on cancel returns false, or throws with cancelError.
    bool showOpen(QWidget *parent);
    bool showSave(QWidget *parent);
    bool showColor(QWidget *parent);
    bool showPrinter(QPrinter &printer, QWidget *parent);

private:
    bool showFile(Dialogs::FileMode mode, QWidget *parent);
    bool cancelled();

    Dialogs *m_dialogs;
};
