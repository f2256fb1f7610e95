#include "docx/DocxObjectScan.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"

#include <functional>

using namespace DocxNamespaces;

namespace {

// "width:120pt;height:3.5in" -> pixels (a bare number is in pixels).
QSizeF vmlSize(QStringView style)
{
    QSizeF size;
    for (const QStringView part : style.split(u';')) {
        const qsizetype colon = part.indexOf(u':');
        if (colon < 0)
            continue;
        const QStringView key = part.left(colon).trimmed();
        const auto twips = DocxUnits::measure(part.mid(colon + 1).trimmed(), 15.0);
        if (!twips)
            continue;
        if (key == u"width")
            size.setWidth(*twips / 15.0);
        else if (key == u"height")
            size.setHeight(*twips / 15.0);
    }
    return size;
}

struct Scanner
{
    DocxObjectScan &out;
    bool topShapeSized = false;

    void walk(DocxXml &xml)
    {
        const int depth = xml.depth();
        while (xml.nextChild(depth))
            element(xml);
    }

    void element(DocxXml &xml)
    {
        const QStringView n = xml.name();
        switch (xml.ns()) {
        case MC:
            if (n == u"AlternateContent") {
                // The fallback is what every reader understands; without one, the first choice.
                const QString kept = DocxKeptXml::captureElement(xml);
                DocxXml copy(DocxKeptXml::document(kept).toUtf8(), xml.part());
                copy.start();
                copy.nextChild(1);
                QString chosen;
                const int d = copy.depth();
                while (copy.nextChild(d)) {
                    if (copy.ns() != MC)
                        continue;
                    if (copy.name() == u"Fallback" || chosen.isEmpty())
                        chosen = DocxKeptXml::captureElement(copy);
                }
                if (!chosen.isEmpty()) {
                    DocxXml branch(DocxKeptXml::document(chosen).toUtf8(), xml.part());
                    branch.start();
                    branch.nextChild(1);
                    walk(branch);
                }
                return;
            }
            break;
        case WP:
            if (n == u"anchor") {
                out.placement = DocxObjectScan::OwnLine;
                anchor(xml);
                return;
            }
            if (n == u"extent" && out.size.isEmpty()) {
                const auto cx = DocxUnits::integer(xml.attribute(u"cx")), cy = DocxUnits::integer(xml.attribute(u"cy"));
                if (cx && cy)
                    out.size = QSizeF(double(*cx) / DocxUnits::kEmuPerPixel, double(*cy) / DocxUnits::kEmuPerPixel);
                return;
            }
            break;
        case A:
            if (n == u"blip") {
                ++out.pictures;
                QStringView id = xml.attribute(R, u"embed");
                if (id.isEmpty()) {
                    id = xml.attribute(R, u"link");
                    out.linked = !id.isEmpty();
                }
                if (out.picture.isEmpty())
                    out.picture = id.toString();
                return;
            }
            break;
        case V:
            if (n == u"imagedata") {
                ++out.pictures;
                QStringView id = xml.attribute(R, u"id");
                if (id.isEmpty())
                    id = xml.attribute(O, u"relid");
                if (out.picture.isEmpty())
                    out.picture = id.toString();
                return;
            }
            if ((n == u"shape" || n == u"rect" || n == u"roundrect" || n == u"oval") && !topShapeSized) {
                topShapeSized = true;
                const QSizeF size = vmlSize(xml.attribute(u"style"));
                if (out.size.isEmpty() && size.width() > 0 && size.height() > 0)
                    out.size = size;
                const QStringView style = xml.attribute(u"style");
                if (style.contains(u"position:absolute"))
                    out.placement = DocxObjectScan::OwnLine;
                if (n != u"shape")
                    out.other = true;
            }
            break;
        case W:
            if (n == u"txbxContent") {
                out.textBoxes.append(DocxKeptXml::captureElement(xml));
                return;
            }
            break;
        case WPS:
        case WPG:
        case C:
        case DGM:
        case WPC:
            if (n == u"wsp" || n == u"wgp" || n == u"chart" || n == u"relIds" || n == u"wpc")
                out.other = true;
            break;
        default:
            break;
        }
        walk(xml);
    }

    void anchor(DocxXml &xml)
    {
        const bool behind = DocxUnits::onOff(xml.attribute(u"behindDoc").isNull() ? u"0" : xml.attribute(u"behindDoc"));
        const int depth = xml.depth();
        while (xml.nextChild(depth)) {
            const QStringView n = xml.name();
            if (xml.ns() == WP && (n == u"wrapSquare" || n == u"wrapTight" || n == u"wrapThrough")) {
                if (!behind)
                    out.placement = DocxObjectScan::Beside;
                xml.skip();
            } else if (xml.ns() == WP && n == u"positionH") {
                const int d = xml.depth();
                while (xml.nextChild(d)) {
                    if (xml.ns() == WP && xml.name() == u"align") {
                        const QString a = xml.text().trimmed();
                        out.right = a == u"right" || a == u"outside";
                    } else if (xml.ns() == WP && xml.name() == u"posOffset") {
                        const auto emu = DocxUnits::integer(xml.text());
                        out.right = emu && double(*emu) / DocxUnits::kEmuPerTwip > 4680;
                    }
                }
            } else {
                element(xml);
            }
        }
    }
};

} // namespace

DocxObjectScan DocxObjectScan::scan(const QString &elementXml, const QString &part)
{
    DocxObjectScan result;
    DocxXml xml(DocxKeptXml::document(elementXml).toUtf8(), part);
    if (!xml.start())
        return result;
    Scanner scanner{result};
    scanner.walk(xml);
    return result;
}

QString DocxObjectScan::textOf(const QString &elementXml)
{
    QString text;
    DocxXml xml(DocxKeptXml::document(elementXml).toUtf8(), QStringLiteral("kept XML"));
    if (!xml.start())
        return text;
    std::function<void(int)> walk = [&](int depth) {
        while (xml.nextChild(depth)) {
            if ((xml.ns() == W && (xml.name() == u"t" || xml.name() == u"delText")) || (xml.ns() == M && xml.name() == u"t")) {
                xml.appendText(text);
            } else if (xml.ns() == W && xml.name() == u"p") {
                if (!text.isEmpty())
                    text += QChar(0x2028);
                walk(xml.depth());
            } else if (xml.ns() == W && (xml.name() == u"tab")) {
                text += u'\t';
            } else {
                walk(xml.depth());
            }
        }
    };
    walk(xml.depth());
    return text;
}
