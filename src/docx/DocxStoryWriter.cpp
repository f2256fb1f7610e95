// The Word story writer's blocks, paragraphs, runs, fields and hyperlinks.
#include "docx/DocxStoryWriter.h"
#include "docx/DocxFormats.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxNumberingWriter.h"
#include "docx/DocxPackageWriter.h"
#include "docx/DocxPropertyWriter.h"
#include "docx/DocxStylesWriter.h"
#include "docx/DocxWriteContext.h"
#include "rtf/FrameItem.h"
#include "rtf/KeptRtf.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamWriter>
#include <algorithm>

using namespace DocxNamespaces;

namespace {

const QString &w() // the main namespace
{
    static const QString ns = uri(W);
    return ns;
}

bool isFloat(const QTextFrame *frame)
{
    if (frame->frameFormat().hasProperty(DocxFormats::kDrawingProperty)
        || frame->frameFormat().hasProperty(TextFormats::kShapeProperty))
        return true;
    // A frame holding just a picture.
    const QTextBlock first = frame->begin().currentBlock();
    return first.isValid() && first.length() == 2 && first.begin() != first.end()
        && first.begin().fragment().charFormat().isImageFormat();
}

bool startsPage(const QString &section)
{
    if (section.isEmpty())
        return false;
    if (section.startsWith(u"first"))
        return section == u"first";
    return !section.contains(u"continuous");
}

} // namespace

DocxStoryWriter::DocxStoryWriter(DocxWriteContext &context, QXmlStreamWriter &out, const QString &part,
                                 const QTextDocument &story, Kind kind)
    : context_(context), out_(out), part_(part), story_(story), kind_(kind)
{
}

void DocxStoryWriter::writeFrame(QTextFrame *frame)
{
    writeChildren(frame->begin(), false);
}

void DocxStoryWriter::writeChildren(QTextFrame::iterator it, bool inCell)
{
    const QList<FrameItem> items = FrameItem::listFrom(it);
    bool paragraphLast = false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const FrameItem &item = items[i];
        if (item.frame) {
            if (auto *table = qobject_cast<QTextTable *>(item.frame)) {
                writeTable(table);
                paragraphLast = false;
            } else if (isFloat(item.frame)) {
                floats_.push_back(item.frame);
            } else {
                writeChildren(item.frame->begin(), false);
            }
            continue;
        }
        // Qt keeps an empty paragraph in front of a table that opens a frame; reading makes it
        // again, so it is written only when it has a format of its own.
        if (i == 0 && items.size() > 1 && items[1].frame && qobject_cast<QTextTable *>(items[1].frame)
            && item.block.length() <= 1 && item.block.blockFormat().properties().isEmpty())
            continue;
        const QTextBlock next = i + 1 < items.size() && !items[i + 1].frame ? items[i + 1].block : QTextBlock();
        writeBlock(item.block, next, inCell);
        paragraphLast = true;
    }
    if (!floats_.empty() || (inCell && !paragraphLast)) {
        out_.writeStartElement(w(), QStringLiteral("p"));
        for (const QTextFrame *f : std::exchange(floats_, {}))
            writeFloat(f);
        out_.writeEndElement();
    }
}

void DocxStoryWriter::writeBlock(const QTextBlock &block, const QTextBlock &next, bool inCell)
{
    const QTextBlockFormat bf = block.blockFormat();
    writeKept(bf.stringProperty(DocxFormats::kKeptBeforeProperty));
    out_.writeStartElement(w(), QStringLiteral("p"));
    writeParagraphProperties(block, inCell);
    for (const QTextFrame *f : std::exchange(floats_, {}))
        writeFloat(f);
    writeRuns(block);
    const QTextCharFormat end = block.charFormat();
    writeKept(end.stringProperty(DocxFormats::kKeptProperty));
    writeKeptRtf(end.stringProperty(TextFormats::kKeptRtfProperty));
    closeLink();
    if (block == story_.lastBlock())
        closeBookmarks(); // those still open end with the story, in its last paragraph
    // Fields go on into the next paragraph when it starts inside them; all else closes here.
    QStringList continuing;
    if (next.isValid() && next.begin() != next.end()) {
        const QString fields = next.begin().fragment().charFormat().stringProperty(TextFormats::kFieldsProperty);
        if (!fields.isEmpty())
            continuing = KeptRtf::split(fields);
    }
    qsizetype common = 0;
    while (common < openFields_.size() && common < continuing.size() && openFields_[common] == continuing[common])
        ++common;
    while (openFields_.size() > common)
        closeField();
    out_.writeEndElement();
    sectionBreakBefore_ = startsPage(bf.stringProperty(DocxFormats::kSectionProperty));
}

