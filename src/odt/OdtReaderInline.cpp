// The OpenDocument reader's text: spans, links, white space, fields, notes, bookmarks, pictures and
// the elements it keeps.
#include "odt/OdtFormats.h"
#include "odt/OdtReader.h"
#include "odt/OdtStyleFormats.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlReader.h"
#include "odt/OdtXmlText.h"
#include "rtf/DocumentExtras.h"
#include "rtf/FieldValue.h"
#include "rtf/KeptRtf.h"
#include "rtf/Notes.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

using namespace OdtNamespaces;

namespace {

constexpr int kMaxSpaces = 10000;
constexpr int kMaxNotes = 5000;

// The fields the RTF model knows, by element.
QString instructionOf(const OdtXmlReader &xml)
{
    if (xml.ns() != Text)
        return QString();
    static const std::pair<const char *, const char *> kFields[] = {
        {"page-number", "PAGE"},         {"page-count", "NUMPAGES"},      {"date", "DATE"},
        {"time", "TIME"},                {"title", "TITLE"},              {"subject", "SUBJECT"},
        {"initial-creator", "AUTHOR"},   {"author-name", "AUTHOR"},       {"creator", "LASTSAVEDBY"},
        {"file-name", "FILENAME"},       {"word-count", "NUMWORDS"},      {"character-count", "NUMCHARS"},
        {"keywords", "KEYWORDS"},        {"description", "COMMENTS"},     {"creation-date", "CREATEDATE"},
    };
    for (const auto &[element, instruction] : kFields)
        if (xml.name() == QLatin1StringView(element))
            return QLatin1StringView(instruction);
    return QString();
}

// Marks that stand at a point or around text and show nothing themselves.
bool isMark(const OdtXmlReader &xml)
{
    if (xml.ns() == Office)
        return xml.name() == u"annotation" || xml.name() == u"annotation-end";
    if (xml.ns() != Text)
        return false;
    const QStringView n = xml.name();
    return n == u"change" || n == u"change-start" || n == u"change-end" || n.startsWith(u"reference-mark")
        || n.startsWith(u"toc-mark") || n.startsWith(u"alphabetical-index-mark") || n.startsWith(u"user-index-mark")
        || n == u"hidden-paragraph";
}

} // namespace

void OdtReader::readInline(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (xml.isText()) {
            appendText(xml.text());
            continue;
        }
        if (!xml.isStart())
            continue;
        const Ns ns = xml.ns();
        const QStringView name = xml.name();
        if (ns == Text) {
            if (name == u"span") {
                readSpan(xml);
                continue;
            }
            if (name == u"a") {
                readLink(xml);
                continue;
            }
            if (name == u"s") {
                const int count = qBound(1, xml.attribute(Text, QLatin1StringView("c")).toInt(), kMaxSpaces);
                appendLiteral(QString(count, u' '));
                xml.skipElement();
                continue;
            }
            if (name == u"tab" || name == u"line-break") {
                appendLiteral(QString(name == u"tab" ? QChar(u'\t') : QChar(0x2028)));
                xml.skipElement();
                continue;
            }
            if (name == u"soft-page-break" || name == u"number") {
                xml.skipElement(); // a past layout's page end; a list label already drawn
                continue;
            }
            if (name == u"note") {
                readNote(xml);
                continue;
            }
            if (name == u"bookmark" || name == u"bookmark-start" || name == u"bookmark-end") {
                readBookmark(xml);
                continue;
            }
            if (name == u"meta" || name == u"meta-field") {
                readInline(xml);
                continue;
            }
            if (name == u"p" || name == u"h" || name == u"list" || name == u"section") {
                readInline(xml); // broken nesting: its text joins the paragraph
                continue;
            }
        }
        if (ns == Draw && name == u"frame") {
            readFrame(xml);
            continue;
        }
        if (ns == Draw && name == u"a") {
            readLink(xml);
            continue;
        }
        if (ns == Table && name == u"table") {
            readInline(xml);
            continue;
        }
        const QString instruction = instructionOf(xml);
        if (!instruction.isEmpty()) {
            readField(xml, instruction);
            continue;
        }
        if (ns == Office && name == u"annotation") {
            readAnnotation(xml);
            continue;
        }
        if (isMark(xml)) {
            keepXml(xml.copyElement());
            continue;
        }
        keepElement(xml);
    }
}

