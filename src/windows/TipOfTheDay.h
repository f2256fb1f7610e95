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
class TipOfTheDay : public QWidget
{
    Q_OBJECT
public:
    explicit TipOfTheDay(Workspace &workspace);

    QLabel *pictureLabel;
    QLabel *headingLabel;
    QLabel *tipLabel;
    QCheckBox *showAtStartupCheck;
    QPushButton *nextTipButton;
    QPushButton *okButton;

    // Fills the tips from the file and shows one at random; false when there is no such file or
    // it cannot be read.
    bool loadTips(const QString &path);
    void displayCurrentTip();
    void pickRandomTip();

    const QStringList &tipLines() const { return m_tipLines; }
    int tipIndex() const { return m_tipIndex; }

    // The file's lines: each ends at CR or CR LF, or at the end of the file; a line feed alone is
    // part of the line.
    static QStringList splitTips(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void loadTipsFile();
    void closeOnDeactivate();
    void saveShowAtStartup();
    void showNextTip();
    void closeTips();

    Workspace &m_workspace;
    QStringList m_tipLines;
    int m_tipIndex = 0; // 1-based
    QRandomGenerator m_random;
};