void DocxStoryWriter::writeParagraphProperties(const QTextBlock &block, bool inCell)
{
    const QTextBlockFormat bf = block.blockFormat();
    const QString styleName = bf.stringProperty(TextFormats::kParagraphStyleProperty);
    DocxStylesWriter &styles = context_.styles;
    QTextBlockFormat f = bf;
    const QTextList *list = block.textList();
    if (list) {
        f.setLeftMargin(TextFormats::leftIndentPixels(block));
        f.clearProperty(QTextFormat::TextIndent);
    }
    DocxPropertyList props = DocxPropertyWriter::paragraphProperties(f, styles.blockBase(styleName), false);
    const QString id = styles.id(styleName, DocumentStyle::Paragraph);
    if (!id.isEmpty() && !styles.isDefaultParagraphStyle(id))
        props.addValue(QStringLiteral("pStyle"), id);
    if (list) {
        const DocxNumberingWriter::Item item = context_.numbering.item(block);
        props.remove(QStringLiteral("ind"));
        props.add(QStringLiteral("ind"), {{QStringLiteral("left"), DocxPropertyWriter::twips(f.leftMargin())},
                                          {QStringLiteral("hanging"), QStringLiteral("360")}});
        props.addCustom(QStringLiteral("numPr"), [item](QXmlStreamWriter &out) {
            out.writeStartElement(w(), QStringLiteral("numPr"));
            out.writeEmptyElement(w(), QStringLiteral("ilvl"));
            out.writeAttribute(w(), QStringLiteral("val"), QString::number(item.level));
            out.writeEmptyElement(w(), QStringLiteral("numId"));
            out.writeAttribute(w(), QStringLiteral("val"), QString::number(item.numId));
            out.writeEndElement();
        });
    } else if (styles.numbers(styleName)) {
        props.addCustom(QStringLiteral("numPr"), [](QXmlStreamWriter &out) { // the style's list is not this paragraph's
            out.writeStartElement(w(), QStringLiteral("numPr"));
            out.writeEmptyElement(w(), QStringLiteral("numId"));
            out.writeAttribute(w(), QStringLiteral("val"), QStringLiteral("0"));
            out.writeEndElement();
        });
    }
    if (std::exchange(sectionBreakBefore_, false))
        props.remove(QStringLiteral("pageBreakBefore")); // the section break starts the page
    props.addKept(bf.stringProperty(DocxFormats::kParagraphPropertiesProperty));
    QTextCharFormat mark = block.charFormat();
    if (inCell)
        mark.clearBackground(); // the cell's shading
    mark.clearProperty(DocxFormats::kKeptProperty);
    const DocxPropertyList markProps = DocxPropertyWriter::runProperties(mark, styles.charBase(styleName, QString()), true);
    if (!markProps.isEmpty())
        props.addCustom(QStringLiteral("rPr"), [markProps](QXmlStreamWriter &out) { markProps.write(out, QStringLiteral("rPr")); });
    const QString section = bf.stringProperty(DocxFormats::kSectionProperty);
    if (section.startsWith(u"first")) {
        if (firstSection_ && kind_ == Kind::Body) {
            props.addCustom(QStringLiteral("sectPr"), firstSection_);
            firstSection_ = {}; // written once
        }
    } else if (!section.isEmpty() && kind_ == Kind::Body) {
        props.addKept(section);
        noteNamedRelationships(section);
    }
    props.write(out_, QStringLiteral("pPr"));
}

