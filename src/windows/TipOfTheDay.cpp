#include "windows/TipOfTheDay.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "platform/Failure.h"
#include "platform/Icons.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
const QString TipsFile = QStringLiteral("TIPOFDAY.TXT");
const QString Section = QStringLiteral("Options");
const QString Key = QStringLiteral("Show Tips at Startup");
} // namespace

TipOfTheDay::TipOfTheDay(Workspace &workspace) : QWidget(&workspace.window(), Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_workspace(workspace)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    const QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    loadTipsFile();
}

void TipOfTheDay::buildControls()
{
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("Picture1"));
    pictureLabel->setPixmap(Icons::application().pixmap(48, 48));
    pictureLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    headingLabel = new QLabel(QStringLiteral("Did you know..."), this);
    headingLabel->setObjectName(QStringLiteral("Label1"));
    QFont heading = headingLabel->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    headingLabel->setFont(heading);
    tipLabel = new QLabel(this);
    tipLabel->setObjectName(QStringLiteral("lblTipText"));
    tipLabel->setTextFormat(Qt::PlainText); // a tip is shown as it stands in the file
    tipLabel->setWordWrap(true);
    tipLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tipLabel->setMinimumSize(300, 110);
    showAtStartupCheck = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    showAtStartupCheck->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    nextTipButton = new QPushButton(QStringLiteral("&Next Tip"), this);
    nextTipButton->setObjectName(QStringLiteral("cmdNextTip"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(pictureLabel, 0, 0, 2, 1);
    grid->addWidget(headingLabel, 0, 1);
    grid->addWidget(tipLabel, 1, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(nextTipButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 2, 1);
    grid->addWidget(showAtStartupCheck, 2, 0, 1, 2);
    setFixedSize(480, 220);

    connect(showAtStartupCheck, &QCheckBox::toggled, this, &TipOfTheDay::saveShowAtStartup);
    connect(nextTipButton, &QPushButton::clicked, this, &TipOfTheDay::showNextTip);
    connect(okButton, &QPushButton::clicked, this, &TipOfTheDay::closeTips);
}

void TipOfTheDay::loadTipsFile()
{
    // The window opens whatever the setting says: the Help command that opens it is the user's
    // own request. Opening checks the box, which stores "1".
    showAtStartupCheck->setChecked(true);
    m_random.seed(m_workspace.services().randomSeed());
    if (!loadTips(m_workspace.services().appFolder.find(TipsFile)))
        tipLabel->setText(QStringLiteral("That the ") + TipsFile + QStringLiteral(" file was not found? "));
}

QStringList TipOfTheDay::splitTips(const QString &text)
{
    QStringList lines;
    QString line;
    bool lineOpen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            lines << line;
            line.clear();
            lineOpen = false;
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            line += c;
            lineOpen = true;
        }
    }
    if (lineOpen)
        lines << line;
    return lines;
}

bool TipOfTheDay::loadTips(const QString &path)
{
    if (path.isEmpty())
        return false;
    QByteArray bytes;
    if (!stopAtFirstFailure([&] { bytes = WholeFile::read(path); }))
        return false;
    m_tipLines = splitTips(PlainText::decode(bytes));
    pickRandomTip();
    return true;
}

void TipOfTheDay::displayCurrentTip()
{
    if (!m_tipLines.isEmpty())
        tipLabel->setText(m_tipLines.at(m_tipIndex - 1));
}

void TipOfTheDay::pickRandomTip()
{
    // Every tip has the same chance; the one on show may come again.
    const double r = m_random.generateDouble();
    m_tipIndex = int(r * double(m_tipLines.size()) + 1);
    displayCurrentTip();
}

void TipOfTheDay::saveShowAtStartup()
{
    const QString value = showAtStartupCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    skipOnFailure([&] { m_workspace.services().settings.saveSetting(Section, Key, value); });
}

void TipOfTheDay::showNextTip() { pickRandomTip(); }

void TipOfTheDay::closeTips() { close(); }

void TipOfTheDay::closeOnDeactivate() { close(); }

void TipOfTheDay::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Only another window of the program takes the tips away; switching to another program
    // leaves them open.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            closeOnDeactivate();
    }
}
