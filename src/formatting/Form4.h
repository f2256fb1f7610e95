#pragma once
#include "platform/WindowDisabled.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RichTextBox;
class Workspace;

// The Font dialog: font name, size, style and the two effects of the active document's selection
// in one step, with a live sample. The frame is disabled while it is open.
class Form4 : public QDialog
{
    Q_OBJECT
public:
    explicit Form4(Workspace &workspace);

    QLabel *Label2;
    QLineEdit *Text1;
    QListWidget *List1;
    QLabel *Label3;
    QLineEdit *Text2;
    QListWidget *List2;
    QLabel *Label4;
    QLineEdit *Text3;
    QListWidget *List3;
    QPushButton *Command1;
    QPushButton *Command2;
    QGroupBox *Frame2;
    QCheckBox *Check1;
    QCheckBox *Check2;
    QGroupBox *Frame1;
    QLabel *Label1;

    void Command1_Click();
    void Command2_Click();

private:
    void buildControls();
    void Form_Load();
    void Form_Unload();
    void List1_Click(const QString &name);
    void List2_Click(const QString &style);
    void List3_Click(const QString &size);
    void Check1_Click();
    void Check2_Click();
    void applyStyle(RichTextBox &surface);
    void setSampleStyle(bool bold, bool italic);
    RichTextBox &surface() const;

    Workspace &m_workspace;
    std::optional<WindowDisabled> m_frameDisabled;
    // Whether the sample's name and size stand for something: read from the selection or chosen
    // in the lists. A mixed selection leaves them unknown, and OK then keeps the selection's own.
    bool m_sampleNameKnown = false;
    bool m_sampleSizeKnown = false;
};