// Text of the file, its white space collapsed as OpenDocument wants: each run of spaces, tabs
// and line ends is one space, and a paragraph starts with none.
void OdtReader::appendText(QStringView text)
{
    auto isSpace = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        // A stretch without white space goes as it is.
        qsizetype j = i;
        while (j < text.size() && !isSpace(text[j]))
            ++j;
        if (j > i) {
            out.append(text.mid(i, j - i));
            lastWasSpace_ = false;
        }
        if (j == text.size())
            break;
        if (!lastWasSpace_)
            out += u' ';
        lastWasSpace_ = true;
        while (j < text.size() && isSpace(text[j]))
            ++j;
        i = j;
    }
    if (!out.isEmpty())
        addRun(out, currentFormat());
}

// Characters of elements (text:s, text:tab, text:line-break), which do not collapse.
void OdtReader::appendLiteral(const QString &text)
{
    addRun(text, currentFormat());
    lastWasSpace_ = false;
}

void OdtReader::addRun(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    QTextCharFormat f = format;
    const bool attached = !pendingKept_.isEmpty() || !pendingRtf_.isEmpty();
    if (!pendingKept_.isEmpty())
        f.setProperty(OdtFormats::kKeptXmlProperty, std::exchange(pendingKept_, QString()));
    if (!pendingRtf_.isEmpty())
        f.setProperty(TextFormats::kKeptRtfProperty, std::exchange(pendingRtf_, QString()));
    if (!attached && !runs_.empty() && runs_.back().format == f && !f.isImageFormat()) {
        runs_.back().text += text;
        return;
    }
    runs_.push_back({text, f});
}

QTextCharFormat OdtReader::currentFormat()
{
    Span &span = spans_.back();
    if (span.format)
        return *span.format;
    QTextCharFormat f = OdtStyleFormats::charFormat(span.text, shared_.styles);
    if (!span.characterStyle.isEmpty())
        f.setProperty(TextFormats::kCharacterStyleProperty, span.characterStyle);
    if (!span.unshown.isEmpty())
        f.setProperty(OdtFormats::kTextAttributesProperty, span.unshown);
    if (!span.href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(span.href);
    }
    if (!span.fields.isEmpty())
        f.setProperty(TextFormats::kFieldsProperty, span.fields);
    span.format = f;
    return f;
}

// The formatting inside a span of a text style, worked out once for each nesting of styles.
void OdtReader::pushSpan(const QString &styleName)
{
    const Span &outer = spans_.back();
    if (styleName.isEmpty()) {
        spans_.push_back(outer);
        return;
    }
    // The key is made in a buffer kept from span to span: a look found costs no allocation.
    spanKey_.resize(0);
    spanKey_ += outer.key;
    spanKey_ += QChar(0x2);
    spanKey_ += styleName;
    const bool cacheable = outer.href.isEmpty() && outer.fields.isEmpty();
    const auto known = spanLooks_.constFind(spanKey_);
    if (known != spanLooks_.cend() && cacheable) {
        spans_.push_back(*known);
        return;
    }
    const QString key = spanKey_;
    Span s = outer;
    s.key = key;
    s.format.reset();
    OdtStyleSheet &sheet = shared_.styles;
    OdtStyleSheet::overlay(s.text, sheet.resolved(QStringLiteral("text"), styleName).props[OdtStyleSheet::TextProps]);
    sheet.share(s.text);
    if (const OdtStyleSheet::Style *own = sheet.style(QStringLiteral("text"), styleName)) {
        const OdtStyleSheet::Style *common = own->automatic ? sheet.style(QStringLiteral("text"), own->parent) : own;
        if (common && !common->automatic)
            s.characterStyle = documentStyle(*common);
        if (own->automatic) {
            const QString unshown = OdtStyleFormats::unshown(own->props[OdtStyleSheet::TextProps], OdtStyleSheet::TextProps);
            if (!unshown.isEmpty())
                s.unshown = s.unshown.isEmpty() ? unshown : s.unshown + u' ' + unshown;
        }
    }
    s.hidden = OdtStyleFormats::isHidden(s.text);
    spans_.push_back(s); // `outer` may move here
    if (cacheable) {
        currentFormat(); // made once, for every span of these styles
        spanLooks_.insert(key, spans_.back());
    }
}

