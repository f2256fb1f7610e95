#include "docx/DocxPropertyWriter.h"
#include "docx/DocxFormats.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxRunProperties.h"
#include "docx/DocxUnits.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QXmlStreamWriter>
#include <cmath>

namespace DocxPropertyWriter {

namespace {

using Attributes = QList<QPair<QString, QString>>;

QString number(double v) { return QString::number(qint64(std::llround(v))); }

QString familyOf(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty())
            return families.first();
    }
    return f.stringProperty(QTextFormat::FontFamily);
}

QColor brushColor(const QTextCharFormat &f, QTextFormat::Property p)
{
    if (!f.hasProperty(p))
        return QColor();
    const QBrush b = f.brushProperty(p);
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

int capitalization(const QTextCharFormat &f)
{
    return f.hasProperty(QTextFormat::FontCapitalization) ? int(f.fontCapitalization()) : int(QFont::MixedCase);
}

int script(const QTextCharFormat &f)
{
    const int v = f.verticalAlignment();
    return v == QTextCharFormat::AlignSuperScript ? 1 : v == QTextCharFormat::AlignSubScript ? 2 : 0;
}

double halfPointOffset(const QTextCharFormat &f)
{
    if (!f.hasProperty(QTextFormat::TextBaselineOffset))
        return 0;
    const double size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 12.0;
    return f.baselineOffset() / 100.0 * size * 2.0;
}

int alignment(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return 3;
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return 1;
    return 0;
}

} // namespace

QString twips(double pixels)
{
    return QString::number(TextFormats::roundedTwips(pixels));
}

