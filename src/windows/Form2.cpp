#include "windows/Form2.h"
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

Form2::Form2(Workspace &workspace) : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About Dorvane Corp."));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(407, 271); // 6105 x 4065 twips
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
    setAutoFillBackground(true);

    Label1 = new QLabel(tr("Scrivlo is free software. You may copy, share and change it under the terms of "
                           "its licence; it comes with no warranty."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(24, 150, 250, 60);
    Label2 = new QLabel(tr("Written by the Scrivlo developers."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 220, 250, 24);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setGeometry(296, 190, 95, 26);
    Command2 = new QPushButton(QStringLiteral("System Info..."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(296, 224, 95, 26);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);

    QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // The frame is disabled while the box is open, so the box has no parent widget; it still
    // stays in front of the frame.
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
    Form_Load();
}

void Form2::Form_Load() { m_frameDisabled.emplace(m_workspace.window()); }

void Form2::Form_Unload() { m_frameDisabled.reset(); }

void Form2::Command1_Click() { close(); }

void Form2::Command2_Click()
{
    // Titled with the program's path without extension: its folder, a slash, its name.
    const Services &services = m_workspace.services();
    const QString title = QDir(services.appFolder.path()).filePath(SettingsStore::executableName());
    services.dialogs.message({QStringLiteral("Unable to view system info in this version."), title,
                              Dialogs::Buttons::OK, Dialogs::Icon::Information, 0},
                             this);
}

void Form2::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form2::paintEvent(QPaintEvent *event)
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