void OdtReader::readSpan(OdtXmlReader &xml)
{
    const QString styleName = xml.attribute(Text, QLatin1StringView("style-name"));
    pushSpan(styleName);
    if (spans_.back().hidden) {
        spans_.pop_back();
        // Hidden text is kept, not shown: as it is for OpenDocument, as hidden RTF for other formats.
        const QString copy = xml.copyElement();
        const QString id = nextId();
        keepXml(copy, id);
        const QString text = textOf(copy);
        if (!text.isEmpty())
            keepRtf("{\\v " + KeptRtf::text(text) + '}', id);
        return;
    }
    readInline(xml);
    spans_.pop_back();
}

void OdtReader::readLink(OdtXmlReader &xml)
{
    const QString href = xml.attribute(XLink, QLatin1StringView("href"));
    pushSpan(xml.attribute(Text, QLatin1StringView("style-name")));
    if (!href.isEmpty() && FieldValue::isSafeLink(href)) {
        spans_.back().href = href;
        spans_.back().key += QChar(0x3);
        spans_.back().format.reset();
    }
    readInline(xml);
    spans_.pop_back();
}

// A footnote or endnote: its mark here, its text a document of its own.
void OdtReader::readNote(OdtXmlReader &xml)
{
    const QString copy = xml.copyElement();
    if (mode_ != Mode::Document || shared_.notes >= kMaxNotes) {
        // In a note, or past the notes read: kept, its mark shown.
        OdtXmlReader note = OdtXmlReader::fragment(copy, QStringLiteral("note"));
        QString citation;
        while (note.next())
            if (note.isStart() && note.is(Text, QLatin1StringView("note-citation")))
                citation = note.elementText();
        if (mode_ == Mode::Display || citation.isEmpty())
            keepXml(copy);
        else
            showKept(copy, citation);
        return;
    }
    ++shared_.notes;
    OdtXmlReader note = OdtXmlReader::fragment(copy, QStringLiteral("note"));
    note.next();
    const bool endnote = note.attribute(Text, QLatin1StringView("note-class")) == u"endnote";
    QString citation, label, body;
    while (note.next()) {
        if (!note.isStart())
            continue;
        if (note.is(Text, QLatin1StringView("note-citation"))) {
            label = note.attribute(Text, QLatin1StringView("label"));
            citation = note.elementText();
        } else if (note.is(Text, QLatin1StringView("note-body"))) {
            body = note.copyElement();
        } else {
            note.skipElement();
        }
    }
    const auto part = readPart(body.isEmpty() ? QStringLiteral("<text:note-body/>") : body, Mode::Part,
                               QStringLiteral("note"));
    const NoteSettings::Kind kind = endnote ? NoteSettings::Endnote : NoteSettings::Footnote;
    const NoteSettings settings = shared_.styles.noteSettings().value_or(NoteSettings());
    const QString number = settings.mark(kind, endnote ? shared_.endnotes++ : shared_.footnotes++);
    QTextCharFormat mark = currentFormat();
    mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    Notes::setNote(mark, *part, kind);
    mark.setProperty(TextFormats::kMarkIdProperty, QStringLiteral("%1-n%2").arg(shared_.idPrefix).arg(++shared_.markCount));
    if (label.isEmpty()) {
        mark.setProperty(TextFormats::kAutoTextProperty, QStringLiteral("chftn"));
        citation = number;
    } else if (citation.isEmpty()) {
        citation = label;
    }
    addRun(citation.isEmpty() ? number : citation, mark);
    lastWasSpace_ = false;
}

// A field the RTF model knows: its result shown, the field kept as RTF (for RTF and for the page
// figures of headers) and as the file's XML (for OpenDocument).
void OdtReader::readField(OdtXmlReader &xml, const QString &instruction)
{
    const QString copy = xml.copyElement();
    OdtXmlReader field = OdtXmlReader::fragment(copy, QStringLiteral("field"));
    QString result;
    while (field.next())
        if (field.isText())
            result += field.text();
    const QString kept = keptRtf("{\\field{\\*\\fldinst " + instruction.toLatin1() + "}}", QString());
    QTextCharFormat f = currentFormat();
    f.setProperty(TextFormats::kFieldsProperty, f.stringProperty(TextFormats::kFieldsProperty) + kept);
    f.setProperty(OdtFormats::kShownXmlProperty, OdtFormats::entry(nextId(), copy));
    if (result.isEmpty()) {
        keepXml(copy);
        return;
    }
    addRun(result, f);
    lastWasSpace_ = false;
}

