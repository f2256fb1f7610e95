// The OpenDocument writer's package and parts: content.xml's frame, styles.xml, meta.xml and the
// manifest.
#include "odt/OdtWriter.h"
#include "odt/OdtFormats.h"
#include "odt/OdtKeptParts.h"
#include "odt/OdtKeptSource.h"
#include "odt/OdtNamespaces.h"
#include "odt/OdtProperties.h"
#include "odt/OdtStyleRtf.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlReader.h"
#include "odt/OdtXmlText.h"
#include "rtf/DocumentExtras.h"
#include "rtf/DocumentStyle.h"
#include "rtf/HeaderFooter.h"
#include "rtf/PageSetup.h"
#include "rtf/TextFormats.h"
#include "zip/PackageError.h"
#include "zip/ZipWriter.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace {

const QString kMediaType = QStringLiteral("application/vnd.oasis.opendocument.text");
const QString kVersion = QStringLiteral("1.3");

QString esc(const QString &s)
{
    return OdtXmlText::escaped(s, true);
}

QString textEsc(const QString &s)
{
    return OdtXmlText::escaped(s, false);
}

QSet<QString> styleNamesIn(const QString &xml)
{
    QSet<QString> names;
    static const QRegularExpression name(QStringLiteral("style:name=\"([^\"]*)\""));
    for (auto it = name.globalMatch(xml); it.hasNext();)
        names.insert(it.next().captured(1));
    return names;
}

// A style name that XML accepts as it is: "Heading 1" is "Heading_20_1".
QString encodedName(const QString &name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool ok = c.isLetter() || c == u'_' || (i > 0 && (c.isDigit() || c == u'-' || c == u'.'));
        if (ok && c.unicode() < 0x80)
            out += c;
        else
            out += QStringLiteral("_%1_").arg(c.unicode(), 0, 16);
    }
    return out.isEmpty() ? QStringLiteral("Style") : out;
}

QString isoDate(const QDateTime &t)
{
    return t.toString(Qt::ISODate);
}

} // namespace

OdtWriter::OdtWriter(const QTextDocument &doc) : doc_(doc), extras_(DocumentExtras::find(doc))
{
    if (extras_)
        kept_ = extras_->formatKept(OdtKeptParts::kFormat).toMap();
    source_ = std::make_unique<OdtKeptSource>(kept_);
    const QVariantMap ids = kept_.value(OdtKeptParts::kStyleIds).toMap();
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        styleIds_.insert(it.key(), it.value().toString());
    // The styles read are written back as they were while the document's styles are those.
    if (extras_ && source_->hasStyles()) {
        QStringList names;
        for (const DocumentStyle &s : extras_->styles())
            names << s.name;
        keepCommonStyles_ = names == kept_.value(OdtKeptParts::kStyleNames).toStringList();
    }
    keepPageStyles_ = extras_ && !source_->masterStyles().isEmpty()
                   && kept_.value(OdtKeptParts::kPagesFingerprint).toString() == OdtStyleRtf::pagesFingerprint(*extras_);
    if (keepPageStyles_)
        firstMaster_ = kept_.value(OdtKeptParts::kFirstMaster).toString();
    else if (extras_ && extras_->titlePage())
        firstMaster_ = QStringLiteral("First_20_Page");
}

OdtWriter::~OdtWriter() = default;

QByteArray OdtWriter::write()
{
    const QString content = contentXml();
    const QString styles = stylesXml();
    ZipWriter zip;
    zip.setCompressionLevel(6); // zlib's usual balance: twice as fast as the smallest, 4% larger
    zip.add(QStringLiteral("mimetype"), kMediaType.toUtf8(), false);
    zip.add(QStringLiteral("content.xml"), content.toUtf8());
    zip.add(QStringLiteral("styles.xml"), styles.toUtf8());
    zip.add(QStringLiteral("meta.xml"), metaXml().toUtf8());
    QSet<QString> written{QStringLiteral("mimetype"), QStringLiteral("content.xml"), QStringLiteral("styles.xml"),
                          QStringLiteral("meta.xml"), QStringLiteral("META-INF/manifest.xml")};
    for (const Picture &p : std::as_const(pictures_)) {
        zip.add(p.path, p.bytes, false);
        written.insert(p.path);
    }
    for (const OdtKeptSource::Entry &entry : source_->entries()) {
        if (entry.folder || written.contains(entry.path))
            continue;
        written.insert(entry.path);
        zip.add(entry.path, entry.bytes);
    }
    zip.add(QStringLiteral("META-INF/manifest.xml"), manifestXml().toUtf8());
    return zip.finish();
}

