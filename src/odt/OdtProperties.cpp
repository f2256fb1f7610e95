#include "odt/OdtProperties.h"
#include "odt/OdtStyleFormats.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlText.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QSet>

namespace {

QString underlineStyle(const QTextCharFormat &f)
{
    if (!TextFormats::isUnderlined(f))
        return QStringLiteral("none");
    switch (f.underlineStyle()) {
    case QTextCharFormat::DotLine: return QStringLiteral("dotted");
    case QTextCharFormat::DashUnderline: return QStringLiteral("dash");
    case QTextCharFormat::DashDotLine: return QStringLiteral("dot-dash");
    case QTextCharFormat::DashDotDotLine: return QStringLiteral("dot-dot-dash");
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return QStringLiteral("wave");
    default: return QStringLiteral("solid");
    }
}

// Every property the writer says of a character format, defaults included, so that two formats
// can be compared.
OdtProperties::List allText(const QTextCharFormat &f)
{
    OdtProperties::List out;
    const QString family = TextFormats::family(f, QFont(QStringLiteral("Liberation Serif")));
    out.append({QStringLiteral("fo:font-family"), family.contains(u' ') ? u'\'' + family + u'\'' : family});
    out.append({QStringLiteral("fo:font-size"), OdtUnits::pointText(f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0
                                                                        ? f.fontPointSize() : 12.0)});
    out.append({QStringLiteral("fo:font-weight"), TextFormats::isBold(f) ? QStringLiteral("bold") : QStringLiteral("normal")});
    out.append({QStringLiteral("fo:font-style"), f.fontItalic() ? QStringLiteral("italic") : QStringLiteral("normal")});
    const QString underline = underlineStyle(f);
    out.append({QStringLiteral("style:text-underline-style"), underline});
    if (underline != u"none") {
        out.append({QStringLiteral("style:text-underline-width"), QStringLiteral("auto")});
        out.append({QStringLiteral("style:text-underline-color"), QStringLiteral("font-color")});
    }
    out.append({QStringLiteral("style:text-line-through-style"), f.fontStrikeOut() ? QStringLiteral("solid") : QStringLiteral("none")});
    if (f.fontStrikeOut())
        out.append({QStringLiteral("style:text-line-through-type"), QStringLiteral("single")});
    const bool colored = f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush;
    out.append({QStringLiteral("fo:color"), colored ? OdtUnits::colorText(f.foreground().color()) : QStringLiteral("#000000")});
    const bool highlighted = f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush;
    out.append({QStringLiteral("fo:background-color"),
                highlighted ? OdtUnits::colorText(f.background().color()) : QStringLiteral("transparent")});
    QString position = QStringLiteral("0% 100%");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        position = QStringLiteral("super 58%");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        position = QStringLiteral("sub 58%");
    else if (f.hasProperty(QTextFormat::TextBaselineOffset) && f.baselineOffset() != 0)
        position = QString::number(qRound(f.baselineOffset())) + QStringLiteral("% 100%");
    out.append({QStringLiteral("style:text-position"), position});
    out.append({QStringLiteral("fo:text-transform"),
                f.fontCapitalization() == QFont::AllUppercase ? QStringLiteral("uppercase") : QStringLiteral("none")});
    out.append({QStringLiteral("fo:font-variant"),
                f.fontCapitalization() == QFont::SmallCaps ? QStringLiteral("small-caps") : QStringLiteral("normal")});
    const bool spaced = f.hasProperty(QTextFormat::FontLetterSpacing) && f.fontLetterSpacingType() == QFont::AbsoluteSpacing
                     && f.fontLetterSpacing() != 0;
    out.append({QStringLiteral("fo:letter-spacing"), spaced ? OdtUnits::pointText(f.fontLetterSpacing()) : QStringLiteral("normal")});
    return out;
}

QString alignment(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    const bool rtl = f.layoutDirection() == Qt::RightToLeft;
    if (a & Qt::AlignAbsolute) {
        if (a & Qt::AlignRight)
            return rtl ? QStringLiteral("start") : QStringLiteral("end");
        return rtl ? QStringLiteral("end") : QStringLiteral("start");
    }
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return QStringLiteral("end");
    return QStringLiteral("start");
}

OdtProperties::List allParagraph(const QTextBlockFormat &f, bool inList)
{
    OdtProperties::List out;
    out.append({QStringLiteral("fo:text-align"), alignment(f)});
    if (!inList) {
        out.append({QStringLiteral("fo:margin-left"), OdtUnits::inches(f.leftMargin())});
        out.append({QStringLiteral("fo:text-indent"), OdtUnits::inches(f.textIndent())});
    }
    out.append({QStringLiteral("fo:margin-right"), OdtUnits::inches(f.rightMargin())});
    out.append({QStringLiteral("fo:margin-top"), OdtUnits::inches(f.topMargin())});
    out.append({QStringLiteral("fo:margin-bottom"), OdtUnits::inches(f.bottomMargin())});
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        out.append({QStringLiteral("fo:line-height"), QString::number(qRound(f.lineHeight())) + u'%'});
        break;
    case QTextBlockFormat::FixedHeight:
        out.append({QStringLiteral("fo:line-height"), OdtUnits::inches(f.lineHeight())});
        break;
    case QTextBlockFormat::MinimumHeight:
        out.append({QStringLiteral("fo:line-height"), QStringLiteral("100%")});
        out.append({QStringLiteral("style:line-height-at-least"), OdtUnits::inches(f.lineHeight())});
        break;
    default:
        out.append({QStringLiteral("fo:line-height"), QStringLiteral("100%")});
        break;
    }
    out.append({QStringLiteral("fo:break-before"),
                f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore ? QStringLiteral("page") : QStringLiteral("auto")});
    out.append({QStringLiteral("fo:break-after"),
                f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter ? QStringLiteral("page") : QStringLiteral("auto")});
    QString writing = QStringLiteral("page");
    if (f.hasProperty(QTextFormat::LayoutDirection) && f.layoutDirection() == Qt::RightToLeft)
        writing = QStringLiteral("rl-tb");
    else if (f.hasProperty(QTextFormat::LayoutDirection) && f.layoutDirection() == Qt::LeftToRight)
        writing = QStringLiteral("lr-tb");
    out.append({QStringLiteral("style:writing-mode"), writing});
    out.append({QStringLiteral("fo:keep-together"), f.nonBreakableLines() ? QStringLiteral("always") : QStringLiteral("auto")});
    const bool shaded = f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush;
    out.append({QStringLiteral("fo:background-color"),
                shaded ? OdtUnits::colorText(f.background().color()) : QStringLiteral("transparent")});
    return out;
}

