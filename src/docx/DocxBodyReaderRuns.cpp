// The Word story reader's inline content: runs, text, fields, links, notes, bookmarks and
// tracked changes.
#include "docx/DocxBodyReader.h"
#include "docx/DocxDocumentBuilder.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxReadContext.h"
#include "docx/DocxStyleRtf.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/DocumentExtras.h"
#include "rtf/FieldValue.h"
#include "rtf/Notes.h"
#include "rtf/RtfSymbolFonts.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <QUrl>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {


} // namespace

void DocxBodyReader::readInline(DocxXml &xml)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth))
        readInlineElement(xml);
}

void DocxBodyReader::readInlineElement(DocxXml &xml)
{
    if (xml.ns() == MC && xml.name() == u"AlternateContent") {
        readAlternateContent(xml, false);
        return;
    }
    if (xml.ns() == M) {
        readMath(xml);
        return;
    }
    if (xml.ns() != W) {
        keepElement(xml, false);
        return;
    }
    const QStringView n = xml.name();
    if (n == u"r") {
        readRun(xml);
    } else if (n == u"hyperlink") {
        hyperlink(xml);
    } else if (n == u"fldSimple") {
        simpleField(xml);
    } else if (n == u"smartTag" || n == u"customXml" || n == u"dir" || n == u"bdo") {
        readInline(xml);
    } else if (n == u"sdt") {
        const int depth = xml.depth();
        while (xml.nextChild(depth))
            if (xml.isW(u"sdtContent"))
                readInline(xml);
    } else if (n == u"ins" || n == u"moveTo" || n == u"del" || n == u"moveFrom") {
        revision(xml, n.toString());
    } else if (n == u"bookmarkStart" || n == u"bookmarkEnd") {
        bookmark(xml, n == u"bookmarkStart");
    } else if (n == u"proofErr" || n == u"permStart" || n == u"permEnd" || n == u"smartTagPr" || n == u"customXmlPr"
               || n == u"pPr" || n == u"rPr") {
        xml.skip();
    } else if (n.endsWith(u"RangeStart") || n.endsWith(u"RangeEnd")) {
        if (mode_ == Mode::Display)
            xml.skip();
        else
            keepPending(DocxKeptXml::capture(xml, context_.newId()));
    } else {
        keepElement(xml, false);
    }
}

void DocxBodyReader::readRun(DocxXml &xml)
{
    run_ = DocxRunProperties();
    runFormatValid_ = false;
    const int depth = xml.depth();
    bool first = true;
    while (xml.nextChild(depth)) {
        if (first && xml.isW(u"rPr")) {
            run_.read(xml, context_.theme, mode_ != Mode::Display);
            first = false;
            continue;
        }
        first = false;
        readRunContent(xml);
    }
    run_ = DocxRunProperties();
    runFormatValid_ = false;
}

void DocxBodyReader::readRunContent(DocxXml &xml)
{
    if (xml.ns() == MC && xml.name() == u"AlternateContent") {
        readAlternateContent(xml, true);
        return;
    }
    if (xml.ns() != W) {
        keepElement(xml, true);
        return;
    }
    const QStringView n = xml.name();
    if (n == u"t" || n == u"delText") {
        const QString text = xml.text();
        if (!inInstruction())
            addText(text);
    } else if (n == u"instrText" || n == u"delInstrText") {
        const QString text = xml.text();
        if (!fields_.empty() && fields_.back().state == FieldState::Instruction)
            fields_.back().instruction += text.left(4096);
    } else if (n == u"tab" || n == u"ptab") {
        addText(QStringLiteral("\t"));
    } else if (n == u"br") {
        const QStringView type = xml.attribute(u"type");
        if ((type == u"page" || type == u"column") && !inInstruction() && mode_ != Mode::Display && objectDepth_ == 0)
            pageBreak();
        else
            addText(QString(QChar(0x2028)));
    } else if (n == u"cr") {
        addText(QString(QChar(0x2028)));
    } else if (n == u"noBreakHyphen") {
        addText(QString(QChar(0x2011)));
    } else if (n == u"softHyphen") {
        addText(QString(QChar(0x00AD)));
    } else if (n == u"sym") {
        bool ok = false;
        uint code = xml.attribute(u"char").toUInt(&ok, 16);
        if (!ok || code == 0 || code > 0xFFFF)
            return;
        const QString font = xml.attribute(u"font").toString();
        RtfSymbolFonts::Font symbolFont = RtfSymbolFonts::fontNamed(font);
        if (symbolFont != RtfSymbolFonts::None && (code < 0x100 || (code >= 0xF000 && code <= 0xF0FF)))
            if (const char16_t mapped = RtfSymbolFonts::toUnicode(symbolFont, uchar(code & 0xFF)))
                code = mapped;
        addText(QString(QChar(char16_t(code))));
    } else if (n == u"fldChar") {
        fieldChar(xml.attribute(u"fldCharType"));
    } else if (n == u"footnoteReference" || n == u"endnoteReference") {
        noteReference(xml, n == u"endnoteReference");
    } else if (n == u"footnoteRef" || n == u"endnoteRef") {
        if (mode_ == Mode::Note && !noteMark_.isEmpty()) {
            QTextCharFormat f = currentFormat();
            f.setProperty(TextFormats::kAutoTextProperty, QStringLiteral("chftn"));
            f.setProperty(TextFormats::kMarkIdProperty, context_.idPrefix + QStringLiteral("-m%1").arg(++context_.markCount));
            addMark(noteMark_, f);
        }
    } else if (n == u"pgNum") {
        QTextCharFormat f = currentFormat();
        f.setProperty(TextFormats::kAutoTextProperty, QStringLiteral("chpgn"));
        f.setProperty(TextFormats::kMarkIdProperty, context_.idPrefix + QStringLiteral("-m%1").arg(++context_.markCount));
        addMark(QStringLiteral("1"), f);
    } else if (n == u"drawing" || n == u"pict" || n == u"object") {
        readObject(xml);
    } else if (n == u"commentReference") {
        // Kept for Word as it is, and its comment as an annotation for other formats.
        const auto comment = context_.comments.constFind(xml.attribute(u"id").toString());
        const QString id = context_.newId();
        if (comment != context_.comments.cend() && mode_ != Mode::Display)
            pendingKeptRtf_ += DocxStyleRtf::annotation(comment->author, comment->initials, comment->text, id);
        keepElement(xml, true, id);
    } else if (n == u"separator" || n == u"continuationSeparator" || n == u"lastRenderedPageBreak" || n == u"rPr"
               || n == u"annotationRef") {
        xml.skip();
    } else {
        keepElement(xml, true);
    }
}

