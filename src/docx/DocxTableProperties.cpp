#include "docx/DocxTableProperties.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"

using namespace DocxNamespaces;

namespace {

int sideOf(QStringView n)
{
    if (n == u"top")
        return DocxTableProperties::Top;
    if (n == u"left" || n == u"start")
        return DocxTableProperties::Left;
    if (n == u"bottom")
        return DocxTableProperties::Bottom;
    if (n == u"right" || n == u"end")
        return DocxTableProperties::Right;
    if (n == u"insideH")
        return DocxTableProperties::InsideH;
    if (n == u"insideV")
        return DocxTableProperties::InsideV;
    return -1;
}

std::optional<DocxTableProperties::Width> widthOf(const DocxXml &xml)
{
    const QStringView type = xml.attribute(u"type");
    const QStringView w = xml.attribute(u"w");
    if (type == u"auto" || type == u"nil")
        return std::nullopt;
    DocxTableProperties::Width width;
    if (type == u"pct" || w.endsWith(u'%')) {
        bool ok = false;
        double v = w.endsWith(u'%') ? w.chopped(1).toDouble(&ok) : w.toDouble(&ok) / 50.0;
        if (!ok || v <= 0)
            return std::nullopt;
        width.value = qMin(v, 100.0);
        width.percent = true;
        return width;
    }
    const auto t = DocxUnits::twips(w);
    if (!t || *t <= 0)
        return std::nullopt;
    width.value = *t;
    return width;
}

} // namespace

DocxTableProperties::Border DocxTableProperties::readBorder(const DocxXml &xml)
{
    Border b;
    b.kind = xml.val().toString();
    // A line without a width is drawn as other readers draw it: three quarters of a point.
    b.eighths = 6;
    if (const auto sz = DocxUnits::integer(xml.attribute(u"sz")))
        b.eighths = double(qBound(qint64(0), qint64(*sz), qint64(96)));
    b.color = DocxUnits::color(xml.attribute(u"color"));
    return b;
}

void DocxTableProperties::read(DocxXml &xml, bool keep)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        const QStringView n = xml.name();
        const QStringView v = xml.val();
        if (xml.ns() != W) {
            if (keep)
                kept += DocxKeptXml::captureElement(xml);
        } else if (n == u"tblStyle") {
            style = v.toString();
        } else if (n == u"tblW" || n == u"tcW") {
            width = widthOf(xml);
        } else if (n == u"jc") {
            alignment = v == u"center" ? 1 : (v == u"right" || v == u"end") ? 2 : 0;
        } else if (n == u"tblInd") {
            if (const auto t = DocxUnits::twips(xml.attribute(u"w")))
                indent = *t;
        } else if (n == u"tblBorders" || n == u"tcBorders") {
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                const int side = sideOf(xml.name());
                if (side >= 0 && xml.ns() == W)
                    borders[std::size_t(side)] = readBorder(xml);
            }
        } else if (n == u"tblCellMar" || n == u"tcMar") {
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                const int side = sideOf(xml.name());
                if (side >= 0 && side < 4)
                    if (const auto t = DocxUnits::twips(xml.attribute(u"w")))
                        margins[std::size_t(side)] = qBound(0.0, *t, 31680.0);
            }
        } else if (n == u"shd") {
            shading = DocxUnits::color(xml.attribute(u"fill"));
        } else if (n == u"gridSpan") {
            if (const auto s = DocxUnits::integer(v))
                gridSpan = int(qBound(qint64(1), qint64(*s), qint64(64)));
        } else if (n == u"vMerge") {
            verticalMergeRestart = v == u"restart";
        } else if (n == u"hMerge") {
            horizontalMerge = v == u"restart" ? 1 : 0;
        } else if (n == u"vAlign") {
            verticalAlignment = v == u"center" ? 1 : v == u"bottom" ? 2 : 0;
        } else if (n == u"gridBefore" || n == u"gridAfter") {
            if (const auto s = DocxUnits::integer(v))
                (n == u"gridBefore" ? gridBefore : gridAfter) = int(qBound(qint64(0), qint64(*s), qint64(63)));
        } else if (n == u"trHeight") {
            if (const auto t = DocxUnits::twips(v); t && *t > 0)
                height = xml.attribute(u"hRule") == u"exact" ? -*t : *t;
        } else if (n == u"tblLook") {
            int flags = 0;
            bool ok = false;
            const int hex = v.toInt(&ok, 16);
            if (ok)
                flags = hex;
            const struct { const char16_t *name; int flag; } kFlags[] = {
                {u"firstRow", FirstRow}, {u"lastRow", LastRow}, {u"firstColumn", FirstColumn},
                {u"lastColumn", LastColumn}, {u"noHBand", NoRowBands}, {u"noVBand", NoColumnBands}};
            for (const auto &f : kFlags) {
                const QStringView a = xml.attribute(QStringView(f.name));
                if (!a.isNull())
                    flags = DocxUnits::onOff(a) ? flags | f.flag : flags & ~f.flag;
            }
            look = flags;
            if (keep)
                kept += DocxKeptXml::captureElement(xml);
        } else if (n == u"tblStyleRowBandSize" || n == u"tblStyleColBandSize") {
            if (const auto size = DocxUnits::integer(v))
                (n == u"tblStyleRowBandSize" ? rowBandSize : columnBandSize) = int(qBound(qint64(1), qint64(*size), qint64(100)));
        } else if (n == u"tblHeader") {
            header = DocxUnits::onOff(v);
        } else if (keep) {
            kept += DocxKeptXml::captureElement(xml);
        }
    }
}

void DocxTableProperties::mergeCell(const DocxTableProperties &o)
{
    for (std::size_t i = 0; i < borders.size(); ++i)
        if (o.borders[i])
            borders[i] = o.borders[i];
    if (o.shading)
        shading = o.shading;
    if (o.verticalAlignment)
        verticalAlignment = o.verticalAlignment;
}

void DocxTableProperties::merge(const DocxTableProperties &o)
{
    auto take = [](auto &mine, const auto &theirs) {
        if (theirs)
            mine = theirs;
    };
    take(style, o.style);
    take(width, o.width);
    take(alignment, o.alignment);
    take(indent, o.indent);
    for (std::size_t i = 0; i < borders.size(); ++i)
        take(borders[i], o.borders[i]);
    for (std::size_t i = 0; i < margins.size(); ++i)
        take(margins[i], o.margins[i]);
    take(shading, o.shading);
    take(verticalAlignment, o.verticalAlignment);
    take(look, o.look);
    take(rowBandSize, o.rowBandSize);
    take(columnBandSize, o.columnBandSize);
}