// A property's value when a format says nothing of it.
bool isDefault(const QString &name, const QString &value)
{
    static const QHash<QString, QString> kDefaults{
        {QStringLiteral("fo:font-weight"), QStringLiteral("normal")},
        {QStringLiteral("fo:font-style"), QStringLiteral("normal")},
        {QStringLiteral("style:text-underline-style"), QStringLiteral("none")},
        {QStringLiteral("style:text-line-through-style"), QStringLiteral("none")},
        {QStringLiteral("fo:color"), QStringLiteral("#000000")},
        {QStringLiteral("fo:background-color"), QStringLiteral("transparent")},
        {QStringLiteral("style:text-position"), QStringLiteral("0% 100%")},
        {QStringLiteral("fo:text-transform"), QStringLiteral("none")},
        {QStringLiteral("fo:font-variant"), QStringLiteral("normal")},
        {QStringLiteral("fo:letter-spacing"), QStringLiteral("normal")},
        {QStringLiteral("fo:text-align"), QStringLiteral("start")},
        {QStringLiteral("fo:margin-left"), QStringLiteral("0in")},
        {QStringLiteral("fo:margin-right"), QStringLiteral("0in")},
        {QStringLiteral("fo:margin-top"), QStringLiteral("0in")},
        {QStringLiteral("fo:margin-bottom"), QStringLiteral("0in")},
        {QStringLiteral("fo:text-indent"), QStringLiteral("0in")},
        {QStringLiteral("fo:line-height"), QStringLiteral("100%")},
        {QStringLiteral("fo:break-before"), QStringLiteral("auto")},
        {QStringLiteral("fo:break-after"), QStringLiteral("auto")},
        {QStringLiteral("style:writing-mode"), QStringLiteral("page")},
        {QStringLiteral("fo:keep-together"), QStringLiteral("auto")},
    };
    const auto it = kDefaults.constFind(name);
    return it != kDefaults.cend() && *it == value;
}

OdtProperties::List difference(const OdtProperties::List &all, const OdtProperties::List *base)
{
    OdtProperties::List out;
    QHash<QString, QString> before;
    if (base)
        for (const auto &[name, value] : *base)
            before.insert(name, value);
    for (const auto &[name, value] : all) {
        if (base ? before.value(name) == value : isDefault(name, value))
            continue;
        out.append({name, value});
    }
    return out;
}

} // namespace