QTextCharFormat DocxBodyReader::currentFormat()
{
    if (runFormatValid_)
        return runFormat_;
    ensureBase();
    DocxRunProperties p = paragraph_.runBase;
    if (run_.style)
        p.merge(context_.styles.character(*run_.style));
    p.merge(run_);
    QTextCharFormat f = formatOf(p);
    runHidden_ = p.hidden.value_or(false);
    // A run named after a style of another kind keeps that style's formatting but not its name:
    // only a character style is written back as the run's style.
    if (run_.style)
        if (const DocxStyles::Style *s = context_.styles.find(*run_.style); s && s->kind == DocumentStyle::Character)
            f.setProperty(TextFormats::kCharacterStyleProperty, s->name);
    const QString fields = fieldsKept();
    if (!fields.isEmpty())
        f.setProperty(TextFormats::kFieldsProperty, fields);
    QString link = link_;
    for (const Field &field : fields_)
        if (field.isLink && field.state == FieldState::Result && !field.link.isEmpty())
            link = field.link;
    if (!link.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(link);
    }
    if (!revision_.isEmpty() && mode_ != Mode::Display) {
        f.setProperty(DocxFormats::kRevisionProperty, revision_);
        if (deleted_)
            f.setFontStrikeOut(true);
    }
    runFormat_ = f;
    runFormatValid_ = true;
    return f;
}

QTextCharFormat DocxBodyReader::formatOf(const DocxRunProperties &p)
{
    constexpr qsizetype kMadeFormats = 4096; // past this many, the list starts again
    if (const auto made = madeFormats_.constFind(p); made != madeFormats_.cend())
        return *made;
    QTextCharFormat f;
    p.apply(f, context_.documentFont);
    if (madeFormats_.size() >= kMadeFormats)
        madeFormats_.clear();
    madeFormats_.insert(p, f);
    return f;
}

QString DocxBodyReader::fieldsKept() const
{
    QString kept;
    for (const Field &f : fields_)
        if (f.state == FieldState::Result && !f.isLink)
            kept += f.kept;
    return kept;
}

bool DocxBodyReader::inInstruction() const
{
    for (const Field &f : fields_)
        if (f.state == FieldState::Instruction)
            return true;
    return false;
}

void DocxBodyReader::addText(const QString &text)
{
    if (text.isEmpty() || inInstruction())
        return;
    QTextCharFormat f = currentFormat();
    if (runHidden_) {
        keepHidden(text);
        return;
    }
    for (Field &field : fields_)
        field.showedSomething = true;
    if (!customMark_.isEmpty()) {
        f.setProperty(TextFormats::kNoteProperty, std::exchange(customMark_, QString()));
        f.setProperty(TextFormats::kNoteKindProperty, customMarkKind_);
        f.setProperty(TextFormats::kMarkIdProperty, context_.idPrefix + QStringLiteral("-m%1").arg(++context_.markCount));
    }
    if (!pendingKept_.isEmpty())
        f.setProperty(DocxFormats::kKeptProperty, std::exchange(pendingKept_, QString()));
    if (!pendingKeptRtf_.isEmpty())
        f.setProperty(TextFormats::kKeptRtfProperty, std::exchange(pendingKeptRtf_, QString()));
    if (!paragraph_.runs.empty() && paragraph_.runs.back().format == f) {
        paragraph_.runs.back().text += text;
        return;
    }
    paragraph_.runs.push_back({text, f});
}

