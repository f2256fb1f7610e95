#include "formatting/FormatMenu.h"
#include "app/MDIForm1.h"
#include "document/Form3.h"
#include "document/OleColor.h"
#include "document/RichTextBox.h"
#include "formatting/Form4.h"
#include "formatting/Form7.h"
#include "platform/DialogFlags.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/Services.h"

#include <QAction>

FormatMenu::FormatMenu(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
    connect(frame.menuItem(QStringLiteral("font")), &QAction::triggered, this, &FormatMenu::font_Click);
    connect(frame.menuItem(QStringLiteral("paragraph")), &QAction::triggered, this, &FormatMenu::paragraph_Click);
    connect(frame.menuItem(QStringLiteral("fc")), &QAction::triggered, this, &FormatMenu::fc_Click);
    connect(frame.menuItem(QStringLiteral("bc")), &QAction::triggered, this, &FormatMenu::bc_Click);
}

FormatMenu::~FormatMenu()
{
    // The Font dialog is a window of its own (the frame it disables cannot be its parent).
    delete m_form4;
}

Form4 *FormatMenu::fontDialog() const { return m_form4; }
Form7 *FormatMenu::paragraphDialog() const { return m_form7; }

void FormatMenu::font_Click()
{
    if (!m_frame.activeDocument()) {
        m_frame.services().dialogs.message({QStringLiteral("Error accessing into the document."),
                                            QStringLiteral("Scrivlo"), Dialogs::Buttons::OK,
                                            Dialogs::Icon::Critical, 0},
                                           &m_frame);
        return;
    }
    if (!m_form4 || m_form4->isHidden()) // a closed dialog is gone, even before it is deleted
        m_form4 = new Form4(m_frame);
    m_form4->show();
    m_form4->raise();
    m_form4->activateWindow();
}

void FormatMenu::paragraph_Click()
{
    if (!m_form7 || m_form7->isHidden())
        m_form7 = new Form7(m_frame);
    m_form7->show();
    m_form7->raise();
    m_form7->activateWindow();
}

void FormatMenu::fc_Click()
{
    CommonDialog &dialog = m_frame.fontcolor;
    // A mixed selection has no colour to start from: the dialog keeps the one it holds.
    skipOnFailure([&] { dialog.Color = OleColor::toQColor(definite(m_frame.ActiveForm().RichTextBox1->SelColor())); });
    dialog.DialogTitle = QStringLiteral("Font Color");
    dialog.Flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.ShowColor(&m_frame); }, false);
    // Cancel writes nothing, so a mixed selection keeps its colours.
    if (chosen)
        skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelColor(OleColor::fromQColor(dialog.Color)); });
}

void FormatMenu::bc_Click()
{
    CommonDialog &dialog = m_frame.fontcolor;
    skipOnFailure([&] { dialog.Color = OleColor::toQColor(m_frame.ActiveForm().RichTextBox1->BackColor()); });
    dialog.DialogTitle = QStringLiteral("Background Color");
    dialog.Flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.ShowColor(&m_frame); }, false);
    if (chosen)
        skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setBackColor(OleColor::fromQColor(dialog.Color)); });
}
