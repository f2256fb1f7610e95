#pragma once
// Helpers shared by the OpenDocument tests: small packages made here, reading and writing them,
// and the text a document shows (list markers included), as LibreOffice exports it.
#include "odt/OdtCodec.h"
#include "odt/OdtFormats.h"
#include "rtf/NumberText.h"
#include "rtf/TextFormats.h"
#include "zip/ZipWriter.h"
#include "support/DocumentFixtures.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <memory>
#include <vector>

namespace OdtFixtures {

using namespace DocumentFixtures;

inline const char *kNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\"";

struct Parts
{
    QString body;       // inside office:text
    QString automatic;  // content.xml's automatic styles
    QString styles;     // styles.xml's common styles
    QString pageStyles; // styles.xml's automatic styles
    QString masters;    // master pages
    QString meta;       // inside office:meta
    QList<std::pair<QString, QByteArray>> files; // more entries (pictures)
};

inline QByteArray contentXml(const Parts &p)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content") + QLatin1String(kNamespaces)
            + QStringLiteral(" office:version=\"1.3\"><office:automatic-styles>") + p.automatic
            + QStringLiteral("</office:automatic-styles><office:body><office:text>") + p.body
            + QStringLiteral("</office:text></office:body></office:document-content>"))
        .toUtf8();
}

inline QByteArray stylesXml(const Parts &p)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-styles") + QLatin1String(kNamespaces)
            + QStringLiteral(" office:version=\"1.3\"><office:styles>") + p.styles + QStringLiteral("</office:styles><office:automatic-styles>")
            + p.pageStyles + QStringLiteral("</office:automatic-styles><office:master-styles>") + p.masters
            + QStringLiteral("</office:master-styles></office:document-styles>"))
        .toUtf8();
}

inline QByteArray manifest()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
           "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\">"
           "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
           "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
           "</manifest:manifest>";
}

// An .odt package of these parts.
inline QByteArray package(const Parts &p)
{
    ZipWriter zip;
    zip.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", false);
    zip.add(QStringLiteral("META-INF/manifest.xml"), manifest());
    zip.add(QStringLiteral("content.xml"), contentXml(p));
    zip.add(QStringLiteral("styles.xml"), stylesXml(p));
    if (!p.meta.isEmpty())
        zip.add(QStringLiteral("meta.xml"), (QStringLiteral("<office:document-meta") + QLatin1String(kNamespaces)
                                             + QStringLiteral("><office:meta>") + p.meta + QStringLiteral("</office:meta></office:document-meta>"))
                                                .toUtf8());
    for (const auto &[name, bytes] : p.files)
        zip.add(name, bytes);
    return zip.finish();
}

inline QByteArray package(const QString &body, const QString &automatic = QString())
{
    Parts p;
    p.body = body;
    p.automatic = automatic;
    return package(p);
}

inline std::unique_ptr<QTextDocument> read(const QByteArray &bytes)
{
    auto doc = std::make_unique<QTextDocument>();
    OdtCodec::read(bytes, *doc);
    return doc;
}

// Written as OpenDocument and read back.
inline std::unique_ptr<QTextDocument> again(const QTextDocument &doc)
{
    return read(OdtCodec::write(doc));
}

inline QString corpusDir()
{
    return QStringLiteral(SCRIVLO_SHARED_DIR "/doc-corpus/odt");
}

inline QStringList corpusFiles()
{
    return corpusFilesIn(corpusDir(), QStringLiteral("*.odt"));
}

inline QString numberText(QTextListFormat::Style style, int n)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return NumberText::letters(n);
    case QTextListFormat::ListUpperAlpha: return NumberText::letters(n).toUpper();
    case QTextListFormat::ListLowerRoman: return NumberText::roman(n);
    case QTextListFormat::ListUpperRoman: return NumberText::roman(n).toUpper();
    default: return QString::number(n);
    }
}

