// The OpenDocument reader's parts: styles, information, the body's frame, headers and footers, and
// what the document keeps.
#include "odt/OdtReader.h"
#include "odt/OdtFormats.h"
#include "odt/OdtKeptParts.h"
#include "odt/OdtPackage.h"
#include "odt/OdtPartIndex.h"
#include "odt/OdtStyleFormats.h"
#include "odt/OdtStyleRtf.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlReader.h"
#include "rtf/DocumentExtras.h"
#include "rtf/RtfWriter.h"
#include "rtf/PageSetup.h"
#include "rtf/TextFormats.h"
#include "zip/PackageError.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QUuid>

using namespace OdtNamespaces;

// Elements of the body that declare things for the whole text rather than standing in it.
bool OdtReader::isDeclaration(const OdtXmlReader &xml)
{
    static const char *const kText[] = {"variable-decls", "sequence-decls", "user-field-decls", "dde-connection-decls",
                                        "tracked-changes", "alphabetical-index-auto-mark-file"};
    if (xml.ns() == Text)
        for (const char *name : kText)
            if (xml.name() == QLatin1StringView(name))
                return true;
    return (xml.ns() == Office && xml.name() == u"forms")
        || (xml.ns() == Table && (xml.name() == u"calculation-settings" || xml.name() == u"content-validations"
                                  || xml.name() == u"label-ranges"));
}

namespace {

// A style name as a person reads it: "Heading_20_1" is "Heading 1".
QString decodedName(const QString &name)
{
    static const QRegularExpression escape(QStringLiteral("_([0-9a-fA-F]{1,4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(name); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(name).mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUInt(nullptr, 16)));
        last = m.capturedEnd();
    }
    return out + name.mid(last);
}

int twips(double pixels)
{
    return TextFormats::roundedTwips(pixels);
}

} // namespace

OdtReader::OdtReader(QTextDocument &doc, const OdtPackage *package)
    : doc_(doc), ownShared_(std::make_unique<Shared>(package)), shared_(*ownShared_), mode_(Mode::Document),
      builder_(doc)
{
    shared_.idPrefix = QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    listGroupPrefix_ = shared_.idPrefix;
    builder_.setListGroupPrefix(listGroupPrefix_);
}

OdtReader::OdtReader(QTextDocument &doc, Shared &shared, Mode mode)
    : doc_(doc), shared_(shared), mode_(mode), builder_(doc)
{
    listGroupPrefix_ = shared_.idPrefix + QStringLiteral("-p%1").arg(++shared_.listCount);
    builder_.setListGroupPrefix(listGroupPrefix_);
}

OdtReader::~OdtReader() = default;

QString OdtReader::nextId()
{
    return shared_.idPrefix + u'-' + QString::number(++shared_.keptCount);
}

void OdtReader::readPackage(const OdtPackage &package, const QByteArray &bytes)
{
    if (package.contains(QStringLiteral("styles.xml")))
        readStylesPart(package.read(QStringLiteral("styles.xml")));
    {
        // The body is read as it unpacks: it need not be held whole.
        const std::unique_ptr<QIODevice> device = package.zip().open(QStringLiteral("content.xml"));
        OdtXmlReader xml(device.get(), QStringLiteral("content.xml"));
        while (xml.next() && !xml.isStart()) {
        }
        if (!xml.isStart() || !xml.is(Office, QLatin1StringView("document-content")))
            throw PackageError(QStringLiteral("its main part (content.xml) holds no OpenDocument content"));
        readTopLevel(xml, OdtStyleSheet::Content);
    }
    if (package.contains(QStringLiteral("meta.xml"))) {
        try {
            readMetaPart(package.read(QStringLiteral("meta.xml")), QStringLiteral("meta.xml"));
        } catch (const PackageError &) {
            // Broken information leaves the document without it; the text is all there.
        }
    }
    kept_.insert(OdtKeptParts::kSource, bytes);
    finishDocument();
}

void OdtReader::readFlat(const QByteArray &bytes)
{
    flat_ = true;
    const OdtPartIndex index(bytes);
    if (index.usable()) {
        shared_.styles.index(index, OdtStyleSheet::Content);
        indexed_ = true;
    }
    OdtXmlReader xml(bytes, QStringLiteral("content"));
    while (xml.next() && !xml.isStart()) {
    }
    if (!xml.isStart() || !xml.is(Office, QLatin1StringView("document")))
        throw PackageError(QStringLiteral("it is not an OpenDocument text document"));
    const QString type = xml.attribute(Office, QLatin1StringView("mimetype"));
    if (!type.isEmpty() && !OdtPackage::isTextMediaType(type))
        throw PackageError(QStringLiteral("it is not an OpenDocument text document"));
    readTopLevel(xml, OdtStyleSheet::Content);
    kept_.insert(OdtKeptParts::kSource, bytes);
    kept_.insert(OdtKeptParts::kFlat, true);
    finishDocument();
}

// styles.xml: indexed, its styles parsed as the document uses them; parsed whole when it spells
// its namespaces otherwise.
void OdtReader::readStylesPart(const QByteArray &bytes)
{
    stylesIndex_ = std::make_unique<OdtPartIndex>(bytes);
    if (stylesIndex_->usable()) {
        if (stylesIndex_->root().name != "office:document-styles")
            throw PackageError(QStringLiteral("the part \"styles.xml\" holds no OpenDocument styles"));
        shared_.styles.index(*stylesIndex_, OdtStyleSheet::Styles);
        return;
    }
    stylesIndex_.reset();
    OdtXmlReader xml(bytes, QStringLiteral("styles.xml"));
    while (xml.next() && !xml.isStart()) {
    }
    if (!xml.isStart() || !xml.is(Office, QLatin1StringView("document-styles")))
        throw PackageError(QStringLiteral("the part \"styles.xml\" holds no OpenDocument styles"));
    readTopLevel(xml, OdtStyleSheet::Styles);
}

void OdtReader::readMetaPart(const QByteArray &bytes, const QString &name)
{
    OdtXmlReader xml(bytes, name);
    while (xml.next()) {
        if (xml.isStart() && xml.is(Office, QLatin1StringView("meta"))) {
            readMeta(xml);
            return;
        }
    }
}

// The children of a part's root element. Styles already indexed are passed over.
void OdtReader::readTopLevel(OdtXmlReader &xml, OdtStyleSheet::Scope scope)
{
    OdtStyleSheet &styles = shared_.styles;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        const bool styling = xml.is(Office, QLatin1StringView("font-face-decls")) || xml.is(Office, QLatin1StringView("styles"))
                          || xml.is(Office, QLatin1StringView("automatic-styles")) || xml.is(Office, QLatin1StringView("master-styles"));
        if (styling && indexed_) {
            xml.skipElement();
        } else if (xml.is(Office, QLatin1StringView("meta"))) {
            readMeta(xml);
        } else if (xml.is(Office, QLatin1StringView("font-face-decls"))) {
            styles.readFontFaces(xml);
        } else if (xml.is(Office, QLatin1StringView("styles"))) {
            styles.readStyles(xml, scope, false);
        } else if (xml.is(Office, QLatin1StringView("automatic-styles"))) {
            styles.readStyles(xml, scope, true);
        } else if (xml.is(Office, QLatin1StringView("master-styles"))) {
            styles.readMasterStyles(xml);
        } else if (xml.is(Office, QLatin1StringView("body"))) {
            styles.setScope(OdtStyleSheet::Content);
            readBody(xml);
        } else {
            xml.skipElement();
        }
    }
}

