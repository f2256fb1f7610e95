#pragma once
// What LibreOffice shows of a document, read from the flat ODF it writes (--convert-to fodt):
// headers, footers, notes, page margins, table cells' borders and shading, page breaks, direction
// and list numbering, one line each, so two readings can be compared.
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace OdfFeatures {

struct Style
{
    QHash<QString, QString> props; // paragraph and cell properties, by attribute name
    QString listStyle;
};

inline QString listLevel(const QHash<QString, QStringList> &lists, const QString &style, int depth)
{
    const QStringList levels = lists.value(style);
    return depth >= 1 && depth <= levels.size() ? levels[depth - 1] : QStringLiteral("?");
}

inline QStringList read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable")};
    QXmlStreamReader xml(&file);
    QHash<QString, Style> styles;
    QHash<QString, QStringList> lists;          // list style -> "format suffix start" by level
    QHash<QString, QStringList> layouts;        // page layout -> margins
    QString masterLayout, currentStyle, currentList, text, noteText, noteClass, cellStyle, cellText;
    QStringList listStack, lines, header, footer;
    QString part; // the text of the header or footer being read
    int inHeader = 0, inFooter = 0, inNote = 0, inCell = 0, inBody = 0;
    auto attr = [&](const char *name) { return xml.attributes().value(QLatin1String(name)).toString(); };
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        if (xml.isStartElement()) {
            if (name == u"style:style") {
                currentStyle = attr("style:name");
                styles[currentStyle].listStyle = attr("style:list-style-name");
            } else if (name == u"style:paragraph-properties" || name == u"style:table-cell-properties") {
                for (const QXmlStreamAttribute &a : xml.attributes())
                    styles[currentStyle].props.insert(a.qualifiedName().toString(), a.value().toString());
            } else if (name == u"text:list-style") {
                currentList = attr("style:name");
            } else if (name == u"text:list-level-style-number" || name == u"text:list-level-style-bullet") {
                lists[currentList] << (attr("style:num-format") + u' ' + attr("style:num-suffix") + u' '
                                       + attr("text:start-value"));
            } else if (name == u"style:page-layout") {
                currentStyle = attr("style:name");
            } else if (name == u"style:page-layout-properties") {
                layouts[currentStyle] << attr("fo:margin-left") << attr("fo:margin-right") << attr("fo:margin-top")
                                      << attr("fo:margin-bottom");
            } else if (name == u"style:master-page" && masterLayout.isEmpty()) {
                masterLayout = attr("style:page-layout-name");
            } else if (name.startsWith(u"style:header")) {
                ++inHeader;
                part.clear();
            } else if (name.startsWith(u"style:footer")) {
                ++inFooter;
                part.clear();
            } else if (name == u"office:text") {
                ++inBody;
            } else if (name == u"text:note") {
                ++inNote;
                noteClass = attr("text:note-class");
                noteText.clear();
            } else if (name == u"text:list") {
                listStack << (attr("text:style-name").isEmpty() && !listStack.isEmpty() ? listStack.last()
                                                                                        : attr("text:style-name"));
            } else if (name == u"table:table-cell") {
                ++inCell;
                cellStyle = attr("table:style-name");
                cellText.clear();
            } else if ((name == u"text:p" || name == u"text:h") && inBody && !inNote) {
                currentStyle = attr("text:style-name");
                text.clear();
            } else if (name == u"text:s" || name == u"text:tab") {
                (inNote ? noteText : text) += u' ';
            }
        } else if (xml.isCharacters()) {
            const QString chars = xml.text().toString();
            if (inHeader || inFooter)
                part += chars;
            else if (inNote)
                noteText += chars;
            else if (inBody)
                text += chars;
            if (inCell && !inNote)
                cellText += chars;
        } else if (xml.isEndElement()) {
            // Each page style has its header and footer; the same text (page figures aside) counts once.
            const QString said = part.remove(QRegularExpression(QStringLiteral("\\d"))).simplified();
            if (name.startsWith(u"style:header") && --inHeader == 0 && !said.isEmpty() && !header.contains(said))
                header << said;
            else if (name.startsWith(u"style:footer") && --inFooter == 0 && !said.isEmpty() && !footer.contains(said))
                footer << said;
            else if (name == u"office:text")
                --inBody;
            else if (name == u"text:list")
                listStack.removeLast();
            else if (name == u"text:note") {
                --inNote;
                lines << QStringLiteral("note %1: %2").arg(noteClass, noteText.simplified());
            } else if (name == u"table:table-cell") {
                --inCell;
                QStringList look;
                const Style cell = styles.value(cellStyle);
                for (auto it = cell.props.cbegin(); it != cell.props.cend(); ++it)
                    if (it.key().startsWith(u"fo:border") || it.key() == u"fo:background-color")
                        look << it.key() + u'=' + it.value();
                look.sort();
                lines << QStringLiteral("cell %1: %2").arg(cellText.simplified(), look.join(u' '));
            } else if ((name == u"text:p" || name == u"text:h") && inBody && !inNote) {
                const Style p = styles.value(currentStyle);
                const QString said = text.simplified();
                if (p.props.value(QStringLiteral("fo:break-before")) == u"page")
                    lines << QStringLiteral("break before: ") + said;
                if (p.props.value(QStringLiteral("style:writing-mode")) == u"rl-tb")
                    lines << QStringLiteral("right to left: %1 %2").arg(said, p.props.value(QStringLiteral("fo:text-align")));
                if (!listStack.isEmpty())
                    lines << QStringLiteral("list %1: %2").arg(said, listLevel(lists, listStack.last(), int(listStack.size())));
            }
        }
    }
    lines.prepend(QStringLiteral("footer: ") + footer.join(QStringLiteral(" / ")));
    lines.prepend(QStringLiteral("header: ") + header.join(QStringLiteral(" / ")));
    lines.prepend(QStringLiteral("margins: ") + layouts.value(masterLayout).join(u' '));
    return lines;
}

// Each table as LibreOffice reads it, in document order (nested ones after their outer one's
// start): its width and how many cells it has (merged cells count once).
struct Table
{
    double widthInches = 0;
    int cells = 0;
};

inline double inches(const QString &length)
{
    static const QRegularExpression number(QStringLiteral("^(-?[0-9.]+)([a-z]*)$"));
    const QRegularExpressionMatch m = number.match(length.trimmed());
    if (!m.hasMatch())
        return 0;
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    return unit == u"cm" ? value / 2.54 : unit == u"mm" ? value / 25.4 : unit == u"pt" ? value / 72 : value;
}

inline QList<Table> tables(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QHash<QString, double> widths; // by table style
    QString style;
    QList<Table> found;
    QList<qsizetype> open; // indexes in found of the tables being read
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        if (xml.isStartElement()) {
            if (name == u"style:style")
                style = xml.attributes().value(QLatin1String("style:name")).toString();
            else if (name == u"style:table-properties")
                widths.insert(style, inches(xml.attributes().value(QLatin1String("style:width")).toString()));
            else if (name == u"table:table") {
                open << found.size();
                found.append({widths.value(xml.attributes().value(QLatin1String("table:style-name")).toString()), 0});
            } else if (name == u"table:table-cell" && !open.isEmpty())
                ++found[open.last()].cells;
        } else if (xml.isEndElement() && name == u"table:table" && !open.isEmpty()) {
            open.removeLast();
        }
    }
    return found;
}

} // namespace OdfFeatures
