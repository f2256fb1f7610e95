#include "formatting/FormatToolbar.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/Failure.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

#include <QAction>

FormatToolbar::FormatToolbar(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("bs"), this, &FormatToolbar::toggleBullets);
}

// A formatting write over a large selection lays out the whole document again.
void FormatToolbar::toggleBold()
{
    withBusyPointer([&] { toggle(QStringLiteral("a"), &RichTextBox::selectionBold, &RichTextBox::setSelectionBold); });
}

void FormatToolbar::toggleItalic()
{
    withBusyPointer([&] { toggle(QStringLiteral("b"), &RichTextBox::selectionItalic, &RichTextBox::setSelectionItalic); });
}

void FormatToolbar::toggleUnderline()
{
    withBusyPointer([&] { toggle(QStringLiteral("c"), &RichTextBox::selectionUnderline, &RichTextBox::setSelectionUnderline); });
}

void FormatToolbar::toggleStrikeOut()
{
    withBusyPointer([&] { toggle(QStringLiteral("d"), &RichTextBox::selectionStrikeOut, &RichTextBox::setSelectionStrikeOut); });
}

void FormatToolbar::alignLeft()
{
    withBusyPointer([&] { align(QStringLiteral("e"), RichTextBox::Left); });
}

void FormatToolbar::alignCenter()
{
    withBusyPointer([&] { align(QStringLiteral("f"), RichTextBox::Center); });
}

void FormatToolbar::alignRight()
{
    withBusyPointer([&] { align(QStringLiteral("g"), RichTextBox::Right); });
}

void FormatToolbar::toggleBullets()
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
    skipOnFailure([&] { m_workspace.activeSurface().setSelectionAlignment(alignment); });
    for (const QString &other : {QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g")})
        skipOnFailure([&] { m_workspace.indicators().setButton(other, other == key ? 1 : 0); });
}

void FormatToolbar::bullets()
{
    QAction *bulletStyle = m_workspace.menuItem(QStringLiteral("bs"));
    skipOnFailure([&] { bulletStyle->setChecked(false); });
    // Wholly bulleted paragraphs lose their bullets; plain or mixed ones all get bullets. When
    // the read fails (no document), the removing branch runs and the check ends cleared.
    const bool bulleted = testOr([&] { return m_workspace.activeSurface().selectionBullet() == true; }, true);
    if (bulleted) {
        skipOnFailure([&] { bulletStyle->setChecked(false); });
        skipOnFailure([&] { m_workspace.activeSurface().setSelectionBullet(false); });
    } else {
        skipOnFailure([&] { bulletStyle->setChecked(true); });
        skipOnFailure([&] { m_workspace.activeSurface().setSelectionBullet(true); });
    }
}