void OdtReader::readMeta(OdtXmlReader &xml)
{
    static const std::pair<const char *, const char *> kTexts[] = {
        {"title", "title"}, {"subject", "subject"}, {"description", "doccomm"}, {"creator", "operator"}};
    QString kept;
    QStringList keywords;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        bool known = false;
        if (xml.ns() == Dc) {
            for (const auto &[element, word] : kTexts) {
                if (xml.name() == QLatin1StringView(element)) {
                    info_.texts.insert(QLatin1StringView(word), xml.elementText().trimmed());
                    known = true;
                    break;
                }
            }
            if (!known && xml.name() == u"date") {
                info_.dates.insert(QStringLiteral("revtim"), QDateTime::fromString(xml.elementText().trimmed(), Qt::ISODate));
                known = true;
            }
        } else if (xml.ns() == Meta) {
            if (xml.name() == u"initial-creator") {
                info_.texts.insert(QStringLiteral("author"), xml.elementText().trimmed());
                known = true;
            } else if (xml.name() == u"keyword") {
                keywords << xml.elementText().trimmed();
                known = true;
            } else if (xml.name() == u"creation-date" || xml.name() == u"print-date") {
                const QString word = xml.name() == u"creation-date" ? QStringLiteral("creatim") : QStringLiteral("printim");
                info_.dates.insert(word, QDateTime::fromString(xml.elementText().trimmed(), Qt::ISODate));
                known = true;
            } else if (xml.name() == u"generator" || xml.name() == u"document-statistic") {
                xml.skipElement(); // said afresh by the writer
                known = true;
            }
        }
        if (!known)
            kept += xml.copyElement();
    }
    for (auto it = info_.dates.begin(); it != info_.dates.end();) {
        if (!it->isValid())
            it = info_.dates.erase(it);
        else
            ++it;
    }
    for (auto it = info_.texts.begin(); it != info_.texts.end();) {
        if (it->isEmpty())
            it = info_.texts.erase(it);
        else
            ++it;
    }
    if (!keywords.isEmpty())
        info_.texts.insert(QStringLiteral("keywords"), keywords.join(u' '));
    if (!kept.isEmpty())
        kept_.insert(OdtKeptParts::kMeta, kept);
}

