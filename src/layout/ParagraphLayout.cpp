#include "layout/ParagraphLayout.h"
#include "layout/FloatArea.h"
#include "layout/LayoutSettings.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>
#include <cmath>

namespace {

// The alignment as placed on screen: left and right swap in a right-to-left paragraph, unless the
// alignment says it is absolute.
Qt::Alignment visualAlignment(Qt::LayoutDirection direction, Qt::Alignment alignment)
{
    if (!(alignment & Qt::AlignHorizontal_Mask))
        alignment |= Qt::AlignLeft;
    if (!(alignment & Qt::AlignAbsolute) && (alignment & (Qt::AlignLeft | Qt::AlignRight))) {
        if (direction == Qt::RightToLeft)
            alignment ^= (Qt::AlignLeft | Qt::AlignRight);
        alignment |= Qt::AlignAbsolute;
    }
    return alignment;
}

struct LineHeight
{
    Fixed height;     // how far the next line goes down
    Fixed adjustment; // how far the line's text is raised within it
    Fixed bottom;     // where the line's own box ends
};

LineHeight lineHeightOf(const QTextBlockFormat &format, const QTextLine &line, qreal scaling)
{
    LineHeight h;
    // The spacing counts a negative leading, which the line's own height leaves out.
    const qreal raw = std::ceil(line.ascent() + line.descent() + line.leading());
    h.height = Fixed::fromReal(format.lineHeight(raw, scaling));
    h.bottom = Fixed::fromReal(format.lineHeight(line.height(), scaling));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::FixedHeight:
        h.adjustment = Fixed::fromReal(line.ascent() + std::max<qreal>(line.leading(), 0)) - (h.height * 4) / 5;
        break;
    case QTextBlockFormat::MinimumHeight:
        h.adjustment = Fixed::fromReal(line.height()) - h.height;
        break;
    default:
        break;
    }
    return h;
}

} // namespace

Fixed ParagraphLayout::gap(const QTextBlockFormat &previous, const QTextBlockFormat &format,
                           const LayoutSettings &settings)
{
    const qreal margin = std::max(format.topMargin(), previous.bottomMargin());
    if (margin <= 0)
        return Fixed();
    return settings.scaledFixed(margin);
}

Fixed ParagraphLayout::indent(const QTextBlock &block, const QTextBlockFormat &format, const LayoutSettings &settings)
{
    qreal level = format.indent();
    if (const QTextList *list = block.textList())
        level += list->format().indent();
    if (level == 0)
        return Fixed();
    return Fixed::fromReal(settings.scaled(level) * settings.indentWidth);
}

ParagraphLayout::Widths ParagraphLayout::lay(const QTextBlock &block, const QTextBlockFormat &format,
                                             const LayoutSettings &settings, Column &column)
{
    Widths widths;
    if (!block.isVisible())
        return widths;
    QTextLayout *layout = block.layout();
    const Qt::LayoutDirection direction = block.textDirection();
    const Fixed indent = ParagraphLayout::indent(block, format, settings);
    const bool rtl = direction == Qt::RightToLeft;
    const Fixed leftMargin = Fixed::fromReal(format.leftMargin()) + (rtl ? Fixed() : indent);
    const Fixed rightMargin = Fixed::fromReal(format.rightMargin()) + (rtl ? indent : Fixed());

    layout->setPosition(QPointF(column.left.toReal(), column.y.toReal()));

    QTextOption option = settings.textOption;
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    const Qt::Alignment alignment =
        format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : settings.textOption.alignment();
    option.setAlignment(visualAlignment(direction, alignment));
    if (format.nonBreakableLines() || settings.manualWrap)
        option.setWrapMode(QTextOption::ManualWrap);
    layout->setTextOption(option);
    const bool wordOrAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;

    const Fixed top = column.y;
    const Fixed l = column.left + leftMargin;
    const Fixed r = column.right - rightMargin;
    const qreal scaling = settings.device && settings.deviceScale != 1 ? settings.deviceScale : 1;
    const auto edges = [&](Fixed y, Fixed firstIndent, Fixed *left, Fixed *right) {
        *left = column.left;
        *right = column.right;
        if (column.floats)
            column.floats->margins(y, left, right);
        *left = std::max(*left, l) + (rtl ? Fixed() : firstIndent);
        *right = std::min(*right, r) - (rtl ? firstIndent : Fixed());
    };

    Fixed bottom;
    layout->beginLayout();
    for (bool first = true;; first = false) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        const Fixed firstIndent = first ? Fixed::fromReal(format.textIndent()) : Fixed();
        Fixed left, right;
        edges(column.y, firstIndent, &left, &right);
        line.setLineWidth((right - left).toReal());
        if (Fixed::fromReal(line.naturalTextWidth()) > right - left) {
            // Something that cannot break (a picture) is wider than the line: it goes below the
            // floats, to where it fits, breaking anywhere if it must; the paragraph's later lines
            // then break at word boundaries only, as they do in Qt's layout.
            if (wordOrAnywhere) {
                option.setWrapMode(QTextOption::WrapAnywhere);
                layout->setTextOption(option);
            }
            if (column.floats)
                column.y = column.floats->firstFit(column.y, Fixed::fromReal(line.naturalTextWidth()), l, r);
            edges(column.y, firstIndent, &left, &right);
            line.setLineWidth(std::max<qreal>(line.naturalTextWidth(), (right - left).toReal()));
            if (wordOrAnywhere) {
                option.setWrapMode(QTextOption::WordWrap);
                layout->setTextOption(option);
            }
        }
        const LineHeight height = lineHeightOf(format, line, scaling);
        line.setPosition(QPointF((left - column.left).toReal(), (column.y - top - height.adjustment).toReal()));
        bottom = column.y + height.bottom;
        column.y += height.height;
        widths.contents = std::max(widths.contents, Fixed::fromReal(line.x() + line.naturalTextWidth()) + rightMargin);
    }
    layout->endLayout();
    column.y = std::max(column.y, bottom);

    const Fixed margins = leftMargin + rightMargin;
    widths.minimum = Fixed::fromReal(layout->minimumWidth()) + margins;
    const Fixed maximum = Fixed::fromReal(layout->maximumWidth()) + margins;
    widths.maximum = maximum > Fixed() ? maximum : Fixed();
    return widths;
}
