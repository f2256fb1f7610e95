#pragma once
#include <QWidget>

class MDIForm1;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RichTextBox;

// The Font dialog: font name, size, style and the two effects of the active document's selection
// in one step, with a live sample. The frame is disabled while it is open.
class Form4 : public QWidget
{
    Q_OBJECT
public:
    explicit Form4(MDIForm1 &frame);

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

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

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

    MDIForm1 &m_frame;
    // Whether the sample's name and size stand for something: read from the selection or chosen
    // in the lists. A mixed selection leaves them unknown, and OK then keeps the selection's own.
    bool m_sampleNameKnown = false;
    bool m_sampleSizeKnown = false;
};