void OdtWriter::writePart(const QTextDocument &doc, OdtAutomaticStyles &styles, QString &out)
{
    Part part;
    part.doc = &doc;
    part.styles = &styles;
    part.out = &out;
    findLists(part);
    Part *saved = std::exchange(part_, &part);
    writeItems(doc.rootFrame()->begin());
    closeLists(0);
    for (const QTextFrame *f : std::exchange(part.floats, {})) { // no paragraph after them: one of their own
        raw(QStringLiteral("<text:p>"));
        writeFloat(f);
        raw(QStringLiteral("</text:p>"));
    }
    part_ = saved;
}

QString OdtWriter::contentXml()
{
    const QString &keptStyles = source_->contentStyles();
    OdtAutomaticStyles styles(styleNamesIn(keptStyles));
    QString body;
    body.reserve(doc_.characterCount() * 2); // markup about as long as the text, grown as needed
    writePart(doc_, styles, body);
    QString epilog;
    for (const auto &[id, xml] : OdtFormats::entries(kept_.value(OdtKeptParts::kBodyEpilog).toString()))
        epilog += xml;
    QString fontFaces;
    QSet<QString> faces;
    const QString &keptFaces = source_->fontFaces();
    if (!keptFaces.isEmpty()) {
        OdtXmlReader xml = OdtXmlReader::fragment(keptFaces, QStringLiteral("font faces"));
        while (xml.next()) {
            if (xml.isStart() && xml.is(OdtNamespaces::Style, QLatin1StringView("font-face"))) {
                const QString name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
                const QString copy = xml.copyElement();
                if (!faces.contains(name)) {
                    faces.insert(name);
                    fontFaces += copy;
                }
            }
        }
    }
    fontFaceDecls_ = fontFaces;
    QString out;
    out.reserve(body.size() + keptStyles.size() + 65536);
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content");
    out += OdtNamespaces::declarations() + QStringLiteral(" office:version=\"%1\">").arg(kVersion);
    out += QStringLiteral("<office:font-face-decls>") + fontFaces + QStringLiteral("</office:font-face-decls>");
    out += QStringLiteral("<office:automatic-styles>") + keptStyles + styles.xml() + listStylesXml(&styles)
         + QStringLiteral("</office:automatic-styles>");
    out += QStringLiteral("<office:body><office:text>") + kept_.value(OdtKeptParts::kBodyProlog).toString() + body + epilog;
    out += QStringLiteral("</office:text></office:body></office:document-content>\n");
    return out;
}

QString OdtWriter::stylesXml()
{
    QString automatic, masters;
    if (keepPageStyles_) {
        automatic = source_->pageStyles();
        masters = source_->masterStyles();
    } else {
        OdtAutomaticStyles styles;
        pageStyles(styles, masters);
        automatic = styles.xml() + listStylesXml(&styles);
    }
    const QString common = commonStyles();
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles");
    out += OdtNamespaces::declarations() + QStringLiteral(" office:version=\"%1\">").arg(kVersion);
    out += QStringLiteral("<office:font-face-decls>") + fontFaceDecls_ + QStringLiteral("</office:font-face-decls>");
    out += QStringLiteral("<office:styles>") + common + QStringLiteral("</office:styles>");
    out += QStringLiteral("<office:automatic-styles>") + automatic + QStringLiteral("</office:automatic-styles>");
    out += QStringLiteral("<office:master-styles>") + masters + QStringLiteral("</office:master-styles>");
    out += QStringLiteral("</office:document-styles>\n");
    return out;
}

QString OdtWriter::styleId(const QString &displayName, bool character) const
{
    if (displayName.isEmpty())
        return character ? QString() : QStringLiteral("Standard");
    const auto kept = styleIds_.constFind(displayName);
    if (kept != styleIds_.cend() && keepCommonStyles_)
        return *kept;
    return encodedName(displayName);
}

