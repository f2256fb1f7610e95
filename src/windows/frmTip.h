#pragma once
#include <QRandomGenerator>
#include <QStringList>
#include <QWidget>

class Workspace;
class QCheckBox;
class QLabel;
class QPushButton;

// Tip of the Day: one tip at a time, drawn at random from the tips file, one tip per line. It
// closes as soon as another window of the program becomes active.
class frmTip : public QWidget
{
    Q_OBJECT
public:
    explicit frmTip(Workspace &workspace);

    QLabel *Picture1;
    QLabel *Label1;
    QLabel *lblTipText;
    QCheckBox *chkLoadTipsAtStartup;
    QPushButton *cmdNextTip;
    QPushButton *cmdOK;

    // Fills the tips from the file and shows one at random; false when there is no such file or
    // it cannot be read.
    bool LoadTips(const QString &path);
    void DisplayCurrentTip();
    void PickRandomTip();

    const QStringList &tipLines() const { return TipLines; }
    int tipIndex() const { return TipIndex; }

    // The file's lines: each ends at CR or CR LF, or at the end of the file; a line feed alone is
    // part of the line.
    static QStringList splitTips(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Deactivate();
    void chkLoadTipsAtStartup_Click();
    void cmdNextTip_Click();
    void cmdOK_Click();

    Workspace &m_workspace;
    QStringList TipLines;
    int TipIndex = 0; // 1-based
    QRandomGenerator m_random;
};
