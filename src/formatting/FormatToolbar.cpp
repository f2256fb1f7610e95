#include "formatting/FormatToolbar.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/Failure.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

#include <QAction>

FormatToolbar::FormatToolbar(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("bs"), this, &FormatToolbar::bs_Click);
}

// A formatting write over a large selection lays out the whole document again.
void FormatToolbar::bold_Click()
{
    withBusyPointer([&] { toggle(QStringLiteral("a"), &RichTextBox::SelBold, &RichTextBox::setSelBold); });
}

void FormatToolbar::italic_Click()
{
    withBusyPointer([&] { toggle(QStringLiteral("b"), &RichTextBox::SelItalic, &RichTextBox::setSelItalic); });
}

void FormatToolbar::underline_Click()
{
    withBusyPointer([&] { toggle(QStringLiteral("c"), &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline); });
}

void FormatToolbar::strikethrough_Click()
{
    withBusyPointer([&] { toggle(QStringLiteral("d"), &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru); });
}

void FormatToolbar::left_Click()
{
    withBusyPointer([&] { align(QStringLiteral("e"), RichTextBox::Left); });
}

void FormatToolbar::center_Click()
{
    withBusyPointer([&] { align(QStringLiteral("f"), RichTextBox::Center); });
}

void FormatToolbar::right_Click()
{
    withBusyPointer([&] { align(QStringLiteral("g"), RichTextBox::Right); });
}

void FormatToolbar::bs_Click()
{
    withBusyPointer([&] { bullets(); });
}

void FormatToolbar::toggle(const QString &key, Read read, Write write)
{
    // Only a wholly plain selection is switched on; bold or mixed is switched off. When the read
    // fails (no document), the switching-on branch runs.
    const bool isFalse = testOr([&] { return (m_workspace.activeSurface().*read)() == false; }, true);
    if (isFalse) {
        skipOnFailure([&] { (m_workspace.activeSurface().*write)(true); });
        skipOnFailure([&] { m_workspace.indicators().setButton(key, 1); });
    } else {
        skipOnFailure([&] { (m_workspace.activeSurface().*write)(false); });
        skipOnFailure([&] { m_workspace.indicators().setButton(key, 0); });
    }
}

void FormatToolbar::align(const QString &key, int alignment)
{
    skipOnFailure([&] { m_workspace.activeSurface().setSelAlignment(alignment); });
    for (const QString &other : {QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g")})
        skipOnFailure([&] { m_workspace.indicators().setButton(other, other == key ? 1 : 0); });
}

void FormatToolbar::bullets()
{
    QAction *bs = m_workspace.menuItem(QStringLiteral("bs"));
    skipOnFailure([&] { bs->setChecked(false); });
    // Wholly bulleted paragraphs lose their bullets; plain or mixed ones all get bullets. When
    // the read fails (no document), the removing branch runs and the check ends cleared.
    const bool bulleted = testOr([&] { return m_workspace.activeSurface().SelBullet() == true; }, true);
    if (bulleted) {
        skipOnFailure([&] { bs->setChecked(false); });
        skipOnFailure([&] { m_workspace.activeSurface().setSelBullet(false); });
    } else {
        skipOnFailure([&] { bs->setChecked(true); });
        skipOnFailure([&] { m_workspace.activeSurface().setSelBullet(true); });
    }
}
