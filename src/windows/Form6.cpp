#include "windows/Form6.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Workspace.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

Form6::Form6(Workspace &workspace)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), RichTextBox1(new RichTextBox(this)), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Full - screen mode"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The surface keeps a margin of 120 twips on every side and fills the rest of the screen.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(RichTextBox1);
    QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    // The frame is disabled while the view is open, so the view has no parent widget; it still
    // stays in front of the frame.
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
    connect(RichTextBox1, &RichTextBox::DblClick, this, &Form6::RichTextBox1_DblClick);
    Form_Load();
}

void Form6::Form_Load()
{
    skipOnFailure([&] {
        RichTextBox *source = &m_workspace.activeSurface();
        RichTextBox1->setTextRTF(source->TextRTF());
        m_source = source;
    });
    m_frameDisabled.emplace(m_workspace.window());
    RichTextBox1->setFocus();
}

void Form6::Form_Unload()
{
    // The whole content goes back, so the document's own change handling runs as for any change.
    skipOnFailure([&] {
        if (m_source)
            m_source->setTextRTF(RichTextBox1->TextRTF());
    });
    m_frameDisabled.reset();
}

void Form6::RichTextBox1_DblClick() { close(); }

void Form6::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form6::keyPressEvent(QKeyEvent *event)
{
    // Escape leaves the view as the double-click does.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
