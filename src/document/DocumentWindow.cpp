#include "document/DocumentWindow.h"
#include "document/DocumentSaving.h"
#include "document/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"

#include <QCloseEvent>

DocumentWindow::DocumentWindow(Dialogs &dialogs, DocumentSaving &saving, QWidget *parent)
    : QWidget(parent), surface(new RichTextBox(this)), saveAsDialog(dialogs), m_dialogs(dialogs), m_saving(saving)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Document no."));
    setFocusProxy(surface);
    resize(736, 526); // the design's client area, 11040 x 7890 twips
    connect(surface, &RichTextBox::contentChanged, this, &DocumentWindow::markChanged);
    initialise();
}

void DocumentWindow::initialise()
{
    doc = 0;
    skipOnFailure([&] { fitSurface(); });
}

void DocumentWindow::fitSurface()
{
    // The surface covers the client area; a size it refuses (a negative one) is skipped.
    skipOnFailure([&] { surface->setHeight(height() * 15.0); });
    skipOnFailure([&] { surface->setWidth(width() * 15.0); });
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitSurface();
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (askToSave())
        event->ignore();
    else
        event->accept();
}

bool DocumentWindow::askToSave()
{
    bool cancel = true;
    if (doc != -1)
        return false;
    const Dialogs::Answer answer = m_dialogs.message(
        {QStringLiteral("Do you want to save changes to ") + windowTitle(), QStringLiteral("Scrivlo"),
         Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question, 0},
        this);
    switch (answer) {
    case Dialogs::Answer::Yes:
        // A save that wrote nothing (cancelled, aborted or failed) keeps the window and its work.
        cancel = !saveDocument();
        break;
    case Dialogs::Answer::No:
        cancel = false;
        break;
    default:
        cancel = true;
        break;
    }
    return cancel;
}

bool DocumentWindow::saveDocument()
{
    return m_saving.save(*this);
}

bool DocumentWindow::saveDocumentAs()
{
    return m_saving.saveAs(*this);
}

void DocumentWindow::documentSaved()
{
    doc = 0;
    emit saved();
}

void DocumentWindow::markChanged()
{
    doc = -1;
}
