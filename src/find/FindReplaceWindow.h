#pragma once
#include "content/TextSearch.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Find and Replace" window: what to find and what to put in its place, the two options, the
// four buttons and a line that says how the last search went. It stays open beside the documents
// (it is not modal) and acts on the active one through the commands that own it.
class FindReplaceWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FindReplaceWindow(QWidget &frame);

    QLineEdit *findWhat;
    QLineEdit *replaceWith;
    QCheckBox *matchCase;
    QCheckBox *wholeWords;
    QPushButton *findNext;
    QPushButton *replace;
    QPushButton *replaceAll;
    QPushButton *closeButton;
    QLabel *status;

    TextSearch::Options options() const;
    void setOptions(TextSearch::Options options);
    void showStatus(const QString &text);

private:
    void buildControls();
};
