#include "windows/FullScreenView.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Workspace.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

FullScreenView::FullScreenView(Workspace &workspace)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), surface(new RichTextBox(this)), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Full - screen mode"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The surface keeps a margin of 120 twips on every side and fills the rest of the screen.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(surface);
    QWidget &frame = workspace.window();
    if (const QScreen *screen = frame.screen() ? frame.screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    // The frame is disabled while the view is open, so the view has no parent widget; it still
    // stays in front of the frame.
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
    connect(surface, &RichTextBox::doubleClicked, this, &FullScreenView::leaveOnDoubleClick);
    takeDocument();
}

void FullScreenView::takeDocument()
{
    skipOnFailure([&] {
        RichTextBox *source = &m_workspace.activeSurface();
        surface->setRtf(source->rtf());
        m_source = source;
    });
    m_frameDisabled.emplace(m_workspace.window());
    surface->setFocus();
}

void FullScreenView::giveDocumentBack()
{
    // The whole content goes back, so the document's own change handling runs as for any change.
    skipOnFailure([&] {
        if (m_source)
            m_source->setRtf(surface->rtf());
    });
    m_frameDisabled.reset();
}

void FullScreenView::leaveOnDoubleClick() { close(); }

void FullScreenView::closeEvent(QCloseEvent *event)
{
    giveDocumentBack();
    event->accept();
}

void FullScreenView::keyPressEvent(QKeyEvent *event)
{
    // Escape leaves the view as the double-click does.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
