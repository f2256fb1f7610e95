#include "document/FormattingRefresh.h"
#include "app/MDIForm1.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "platform/KeyedToolbar.h"

#include <QAction>
#include <QLocale>

void FormattingRefresh::run(const RichTextBox &surface, MDIForm1 &frame, const QString &rows)
{
    for (const QChar r : rows)
        skipOnFailure([&] { row(surface, frame, r); });
}

QString FormattingRefresh::sizeText(double points)
{
    // The shortest text that reads back as exactly this size: a size a hair off a whole number
    // must not show as that number, or the box would apply the rounded size back to the text.
    return QString::number(points, 'g', QLocale::FloatingPointShortest);
}

void FormattingRefresh::row(const RichTextBox &surface, MDIForm1 &frame, QChar r)
{
    KeyedToolbar &buttons = *frame.Toolbar2;
    const auto pressedIf = [](bool on) { return on ? 1 : 0; };
    switch (r.unicode()) {
    case 'F': frame.Combo1->setText(definite(surface.SelFontName())); break;
    case 'S': frame.Combo2->setText(sizeText(definite(surface.SelFontSize()))); break;
    case 'B': frame.menuItem(QStringLiteral("bs"))->setChecked(surface.SelBullet() == true); break;
    case 'a': buttons.setValue(QStringLiteral("a"), pressedIf(surface.SelBold() == true)); break;
    case 'b': buttons.setValue(QStringLiteral("b"), pressedIf(surface.SelItalic() == true)); break;
    case 'c': buttons.setValue(QStringLiteral("c"), pressedIf(surface.SelUnderline() == true)); break;
    case 'd': buttons.setValue(QStringLiteral("d"), pressedIf(surface.SelStrikeThru() == true)); break;
    case 'e': buttons.setValue(QStringLiteral("e"), pressedIf(surface.SelAlignment() == 0)); break;
    case 'f': buttons.setValue(QStringLiteral("f"), pressedIf(surface.SelAlignment() == 2)); break;
    case 'g': buttons.setValue(QStringLiteral("g"), pressedIf(surface.SelAlignment() == 1)); break;
    default: break;
    }
}
