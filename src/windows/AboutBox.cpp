#include "windows/AboutBox.h"
#include "platform/Dialogs.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "windows/Nameplate.h"
#include "workspace/Workspace.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

AboutBox::AboutBox(Workspace &workspace) : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About Dorvane Corp."));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(407, 271); // 6105 x 4065 twips
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
    setAutoFillBackground(true);

    licenceLabel = new QLabel(tr("Scrivlo is free software. You may copy, share and change it under the terms of "
                           "its licence; it comes with no warranty."),
                        this);
    licenceLabel->setObjectName(QStringLiteral("Label1"));
    licenceLabel->setWordWrap(true);
    licenceLabel->setGeometry(24, 150, 250, 60);
    authorsLabel = new QLabel(tr("Written by the Scrivlo developers."), this);
    authorsLabel->setObjectName(QStringLiteral("Label2"));
    authorsLabel->setGeometry(24, 220, 250, 24);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setDefault(true);
    okButton->setGeometry(296, 190, 95, 26);
    systemInfoButton = new QPushButton(QStringLiteral("System Info..."), this);
    systemInfoButton->setObjectName(QStringLiteral("Command2"));
    systemInfoButton->setGeometry(296, 224, 95, 26);
    connect(okButton, &QPushButton::clicked, this, &AboutBox::closeBox);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutBox::showSystemInfo);

    QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The frame is disabled while the box is open, so the box has no parent widget; it still
    // stays in front of the frame.
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
    disableFrame();
}

void AboutBox::disableFrame() { m_frameDisabled.emplace(m_workspace.window()); }

void AboutBox::enableFrame() { m_frameDisabled.reset(); }

void AboutBox::closeBox() { close(); }

void AboutBox::showSystemInfo()
{
    // Titled with the program's path without extension: its folder, a slash, its name.
    const Services &services = m_workspace.services();
    const QString title = QDir(services.appFolder.path()).filePath(SettingsStore::executableName());
    services.dialogs.message({QStringLiteral("Unable to view system info in this version."), title,
                              Dialogs::Buttons::OK, Dialogs::Icon::Information, 0},
                             this);
}

void AboutBox::closeEvent(QCloseEvent *event)
{
    enableFrame();
    event->accept();
}

void AboutBox::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The artwork: framed panels, the program's picture and its name.
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(QRectF(8.5, 8.5, 389, 253));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(QRectF(9.5, 9.5, 387, 251));
    p.fillRect(QRect(16, 16, 375, 112), QColor(232, 232, 232));
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(QRectF(16.5, 16.5, 374, 111));
    Nameplate::draw(p, QPoint(32, 40), 34, 351, tr("Version 1.0 — a word processor"));
}
