// The surface's character and paragraph formatting: the Sel* properties, read from and written to
// the selection (or the caret's format when nothing is selected).
#include "document/RichTextBox.h"
#include "content/OleColor.h"
#include "content/SelectionFormat.h"
#include "platform/Failure.h"
#include "rtf/TextFormats.h"

#include <QLocale>
#include <QTextBlock>
#include <QTextList>
#include <cmath>

namespace {

int alignmentCode(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return RichTextBox::Center;
    if (horizontal & Qt::AlignJustify)
        return RichTextBox::Justify;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing))
        return RichTextBox::Right;
    return RichTextBox::Left;
}

Qt::Alignment qtAlignment(int code)
{
    switch (code) {
    case RichTextBox::Left: return Qt::AlignLeft;
    case RichTextBox::Right: return Qt::AlignRight;
    case RichTextBox::Center: return Qt::AlignHCenter;
    case RichTextBox::Justify: return Qt::AlignJustify;
    }
    throw Failure(QStringLiteral("Invalid property value"));
}

int roundTwips(double twips) { return int(std::lround(twips)); }
} // namespace

// ---- Character formatting -----------------------------------------------------------------------

void RichTextBox::mergeCharacterFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        mergeCurrentCharFormat(format); // the caret's format, which typing then uses
        return;
    }
    cursor.mergeCharFormat(format);
}

const QList<QTextCharFormat> &RichTextBox::selectionFormats() const
{
    const QTextCursor cursor = textCursor();
    SelectionFormats &cache = m_selectionFormats;
    if (cache.start != cursor.selectionStart() || cache.end != cursor.selectionEnd()) {
        cache.formats = SelectionFormat::textFormats(cursor);
        cache.start = cursor.selectionStart();
        cache.end = cursor.selectionEnd();
    }
    return cache.formats;
}

std::optional<QString> RichTextBox::selectionFontName() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<QString>(textCursor(), selectionFormats(), [&](const QTextCharFormat &f) {
        return TextFormats::family(f, fallback);
    });
}

void RichTextBox::setSelectionFontName(const QString &name)
{
    if (name.trimmed().isEmpty())
        throw Failure(QStringLiteral("Invalid property value"));
    if (selectionFontName() == name)
        return;
    QTextCharFormat format;
    TextFormats::setFamily(format, name);
    mergeCharacterFormat(format);
}

std::optional<double> RichTextBox::selectionFontSize() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<double>(textCursor(), selectionFormats(), [&](const QTextCharFormat &f) {
        return TextFormats::pointSize(f, fallback);
    });
}

void RichTextBox::setSelectionFontSize(double points)
{
    if (!(points > 0 && points <= 1638))
        throw Failure(QStringLiteral("Invalid property value"));
    if (selectionFontSize() == points)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeCharacterFormat(format);
}

void RichTextBox::setSelectionFontSize(const QString &points)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(points.trimmed(), &ok);
    if (!ok)
        throw Failure(QStringLiteral("Type mismatch"));
    setSelectionFontSize(value);
}

std::optional<bool> RichTextBox::selectionBold() const
{
    return SelectionFormat::character<bool>(textCursor(), selectionFormats(), TextFormats::isBold);
}