OdtProperties::List OdtProperties::text(const QTextCharFormat &f, const QTextCharFormat *base)
{
    const List all = allText(f);
    if (!base)
        return difference(all, nullptr);
    const List before = allText(*base);
    return difference(all, &before);
}

OdtProperties::List OdtProperties::paragraph(const QTextBlockFormat &f, const QTextBlockFormat *base, bool inList)
{
    const List all = allParagraph(f, inList);
    if (!base)
        return difference(all, nullptr);
    const List before = allParagraph(*base, inList);
    return difference(all, &before);
}

QString OdtProperties::tabStops(const QTextBlockFormat &f)
{
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    if (tabs.isEmpty())
        return QString();
    QString out = QStringLiteral("<style:tab-stops>");
    for (const QTextOption::Tab &tab : tabs) {
        out += QStringLiteral("<style:tab-stop style:position=\"%1\"").arg(OdtUnits::inches(tab.position));
        switch (tab.type) {
        case QTextOption::RightTab: out += QStringLiteral(" style:type=\"right\""); break;
        case QTextOption::CenterTab: out += QStringLiteral(" style:type=\"center\""); break;
        case QTextOption::DelimiterTab:
            out += QStringLiteral(" style:type=\"char\" style:char=\"%1\"")
                       .arg(OdtXmlText::escaped(QString(tab.delimiter.isNull() ? QChar(u'.') : tab.delimiter), true));
            break;
        default: break;
        }
        out += QStringLiteral("/>");
    }
    return out + QStringLiteral("</style:tab-stops>");
}

OdtProperties::List OdtProperties::cell(const QTextTableCellFormat &f)
{
    List out;
    static constexpr const char *kSides[4] = {"fo:border-top", "fo:border-left", "fo:border-bottom", "fo:border-right"};
    for (int side = 0; side < 4; ++side) {
        const TextFormats::CellBorderSide &s = TextFormats::kCellBorderSides[side];
        if (!f.hasProperty(s.style))
            continue; // no border of its own: none, as OpenDocument has it
        OdtUnits::Border b;
        b.style = QTextFrameFormat::BorderStyle(f.intProperty(s.style));
        b.width = f.doubleProperty(s.width);
        if (f.hasProperty(s.brush))
            b.color = f.brushProperty(s.brush).color();
        out.append({QLatin1StringView(kSides[side]), OdtUnits::borderText(b)});
    }
    static constexpr std::pair<const char *, QTextFormat::Property> kPadding[4] = {
        {"fo:padding-top", QTextFormat::TableCellTopPadding}, {"fo:padding-left", QTextFormat::TableCellLeftPadding},
        {"fo:padding-bottom", QTextFormat::TableCellBottomPadding}, {"fo:padding-right", QTextFormat::TableCellRightPadding}};
    for (const auto &[name, property] : kPadding)
        if (f.hasProperty(property))
            out.append({QLatin1StringView(name), OdtUnits::inches(f.doubleProperty(property))});
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        out.append({QStringLiteral("fo:background-color"), OdtUnits::colorText(f.background().color())});
    if (f.hasProperty(QTextFormat::TextVerticalAlignment)) {
        switch (f.verticalAlignment()) {
        case QTextCharFormat::AlignTop: out.append({QStringLiteral("style:vertical-align"), QStringLiteral("top")}); break;
        case QTextCharFormat::AlignMiddle: out.append({QStringLiteral("style:vertical-align"), QStringLiteral("middle")}); break;
        case QTextCharFormat::AlignBottom: out.append({QStringLiteral("style:vertical-align"), QStringLiteral("bottom")}); break;
        default: break;
        }
    }
    return out;
}

QString OdtProperties::attributes(const List &list, const QString &kept)
{
    QString out;
    QSet<QString> names;
    for (const auto &[name, value] : list) {
        names.insert(name);
        out += u' ' + name + QLatin1StringView("=\"") + OdtXmlText::escaped(value, true) + u'"';
    }
    const OdtStyleFormats::Properties extra = OdtStyleFormats::parseAttributes(kept);
    QStringList keys = extra.keys();
    keys.sort();
    for (const QString &name : std::as_const(keys))
        if (!names.contains(name))
            out += u' ' + name + QLatin1StringView("=\"") + OdtXmlText::escaped(extra.value(name), true) + u'"';
    return out;
}