void DocxStoryWriter::writeRuns(const QTextBlock &block)
{
    const QString styleName = block.blockFormat().stringProperty(TextFormats::kParagraphStyleProperty);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        const QString shown = f.stringProperty(DocxFormats::kShownOnlyProperty);
        if (!shown.isEmpty()) {
            // Text shown for kept XML (a text box's): the XML is written instead, once, and the
            // fields and links of the text around it go on around it.
            writeKept(f.stringProperty(DocxFormats::kKeptProperty));
            writeKeptRtf(f.stringProperty(TextFormats::kKeptRtfProperty));
            writeKept(shown);
            continue;
        }
        const QString fields = f.stringProperty(TextFormats::kFieldsProperty);
        syncFields(fields.isEmpty() ? QStringList() : KeptRtf::split(fields));
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (href != openLink_) {
            closeLink();
            if (!href.isEmpty())
                openLink(href);
        }
        writeKept(f.stringProperty(DocxFormats::kKeptProperty));
        writeKeptRtf(f.stringProperty(TextFormats::kKeptRtfProperty));
        const QString autoText = f.stringProperty(TextFormats::kAutoTextProperty);
        if (f.hasProperty(TextFormats::kNoteProperty)) {
            writeNoteReference(f, styleName);
            if (autoText == u"chftn")
                continue;
        } else if (autoText == u"chftn") {
            if (kind_ == Kind::Note)
                writeNoteReference(f, styleName);
            else
                writeText(fragment.text(), f, fragment.charFormatIndex(), styleName);
            continue;
        }
        if (autoText == u"chpgn") {
            openField(QStringLiteral(" PAGE "));
            writeText(fragment.text(), f, fragment.charFormatIndex(), styleName);
            closeField();
            continue;
        }
        if (f.isImageFormat()) {
            for (int k = 0; k < fragment.length(); ++k)
                writeImage(f.toImageFormat(), styleName);
            continue;
        }
        writeText(fragment.text(), f, fragment.charFormatIndex(), styleName);
    }
}

void DocxStoryWriter::writeRunProperties(const QTextCharFormat &format, int formatIndex, const QString &paragraphStyle)
{
    // Formats are cached by their index in the document (-1: not cached).
    const QString key = formatIndex < 0 ? QString() : QString::number(formatIndex) + QChar(0x1F) + paragraphStyle;
    auto cached = key.isEmpty() ? runCache_.cend() : runCache_.constFind(key);
    if (cached == runCache_.cend()) {
        const QString charStyle = format.stringProperty(TextFormats::kCharacterStyleProperty);
        QTextCharFormat f = format;
        const QString revision = f.stringProperty(DocxFormats::kRevisionProperty);
        if (revision.startsWith(u"del") || revision.startsWith(u"moveFrom"))
            f.setFontStrikeOut(context_.styles.charBase(paragraphStyle, charStyle).fontStrikeOut());
        DocxPropertyList props = DocxPropertyWriter::runProperties(f, context_.styles.charBase(paragraphStyle, charStyle), true);
        const QString id = context_.styles.id(charStyle, DocumentStyle::Character);
        if (!id.isEmpty())
            props.addValue(QStringLiteral("rStyle"), id);
        if (key.isEmpty()) {
            props.write(out_, QStringLiteral("rPr"));
            return;
        }
        cached = runCache_.insert(key, props);
    }
    cached->write(out_, QStringLiteral("rPr"));
}

void DocxStoryWriter::writeText(const QString &text, const QTextCharFormat &format, int formatIndex,
                                const QString &paragraphStyle)
{
    const QString revision = format.stringProperty(DocxFormats::kRevisionProperty);
    const bool deleted = revision.startsWith(u"del") || revision.startsWith(u"moveFrom");
    if (!revision.isEmpty()) {
        const QStringList parts = revision.split(QChar(0x1F));
        out_.writeStartElement(w(), parts.value(0));
        out_.writeAttribute(w(), QStringLiteral("id"), QString::number(context_.nextRevisionId++));
        out_.writeAttribute(w(), QStringLiteral("author"), parts.value(1));
        if (!parts.value(2).isEmpty())
            out_.writeAttribute(w(), QStringLiteral("date"), parts.value(2));
    }
    out_.writeStartElement(w(), QStringLiteral("r"));
    writeRunProperties(format, formatIndex, paragraphStyle);
    // Text goes out in pieces between the characters that are elements of their own (tab, line
    // break ...) or that XML cannot hold (written as U+FFFD).
    auto piece = [&](const QString &t) {
        if (t.isEmpty())
            return;
        out_.writeStartElement(w(), deleted ? QStringLiteral("delText") : QStringLiteral("t"));
        out_.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
        out_.writeCharacters(t);
        out_.writeEndElement();
    };
    const qsizetype n = text.size();
    qsizetype from = 0;
    QString repaired;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0xD800 && u != 0x2028 && u != 0x2029 && u != 0x2011 && u != 0x00AD)
            continue; // the usual case
        const char *element = nullptr;
        switch (u) {
        case u'\t': element = "tab"; break;
        case 0x2028: case u'\n': case u'\r': case 0x2029: element = "br"; break;
        case 0x2011: element = "noBreakHyphen"; break;
        case 0x00AD: element = "softHyphen"; break;
        default: break;
        }
        if (element || u == 0xFFFC) {
            piece(repaired + text.mid(from, i - from));
            repaired.clear();
            if (element)
                out_.writeEmptyElement(w(), QLatin1String(element));
            from = i + 1;
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || u < 0x20 || u == 0xFFFE || u == 0xFFFF) {
            repaired += text.mid(from, i - from) + QChar(0xFFFD); // not a character XML can hold
            from = i + 1;
        }
    }
    piece(repaired + text.mid(from));
    out_.writeEndElement();
    if (!revision.isEmpty())
        out_.writeEndElement();
}

