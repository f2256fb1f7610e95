#include "docx/DocxParagraphProperties.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/TextFormats.h"

#include <QTextBlockFormat>
#include <QTextOption>

using namespace DocxNamespaces;

namespace {

std::optional<Qt::Alignment> alignmentOf(QStringView v)
{
    if (v == u"left" || v == u"start")
        return Qt::AlignLeft;
    if (v == u"right" || v == u"end")
        return Qt::AlignRight;
    if (v == u"center")
        return Qt::AlignHCenter;
    if (v == u"both" || v == u"distribute" || v.endsWith(u"Kashida") || v == u"thaiDistribute" || v == u"justify")
        return Qt::AlignJustify;
    return std::nullopt;
}

void readTabs(DocxXml &xml, DocxParagraphProperties::Tabs &tabs)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (!xml.isW(u"tab"))
            continue;
        const auto pos = DocxUnits::twips(xml.attribute(u"pos"));
        if (!pos || tabs.size() > 64)
            continue;
        const QStringView v = xml.val();
        int kind = QTextOption::LeftTab;
        if (v == u"clear")
            kind = -1;
        else if (v == u"right" || v == u"end")
            kind = QTextOption::RightTab;
        else if (v == u"center")
            kind = QTextOption::CenterTab;
        else if (v == u"decimal")
            kind = QTextOption::DelimiterTab;
        tabs.insert(int(*pos), kind);
    }
}

} // namespace

void DocxParagraphProperties::read(DocxXml &xml, const DocxTheme &theme, bool keep,
                                   const std::function<void(DocxXml &)> &section)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        const QStringView n = xml.name();
        const QStringView v = xml.val();
        if (xml.ns() != W) {
            if (keep)
                kept += DocxKeptXml::captureElement(xml);
        } else if (n == u"pStyle") {
            style = v.toString();
        } else if (n == u"jc") {
            if (const auto a = alignmentOf(v))
                alignment = a;
        } else if (n == u"ind") {
            for (const char16_t *name : {u"left", u"start"})
                if (const auto t = DocxUnits::twips(xml.attribute(QStringView(name))))
                    left = *t;
            for (const char16_t *name : {u"right", u"end"})
                if (const auto t = DocxUnits::twips(xml.attribute(QStringView(name))))
                    right = *t;
            if (const auto t = DocxUnits::twips(xml.attribute(u"firstLine")))
                firstLine = *t;
            if (const auto t = DocxUnits::twips(xml.attribute(u"hanging")))
                firstLine = -*t;
        } else if (n == u"spacing") {
            if (const auto t = DocxUnits::twips(xml.attribute(u"before")))
                before = qMax(0.0, *t);
            if (const auto t = DocxUnits::twips(xml.attribute(u"after")))
                after = qMax(0.0, *t);
            if (DocxUnits::onOff(xml.attribute(u"beforeAutospacing").isNull() ? u"0" : xml.attribute(u"beforeAutospacing")))
                before = 280.0;
            if (DocxUnits::onOff(xml.attribute(u"afterAutospacing").isNull() ? u"0" : xml.attribute(u"afterAutospacing")))
                after = 280.0;
            if (const auto t = DocxUnits::twips(xml.attribute(u"line"))) {
                const QStringView rule = xml.attribute(u"lineRule");
                line = *t;
                lineRule = rule == u"exact" ? Exact : rule == u"atLeast" ? AtLeast : Auto;
            }
        } else if (n == u"pageBreakBefore") {
            pageBreakBefore = DocxUnits::onOff(v);
        } else if (n == u"bidi") {
            rightToLeft = DocxUnits::onOff(v);
        } else if (n == u"numPr") {
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                const auto value = DocxUnits::integer(xml.val());
                if (xml.isW(u"numId") && value)
                    numId = int(qBound(qint64(-1), qint64(*value), qint64(1 << 30)));
                else if (xml.isW(u"ilvl") && value)
                    level = int(qBound(qint64(0), qint64(*value), qint64(8)));
            }
        } else if (n == u"outlineLvl") {
            if (const auto value = DocxUnits::integer(v))
                outlineLevel = int(qBound(qint64(0), qint64(*value), qint64(9)));
        } else if (n == u"shd") {
            shading = DocxUnits::color(xml.attribute(u"fill"));
        } else if (n == u"tabs") {
            readTabs(xml, tabs);
        } else if (n == u"rPr") {
            mark.read(xml, theme, keep);
        } else if (n == u"sectPr") {
            hasSection = true;
            if (section)
                section(xml);
        } else if (keep) {
            kept += DocxKeptXml::captureElement(xml);
        }
    }
}

void DocxParagraphProperties::merge(const DocxParagraphProperties &o)
{
    auto take = [](auto &mine, const auto &theirs) {
        if (theirs)
            mine = theirs;
    };
    take(style, o.style);
    take(alignment, o.alignment);
    take(left, o.left);
    take(right, o.right);
    take(firstLine, o.firstLine);
    take(before, o.before);
    take(after, o.after);
    take(line, o.line);
    take(lineRule, o.lineRule);
    take(pageBreakBefore, o.pageBreakBefore);
    take(rightToLeft, o.rightToLeft);
    take(numId, o.numId);
    take(level, o.level);
    take(outlineLevel, o.outlineLevel);
    take(shading, o.shading);
    for (auto it = o.tabs.cbegin(); it != o.tabs.cend(); ++it) {
        if (it.value() < 0)
            tabs.remove(it.key());
        else
            tabs.insert(it.key(), it.value());
    }
    if (!o.kept.isEmpty())
        kept = o.kept;
    mark.merge(o.mark);
    hasSection = hasSection || o.hasSection;
}

void DocxParagraphProperties::apply(QTextBlockFormat &f) const
{
    using TextFormats::twipsToPixels;
    if (alignment)
        f.setAlignment(*alignment);
    if (left)
        f.setLeftMargin(twipsToPixels(*left));
    if (right)
        f.setRightMargin(twipsToPixels(*right));
    if (firstLine)
        f.setTextIndent(twipsToPixels(*firstLine));
    if (before)
        f.setTopMargin(twipsToPixels(*before));
    if (after)
        f.setBottomMargin(twipsToPixels(*after));
    if (line && *line > 0) {
        switch (lineRule.value_or(Auto)) {
        case Exact: f.setLineHeight(twipsToPixels(*line), QTextBlockFormat::FixedHeight); break;
        case AtLeast: f.setLineHeight(twipsToPixels(*line), QTextBlockFormat::MinimumHeight); break;
        default:
            if (qAbs(*line - 240.0) < 0.5)
                f.setLineHeight(100, QTextBlockFormat::SingleHeight);
            else
                f.setLineHeight(qBound(10.0, *line * 100.0 / 240.0, 1000.0), QTextBlockFormat::ProportionalHeight);
            break;
        }
    }
    if (pageBreakBefore)
        f.setPageBreakPolicy(*pageBreakBefore ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
    if (rightToLeft)
        f.setLayoutDirection(*rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (outlineLevel && *outlineLevel < 9)
        f.setHeadingLevel(*outlineLevel + 1);
    if (shading && shading->isValid())
        f.setBackground(*shading);
    if (!tabs.isEmpty()) {
        QList<QTextOption::Tab> stops;
        for (auto it = tabs.cbegin(); it != tabs.cend(); ++it)
            if (it.value() >= 0)
                stops.append(QTextOption::Tab(twipsToPixels(it.key()), QTextOption::TabType(it.value())));
        f.setTabPositions(stops);
    }
    if (!kept.isEmpty())
        f.setProperty(DocxFormats::kParagraphPropertiesProperty, kept);
}