// A note's mark or automatic text: a run of its own, never joined with the text around it.
void DocxBodyReader::addMark(const QString &text, const QTextCharFormat &format)
{
    QTextCharFormat f = format;
    if (!pendingKept_.isEmpty())
        f.setProperty(DocxFormats::kKeptProperty, std::exchange(pendingKept_, QString()));
    if (!pendingKeptRtf_.isEmpty())
        f.setProperty(TextFormats::kKeptRtfProperty, std::exchange(pendingKeptRtf_, QString()));
    paragraph_.runs.push_back({text, f});
}

// Hidden text is not shown: it is kept as a run of its own, and as RTF for other formats.
void DocxBodyReader::keepHidden(const QString &text)
{
    if (mode_ == Mode::Display)
        return;
    const QString id = context_.newId();
    keepPending(DocxKeptXml::make(id, [&](QXmlStreamWriter &w) {
        const QString ns = uri(W);
        w.writeStartElement(ns, QStringLiteral("r"));
        w.writeStartElement(ns, QStringLiteral("rPr"));
        if (run_.style) {
            w.writeStartElement(ns, QStringLiteral("rStyle"));
            w.writeAttribute(ns, QStringLiteral("val"), *run_.style);
            w.writeEndElement();
        }
        w.writeEmptyElement(ns, QStringLiteral("vanish"));
        w.writeEndElement();
        const QStringList pieces = text.split(u'\t');
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                w.writeEmptyElement(ns, QStringLiteral("tab"));
            if (pieces[i].isEmpty())
                continue;
            w.writeStartElement(ns, QStringLiteral("t"));
            w.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
            w.writeCharacters(pieces[i]);
            w.writeEndElement();
        }
        w.writeEndElement();
    }));
    pendingKeptRtf_ += DocxStyleRtf::hidden(text, id);
}

void DocxBodyReader::classify(Field &field)
{
    const QString instruction = field.instruction.trimmed();
    const QString command = instruction.section(u' ', 0, 0, QString::SectionSkipEmpty).toUpper();
    if (command == u"HYPERLINK") {
        field.isLink = true;
        field.link = FieldValue::hyperlinkTarget(instruction);
        return;
    }
    field.kept = DocxStyleRtf::field(instruction, context_.newId());
}

void DocxBodyReader::fieldChar(QStringView type)
{
    runFormatValid_ = false;
    if (type == u"begin") {
        if (fields_.size() < 64)
            fields_.push_back(Field());
        return;
    }
    if (fields_.empty())
        return;
    if (type == u"separate") {
        Field &top = fields_.back();
        if (top.state == FieldState::Instruction) {
            top.state = FieldState::Result;
            classify(top);
        }
    } else if (type == u"end") {
        const Field field = fields_.back();
        fields_.pop_back();
        if ((field.state == FieldState::Instruction || !field.showedSomething) && !inInstruction())
            keepFieldWithoutResult(field);
    }
}

// A field that showed nothing is kept as it was, so a save as Word has it again.
void DocxBodyReader::keepFieldWithoutResult(const Field &field)
{
    if (mode_ == Mode::Display || field.instruction.trimmed().isEmpty())
        return;
    const QString ns = uri(W);
    keepPending(DocxKeptXml::make(context_.newId(), [&](QXmlStreamWriter &w) {
        auto fieldChar = [&](const char *type) {
            w.writeStartElement(ns, QStringLiteral("r"));
            w.writeStartElement(ns, QStringLiteral("fldChar"));
            w.writeAttribute(ns, QStringLiteral("fldCharType"), QLatin1String(type));
            w.writeEndElement();
            w.writeEndElement();
        };
        fieldChar("begin");
        w.writeStartElement(ns, QStringLiteral("r"));
        w.writeStartElement(ns, QStringLiteral("instrText"));
        w.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
        w.writeCharacters(field.instruction);
        w.writeEndElement();
        w.writeEndElement();
        if (field.state == FieldState::Result)
            fieldChar("separate");
        fieldChar("end");
    }));
}