// The marker of each list item in a document, as the list model gives it (start values, marker
// templates with the numbers of the levels above).
inline QHash<int, QString> markers(const QTextDocument &doc)
{
    QHash<int, QString> out;
    QHash<QString, std::vector<int>> numbers;
    QHash<QString, std::vector<QTextListFormat::Style>> styles;
    QHash<const QTextList *, int> seen;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList *list = b.textList();
        if (!list)
            continue;
        const QTextListFormat f = list->format();
        const QString group = f.stringProperty(TextFormats::kListGroupProperty);
        const int level = qBound(0, f.indent() - 1, 8);
        const int start = f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
        std::vector<int> &n = numbers[group];
        std::vector<QTextListFormat::Style> &s = styles[group];
        n.resize(9, 1);
        s.resize(9, QTextListFormat::ListDecimal);
        n[std::size_t(level)] = start + seen[list]++;
        s[std::size_t(level)] = f.style();
        QString marker;
        const bool bullet = f.style() == QTextListFormat::ListDisc || f.style() == QTextListFormat::ListCircle
                         || f.style() == QTextListFormat::ListSquare;
        if (bullet) {
            marker = f.style() == QTextListFormat::ListCircle ? QStringLiteral("◦")
                   : f.style() == QTextListFormat::ListSquare ? QStringLiteral("▪") : QStringLiteral("•");
        } else if (f.hasProperty(TextFormats::kListNumberTemplateProperty)) {
            const QString t = f.stringProperty(TextFormats::kListNumberTemplateProperty);
            for (qsizetype k = 0; k < t.size(); ++k) {
                if (t[k] == u'%' && k + 1 < t.size() && t[k + 1] >= u'1' && t[k + 1] <= u'9') {
                    const std::size_t l = std::size_t(t[k + 1].digitValue() - 1);
                    marker += numberText(s[l], n[l]);
                    ++k;
                } else {
                    marker += t[k];
                }
            }
        } else if (f.style() != QTextListFormat::ListStyleUndefined) {
            marker = f.numberPrefix() + numberText(f.style(), n[std::size_t(level)])
                   + (f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral("."));
        }
        out.insert(b.blockNumber(), marker);
    }
    return out;
}

// The text of the document as LibreOffice's text export gives it: list markers before their
// items, no text of frames and drawings.
inline QString shownText(const QTextDocument &doc)
{
    const QHash<int, QString> marks = markers(doc);
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (marks.contains(b.blockNumber()))
            out += marks.value(b.blockNumber()) + u' ';
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it)
            if (!it.fragment().charFormat().stringProperty(OdtFormats::kShownXmlProperty).contains(QLatin1String("<draw:")))
                out += it.fragment().text();
        out += u'\n';
    }
    return out;
}

inline QString normalized(QString s)
{
    static const QRegularExpression space(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
    s.remove(QChar(0xFEFF));
    s.remove(QChar::ObjectReplacementCharacter);
    return s.replace(space, QStringLiteral(" ")).trimmed();
}

// How alike two texts are, from 0 to 1: one less their edit distance over the longer one's length,
// their white space collapsed. Distances past 5% of the length count as 5%.
inline double similarity(const QString &first, const QString &second)
{
    const QString a = normalized(first), b = normalized(second);
    qsizetype start = 0;
    while (start < a.size() && start < b.size() && a[start] == b[start])
        ++start;
    qsizetype endA = a.size(), endB = b.size();
    while (endA > start && endB > start && a[endA - 1] == b[endB - 1]) {
        --endA;
        --endB;
    }
    const qsizetype longest = qMax(a.size(), b.size());
    if (longest == 0)
        return 1.0;
    const QStringView x = QStringView(a).mid(start, endA - start), y = QStringView(b).mid(start, endB - start);
    const qsizetype band = qMax<qsizetype>(8, longest / 20);
    if (std::abs(x.size() - y.size()) > band)
        return 1.0 - double(band) / double(longest);
    // Edit distance within the band around the diagonal.
    const qsizetype inf = band + 1;
    std::vector<qsizetype> previous(std::size_t(y.size() + 1), inf), current(std::size_t(y.size() + 1), inf);
    for (qsizetype j = 0; j <= qMin(y.size(), band); ++j)
        previous[std::size_t(j)] = j;
    for (qsizetype i = 1; i <= x.size(); ++i) {
        std::fill(current.begin(), current.end(), inf);
        if (i <= band)
            current[0] = i;
        const qsizetype from = qMax<qsizetype>(1, i - band), to = qMin(y.size(), i + band);
        for (qsizetype j = from; j <= to; ++j) {
            const qsizetype substitute = previous[std::size_t(j - 1)] + (x[i - 1] == y[j - 1] ? 0 : 1);
            current[std::size_t(j)] = qMin(qMin(previous[std::size_t(j)] + 1, current[std::size_t(j - 1)] + 1), substitute);
        }
        std::swap(previous, current);
    }
    const qsizetype distance = qMin(previous[std::size_t(y.size())], inf);
    return 1.0 - double(distance) / double(longest);
}

} // namespace OdtFixtures
