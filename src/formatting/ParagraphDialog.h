#pragma once
#include <QDialog>

class DropDownList;
class QLabel;
class QPushButton;
class Workspace;

// The Paragraph dialog: the left, right and first-line indents of the active document's
// paragraphs, in twips, written back on OK. It closes as soon as another window becomes active.
class ParagraphDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ParagraphDialog(Workspace &workspace);

    QLabel *leftIndentLabel;
    DropDownList *leftIndentBox; // "Left indentation :"
    QLabel *rightIndentLabel;
    DropDownList *rightIndentBox; // "Right indentation :"
    QLabel *firstLineLabel;
    DropDownList *firstLineBox; // "First line :"
    QPushButton *okButton;
    QPushButton *cancelButton;
    QLabel *pictureLabel;

    // OK: the dialog's choices go to the selection, then it closes.
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void loadIndents();
    void closeOnDeactivate();

    Workspace &m_workspace;
};