void DocxBodyReader::simpleField(DocxXml &xml)
{
    Field field;
    field.instruction = xml.attribute(u"instr").toString().left(4096);
    field.state = FieldState::Result;
    classify(field);
    const bool nested = inInstruction();
    fields_.push_back(field);
    runFormatValid_ = false;
    readInline(xml);
    const Field done = fields_.back();
    fields_.pop_back();
    runFormatValid_ = false;
    if (!done.showedSomething && !nested)
        keepFieldWithoutResult(done);
}

void DocxBodyReader::hyperlink(DocxXml &xml)
{
    QString target;
    const QStringView id = xml.attribute(R, u"id");
    if (!id.isEmpty())
        if (const DocxPackage::Relationship *r = context_.package.relationship(part_, id))
            target = r->external ? r->target : QString();
    const QStringView anchor = xml.attribute(u"anchor");
    if (!anchor.isEmpty())
        target += u'#' + anchor.toString();
    if (!FieldValue::isSafeLink(target))
        target.clear();
    const QString saved = link_;
    if (!target.isEmpty())
        link_ = target;
    runFormatValid_ = false;
    readInline(xml);
    link_ = saved;
    runFormatValid_ = false;
}

void DocxBodyReader::revision(DocxXml &xml, const QString &kind)
{
    const QString saved = revision_;
    const bool savedDeleted = deleted_;
    revision_ = kind + QChar(0x1F) + xml.attribute(u"author").toString() + QChar(0x1F) + xml.attribute(u"date").toString();
    deleted_ = kind == u"del" || kind == u"moveFrom";
    runFormatValid_ = false;
    readInline(xml);
    revision_ = saved;
    deleted_ = savedDeleted;
    runFormatValid_ = false;
}

void DocxBodyReader::bookmark(DocxXml &xml, bool start)
{
    if (mode_ == Mode::Display) {
        xml.skip();
        return;
    }
    const QString id = xml.attribute(u"id").toString();
    if (start) {
        const QString name = xml.attribute(u"name").toString().left(256);
        if (name.isEmpty() || bookmarks_.size() > 10000)
            return;
        bookmarks_.insert(id, name);
        pendingKeptRtf_ += DocxStyleRtf::bookmark(name, true, context_.newId());
    } else {
        const QString name = bookmarks_.take(id);
        if (!name.isEmpty())
            pendingKeptRtf_ += DocxStyleRtf::bookmark(name, false, context_.newId());
    }
}

void DocxBodyReader::noteReference(DocxXml &xml, bool endnote)
{
    const int read = context_.footnotesRead + context_.endnotesRead;
    if ((mode_ != Mode::Document && mode_ != Mode::Part) || read >= kMaxNotes || inInstruction()) {
        keepElement(xml, true);
        return;
    }
    const QString id = xml.attribute(u"id").toString();
    const QString noteXml = (endnote ? context_.endnotes : context_.footnotes).value(id);
    if (noteXml.isEmpty())
        return;
    const bool custom = DocxUnits::onOff(xml.attribute(u"customMarkFollows").isNull() ? u"0"
                                                                                        : xml.attribute(u"customMarkFollows"));
    const NoteSettings::Kind kind = endnote ? NoteSettings::Endnote : NoteSettings::Footnote;
    const int index = endnote ? context_.endnotesRead++ : context_.footnotesRead++;
    const QString mark = custom ? QString() : context_.noteSettings.mark(kind, index);
    const auto note = readNote(noteXml, endnote ? context_.endnotesPart : context_.footnotesPart, mark);
    QTextCharFormat f = currentFormat();
    Notes::setNote(f, *note, kind);
    if (custom) {
        customMark_ = f.stringProperty(TextFormats::kNoteProperty);
        customMarkKind_ = kind;
        return;
    }
    f.setProperty(TextFormats::kAutoTextProperty, QStringLiteral("chftn"));
    f.setProperty(TextFormats::kMarkIdProperty, context_.idPrefix + QStringLiteral("-m%1").arg(++context_.markCount));
    addMark(mark, f);
}

std::unique_ptr<QTextDocument> DocxBodyReader::readNote(const QString &noteXml, const QString &part, const QString &mark)
{
    auto note = std::make_unique<QTextDocument>();
    note->setDefaultFont(context_.documentFont);
    note->setUndoRedoEnabled(false);
    note->setLayoutEnabled(false);
    DocumentExtras::of(*note).setStyles(context_.documentStyles);
    QTextCursor cursor(note.get());
    cursor.beginEditBlock();
    DocxXml xml(DocxKeptXml::document(noteXml).toUtf8(), part);
    if (xml.start() && xml.nextChild(1)) {
        DocxDocumentBuilder builder(*note);
        builder.setListGroupPrefix(context_.idPrefix);
        DocxBodyReader reader(context_, builder, part, Mode::Note, mark);
        reader.read(xml);
    }
    cursor.endEditBlock();
    return note;
}