void DocxStoryWriter::syncFields(const QStringList &fields)
{
    qsizetype common = 0;
    while (common < openFields_.size() && common < fields.size() && openFields_[common] == fields[common])
        ++common;
    while (openFields_.size() > common)
        closeField();
    for (qsizetype i = common; i < fields.size(); ++i) {
        openField(KeptRtf::fieldInstruction(fields[i]));
        openFields_.last() = fields[i];
    }
}

void DocxStoryWriter::fieldCharRun(const char *type)
{
    out_.writeStartElement(w(), QStringLiteral("r"));
    out_.writeEmptyElement(w(), QStringLiteral("fldChar"));
    out_.writeAttribute(w(), QStringLiteral("fldCharType"), QLatin1String(type));
    out_.writeEndElement();
}

void DocxStoryWriter::openField(const QString &instruction)
{
    fieldCharRun("begin");
    out_.writeStartElement(w(), QStringLiteral("r"));
    out_.writeStartElement(w(), QStringLiteral("instrText"));
    out_.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
    QString clean = instruction;
    for (QChar &c : clean)
        if (c.unicode() < 0x20 || c.isSurrogate())
            c = u' ';
    out_.writeCharacters(u' ' + clean.trimmed() + u' ');
    out_.writeEndElement();
    out_.writeEndElement();
    fieldCharRun("separate");
    openFields_.append(instruction);
}

void DocxStoryWriter::closeField()
{
    if (openFields_.isEmpty())
        return;
    fieldCharRun("end");
    openFields_.removeLast();
}

void DocxStoryWriter::openLink(const QString &href)
{
    out_.writeStartElement(w(), QStringLiteral("hyperlink"));
    if (href.startsWith(u'#')) {
        out_.writeAttribute(w(), QStringLiteral("anchor"), href.mid(1));
    } else {
        const QString id = context_.package.addRelationship(part_, QStringLiteral("hyperlink"), href, true);
        out_.writeAttribute(uri(R), QStringLiteral("id"), id);
    }
    out_.writeAttribute(w(), QStringLiteral("history"), QStringLiteral("1"));
    openLink_ = href;
    linkOpen_ = true;
}

void DocxStoryWriter::closeLink()
{
    if (linkOpen_)
        out_.writeEndElement();
    linkOpen_ = false;
    openLink_.clear();
}

void DocxStoryWriter::finish()
{
    closeLink();
    // Fields and bookmarks still open end after the last paragraph.
    if (!openFields_.isEmpty()) {
        out_.writeStartElement(w(), QStringLiteral("p"));
        while (!openFields_.isEmpty())
            closeField();
        out_.writeEndElement();
    }
    closeBookmarks();
}

void DocxStoryWriter::closeBookmarks()
{
    QList<int> ids = bookmarkIds_.values();
    std::sort(ids.begin(), ids.end());
    for (const int id : std::as_const(ids)) {
        out_.writeEmptyElement(w(), QStringLiteral("bookmarkEnd"));
        out_.writeAttribute(w(), QStringLiteral("id"), QString::number(id));
    }
    bookmarkIds_.clear();
}