void RichTextBox::setSelectionBold(bool on)
{
    if (selectionBold() == on)
        return;
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::selectionItalic() const
{
    return SelectionFormat::character<bool>(textCursor(), selectionFormats(), [](const QTextCharFormat &f) { return f.fontItalic(); });
}

void RichTextBox::setSelectionItalic(bool on)
{
    if (selectionItalic() == on)
        return;
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::selectionUnderline() const
{
    return SelectionFormat::character<bool>(textCursor(), selectionFormats(), TextFormats::isUnderlined);
}

void RichTextBox::setSelectionUnderline(bool on)
{
    if (selectionUnderline() == on)
        return;
    QTextCharFormat format;
    format.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::selectionStrikeOut() const
{
    return SelectionFormat::character<bool>(textCursor(), selectionFormats(), [](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelectionStrikeOut(bool on)
{
    if (selectionStrikeOut() == on)
        return;
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeCharacterFormat(format);
}

std::optional<quint32> RichTextBox::selectionColor() const
{
    const QColor automatic = palette().color(QPalette::Text);
    return SelectionFormat::character<quint32>(textCursor(), selectionFormats(), [&](const QTextCharFormat &f) {
        const QBrush brush = f.foreground();
        return OleColor::fromQColor(brush.style() == Qt::NoBrush ? automatic : brush.color());
    });
}

void RichTextBox::setSelectionColor(quint32 color)
{
    if (selectionColor() == color)
        return;
    QTextCharFormat format;
    format.setForeground(OleColor::toQColor(color));
    mergeCharacterFormat(format);
}

std::optional<int> RichTextBox::selectionCharOffset() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<int>(textCursor(), selectionFormats(), [&](const QTextCharFormat &f) {
        return roundTwips(TextFormats::charOffsetTwips(f, fallback));
    });
}

void RichTextBox::setSelectionCharOffset(int twips)
{
    if (selectionCharOffset() == twips)
        return;
    // The offset is kept relative to the text's size: work it out for the selection's size, then
    // merge the offset alone.
    QTextCharFormat sized;
    sized.setFontPointSize(selectionFontSize().value_or(document()->defaultFont().pointSizeF()));
    TextFormats::setCharOffsetTwips(sized, twips, document()->defaultFont());
    QTextCharFormat format;
    format.setProperty(QTextFormat::TextBaselineOffset, sized.hasProperty(QTextFormat::TextBaselineOffset)
                                                            ? sized.baselineOffset() : 0.0);
    mergeCharacterFormat(format);
}

void RichTextBox::setSelectionCharOffset(const QString &twips) { setSelectionCharOffset(twipsFromText(twips)); }

int RichTextBox::twipsFromText(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || std::abs(value) > 31680) // no measure beyond 22 inches
        throw Failure(QStringLiteral("Type mismatch"));
    return roundTwips(value);
}

// ---- Paragraph formatting -----------------------------------------------------------------------

void RichTextBox::mergeParagraphFormat(const QTextBlockFormat &format)
{
    QTextCursor cursor = textCursor();
    cursor.mergeBlockFormat(format);
}

std::optional<int> RichTextBox::selectionAlignment() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return alignmentCode(b.blockFormat().alignment());
    });
}

void RichTextBox::setSelectionAlignment(int alignment)
{
    const Qt::Alignment qt = qtAlignment(alignment);
    if (selectionAlignment() == alignment)
        return;
    QTextBlockFormat format;
    format.setAlignment(qt);
    mergeParagraphFormat(format);
}

std::optional<bool> RichTextBox::selectionBullet() const
{
    return SelectionFormat::paragraph<bool>(textCursor(), [](const QTextBlock &b) { return b.textList() != nullptr; });
}

void RichTextBox::setSelectionBullet(bool on)
{
    if (selectionBullet() == on)
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (on) {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor.createList(list);
    } else {
        const QTextBlock last = document()->findBlock(cursor.selectionEnd());
        for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
            leaveList(block);
            if (block == last)
                break;
        }
    }
    cursor.endEditBlock();
}

std::optional<int> RichTextBox::selectionIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().leftMargin()));
    });
}

void RichTextBox::setSelectionIndent(int twips)
{
    if (selectionIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setLeftMargin(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelectionIndent(const QString &twips) { setSelectionIndent(twipsFromText(twips)); }

std::optional<int> RichTextBox::selectionRightIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().rightMargin()));
    });
}

void RichTextBox::setSelectionRightIndent(int twips)
{
    if (selectionRightIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setRightMargin(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelectionRightIndent(const QString &twips) { setSelectionRightIndent(twipsFromText(twips)); }

std::optional<int> RichTextBox::selectionFirstLineIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().textIndent()));
    });
}

void RichTextBox::setSelectionFirstLineIndent(int twips)
{
    if (selectionFirstLineIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setTextIndent(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelectionFirstLineIndent(const QString &twips) { setSelectionFirstLineIndent(twipsFromText(twips)); }