void OdtReader::readBody(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (xml.isStart() && xml.is(Office, QLatin1StringView("text"))) {
            const int textDepth = xml.depth();
            while (xml.next() && xml.depth() >= textDepth) {
                if (!xml.isStart())
                    continue;
                if (isDeclaration(xml))
                    bodyProlog_ += xml.copyElement();
                else
                    readBlock(xml);
            }
        } else if (xml.isStart()) {
            xml.skipElement(); // a drawing, spreadsheet or presentation body: not a text document
        }
    }
}

// A common style as a style of the document's stylesheet (its parents first), made when the
// document first uses it, with its formatting resolved and an RTF definition for a save as RTF.
// Its name is the one people read.
QString OdtReader::documentStyle(const OdtStyleSheet::Style &s)
{
    const QString k = s.family + u'\n' + s.name;
    const auto known = shared_.styleNumbers.constFind(k);
    if (known != shared_.styleNumbers.cend()) // -1 while it is being made: a parent that names its child
        return *known >= 0 ? shared_.documentStyles[*known].name : QString();
    shared_.styleNumbers.insert(k, -1);
    OdtStyleSheet &sheet = shared_.styles;
    DocumentStyle d;
    d.kind = s.family == u"text" ? DocumentStyle::Character : DocumentStyle::Paragraph;
    d.name = s.displayName.isEmpty() ? decodedName(s.name) : s.displayName;
    if (!s.parent.isEmpty()) {
        if (const OdtStyleSheet::Style *parent = sheet.style(s.family, s.parent); parent && !parent->automatic) {
            const OdtStyleSheet::Style copy = *parent; // the parent's own entry may move while it is read
            documentStyle(copy);
            d.basedOn = shared_.styleNumbers.value(copy.family + u'\n' + copy.name, -1);
        }
    }
    const OdtStyleSheet::Resolved &r = sheet.resolved(s.family, s.name);
    d.charFormat = OdtStyleFormats::charFormat(r.props[OdtStyleSheet::TextProps], sheet);
    if (d.kind == DocumentStyle::Paragraph) {
        d.blockFormat = OdtStyleFormats::blockFormat(r.props[OdtStyleSheet::ParagraphProps], r.tabs);
        if (r.outlineLevel > 0)
            d.blockFormat.setHeadingLevel(r.outlineLevel);
    }
    d.number = int(shared_.documentStyles.size());
    d.definition = OdtStyleRtf::definition(d);
    shared_.styleNumbers.insert(k, d.number);
    shared_.styleNames.insert(d.name, s.name);
    shared_.documentStyles.append(d);
    return d.name;
}

std::unique_ptr<QTextDocument> OdtReader::readPart(const QString &xml, Mode mode, const QString &name)
{
    auto part = std::make_unique<QTextDocument>();
    part->setUndoRedoEnabled(false);
    part->setLayoutEnabled(false);
    DocumentExtras::of(*part).setStyles(shared_.documentStyles);
    QTextCursor cursor(part.get());
    cursor.beginEditBlock();
    OdtReader reader(*part, shared_, mode);
    reader.flat_ = flat_;
    OdtXmlReader fragment = OdtXmlReader::fragment(xml, name);
    fragment.next(); // the part's own element
    reader.readBlocks(fragment);
    reader.builder_.finish();
    cursor.endEditBlock();
    return part;
}

void OdtReader::finishDocument()
{
    builder_.finish();
    DocumentExtras &extras = DocumentExtras::of(doc_);
    // The styles the headers use too, before the stylesheet is set.
    readHeadersFooters();
    extras.setStyles(shared_.documentStyles);
    QVariantMap ids;
    QStringList names;
    for (const DocumentStyle &s : std::as_const(shared_.documentStyles)) {
        ids.insert(s.name, shared_.styleNames.value(s.name));
        names << s.name;
    }
    kept_.insert(OdtKeptParts::kStyleIds, ids);
    kept_.insert(OdtKeptParts::kStyleNames, names);
    extras.setInfo(info_);
    if (shared_.styles.noteSettings())
        extras.setNoteSettings(shared_.styles.noteSettings());
    if (!pendingBlockKept_.isEmpty())
        kept_.insert(OdtKeptParts::kBodyEpilog, std::exchange(pendingBlockKept_, QString()));
    if (!bodyProlog_.isEmpty())
        kept_.insert(OdtKeptParts::kBodyProlog, bodyProlog_);
    kept_.insert(OdtKeptParts::kPagesFingerprint, OdtStyleRtf::pagesFingerprint(extras));
    kept_.insert(OdtKeptParts::kFirstMaster, firstMasterPage_);
    extras.setFormatKept(OdtKeptParts::kFormat, kept_);
}

