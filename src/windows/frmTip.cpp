#include "windows/frmTip.h"
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

frmTip::frmTip(Workspace &workspace) : QWidget(&workspace.window(), Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_workspace(workspace)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    const QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void frmTip::buildControls()
{
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(Icons::application().pixmap(48, 48));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Label1 = new QLabel(QStringLiteral("Did you know..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    Label1->setFont(heading);
    lblTipText = new QLabel(this);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setTextFormat(Qt::PlainText); // a tip is shown as it stands in the file
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblTipText->setMinimumSize(300, 110);
    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Picture1, 0, 0, 2, 1);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(lblTipText, 1, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNextTip);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 2, 1);
    grid->addWidget(chkLoadTipsAtStartup, 2, 0, 1, 2);
    setFixedSize(480, 220);

    connect(chkLoadTipsAtStartup, &QCheckBox::toggled, this, &frmTip::chkLoadTipsAtStartup_Click);
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
}

void frmTip::Form_Load()
{
    // The window opens whatever the setting says: the Help command that opens it is the user's
    // own request. Opening checks the box, which stores "1".
    chkLoadTipsAtStartup->setChecked(true);
    m_random.seed(m_workspace.services().randomSeed());
    if (!LoadTips(m_workspace.services().appFolder.find(TipsFile)))
        lblTipText->setText(QStringLiteral("That the ") + TipsFile + QStringLiteral(" file was not found? "));
}

QStringList frmTip::splitTips(const QString &text)
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

bool frmTip::LoadTips(const QString &path)
{
    if (path.isEmpty())
        return false;
    QByteArray bytes;
    if (!stopAtFirstFailure([&] { bytes = WholeFile::read(path); }))
        return false;
    TipLines = splitTips(PlainText::decode(bytes));
    PickRandomTip();
    return true;
}

void frmTip::DisplayCurrentTip()
{
    if (!TipLines.isEmpty())
        lblTipText->setText(TipLines.at(TipIndex - 1));
}

void frmTip::PickRandomTip()
{
    // Every tip has the same chance; the one on show may come again.
    const double r = m_random.generateDouble();
    TipIndex = int(r * double(TipLines.size()) + 1);
    DisplayCurrentTip();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    const QString value = chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    skipOnFailure([&] { m_workspace.services().settings.SaveSetting(Section, Key, value); });
}

void frmTip::cmdNextTip_Click() { PickRandomTip(); }

void frmTip::cmdOK_Click() { close(); }

void frmTip::Form_Deactivate() { close(); }

void frmTip::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Only another window of the program takes the tips away; switching to another program
    // leaves them open.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            Form_Deactivate();
    }
}
