#pragma once
#include <QDialog>

class DropDownList;
class QLabel;
class QPushButton;
class Workspace;

// The Paragraph dialog: the left, right and first-line indents of the active document's
// paragraphs, in twips, written back on OK. It closes as soon as another window becomes active.
class Form7 : public QDialog
{
    Q_OBJECT
public:
    explicit Form7(Workspace &workspace);

    QLabel *Label1;
    DropDownList *Combo1; // "Left indentation :"
    QLabel *Label2;
    DropDownList *Combo2; // "Right indentation :"
    QLabel *Label3;
    DropDownList *Combo3; // "First line :"
    QPushButton *Command1;
    QPushButton *Command2;
    QLabel *Image1;

    void Command1_Click();
    void Command2_Click();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Deactivate();

    Workspace &m_workspace;
};