void OdtReader::readBookmark(OdtXmlReader &xml)
{
    const QString name = xml.attribute(Text, QLatin1StringView("name"));
    const bool start = xml.name() != u"bookmark-end";
    const bool end = xml.name() != u"bookmark-start";
    xml.skipElement();
    if (name.isEmpty())
        return;
    if (start)
        keepRtf("{\\*\\bkmkstart " + KeptRtf::text(name) + '}');
    if (end)
        keepRtf("{\\*\\bkmkend " + KeptRtf::text(name) + '}');
}

// A comment: kept as it is for OpenDocument, and as an RTF annotation where it stands for other
// formats (its author, initials and paragraphs).
void OdtReader::readAnnotation(OdtXmlReader &xml)
{
    const QString copy = xml.copyElement();
    const QString id = nextId();
    keepXml(copy, id);
    OdtXmlReader comment = OdtXmlReader::fragment(copy, QStringLiteral("comment"));
    QString author, initials;
    QStringList paragraphs;
    while (comment.next()) {
        if (!comment.isStart())
            continue;
        if (comment.is(Dc, QLatin1StringView("creator"))) {
            author = comment.elementText().left(256);
        } else if (comment.is(Meta, QLatin1StringView("creator-initials")) || comment.name() == u"sender-initials") {
            initials = comment.elementText().left(64);
        } else if (comment.ns() == Text && (comment.name() == u"p" || comment.name() == u"h")) {
            paragraphs.append(textOf(comment.copyElement()));
        }
    }
    QByteArray rtf = "{\\*\\atnid " + KeptRtf::text(initials) + "}{\\*\\atnauthor " + KeptRtf::text(author)
                   + "}\\chatn{\\*\\annotation\\pard\\plain";
    for (const QString &paragraph : std::as_const(paragraphs))
        rtf += ' ' + KeptRtf::text(paragraph) + "\\par";
    keepRtf(rtf + '}', id);
}

