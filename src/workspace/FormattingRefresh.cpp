#include "workspace/FormattingRefresh.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QLocale>

void FormattingRefresh::run(const RichTextBox &surface, Workspace &workspace, const QString &rows)
{
    for (const QChar r : rows)
        skipOnFailure([&] { row(surface, workspace, r); });
}

QString FormattingRefresh::sizeText(double points)
{
    // The shortest text that reads back as exactly this size: a size a hair off a whole number
    // must not show as that number, or the box would apply the rounded size back to the text.
    return QString::number(points, 'g', QLocale::FloatingPointShortest);
}

void FormattingRefresh::row(const RichTextBox &surface, Workspace &workspace, QChar r)
{
    FormattingIndicators &indicators = workspace.indicators();
    const auto pressedIf = [](bool on) { return on ? 1 : 0; };
    switch (r.unicode()) {
    case 'F': indicators.setFontName(definite(surface.selectionFontName())); break;
    case 'S': indicators.setFontSize(sizeText(definite(surface.selectionFontSize()))); break;
    case 'B': workspace.menuItem(QStringLiteral("bs"))->setChecked(surface.selectionBullet() == true); break;
    case 'a': indicators.setButton(QStringLiteral("a"), pressedIf(surface.selectionBold() == true)); break;
    case 'b': indicators.setButton(QStringLiteral("b"), pressedIf(surface.selectionItalic() == true)); break;
    case 'c': indicators.setButton(QStringLiteral("c"), pressedIf(surface.selectionUnderline() == true)); break;
    case 'd': indicators.setButton(QStringLiteral("d"), pressedIf(surface.selectionStrikeOut() == true)); break;
    case 'e': indicators.setButton(QStringLiteral("e"), pressedIf(surface.selectionAlignment() == 0)); break;
    case 'f': indicators.setButton(QStringLiteral("f"), pressedIf(surface.selectionAlignment() == 2)); break;
    case 'g': indicators.setButton(QStringLiteral("g"), pressedIf(surface.selectionAlignment() == 1)); break;
    default: break;
    }
}
