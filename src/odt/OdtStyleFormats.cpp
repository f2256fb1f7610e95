#include "odt/OdtStyleFormats.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlText.h"
#include "rtf/TextFormats.h"

#include <QSet>
#include <QXmlStreamReader>

namespace OdtStyleFormats {

namespace {

const QString kDefaultFamily = QStringLiteral("Liberation Serif");

QString value(const Properties &p, const QString &name)
{
    return p.value(name);
}

QString unquoted(QString family)
{
    family = family.trimmed();
    if (family.size() >= 2 && (family.front() == u'\'' || family.front() == u'"') && family.back() == family.front())
        family = family.mid(1, family.size() - 2);
    return family.section(u',', 0, 0).trimmed(); // the first of a list
}

QTextCharFormat::UnderlineStyle underlineStyle(const QString &style)
{
    if (style.isEmpty() || style == u"none")
        return QTextCharFormat::NoUnderline;
    if (style == u"dotted")
        return QTextCharFormat::DotLine;
    if (style == u"dash" || style == u"long-dash")
        return QTextCharFormat::DashUnderline;
    if (style == u"dot-dash")
        return QTextCharFormat::DashDotLine;
    if (style == u"dot-dot-dash")
        return QTextCharFormat::DashDotDotLine;
    if (style == u"wave")
        return QTextCharFormat::WaveUnderline;
    return QTextCharFormat::SingleUnderline;
}

// The properties each kind shows; the rest are kept.
const QSet<QString> &shown(OdtStyleSheet::Kind kind)
{
    static const QSet<QString> text{
        QStringLiteral("fo:font-family"), QStringLiteral("style:font-name"), QStringLiteral("style:font-family-generic"),
        QStringLiteral("style:font-pitch"), QStringLiteral("fo:font-size"), QStringLiteral("fo:font-weight"),
        QStringLiteral("fo:font-style"), QStringLiteral("style:text-underline-style"),
        QStringLiteral("style:text-underline-type"), QStringLiteral("style:text-underline-width"),
        QStringLiteral("style:text-underline-color"), QStringLiteral("style:text-underline-mode"),
        QStringLiteral("style:text-line-through-style"), QStringLiteral("style:text-line-through-type"),
        QStringLiteral("style:text-line-through-width"), QStringLiteral("style:text-line-through-color"),
        QStringLiteral("style:text-line-through-mode"),
        QStringLiteral("fo:color"), QStringLiteral("style:use-window-font-color"), QStringLiteral("fo:background-color"),
        QStringLiteral("style:text-position"), QStringLiteral("text:display"), QStringLiteral("fo:text-transform"),
        QStringLiteral("fo:font-variant"), QStringLiteral("fo:letter-spacing")};
    static const QSet<QString> paragraph{
        QStringLiteral("fo:text-align"), QStringLiteral("fo:margin-left"), QStringLiteral("fo:margin-right"),
        QStringLiteral("fo:margin-top"), QStringLiteral("fo:margin-bottom"), QStringLiteral("fo:margin"),
        QStringLiteral("fo:text-indent"), QStringLiteral("fo:line-height"), QStringLiteral("style:line-height-at-least"),
        QStringLiteral("fo:break-before"), QStringLiteral("fo:break-after"), QStringLiteral("style:writing-mode"),
        QStringLiteral("fo:keep-together"), QStringLiteral("fo:background-color"), QStringLiteral("style:auto-text-indent")};
    static const QSet<QString> cell{
        QStringLiteral("fo:border"), QStringLiteral("fo:border-left"), QStringLiteral("fo:border-right"),
        QStringLiteral("fo:border-top"), QStringLiteral("fo:border-bottom"), QStringLiteral("fo:padding"),
        QStringLiteral("fo:padding-left"), QStringLiteral("fo:padding-right"), QStringLiteral("fo:padding-top"),
        QStringLiteral("fo:padding-bottom"), QStringLiteral("fo:background-color"), QStringLiteral("style:vertical-align")};
    static const QSet<QString> table{
        QStringLiteral("style:width"), QStringLiteral("style:rel-width"), QStringLiteral("table:align"),
        QStringLiteral("fo:margin-left"), QStringLiteral("fo:margin-right"), QStringLiteral("fo:background-color"),
        QStringLiteral("table:border-model"), QStringLiteral("fo:break-before")};
    static const QSet<QString> none;
    switch (kind) {
    case OdtStyleSheet::TextProps: return text;
    case OdtStyleSheet::ParagraphProps: return paragraph;
    case OdtStyleSheet::CellProps: return cell;
    case OdtStyleSheet::TableProps: return table;
    default: return none;
    }
}

} // namespace

QTextCharFormat charFormat(const Properties &p, const OdtStyleSheet &sheet)
{
    QTextCharFormat f;
    QString family = unquoted(value(p, QStringLiteral("fo:font-family")));
    if (family.isEmpty() && p.contains(QStringLiteral("style:font-name")))
        family = unquoted(sheet.fontFamily(value(p, QStringLiteral("style:font-name"))));
    TextFormats::setFamily(f, family.isEmpty() ? kDefaultFamily : family);
    f.setFontPointSize(qBound(1.0, OdtUnits::points(value(p, QStringLiteral("fo:font-size"))).value_or(12.0), 1638.0));
    const QString weight = value(p, QStringLiteral("fo:font-weight"));
    if (weight == u"bold" || weight.toInt() >= 600)
        f.setFontWeight(QFont::Bold);
    const QString slant = value(p, QStringLiteral("fo:font-style"));
    if (slant == u"italic" || slant == u"oblique")
        f.setFontItalic(true);
    const QTextCharFormat::UnderlineStyle underline = value(p, QStringLiteral("style:text-underline-type")) == u"none"
                                                          ? QTextCharFormat::NoUnderline
                                                          : underlineStyle(value(p, QStringLiteral("style:text-underline-style")));
    if (underline != QTextCharFormat::NoUnderline)
        f.setUnderlineStyle(underline);
    const QString strike = value(p, QStringLiteral("style:text-line-through-style"));
    if (!strike.isEmpty() && strike != u"none" && value(p, QStringLiteral("style:text-line-through-type")) != u"none")
        f.setFontStrikeOut(true);
    if (value(p, QStringLiteral("style:use-window-font-color")) != u"true" || p.contains(QStringLiteral("fo:color"))) {
        const QColor color = OdtUnits::color(value(p, QStringLiteral("fo:color")));
        if (color.isValid())
            f.setForeground(color);
    }
    const QColor highlight = OdtUnits::color(value(p, QStringLiteral("fo:background-color")));
    if (highlight.isValid())
        f.setBackground(highlight);
    const QStringList position = value(p, QStringLiteral("style:text-position")).split(u' ', Qt::SkipEmptyParts);
    if (!position.isEmpty()) {
        const QString &raise = position.first();
        const double scale = position.size() > 1 ? OdtUnits::percent(position[1]).value_or(100) : 58;
        const double percent = raise == u"super" ? 33 : raise == u"sub" ? -33 : OdtUnits::percent(raise).value_or(0);
        if (raise == u"super" || (percent > 0 && scale < 100))
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (raise == u"sub" || (percent < 0 && scale < 100))
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (percent != 0)
            f.setBaselineOffset(qBound(-100.0, percent, 100.0));
    }
    if (value(p, QStringLiteral("fo:text-transform")) == u"uppercase")
        f.setFontCapitalization(QFont::AllUppercase);
    else if (value(p, QStringLiteral("fo:font-variant")) == u"small-caps")
        f.setFontCapitalization(QFont::SmallCaps);
    if (const auto spacing = OdtUnits::points(value(p, QStringLiteral("fo:letter-spacing"))); spacing && *spacing != 0) {
        f.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        f.setFontLetterSpacing(qBound(-100.0, *spacing, 100.0));
    }
    return f;
}

bool isHidden(const Properties &text)
{
    return value(text, QStringLiteral("text:display")) == u"none";
}

QTextBlockFormat blockFormat(const Properties &p, const QList<QTextOption::Tab> &tabs)
{
    QTextBlockFormat f;
    const QString align = value(p, QStringLiteral("fo:text-align"));
    if (align == u"center")
        f.setAlignment(Qt::AlignHCenter);
    else if (align == u"justify")
        f.setAlignment(Qt::AlignJustify);
    else if (align == u"end")
        f.setAlignment(Qt::AlignTrailing);
    else if (align == u"right")
        f.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    else if (align == u"left")
        f.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    const QString writing = value(p, QStringLiteral("style:writing-mode"));
    if (writing.startsWith(u"rl"))
        f.setLayoutDirection(Qt::RightToLeft);
    else if (writing.startsWith(u"lr"))
        f.setLayoutDirection(Qt::LeftToRight);
    // "left" and "right" of a right-to-left paragraph are its start and end, as in Qt.
    if (f.layoutDirection() == Qt::RightToLeft && (align == u"left" || align == u"right"))
        f.setAlignment(align == u"left" ? Qt::AlignRight | Qt::AlignAbsolute : Qt::AlignLeft | Qt::AlignAbsolute);
    const std::optional<double> all = OdtUnits::pixels(value(p, QStringLiteral("fo:margin")));
    auto margin = [&](const char *name) {
        return OdtUnits::pixels(value(p, name)).value_or(all.value_or(0));
    };
    if (const double v = margin("fo:margin-left"); v != 0)
        f.setLeftMargin(v);
    if (const double v = margin("fo:margin-right"); v != 0)
        f.setRightMargin(v);
    if (const double v = qMax(0.0, margin("fo:margin-top")); v != 0)
        f.setTopMargin(v);
    if (const double v = qMax(0.0, margin("fo:margin-bottom")); v != 0)
        f.setBottomMargin(v);
    if (const auto indent = OdtUnits::pixels(value(p, QStringLiteral("fo:text-indent"))); indent && *indent != 0)
        f.setTextIndent(*indent);
    const QString lineHeight = value(p, QStringLiteral("fo:line-height"));
    if (const auto percent = OdtUnits::percent(lineHeight)) {
        if (*percent != 100 && *percent > 0)
            f.setLineHeight(qBound(10.0, *percent, 1000.0), QTextBlockFormat::ProportionalHeight);
    } else if (const auto fixed = OdtUnits::pixels(lineHeight); fixed && *fixed > 0) {
        f.setLineHeight(*fixed, QTextBlockFormat::FixedHeight);
    } else if (const auto least = OdtUnits::pixels(value(p, QStringLiteral("style:line-height-at-least"))); least && *least > 0) {
        f.setLineHeight(*least, QTextBlockFormat::MinimumHeight);
    }
    QTextFormat::PageBreakFlags breaks = QTextFormat::PageBreak_Auto;
    if (value(p, QStringLiteral("fo:break-before")) == u"page")
        breaks |= QTextFormat::PageBreak_AlwaysBefore;
    if (value(p, QStringLiteral("fo:break-after")) == u"page")
        breaks |= QTextFormat::PageBreak_AlwaysAfter;
    if (breaks != QTextFormat::PageBreak_Auto)
        f.setPageBreakPolicy(breaks);
    if (value(p, QStringLiteral("fo:keep-together")) == u"always")
        f.setNonBreakableLines(true);
    const QColor background = OdtUnits::color(value(p, QStringLiteral("fo:background-color")));
    if (background.isValid())
        f.setBackground(background);
    if (!tabs.isEmpty())
        f.setTabPositions(tabs);
    return f;
}

void applyCell(const Properties &p, QTextTableCellFormat &f)
{
    const std::optional<OdtUnits::Border> all = OdtUnits::border(value(p, QStringLiteral("fo:border")));
    static constexpr const char *kSides[4] = {"fo:border-top", "fo:border-left", "fo:border-bottom", "fo:border-right"};
    for (int side = 0; side < 4; ++side) {
        const std::optional<OdtUnits::Border> b = p.contains(QLatin1StringView(kSides[side]))
                                                      ? OdtUnits::border(p.value(QLatin1StringView(kSides[side]))) : all;
        if (!b)
            continue;
        const TextFormats::CellBorderSide &s = TextFormats::kCellBorderSides[side];
        f.setProperty(s.style, int(b->style));
        f.setProperty(s.width, b->style == QTextFrameFormat::BorderStyle_None ? 0.0 : b->width);
        if (b->color.isValid())
            f.setProperty(s.brush, QBrush(b->color));
    }
    const std::optional<double> padding = OdtUnits::pixels(value(p, QStringLiteral("fo:padding")));
    static constexpr const char *kPadding[4] = {"fo:padding-top", "fo:padding-left", "fo:padding-bottom", "fo:padding-right"};
    static constexpr QTextFormat::Property kPaddingProperty[4] = {
        QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding, QTextFormat::TableCellBottomPadding,
        QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        const std::optional<double> v = p.contains(QLatin1StringView(kPadding[side]))
                                            ? OdtUnits::pixels(p.value(QLatin1StringView(kPadding[side]))) : padding;
        if (v)
            f.setProperty(kPaddingProperty[side], qBound(0.0, *v, 960.0));
    }
    const QColor background = OdtUnits::color(value(p, QStringLiteral("fo:background-color")));
    if (background.isValid())
        f.setBackground(background);
    const QString vertical = value(p, QStringLiteral("style:vertical-align"));
    if (vertical == u"top")
        f.setVerticalAlignment(QTextCharFormat::AlignTop);
    else if (vertical == u"middle")
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (vertical == u"bottom")
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
}

QString unshown(const Properties &props, OdtStyleSheet::Kind kind)
{
    const QSet<QString> &known = shown(kind);
    QStringList names;
    for (auto it = props.cbegin(); it != props.cend(); ++it)
        if (!known.contains(it.key()) && !it.key().startsWith(u"officeooo:") && it.key().contains(u':'))
            names.append(it.key());
    names.sort();
    QString out;
    for (const QString &name : std::as_const(names)) {
        if (!out.isEmpty())
            out += u' ';
        out += name + QLatin1StringView("=\"") + OdtXmlText::escaped(props.value(name), true) + u'"';
    }
    return out;
}

Properties parseAttributes(const QString &text)
{
    Properties props;
    if (text.isEmpty())
        return props;
    // Read as the attributes of an element whose prefixes need no declaration here.
    QXmlStreamReader xml(QLatin1StringView("<a ") + text + QLatin1StringView("/>"));
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            for (const QXmlStreamAttribute &a : xml.attributes())
                props.insert(a.qualifiedName().toString(), a.value().toString());
            break;
        }
    }
    return props;
}

} // namespace OdtStyleFormats