DocxPropertyList runProperties(const QTextCharFormat &f, const QTextCharFormat &base, bool withKept)
{
    DocxPropertyList list(DocxPropertyList::Run);
    const QString family = familyOf(f);
    if (!family.isEmpty() && family != familyOf(base)) {
        if (withKept && f.hasProperty(DocxFormats::kFontsProperty)
            && f.stringProperty(DocxFormats::kFontFamilyProperty) == family)
            list.addKept(f.stringProperty(DocxFormats::kFontsProperty));
        else
            list.add(QStringLiteral("rFonts"), {{QStringLiteral("ascii"), family}, {QStringLiteral("hAnsi"), family},
                                                 {QStringLiteral("eastAsia"), family}, {QStringLiteral("cs"), family}});
    } else if (withKept && f.hasProperty(DocxFormats::kFontsProperty)
               && f.stringProperty(DocxFormats::kFontFamilyProperty) == family) {
        list.addKept(f.stringProperty(DocxFormats::kFontsProperty));
    }
    auto toggle = [&](const char *name, bool on, bool baseOn) {
        if (on == baseOn)
            return;
        if (on)
            list.add(QLatin1String(name));
        else
            list.addValue(QLatin1String(name), QStringLiteral("0"));
    };
    toggle("b", TextFormats::isBold(f), TextFormats::isBold(base));
    toggle("i", f.fontItalic(), base.fontItalic());
    const int caps = capitalization(f), baseCaps = capitalization(base);
    if (caps != baseCaps) {
        toggle("caps", caps == QFont::AllUppercase, baseCaps == QFont::AllUppercase);
        toggle("smallCaps", caps == QFont::SmallCaps, baseCaps == QFont::SmallCaps);
    }
    toggle("strike", f.fontStrikeOut(), base.fontStrikeOut());
    const QColor color = brushColor(f, QTextFormat::ForegroundBrush), baseColor = brushColor(base, QTextFormat::ForegroundBrush);
    if (color != baseColor)
        list.addValue(QStringLiteral("color"), color.isValid() ? DocxUnits::colorName(color) : QStringLiteral("auto"));
    const double offset = halfPointOffset(f), baseOffset = halfPointOffset(base);
    if (std::lround(offset) != std::lround(baseOffset))
        list.addValue(QStringLiteral("position"), number(offset));
    const double size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0;
    if (size > 0 && std::lround(size * 2) != std::lround(base.fontPointSize() * 2)) {
        list.addValue(QStringLiteral("sz"), number(size * 2));
        list.addValue(QStringLiteral("szCs"), number(size * 2));
    }
    const QColor background = brushColor(f, QTextFormat::BackgroundBrush);
    const QColor baseBackground = brushColor(base, QTextFormat::BackgroundBrush);
    if (background != baseBackground) {
        const QString highlight = DocxUnits::highlightName(background);
        if (!background.isValid()) {
            list.addValue(QStringLiteral("highlight"), QStringLiteral("none"));
            list.add(QStringLiteral("shd"), {{QStringLiteral("val"), QStringLiteral("clear")},
                                             {QStringLiteral("color"), QStringLiteral("auto")},
                                             {QStringLiteral("fill"), QStringLiteral("auto")}});
        } else if (!highlight.isEmpty()) {
            list.addValue(QStringLiteral("highlight"), highlight);
        } else {
            list.add(QStringLiteral("shd"), {{QStringLiteral("val"), QStringLiteral("clear")},
                                             {QStringLiteral("color"), QStringLiteral("auto")},
                                             {QStringLiteral("fill"), DocxUnits::colorName(background)}});
        }
    }
    const bool underlined = TextFormats::isUnderlined(f), baseUnderlined = TextFormats::isUnderlined(base);
    const int style = underlined ? int(f.underlineStyle() == QTextCharFormat::NoUnderline ? QTextCharFormat::SingleUnderline
                                                                                       : f.underlineStyle()) : 0;
    const int baseStyle = baseUnderlined ? int(base.underlineStyle() == QTextCharFormat::NoUnderline
                                                   ? QTextCharFormat::SingleUnderline : base.underlineStyle()) : 0;
    const QColor underlineColor = f.hasProperty(QTextFormat::TextUnderlineColor) ? f.underlineColor() : QColor();
    if (style != baseStyle || (underlined && underlineColor.isValid())) {
        QString kind = underlined ? DocxRunProperties::kindOfUnderline(style) : QStringLiteral("none");
        const QString kept = f.stringProperty(DocxFormats::kUnderlineProperty);
        if (underlined && !kept.isEmpty() && DocxRunProperties::underlineStyle(kept) == style)
            kind = kept;
        Attributes a{{QStringLiteral("val"), kind}};
        if (underlined && underlineColor.isValid())
            a.append({QStringLiteral("color"), DocxUnits::colorName(underlineColor)});
        list.add(QStringLiteral("u"), a);
    }
    const int s = script(f), baseS = script(base);
    if (s != baseS)
        list.addValue(QStringLiteral("vertAlign"),
                      s == 1 ? QStringLiteral("superscript") : s == 2 ? QStringLiteral("subscript") : QStringLiteral("baseline"));
    if (withKept)
        list.addKept(f.stringProperty(DocxFormats::kRunPropertiesProperty));
    return list;
}

