#include "docx/DocxNumberingWriter.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxNumbering.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextList>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

QString numberFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare: return QStringLiteral("bullet");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("lowerLetter");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("upperLetter");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("lowerRoman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("upperRoman");
    case QTextListFormat::ListStyleUndefined: return QStringLiteral("none");
    default: return QStringLiteral("decimal");
    }
}

} // namespace

int DocxNumberingWriter::startOf(const QTextListFormat &f)
{
    return f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
}

int DocxNumberingWriter::levelOf(const QTextList *list)
{
    return qBound(0, list->format().indent() - 1, 8);
}

DocxNumberingWriter::Item DocxNumberingWriter::item(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return {};
    const QTextListFormat format = list->format();
    QString key = format.stringProperty(TextFormats::kListGroupProperty);
    if (key.isEmpty())
        key = QStringLiteral("list-%1").arg(quintptr(list));
    auto found = groupIndex_.constFind(key);
    if (found == groupIndex_.cend()) {
        Group g;
        g.abstractId = int(groups_.size());
        g.numId = int(instances_.size()) + 1;
        instances_.append({g.numId, g.abstractId, -1, 1});
        groups_.append(g);
        found = groupIndex_.insert(key, int(groups_.size()) - 1);
    }
    Group &g = groups_[*found];
    const int level = levelOf(list);
    if (!g.formats[std::size_t(level)])
        g.formats[std::size_t(level)] = format;
    const int want = startOf(format) + written_[list]++;
    Level &l = g.levels[std::size_t(level)];
    const int expected = l.reset ? startOf(*g.formats[std::size_t(level)]) : l.next;
    if (want != expected) {
        // Word would count otherwise: an instance that starts this level at the number shown.
        Instance restart{int(instances_.size()) + 1, g.abstractId, level, want};
        instances_.append(restart);
        g.numId = restart.numId;
    }
    l.list = list;
    l.next = want + 1;
    l.reset = false;
    for (int deeper = level + 1; deeper < 9; ++deeper)
        g.levels[std::size_t(deeper)].reset = true;
    return {g.numId, level};
}

QByteArray DocxNumberingWriter::xml() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = uri(W);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeNamespace(ns, QStringLiteral("w"));
    w.writeStartElement(ns, QStringLiteral("numbering"));
    auto value = [&](const char *name, const QString &v) {
        w.writeEmptyElement(ns, QLatin1String(name));
        w.writeAttribute(ns, QStringLiteral("val"), v);
    };
    for (const Group &g : groups_) {
        w.writeStartElement(ns, QStringLiteral("abstractNum"));
        w.writeAttribute(ns, QStringLiteral("abstractNumId"), QString::number(g.abstractId));
        value("multiLevelType", QStringLiteral("hybridMultilevel"));
        for (int level = 0; level < 9; ++level) {
            QTextListFormat f;
            if (g.formats[std::size_t(level)]) {
                f = *g.formats[std::size_t(level)];
            } else {
                f.setStyle(QTextListFormat::ListDecimal);
            }
            const QString kept = f.stringProperty(DocxFormats::kLevelProperty);
            if (!kept.isEmpty() && f.stringProperty(DocxFormats::kLevelShownProperty) == DocxNumbering::signature(f, level)) {
                const QString start = QString::number(startOf(f));
                DocxKeptXml::write(w, kept, [&](const QString &, QStringView element, const QString &, QStringView attribute,
                                                const QString &v) {
                    if (element == u"lvl" && attribute == u"ilvl")
                        return QString::number(level);
                    return element == u"start" && attribute == u"val" ? start : v;
                });
                continue;
            }
            w.writeStartElement(ns, QStringLiteral("lvl"));
            w.writeAttribute(ns, QStringLiteral("ilvl"), QString::number(level));
            value("start", QString::number(startOf(f)));
            value("numFmt", numberFormat(f.style()));
            value("lvlText", DocxNumbering::markerTemplate(f, level));
            value("lvlJc", QStringLiteral("left"));
            w.writeStartElement(ns, QStringLiteral("pPr"));
            w.writeEmptyElement(ns, QStringLiteral("ind"));
            w.writeAttribute(ns, QStringLiteral("left"), QString::number(720 * (level + 1)));
            w.writeAttribute(ns, QStringLiteral("hanging"), QStringLiteral("360"));
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    for (const Instance &i : instances_) {
        w.writeStartElement(ns, QStringLiteral("num"));
        w.writeAttribute(ns, QStringLiteral("numId"), QString::number(i.numId));
        value("abstractNumId", QString::number(i.abstractId));
        if (i.level >= 0) {
            w.writeStartElement(ns, QStringLiteral("lvlOverride"));
            w.writeAttribute(ns, QStringLiteral("ilvl"), QString::number(i.level));
            value("startOverride", QString::number(i.start));
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}
