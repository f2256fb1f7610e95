#include "rtf/RtfCellFormat.h"
#include "rtf/TextFormats.h"

namespace {

QColor colorAt(const QList<QColor> &colors, int index)
{
    return index > 0 && index < colors.size() ? colors[index] : QColor();
}

QColor blend(const QColor &under, const QColor &over, double share)
{
    return QColor::fromRgbF(float(under.redF() * (1 - share) + over.redF() * share),
                            float(under.greenF() * (1 - share) + over.greenF() * share),
                            float(under.blueF() * (1 - share) + over.blueF() * share));
}

} // namespace

QTextTableCellFormat RtfCellFormat::toFormat(const QList<QColor> &colors, const std::array<int, 4> &rowPadding,
                                             int rowHeight) const
{
    using namespace RtfValues;
    QTextTableCellFormat f;
    bool anyBorder = false;
    for (const Border &b : borders)
        anyBorder = anyBorder || b.style >= 0;
    if (anyBorder) {
        // Every side is set, so a side without a border shows none rather than Qt's grid.
        for (int side = 0; side < 4; ++side) {
            const Border &b = borders[std::size_t(side)];
            const TextFormats::CellBorderSide &p = TextFormats::kCellBorderSides[side];
            const bool shown = b.style > 0;
            f.setProperty(p.style, shown ? b.style : int(QTextFrameFormat::BorderStyle_None));
            // A border without a width is a hairline, as other word processors draw it.
            f.setProperty(p.width, shown ? TextFormats::twipsToPixels(b.width > 0 ? b.width : 15) : 0.0);
            const QColor c = colorAt(colors, b.color);
            if (shown)
                f.setProperty(p.brush, QBrush(c.isValid() ? c : QColor(Qt::black)));
        }
    }
    QColor fill = colorAt(colors, background);
    if (shading > 0) {
        const QColor over = colorAt(colors, pattern).isValid() ? colorAt(colors, pattern) : QColor(Qt::black);
        fill = blend(fill.isValid() ? fill : QColor(Qt::white), over, qBound(0, shading, 10000) / 10000.0);
    }
    if (fill.isValid())
        f.setBackground(fill);
    if (verticalAlignment == AlignTop)
        f.setVerticalAlignment(QTextCharFormat::AlignTop);
    else if (verticalAlignment == AlignCenter)
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (verticalAlignment == AlignBottom)
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
    static constexpr QTextFormat::Property kPadding[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                                         QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        const int twips = padding[std::size_t(side)] >= 0 ? padding[std::size_t(side)] : rowPadding[std::size_t(side)];
        if (twips >= 0)
            f.setProperty(kPadding[side], TextFormats::twipsToPixels(twips));
    }
    if (rowHeight != 0)
        f.setProperty(TextFormats::kRowHeightProperty, rowHeight);
    return f;
}