// The page set-up, headers and footers of the master page the first paragraph uses (and of the
// one that follows it, when it has a page of its own).
void OdtReader::readHeadersFooters()
{
    OdtStyleSheet &sheet = shared_.styles;
    const QList<OdtStyleSheet::MasterPage> &masters = sheet.masterPages();
    if (masters.isEmpty())
        return;
    const OdtStyleSheet::MasterPage *first = sheet.masterPage(firstMasterPage_);
    if (!first)
        first = sheet.masterPage(QStringLiteral("Standard"));
    if (!first)
        first = &masters.first();
    const OdtStyleSheet::MasterPage *following = first;
    if (!first->next.isEmpty() && first->next != first->name)
        if (const OdtStyleSheet::MasterPage *next = sheet.masterPage(first->next))
            following = next;
    DocumentExtras &extras = DocumentExtras::of(doc_);
    sheet.setScope(flat_ ? OdtStyleSheet::Content : OdtStyleSheet::Styles);
    auto store = [&](HeaderFooter::Kind kind, const OdtStyleSheet::MasterPage &page, const char *element) {
        const QString xml = page.parts.value(QLatin1StringView(element));
        if (xml.isEmpty())
            return false;
        // A header the file has is kept even when it holds no text: it still takes its room on the page.
        const auto part = readPart(xml, Mode::Part, QLatin1StringView(element));
        extras.setHeaderFooter(kind, RtfWriter(*part, RtfWriter::Part, &extras).write());
        return true;
    };
    bool titlePage = following != first;
    if (titlePage) {
        store(HeaderFooter::HeaderFirst, *first, "header");
        store(HeaderFooter::FooterFirst, *first, "footer");
    } else {
        titlePage = store(HeaderFooter::HeaderFirst, *first, "header-first");
        titlePage = store(HeaderFooter::FooterFirst, *first, "footer-first") || titlePage;
    }
    const bool hasHeader = store(HeaderFooter::Header, *following, "header");
    const bool hasFooter = store(HeaderFooter::Footer, *following, "footer");
    bool facing = store(HeaderFooter::HeaderLeft, *following, "header-left");
    facing = store(HeaderFooter::FooterLeft, *following, "footer-left") || facing;
    extras.setTitlePage(titlePage);
    extras.setFacingPages(facing);
    sheet.setScope(OdtStyleSheet::Content);

    const OdtStyleSheet::PageLayout *layout = sheet.pageLayout(following->pageLayout);
    if (!layout)
        return;
    const OdtStyleSheet::Properties &p = layout->page;
    PageSetup page;
    auto length = [&](const OdtStyleSheet::Properties &props, const char *name, double fallback) {
        const std::optional<double> v = OdtUnits::pixels(props.value(QLatin1StringView(name)));
        return v ? *v : fallback;
    };
    const double margin = length(p, "fo:margin", TextFormats::twipsToPixels(1440));
    page.paperWidth = qBound(720, twips(length(p, "fo:page-width", TextFormats::twipsToPixels(12240))), 31680 * 2);
    page.paperHeight = qBound(720, twips(length(p, "fo:page-height", TextFormats::twipsToPixels(15840))), 31680 * 2);
    page.landscape = p.value(QStringLiteral("style:print-orientation")) == u"landscape";
    page.marginLeft = qMax(0, twips(length(p, "fo:margin-left", margin)));
    page.marginRight = qMax(0, twips(length(p, "fo:margin-right", margin)));
    page.marginTop = qMax(0, twips(length(p, "fo:margin-top", margin)));
    page.marginBottom = qMax(0, twips(length(p, "fo:margin-bottom", margin)));
    // A header stands in the top margin's place: the body starts below it.
    auto partHeight = [&](const OdtStyleSheet::Properties &props, const char *spacing) {
        if (const auto fixed = OdtUnits::pixels(props.value(QStringLiteral("svg:height"))))
            return twips(*fixed);
        if (const auto least = OdtUnits::pixels(props.value(QStringLiteral("fo:min-height"))))
            return twips(*least);
        return twips(length(props, spacing, 0)) + 280; // a line of text and the spacing
    };
    if (hasHeader && layout->header.contains(QStringLiteral("present"))) {
        page.headerDistance = page.marginTop;
        page.marginTop += qMax(0, partHeight(layout->header, "fo:margin-bottom"));
    }
    if (hasFooter && layout->footer.contains(QStringLiteral("present"))) {
        page.footerDistance = page.marginBottom;
        page.marginBottom += qMax(0, partHeight(layout->footer, "fo:margin-top"));
    }
    extras.setPageSetup(page);
}
