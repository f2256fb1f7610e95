#include "formatting/FormatToolbar.h"
#include "app/MDIForm1.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/Failure.h"
#include "platform/KeyedToolbar.h"

#include <QAction>

FormatToolbar::FormatToolbar(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
    connect(frame.Toolbar2, &KeyedToolbar::ButtonClick, this, &FormatToolbar::Toolbar2_ButtonClick);
    connect(frame.menuItem(QStringLiteral("bs")), &QAction::triggered, this, &FormatToolbar::bs_Click);
}

RichTextBox &FormatToolbar::surface() const
{
    return *m_frame.ActiveForm().RichTextBox1;
}

void FormatToolbar::Toolbar2_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    withBusyPointer([&] {
        if (key == QLatin1String("a"))
            toggle(key, &RichTextBox::SelBold, &RichTextBox::setSelBold);
        else if (key == QLatin1String("b"))
            toggle(key, &RichTextBox::SelItalic, &RichTextBox::setSelItalic);
        else if (key == QLatin1String("c"))
            toggle(key, &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline);
        else if (key == QLatin1String("d"))
            toggle(key, &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru);
        else if (key == QLatin1String("e"))
            align(key, RichTextBox::Left);
        else if (key == QLatin1String("f"))
            align(key, RichTextBox::Center);
        else if (key == QLatin1String("g"))
            align(key, RichTextBox::Right);
        else if (key == QLatin1String("h"))
            bs_Click();
    });
}

void FormatToolbar::toggle(const QString &key, Read read, Write write)
{
    // Only a wholly plain selection is switched on; bold or mixed is switched off. When the read
    // fails (no document), the switching-on branch runs.
    const bool isFalse = testOr([&] { return (surface().*read)() == false; }, true);
    if (isFalse) {
        skipOnFailure([&] { (surface().*write)(true); });
        skipOnFailure([&] { m_frame.Toolbar2->setValue(key, 1); });
    } else {
        skipOnFailure([&] { (surface().*write)(false); });
        skipOnFailure([&] { m_frame.Toolbar2->setValue(key, 0); });
    }
}

void FormatToolbar::align(const QString &key, int alignment)
{
    skipOnFailure([&] { surface().setSelAlignment(alignment); });
    for (const QString other : {QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g")})
        skipOnFailure([&] { m_frame.Toolbar2->setValue(other, other == key ? 1 : 0); });
}

void FormatToolbar::bs_Click()
{
    withBusyPointer([&] {
        QAction *bs = m_frame.menuItem(QStringLiteral("bs"));
        skipOnFailure([&] { bs->setChecked(false); });
        // Wholly bulleted paragraphs lose their bullets; plain or mixed ones all get bullets. When
        // the read fails (no document), the removing branch runs and the check ends cleared.
        const bool bulleted = testOr([&] { return surface().SelBullet() == true; }, true);
        if (bulleted) {
            skipOnFailure([&] { bs->setChecked(false); });
            skipOnFailure([&] { surface().setSelBullet(false); });
        } else {
            skipOnFailure([&] { bs->setChecked(true); });
            skipOnFailure([&] { surface().setSelBullet(true); });
        }
    });
}