// The text of kept XML, its paragraphs and line breaks apart (U+2028), the white space of the XML
// collapsed as OpenDocument does.
QString OdtReader::textOf(const QString &copy)
{
    OdtXmlReader kept = OdtXmlReader::fragment(copy, QStringLiteral("kept element"));
    QString text;
    bool paragraph = false;
    bool space = true; // white space of the XML counts once, and not at the start
    auto add = [&](QChar c) {
        text += c;
        space = c == u' ';
    };
    while (kept.next()) {
        if (kept.isText()) {
            for (const QChar c : kept.text()) {
                if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                    add(c);
                else if (!space)
                    add(u' ');
            }
        } else if (kept.isStart() && kept.ns() == Text && (kept.name() == u"p" || kept.name() == u"h")) {
            if (paragraph)
                add(QChar(0x2028));
            paragraph = true;
        } else if (kept.isStart() && kept.is(Text, QLatin1StringView("s"))) {
            add(u' ');
        } else if (kept.isStart() && kept.is(Text, QLatin1StringView("tab"))) {
            add(u'\t');
        } else if (kept.isStart() && kept.is(Text, QLatin1StringView("line-break"))) {
            add(QChar(0x2028));
        }
    }
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// An element the program cannot show: kept, and its text shown where it has some.
void OdtReader::keepElement(OdtXmlReader &xml)
{
    keepCopy(xml.copyElement());
}

void OdtReader::keepCopy(const QString &copy)
{
    const QString text = textOf(copy);
    if (text.isEmpty() || mode_ == Mode::Display)
        keepXml(copy);
    else
        showKept(copy, text);
}

void OdtReader::showKept(const QString &xml, const QString &text)
{
    QTextCharFormat f = currentFormat();
    f.setProperty(OdtFormats::kShownXmlProperty, OdtFormats::entry(nextId(), xml));
    addRun(text, f);
    lastWasSpace_ = false;
}

void OdtReader::keepXml(const QString &xml, const QString &id)
{
    if (mode_ == Mode::Display)
        return;
    pendingKept_ += OdtFormats::entry(id.isEmpty() ? nextId() : id, xml);
}

void OdtReader::keepRtf(const QByteArray &rtf, const QString &id)
{
    if (mode_ == Mode::Display)
        return;
    pendingRtf_ += keptRtf(rtf, id.isEmpty() ? nextId() : id);
}

QString OdtReader::keptRtf(const QByteArray &rtf, const QString &id)
{
    return KeptRtf::make(
        rtf, [](int) { return KeptRtf::Font{QStringLiteral("Liberation Serif"), 0, 0}; },
        [](int) { return QColor(); }, id, RtfGroupCopier());
}

// A frame: a picture (inline, or floating beside the text), a text box (kept, its text shown), or
// an object (kept, its picture shown).
void OdtReader::readFrame(OdtXmlReader &xml)
{
    const QString copy = xml.copyElement();
    OdtXmlReader frame = OdtXmlReader::fragment(copy, QStringLiteral("frame"));
    frame.next();
    const QString anchor = frame.attribute(Text, QLatin1StringView("anchor-type"));
    const QSizeF size(OdtUnits::pixels(frame.attribute(Svg, QLatin1StringView("width"))).value_or(0),
                      OdtUnits::pixels(frame.attribute(Svg, QLatin1StringView("height"))).value_or(0));
    const QString styleName = frame.attribute(Draw, QLatin1StringView("style-name"));
    QString frameAttributes;
    for (const QXmlStreamAttribute &a : frame.attributes()) {
        const QString n = frame.qualified(a);
        if (!n.isEmpty() && n != u"svg:width" && n != u"svg:height")
            frameAttributes += n + QLatin1StringView("=\"") + OdtXmlText::escaped(a.value(), true) + QLatin1StringView("\" ");
    }
    QString href, textBox;
    QByteArray data;
    bool object = false, other = false;
    const int depth = frame.depth();
    while (frame.next() && frame.depth() >= depth) {
        if (!frame.isStart())
            continue;
        if (frame.is(Draw, QLatin1StringView("image")) && href.isEmpty() && data.isEmpty()) {
            href = frame.attribute(XLink, QLatin1StringView("href"));
            if (href.startsWith(QLatin1StringView("./")))
                href = href.mid(2);
            const int imageDepth = frame.depth();
            while (frame.next() && frame.depth() >= imageDepth)
                if (frame.isStart() && frame.is(Office, QLatin1StringView("binary-data")))
                    data = QByteArray::fromBase64(frame.elementText().toLatin1());
        } else if (frame.is(Draw, QLatin1StringView("text-box"))) {
            textBox = frame.copyElement();
        } else if (frame.is(Draw, QLatin1StringView("object")) || frame.is(Draw, QLatin1StringView("object-ole"))
                   || frame.is(Draw, QLatin1StringView("plugin")) || frame.is(Draw, QLatin1StringView("applet"))) {
            object = true;
            frame.skipElement();
        } else if (frame.is(Svg, QLatin1StringView("title")) || frame.is(Svg, QLatin1StringView("desc"))
                   || frame.is(Draw, QLatin1StringView("contour-polygon")) || frame.is(Draw, QLatin1StringView("contour-path"))) {
            frame.skipElement();
        } else {
            other = true;
            frame.skipElement();
        }
    }
    if (!textBox.isEmpty() && mode_ != Mode::Display) {
        showKeptPart(copy, textBox);
        return;
    }
    QTextImageFormat image = href.isEmpty() && data.isEmpty() ? QTextImageFormat()
                                                              : shared_.pictures.load(doc_, href, data, size);
    if (!image.isValid() || image.name().isEmpty()) {
        keepCopy(copy);
        return;
    }
    QTextImageFormat format;
    format.merge(currentFormat());
    format.merge(image);
    if (object || other || !textBox.isEmpty()) { // shows its picture, written back as it was
        format.setProperty(OdtFormats::kShownXmlProperty, OdtFormats::entry(nextId(), copy));
        addRun(QString(QChar::ObjectReplacementCharacter), format);
        lastWasSpace_ = false;
        return;
    }
    const OdtStyleSheet::Properties graphic = shared_.styles.resolved(QStringLiteral("graphic"), styleName).props[OdtStyleSheet::GraphicProps];
    QString styleAttributes;
    if (const OdtStyleSheet::Style *own = shared_.styles.style(QStringLiteral("graphic"), styleName); own && own->automatic)
        styleAttributes = OdtStyleFormats::unshown(own->props[OdtStyleSheet::GraphicProps], OdtStyleSheet::GraphicProps);
    const QString attributes = frameAttributes.trimmed() + QChar(0x1) + styleAttributes;
    if (anchor == u"as-char" || anchor.isEmpty() || mode_ == Mode::Display || tableLevel_ > 0) {
        format.setProperty(OdtFormats::kFrameAttributesProperty, attributes);
        addRun(QString(QChar::ObjectReplacementCharacter), format);
        lastWasSpace_ = false;
        return;
    }
    // Anchored to the paragraph: it floats beside the text, or stands on a line of its own.
    const QString wrap = graphic.value(QStringLiteral("style:wrap"));
    const QString horizontal = graphic.value(QStringLiteral("style:horizontal-pos"));
    Float f;
    f.image = format;
    if (wrap == u"none" || wrap == u"run-through" || wrap.isEmpty() || horizontal == u"center")
        f.frame.setPosition(QTextFrameFormat::InFlow);
    else if (wrap == u"left" || (wrap != u"right" && (horizontal == u"right" || horizontal == u"outside")))
        f.frame.setPosition(QTextFrameFormat::FloatRight); // the text runs on its left
    else
        f.frame.setPosition(QTextFrameFormat::FloatLeft);
    f.frame.setWidth(format.width());
    f.frame.setBorder(0);
    f.frame.setPadding(0);
    f.frame.setMargin(0);
    if (f.frame.position() == QTextFrameFormat::FloatRight)
        f.frame.setLeftMargin(OdtUnits::pixels(graphic.value(QStringLiteral("fo:margin-left"))).value_or(12));
    else if (f.frame.position() == QTextFrameFormat::FloatLeft)
        f.frame.setRightMargin(OdtUnits::pixels(graphic.value(QStringLiteral("fo:margin-right"))).value_or(12));
    f.frame.setProperty(OdtFormats::kFrameAttributesProperty, attributes);
    f.frame.setProperty(TextFormats::kShapeProperty, shapeRtf(f.frame, format));
    floats_.push_back(f);
}

// A floating picture as the RTF model keeps it: a shape that the RTF writer puts the picture in.
QString OdtReader::shapeRtf(const QTextFrameFormat &frame, const QTextImageFormat &image)
{
    const int width = TextFormats::roundedTwips(image.width()), height = TextFormats::roundedTwips(image.height());
    const bool inFlow = frame.position() == QTextFrameFormat::InFlow;
    const bool right = frame.position() == QTextFrameFormat::FloatRight;
    QByteArray rtf = "{\\shp{\\*\\shpinst\\shpleft0\\shptop0\\shpright" + QByteArray::number(width) + "\\shpbottom"
                   + QByteArray::number(height) + "\\shpfhdr0\\shpbxcolumn\\shpbxignore\\shpbypara\\shpbyignore\\shpwr"
                   + (inFlow ? "1" : "2") + "\\shpwrk0\\shpfblwtxt0\\shpz0{\\sp{\\sn shapeType}{\\sv 75}}"
                   + "{\\sp{\\sn posh}{\\sv " + (inFlow ? "2" : right ? "3" : "1") + "}}{\\sp{\\sn posrelh}{\\sv 0}}"
                   + "{\\sp{\\sn posv}{\\sv 0}}{\\sp{\\sn posrelv}{\\sv 2}}}}";
    return keptRtf(rtf, QString());
}

// A text box: kept whole, its text (and pictures) shown where it stands.
void OdtReader::showKeptPart(const QString &xml, const QString &content)
{
    const auto shown = readPart(content, Mode::Display, QStringLiteral("text box"));
    const QString kept = OdtFormats::entry(nextId(), xml);
    bool any = false;
    for (QTextBlock b = shown->begin(); b.isValid(); b = b.next()) {
        if (any && b != shown->begin()) {
            QTextCharFormat f = b.charFormat();
            f.setProperty(OdtFormats::kShownXmlProperty, kept);
            addRun(QString(QChar(0x2028)), f);
        }
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                const QString name = f.toImageFormat().name();
                doc_.addResource(QTextDocument::ImageResource, QUrl(name),
                                 shown->resource(QTextDocument::ImageResource, QUrl(name)));
            }
            f.setProperty(OdtFormats::kShownXmlProperty, kept);
            f.clearProperty(TextFormats::kFieldsProperty);
            addRun(fragment.text(), f);
            any = true;
        }
    }
    if (!any)
        keepXml(xml);
    lastWasSpace_ = false;
}
