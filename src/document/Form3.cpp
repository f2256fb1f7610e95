#include "document/Form3.h"
#include "document/DocumentSaving.h"
#include "document/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"

#include <QCloseEvent>

Form3::Form3(Dialogs &dialogs, DocumentSaving &saving, QWidget *parent)
    : QWidget(parent), RichTextBox1(new RichTextBox(this)), cd(dialogs), m_dialogs(dialogs), m_saving(saving)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Document no."));
    setFocusProxy(RichTextBox1);
    resize(736, 526); // the design's client area, 11040 x 7890 twips
    connect(RichTextBox1, &RichTextBox::Change, this, &Form3::RichTextBox1_Change);
    Form_Load();
}

void Form3::Form_Load()
{
    doc = 0;
    skipOnFailure([&] { Form_Resize(); });
}

void Form3::Form_Resize()
{
    // The surface covers the client area; a size it refuses (a negative one) is skipped.
    skipOnFailure([&] { RichTextBox1->setHeight(height() * 15.0); });
    skipOnFailure([&] { RichTextBox1->setWidth(width() * 15.0); });
}

void Form3::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form3::closeEvent(QCloseEvent *event)
{
    if (Form_QueryUnload())
        event->ignore();
    else
        event->accept();
}

bool Form3::Form_QueryUnload()
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
        cancel = !SaveDocument();
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

bool Form3::SaveDocument()
{
    return m_saving.save(*this);
}

bool Form3::SaveDocumentAs()
{
    return m_saving.saveAs(*this);
}

void Form3::documentSaved()
{
    doc = 0;
    emit Saved();
}

void Form3::RichTextBox1_Change()
{
    doc = -1;
}