DocxPropertyList paragraphProperties(const QTextBlockFormat &f, const QTextBlockFormat &base, bool all)
{
    DocxPropertyList list(DocxPropertyList::Paragraph);
    auto differs = [&](int property) {
        return all ? f.hasProperty(property) : f.property(property) != base.property(property);
    };
    const bool breakBefore = f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    if (breakBefore != bool(base.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) || (all && breakBefore))
        breakBefore ? list.add(QStringLiteral("pageBreakBefore"))
                    : list.addValue(QStringLiteral("pageBreakBefore"), QStringLiteral("0"));
    if (differs(QTextFormat::BackgroundBrush)) {
        const QColor fill = f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush
                                ? f.background().color() : QColor();
        list.add(QStringLiteral("shd"), {{QStringLiteral("val"), QStringLiteral("clear")},
                                         {QStringLiteral("color"), QStringLiteral("auto")},
                                         {QStringLiteral("fill"), fill.isValid() ? DocxUnits::colorName(fill) : QStringLiteral("auto")}});
    }
    if (differs(QTextFormat::TabPositions)) {
        const QList<QTextOption::Tab> tabs = f.tabPositions(), baseTabs = all ? QList<QTextOption::Tab>() : base.tabPositions();
        list.addCustom(QStringLiteral("tabs"), [tabs, baseTabs](QXmlStreamWriter &w) {
            const QString ns = DocxNamespaces::uri(DocxNamespaces::W);
            w.writeStartElement(ns, QStringLiteral("tabs"));
            for (const QTextOption::Tab &t : baseTabs) {
                bool kept = false;
                for (const QTextOption::Tab &mine : tabs)
                    kept = kept || std::lround(mine.position) == std::lround(t.position);
                if (kept)
                    continue;
                w.writeEmptyElement(ns, QStringLiteral("tab"));
                w.writeAttribute(ns, QStringLiteral("val"), QStringLiteral("clear"));
                w.writeAttribute(ns, QStringLiteral("pos"), twips(t.position));
            }
            for (const QTextOption::Tab &t : tabs) {
                w.writeEmptyElement(ns, QStringLiteral("tab"));
                const QString kind = t.type == QTextOption::RightTab      ? QStringLiteral("right")
                                   : t.type == QTextOption::CenterTab     ? QStringLiteral("center")
                                   : t.type == QTextOption::DelimiterTab  ? QStringLiteral("decimal")
                                                                          : QStringLiteral("left");
                w.writeAttribute(ns, QStringLiteral("val"), kind);
                w.writeAttribute(ns, QStringLiteral("pos"), twips(t.position));
            }
            w.writeEndElement();
        });
    }
    // Word's direction is right to left or not: a paragraph whose direction is left to the
    // text (Qt's "auto") is not right to left, as one that says left to right is not.
    const bool rightToLeft = f.layoutDirection() == Qt::RightToLeft;
    if (rightToLeft != (base.layoutDirection() == Qt::RightToLeft) || (all && f.hasProperty(QTextFormat::LayoutDirection)))
        rightToLeft ? list.add(QStringLiteral("bidi")) : list.addValue(QStringLiteral("bidi"), QStringLiteral("0"));
    if (differs(QTextFormat::BlockTopMargin) || differs(QTextFormat::BlockBottomMargin)
        || differs(QTextFormat::LineHeight) || differs(QTextFormat::LineHeightType)) {
        Attributes a{{QStringLiteral("before"), twips(f.topMargin())}, {QStringLiteral("after"), twips(f.bottomMargin())}};
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            a.append({QStringLiteral("line"), number(f.lineHeight() * 240.0 / 100.0)});
            a.append({QStringLiteral("lineRule"), QStringLiteral("auto")});
            break;
        case QTextBlockFormat::FixedHeight:
            a.append({QStringLiteral("line"), twips(f.lineHeight())});
            a.append({QStringLiteral("lineRule"), QStringLiteral("exact")});
            break;
        case QTextBlockFormat::MinimumHeight:
            a.append({QStringLiteral("line"), twips(f.lineHeight())});
            a.append({QStringLiteral("lineRule"), QStringLiteral("atLeast")});
            break;
        default:
            a.append({QStringLiteral("line"), QStringLiteral("240")});
            a.append({QStringLiteral("lineRule"), QStringLiteral("auto")});
            break;
        }
        list.add(QStringLiteral("spacing"), a);
    }
    if (differs(QTextFormat::BlockLeftMargin) || differs(QTextFormat::BlockRightMargin) || differs(QTextFormat::TextIndent)) {
        Attributes a{{QStringLiteral("left"), twips(f.leftMargin())}, {QStringLiteral("right"), twips(f.rightMargin())}};
        if (f.textIndent() < 0)
            a.append({QStringLiteral("hanging"), twips(-f.textIndent())});
        else
            a.append({QStringLiteral("firstLine"), twips(f.textIndent())});
        list.add(QStringLiteral("ind"), a);
    }
    if (alignment(f) != alignment(base) || (all && f.hasProperty(QTextFormat::BlockAlignment))) {
        static const char *const kAlign[] = {"left", "right", "center", "both"};
        list.addValue(QStringLiteral("jc"), QLatin1String(kAlign[alignment(f)]));
    }
    if (f.headingLevel() != base.headingLevel() || (all && f.headingLevel() > 0))
        list.addValue(QStringLiteral("outlineLvl"), QString::number(f.headingLevel() > 0 ? qMin(f.headingLevel(), 9) - 1 : 9));
    return list;
}

} // namespace DocxPropertyWriter