const DocumentStyle *OdtWriter::documentStyle(const QString &displayName, bool character) const
{
    if (!extras_ || displayName.isEmpty())
        return nullptr;
    return extras_->style(displayName, character ? DocumentStyle::Character : DocumentStyle::Paragraph);
}

// The heading level a style's name says ("heading 2"), 0 for none.
static int headingLevelOf(const DocumentStyle &style)
{
    if (style.blockFormat.headingLevel() > 0)
        return style.blockFormat.headingLevel();
    static const QRegularExpression heading(QStringLiteral("^heading\\s*([1-9])$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = heading.match(style.name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString OdtWriter::commonStyles()
{
    if (keepCommonStyles_)
        return source_->commonStyles();
    const QFont font = doc_.defaultFont();
    QTextCharFormat defaults;
    TextFormats::setFamily(defaults, font.family());
    defaults.setFontPointSize(font.pointSizeF() > 0 ? font.pointSizeF() : 12);
    QString out = QStringLiteral("<style:default-style style:family=\"paragraph\"><style:paragraph-properties "
                                 "style:tab-stop-distance=\"0.5in\" style:writing-mode=\"page\"/><style:text-properties");
    out += OdtProperties::attributes(OdtProperties::text(defaults)) + QStringLiteral("/></style:default-style>");
    bool standard = false;
    const QList<DocumentStyle> styles = extras_ ? extras_->styles() : QList<DocumentStyle>();
    const QHash<int, int> bases = DocumentStyle::acyclicBases(styles);
    auto byNumber = [&](int number) -> const DocumentStyle * {
        for (const DocumentStyle &s : styles)
            if (s.number == number)
                return &s;
        return nullptr;
    };
    for (const DocumentStyle &s : styles) {
        if (s.kind != DocumentStyle::Paragraph && s.kind != DocumentStyle::Character)
            continue;
        const bool character = s.kind == DocumentStyle::Character;
        const QString id = styleId(s.name, character);
        standard = standard || (!character && id == u"Standard");
        out += QStringLiteral("<style:style style:name=\"%1\" style:display-name=\"%2\" style:family=\"%3\"")
                   .arg(esc(id), esc(s.name), character ? QStringLiteral("text") : QStringLiteral("paragraph"));
        const DocumentStyle *parent = byNumber(bases.value(s.number, -1));
        if (parent && parent->kind == s.kind)
            out += QStringLiteral(" style:parent-style-name=\"%1\"").arg(esc(styleId(parent->name, character)));
        const DocumentStyle *next = byNumber(s.next);
        if (next && next->kind == s.kind && !character)
            out += QStringLiteral(" style:next-style-name=\"%1\"").arg(esc(styleId(next->name, false)));
        if (!character && headingLevelOf(s) > 0)
            out += QStringLiteral(" style:default-outline-level=\"%1\"").arg(headingLevelOf(s));
        out += u'>';
        if (!character) {
            const QTextBlockFormat *baseBlock = parent && parent->kind == s.kind ? &parent->blockFormat : nullptr;
            out += QStringLiteral("<style:paragraph-properties") + OdtProperties::attributes(OdtProperties::paragraph(s.blockFormat, baseBlock))
                 + u'>' + OdtProperties::tabStops(s.blockFormat) + QStringLiteral("</style:paragraph-properties>");
        }
        const QTextCharFormat *baseChars = parent && parent->kind == s.kind ? &parent->charFormat : nullptr;
        out += QStringLiteral("<style:text-properties") + OdtProperties::attributes(OdtProperties::text(s.charFormat, baseChars))
             + QStringLiteral("/></style:style>");
    }
    if (!standard)
        out += QStringLiteral("<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>");
    const NoteSettings notes = extras_ ? extras_->effectiveNoteSettings() : NoteSettings();
    static const char *const kFormats[] = {"1", "a", "A", "i", "I", "1"};
    out += QStringLiteral("<text:notes-configuration text:note-class=\"footnote\" style:num-format=\"%1\" text:start-value=\"%2\" "
                          "text:footnotes-position=\"page\" text:start-numbering-at=\"%3\"/>")
               .arg(QLatin1StringView(kFormats[notes.footnoteFormat]))
               .arg(qMax(0, notes.footnoteStart - 1))
               .arg(notes.footnoteRestart == NoteSettings::EachPage ? QStringLiteral("page")
                    : notes.footnoteRestart == NoteSettings::EachSection ? QStringLiteral("chapter") : QStringLiteral("document"));
    out += QStringLiteral("<text:notes-configuration text:note-class=\"endnote\" style:num-format=\"%1\" text:start-value=\"%2\"/>")
               .arg(QLatin1StringView(kFormats[notes.endnoteFormat]))
               .arg(qMax(0, notes.endnoteStart - 1));
    return out;
}

// The page layout and the master pages, with their headers and footers.
QString OdtWriter::pageStyles(OdtAutomaticStyles &styles, QString &masters)
{
    const PageSetup page = extras_ && extras_->pageSetup() ? *extras_->pageSetup() : PageSetup();
    auto has = [&](HeaderFooter::Kind kind) { return extras_ && !extras_->headerFooter(kind).isEmpty(); };
    const bool header = has(HeaderFooter::Header) || has(HeaderFooter::HeaderRight) || has(HeaderFooter::HeaderLeft)
                     || has(HeaderFooter::HeaderFirst);
    const bool footer = has(HeaderFooter::Footer) || has(HeaderFooter::FooterRight) || has(HeaderFooter::FooterLeft)
                     || has(HeaderFooter::FooterFirst);
    auto in = [](int twips) { return OdtUnits::inches(TextFormats::twipsToPixels(twips)); };
    const double gap = 0.04 * 1440; // between a header and the text, inside the header's height
    QString layout = QStringLiteral("<style:page-layout style:name=\"%1\"><style:page-layout-properties").arg(OdtAutomaticStyles::kName);
    layout += QStringLiteral(" fo:page-width=\"%1\" fo:page-height=\"%2\" style:print-orientation=\"%3\"")
                  .arg(in(page.paperWidth), in(page.paperHeight), page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    // The page's margin is where the header starts; the header's height reaches down to the text.
    // A header that starts below the text's top (Word allows it) pushes the text down, as Word shows it.
    const int top = header ? page.headerDistance : page.marginTop;
    const int bottom = footer ? page.footerDistance : page.marginBottom;
    layout += QStringLiteral(" fo:margin-top=\"%1\" fo:margin-bottom=\"%2\" fo:margin-left=\"%3\" fo:margin-right=\"%4\"/>")
                  .arg(in(top), in(bottom), in(page.marginLeft), in(page.marginRight));
    if (header) {
        const int height = qMax(0, page.marginTop - top);
        layout += QStringLiteral("<style:header-style><style:header-footer-properties fo:min-height=\"%1\" fo:margin-bottom=\"%2\" "
                                 "style:dynamic-spacing=\"true\"/></style:header-style>")
                      .arg(in(height), in(int(qMax(0.0, height - gap))));
    }
    if (footer) {
        const int height = qMax(0, page.marginBottom - bottom);
        layout += QStringLiteral("<style:footer-style><style:header-footer-properties fo:min-height=\"%1\" fo:margin-top=\"%2\" "
                                 "style:dynamic-spacing=\"true\"/></style:footer-style>")
                      .arg(in(height), in(int(qMax(0.0, height - gap))));
    }
    layout += QStringLiteral("</style:page-layout>");
    const QString layoutName = styles.add(QStringLiteral("pm"), layout, QStringLiteral("page"));
    auto part = [&](const char *element, int kind) {
        const QString xml = headerFooterXml(kind, styles);
        return xml.isNull() ? QString() : QStringLiteral("<style:%1>%2</style:%1>").arg(QLatin1StringView(element), xml);
    };
    const bool facing = extras_ && extras_->facingPages();
    masters += QStringLiteral("<style:master-page style:name=\"Standard\" style:page-layout-name=\"%1\">").arg(layoutName);
    masters += part("header", has(HeaderFooter::HeaderRight) ? HeaderFooter::HeaderRight : HeaderFooter::Header);
    if (facing && (has(HeaderFooter::HeaderLeft) || has(HeaderFooter::Header)))
        masters += part("header-left", has(HeaderFooter::HeaderLeft) ? HeaderFooter::HeaderLeft : HeaderFooter::Header);
    masters += part("footer", has(HeaderFooter::FooterRight) ? HeaderFooter::FooterRight : HeaderFooter::Footer);
    if (facing && (has(HeaderFooter::FooterLeft) || has(HeaderFooter::Footer)))
        masters += part("footer-left", has(HeaderFooter::FooterLeft) ? HeaderFooter::FooterLeft : HeaderFooter::Footer);
    masters += QStringLiteral("</style:master-page>");
    if (extras_ && extras_->titlePage()) {
        masters += QStringLiteral("<style:master-page style:name=\"First_20_Page\" style:display-name=\"First Page\" "
                                  "style:page-layout-name=\"%1\" style:next-style-name=\"Standard\">").arg(layoutName);
        masters += part("header", HeaderFooter::HeaderFirst) + part("footer", HeaderFooter::FooterFirst);
        masters += QStringLiteral("</style:master-page>");
    }
    return layoutName;
}

QString OdtWriter::headerFooterXml(int kind, OdtAutomaticStyles &styles)
{
    const auto part = HeaderFooter::document(doc_, HeaderFooter::Kind(kind));
    if (!part)
        return QString();
    QString out;
    const bool first = std::exchange(firstParagraph_, false);
    writePart(*part, styles, out);
    firstParagraph_ = first;
    return out.isEmpty() ? QStringLiteral("<text:p/>") : out;
}

QString OdtWriter::metaXml() const
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-meta");
    out += OdtNamespaces::declarations() + QStringLiteral(" office:version=\"%1\"><office:meta>").arg(kVersion);
    out += QStringLiteral("<meta:generator>Scrivlo</meta:generator>");
    const DocumentInfo info = extras_ ? extras_->info() : DocumentInfo();
    auto text = [&](const char *element, const char *word) {
        const QString v = info.texts.value(QLatin1StringView(word));
        if (!v.isEmpty())
            out += QStringLiteral("<%1>%2</%1>").arg(QLatin1StringView(element), textEsc(v));
    };
    text("dc:title", "title");
    text("dc:subject", "subject");
    text("dc:description", "doccomm");
    text("meta:initial-creator", "author");
    text("dc:creator", "operator");
    for (const QString &k : info.texts.value(QStringLiteral("keywords")).split(u' ', Qt::SkipEmptyParts))
        out += QStringLiteral("<meta:keyword>%1</meta:keyword>").arg(textEsc(k));
    auto date = [&](const char *element, const char *word) {
        const QDateTime t = info.dates.value(QLatin1StringView(word));
        if (t.isValid())
            out += QStringLiteral("<%1>%2</%1>").arg(QLatin1StringView(element), isoDate(t));
    };
    date("meta:creation-date", "creatim");
    date("dc:date", "revtim");
    date("meta:print-date", "printim");
    out += kept_.value(OdtKeptParts::kMeta).toString();
    out += QStringLiteral("</office:meta></office:document-meta>\n");
    return out;
}

QString OdtWriter::manifestXml() const
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest "
                                 "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"%1\">")
                      .arg(kVersion);
    auto entry = [&](const QString &path, const QString &type) {
        out += QStringLiteral("<manifest:file-entry manifest:full-path=\"%1\" manifest:media-type=\"%2\"/>").arg(esc(path), esc(type));
    };
    out += QStringLiteral("<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"%1\" manifest:media-type=\"%2\"/>")
               .arg(kVersion, kMediaType);
    QSet<QString> listed;
    for (const QString &part : {QStringLiteral("content.xml"), QStringLiteral("styles.xml"), QStringLiteral("meta.xml")}) {
        entry(part, QStringLiteral("text/xml"));
        listed.insert(part);
    }
    for (const Picture &p : pictures_) {
        entry(p.path, p.mediaType);
        listed.insert(p.path);
    }
    for (const OdtKeptSource::Entry &e : source_->entries()) {
        const QString &path = e.path;
        if (path.isEmpty() || listed.contains(path) || path == u"mimetype" || path.startsWith(u"META-INF/"))
            continue;
        listed.insert(path);
        QString type = e.mediaType;
        if (type.isEmpty() && path.endsWith(QLatin1StringView(".xml")))
            type = QStringLiteral("text/xml");
        entry(path, type);
    }
    out += QStringLiteral("</manifest:manifest>\n");
    return out;
}
