// The RTF reader's kept RTF, parts (headers, notes, shapes shown as text), fields and styles.
#include "rtf/RtfReader.h"
#include "rtf/SafeText.h"
#include "rtf/DocumentExtras.h"
#include "rtf/FieldValue.h"
#include "rtf/RtfWriter.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>

#include <algorithm>

using namespace RtfValues;
using D = RtfDestination;

namespace {

// Whether a \sp group names the shape's picture: {\sp{\sn pib}...}.
bool isPictureProperty(QByteArrayView word, RtfTokenizer rest)
{
    if (word != QByteArrayView("sp"))
        return false;
    // As shapeHasPicture() reads it: text before the name's group and before \sn is nothing.
    RtfToken open = rest.next();
    while (open.type == RtfToken::Text)
        open = rest.next();
    if (open.type != RtfToken::GroupOpen)
        return false;
    RtfToken name = rest.next();
    while (name.type == RtfToken::Text)
        name = rest.next();
    if (name.type != RtfToken::ControlWord || name.data != QByteArrayView("sn"))
        return false;
    const RtfToken value = rest.next();
    return value.type == RtfToken::Text && value.data.trimmed() == QByteArrayView("pib");
}

} // namespace

// The group's bytes, from its brace to `end`, after its closing brace when it has one.
void RtfReader::finishCapture(const RtfGroupState &group, qsizetype end, bool closed)
{
    const QByteArrayView input = tokenizer_.input();
    end = qBound(group.contentPos, end, input.size());
    QByteArrayView whole = input.sliced(group.openPos, end - group.openPos);
    const qsizetype contentEnd = qMax(group.contentPos, closed ? end - 1 : end);
    QByteArrayView content = input.sliced(group.contentPos, contentEnd - group.contentPos);
    // A group cut off by the end of the file is read as it will be written back: closed.
    QByteArray closedWhole, closedContent;
    if (!closed) {
        RtfGroupCopier().copy(whole, closedWhole);
        RtfGroupCopier().copy(content, closedContent);
        whole = closedWhole;
        content = closedContent;
    }
    switch (group.capture) {
    case CaptureKept: keepHere(whole); break;
    case CaptureNote: note(content); break;
    case CaptureShape: showKeptShape(whole); break;
    default:
        if (group.capture >= CaptureHeader && group.capture < CaptureHeader + HeaderFooter::kKinds)
            headerFooter(group.capture - CaptureHeader, content);
        break;
    }
}

QString RtfReader::keep(QByteArrayView rtf, bool withId, RtfGroupCopier copier)
{
    if (rtf.isEmpty() || rtf.size() > keptBudget_)
        return QString();
    keptBudget_ -= rtf.size();
    const QString id = withId ? idPrefix_ + u'-' + QString::number(++keptCount_) : QString();
    copier.fontAfterPlain = defaultFont_;
    return KeptRtf::make(
        rtf, [this](int n) { return keptFont(n); },
        [this](int i) { return i > 0 && i < colors_.size() ? colors_[i] : QColor(); }, id, std::move(copier));
}

// Keeps RTF where it stands. Where hidden text (\v) is in force it is kept inside {\v ...}: it is
// written back where the text is not hidden, and a field or shape that showed nothing would show
// its result when read again.
void RtfReader::keepHere(QByteArrayView rtf)
{
    if (!top().chars.hidden || rtf.isEmpty()) {
        appendKept(rtf);
        return;
    }
    QByteArray hidden = "{\\v";
    if (!rtf.startsWith('{') && !rtf.startsWith('\\'))
        hidden += ' ';
    hidden += rtf;
    hidden += '}';
    appendKept(hidden);
}

// Keeps RTF as it is: in the head of the file, or before the text that comes next.
void RtfReader::appendKept(QByteArrayView rtf)
{
    if (!hiddenText_.isEmpty())
        flushHidden(); // what stood before it comes first
    if (mode_ == Mode::Display)
        return;
    QByteArray named;
    const int inherited = inheritedFontToName();
    if (inherited >= 0) {
        RtfGroupCopier copier;
        copier.inheritedFont = inherited;
        copier.fontAfterPlain = defaultFont_;
        if (copier.copy(rtf, named))
            rtf = named;
    }
    if (pendingKept_.size() + keptHead_.size() + rtf.size() > keptBudget_)
        return;
    if (mode_ == Mode::Document && !bodyStarted_)
        keptHead_.append(rtf);
    else
        pendingKept_.append(rtf);
}

QString RtfReader::takePendingKept()
{
    const QString kept = keep(pendingKept_, true);
    pendingKept_.clear();
    return kept;
}

KeptRtf::Font RtfReader::keptFont(int number) const
{
    KeptRtf::Font kept;
    const Font *f = font(number);
    if (!f) {
        kept.name = doc_.defaultFont().family();
        if (ansiCodePage_ != RtfTextDecoder::kDefaultCodePage)
            kept.codePage = ansiCodePage_;
        return kept;
    }
    kept.name = f->name.isEmpty() ? doc_.defaultFont().family() : f->name;
    kept.charset = f->charset;
    kept.codePage = f->codePage;
    // Written back under \ansicpg1252, a font of the document's own code page names it.
    if (kept.codePage <= 0 && f->charsetCodePage <= 0 && ansiCodePage_ != RtfTextDecoder::kDefaultCodePage)
        kept.codePage = ansiCodePage_;
    return kept;
}

// The font in force where its code page is not the one written files are read in: kept RTF names
// it before 8-bit text that stands in it (-1 where none needs naming).
int RtfReader::inheritedFontToName()
{
    const int number = top().chars.font >= 0 ? top().chars.font : defaultFont_;
    return codePageOf(font(number)) != RtfTextDecoder::kDefaultCodePage ? number : -1;
}

// Hidden text is kept as RTF, written back as it was and not shown.
QString *RtfReader::hiddenText()
{
    if (mode_ == Mode::Display)
        return nullptr;
    bodyStarted_ = true;
    // Hidden text of another look starts a group of its own; only what the group says counts.
    const RtfCharProps &c = top().chars, &h = hiddenProps_;
    const bool sameLook = font(c.font) == font(h.font) && c.halfPoints == h.halfPoints && c.bold == h.bold
                       && c.italic == h.italic && c.foreground == h.foreground;
    if (!hiddenText_.isEmpty() && !sameLook)
        flushHidden();
    hiddenProps_ = top().chars;
    return &hiddenText_;
}

void RtfReader::flushHidden()
{
    if (hiddenText_.isEmpty())
        return;
    const RtfCharProps &c = hiddenProps_;
    // A group of its own, whatever surrounds it when written back.
    QByteArray group = "{\\plain\\v\\f" + QByteArray::number(c.font >= 0 ? c.font : defaultFont_);
    group += "\\fs" + QByteArray::number(c.halfPoints);
    if (c.bold)
        group += "\\b";
    if (c.italic)
        group += "\\i";
    if (c.foreground > 0 && c.foreground < colors_.size() && colors_[c.foreground].isValid())
        group += "\\cf" + QByteArray::number(c.foreground);
    group += ' ';
    for (const QChar ch : std::as_const(hiddenText_)) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}')
            group += QByteArray("\\") + char(u);
        else if (u == '\t')
            group += "\\tab ";
        else if (u == 0x2028)
            group += "\\line ";
        else if (u >= 0x20 && u < 0x80)
            group += char(u);
        else
            group += "\\u" + QByteArray::number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
    }
    group += '}';
    hiddenText_.clear();
    appendKept(group); // hidden already
}

std::unique_ptr<QTextDocument> RtfReader::readPart(QByteArrayView content, Mode mode, const QString &noteMark,
                                                   bool readsNotes)
{
    auto part = std::make_unique<QTextDocument>();
    part->setDefaultFont(doc_.defaultFont());
    part->setUndoRedoEnabled(false);
    part->setLayoutEnabled(false);
    QTextCursor cursor(part.get());
    cursor.beginEditBlock();
    RtfReader reader(content, *part, *this, mode, noteMark);
    reader.readsNotes_ = readsNotes;
    reader.read();
    cursor.endEditBlock();
    pictureBudget_ = reader.pictureBudget_;
    pixelBudget_ = reader.pixelBudget_;
    keptBudget_ = reader.keptBudget_;
    return part;
}

// A part as standalone RTF, with the styles it uses.
QByteArray RtfReader::partRtf(QTextDocument &part) const
{
    DocumentExtras::of(part).setStyles(documentStyles_);
    return RtfWriter(part, RtfWriter::Part).write();
}

void RtfReader::headerFooter(int kind, QByteArrayView content)
{
    headerRead_[std::size_t(kind)] = true;
    // A note in a header is read as one, as reading the header's own RTF back would.
    const auto part = readPart(content, Mode::Part, QString(), true);
    headersFooters_[std::size_t(kind)] = partRtf(*part);
}

// \chftn: the mark of the note that follows, numbered once the note says what it is.
void RtfReader::noteMark()
{
    if (top().destination != D::Body || mode_ == Mode::Display)
        return;
    if (mode_ == Mode::Part) { // in a note, its own number; in a header, nothing to number
        if (noteMark_.isEmpty())
            return;
        Run &run = runs_[std::size_t(newRun(top().chars))];
        run.text = noteMark_;
        extraOf(run).autoText = QStringLiteral("chftn");
        return;
    }
    numberPendingMark();
    pendingMark_ = newRun(top().chars);
    extraOf(runs_[std::size_t(pendingMark_)]).noteMark = true;
}

// A note mark whose note did not come (or was too many to read) shows the number it would have.
void RtfReader::numberPendingMark()
{
    if (pendingMark_ >= 0 && pendingMark_ < int(runs_.size())) {
        Run &mark = runs_[std::size_t(pendingMark_)];
        mark.text = settings_.notes().mark(NoteSettings::Footnote, footnotes_++);
        extraOf(mark).autoText = QStringLiteral("chftn");
        extraOf(mark).noteMark = false;
    }
    pendingMark_ = -1;
}

void RtfReader::note(QByteArrayView content)
{
    ++notes_;
    // An endnote says so with \ftnalt before its text.
    bool endnote = false;
    RtfTokenizer t(content);
    for (int depth = 0, i = 0; i < 256; ++i) {
        const RtfToken token = t.next();
        if (token.type == RtfToken::End || (token.type == RtfToken::Text && depth == 0))
            break;
        if (token.type == RtfToken::GroupOpen)
            ++depth;
        else if (token.type == RtfToken::GroupClose)
            --depth;
        else if (token.type == RtfToken::ControlWord && depth == 0 && token.data == QByteArrayView("ftnalt"))
            endnote = true;
    }
    const NoteSettings::Kind kind = endnote ? NoteSettings::Endnote : NoteSettings::Footnote;
    const QString mark = settings_.notes().mark(kind, endnote ? endnotes_++ : footnotes_++);
    const auto part = readPart(content, Mode::Part, mark);
    Run *markRun = nullptr;
    if (pendingMark_ >= 0 && pendingMark_ < int(runs_.size())) {
        markRun = &runs_[std::size_t(pendingMark_)];
        markRun->text = mark;
        extraOf(*markRun).autoText = QStringLiteral("chftn");
    } else if (!runs_.empty() && !runs_.back().text.isEmpty() && runs_.back().image < 0
               && (runs_.back().props.script == Superscript || runs_.back().props.offset > 0)
               && (runs_.back().extra < 0 || extras_[std::size_t(runs_.back().extra)].note.isEmpty())) {
        markRun = &runs_.back(); // a mark of the file's own, raised like a number would be
    } else {
        RtfCharProps raised = top().chars;
        raised.script = Superscript;
        markRun = &runs_[std::size_t(newRun(raised))];
        markRun->text = mark;
        extraOf(*markRun).autoText = QStringLiteral("chftn");
    }
    RunExtra &extra = extraOf(*markRun);
    extra.noteMark = false;
    extra.note = TextFormats::rtfOf(partRtf(*part));
    extra.noteKind = kind;
    pendingMark_ = -1;
}

// Whether the shape about to be read has a picture of its own (its pib property).
bool RtfReader::shapeHasPicture() const
{
    RtfTokenizer t = tokenizer_;
    for (int depth = 1; depth > 0;) {
        const RtfToken token = t.next();
        switch (token.type) {
        case RtfToken::End: return false;
        case RtfToken::GroupOpen: ++depth; break;
        case RtfToken::GroupClose: --depth; break;
        case RtfToken::ControlWord:
            if (token.data == QByteArrayView("sn")) {
                const RtfToken name = t.next();
                if (name.type == RtfToken::Text && name.data.trimmed() == QByteArrayView("pib"))
                    return true;
                if (name.type == RtfToken::GroupClose)
                    --depth;
                else if (name.type == RtfToken::GroupOpen)
                    ++depth;
            }
            break;
        default: break;
        }
    }
    return false;
}

// A shape with a picture and wrapping words floats beside the text (or, where it cannot, stands
// on a line of its own) in a frame before its paragraph; without wrapping words it stays where
// it stands, in the text.
void RtfReader::leaveShape(const RtfGroupState &closed)
{
    if (shapeDraft_.number < 0 || shapeDraft_.openPos != closed.openPos)
        return; // not the shape's own group
    const ShapeDraft shape = shapeDraft_;
    shapeDraft_ = ShapeDraft();
    if (images_.size() == shape.firstImage) { // its picture was not where a picture goes
        keepWhole(closed);
        return;
    }
    if (shape.wrap < 0 || images_.size() != shape.firstImage + 1)
        return;
    // Text the shape showed beside its picture, or RTF it kept, would be written twice, and
    // kept again within the shape: the shape stays in the text as it was read. RTF kept before
    // the shape, which its picture took, is written before the shape.
    const bool showedMore = runs_.size() < shape.firstRun || pendingKept_.size() > shape.keptAt
        || std::any_of(runs_.begin() + qsizetype(shape.firstRun), runs_.end(), [&](const Run &r) {
               const bool keptBefore = r.image == int(shape.firstImage) && shape.keptOnlyBefore;
               return (r.image < 0 && !r.text.isEmpty())
                   || (r.extra >= 0 && !extras_[std::size_t(r.extra)].kept.isEmpty() && !keptBefore);
           });
    if (showedMore)
        return;
    const auto run = std::find_if(runs_.begin(), runs_.end(), [&](const Run &r) { return r.image == int(shape.firstImage); });
    if (run == runs_.end())
        return;
    RtfGroupCopier copier;
    copier.skipGroup = [](QByteArrayView word, RtfTokenizer rest) {
        return word == QByteArrayView("shprslt") || word == QByteArrayView("pict") || isPictureProperty(word, rest);
    };
    copier.inheritedFont = inheritedFontToName();
    const QString kept = keep(tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos), false,
                              copier);
    if (kept.isEmpty())
        return;
    Float f;
    f.image = runFormat(*run).toImageFormat();
    runs_.erase(run);
    const bool beside = shape.wrap == 2 || shape.wrap == 4 || shape.wrap == 5;
    const bool right = shape.horizontal == 3 || shape.horizontal == 5 || (shape.horizontal < 0 && shape.left > 4680);
    if (!beside || shape.horizontal == 2)
        f.frame.setPosition(QTextFrameFormat::InFlow);
    else
        f.frame.setPosition(right ? QTextFrameFormat::FloatRight : QTextFrameFormat::FloatLeft);
    f.frame.setWidth(f.image.width());
    f.frame.setBorder(0);
    f.frame.setPadding(0);
    f.frame.setMargin(0);
    if (beside && shape.horizontal != 2) // the text keeps a little distance
        right ? f.frame.setLeftMargin(TextFormats::twipsToPixels(180)) : f.frame.setRightMargin(TextFormats::twipsToPixels(180));
    f.frame.setProperty(TextFormats::kShapeProperty, kept);
    floats_.push_back(f);
}

// A drawing or text box, kept as it is and shown as the text it holds.
void RtfReader::showKeptShape(QByteArrayView shape)
{
    // What shows is read from what is kept, so that reading the written file shows the same.
    const auto shown = readPart(KeptRtf::asKept(shape), Mode::Display);
    if (shown->isEmpty() || shown->characterCount() <= 1) {
        keepHere(shape);
        return;
    }
    RtfGroupCopier copier;
    copier.inheritedFont = inheritedFontToName();
    const QString kept = keep(shape, true, copier);
    if (kept.isEmpty())
        return;
    ++keptShapes_;
    if (picturePrefix_.isEmpty())
        picturePrefix_ = QStringLiteral("rtfimage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto add = [&](const QString &text, const QTextCharFormat &format) {
        Run &run = runs_[std::size_t(newRun(top().chars))];
        run.text = text;
        RunExtra &extra = extraOf(run);
        extra.format = format;
        extra.shownOnly = kept;
    };
    for (QTextBlock b = shown->begin(); b.isValid(); b = b.next()) {
        if (b != shown->begin())
            add(QString(QChar(0x2028)), b.charFormat());
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                // The picture comes along under a name of this document.
                QTextImageFormat image = format.toImageFormat();
                const QString name = picturePrefix_ + QStringLiteral("-%1").arg(++pictureCount_);
                doc_.addResource(QTextDocument::ImageResource, QUrl(name),
                                 shown->resource(QTextDocument::ImageResource, QUrl(image.name())));
                image.setName(name);
                format = image;
            }
            add(fragment.text(), format);
        }
    }
}

// A group (field, object) whose result showed nothing is kept whole, in place of what was kept
// from inside it.
void RtfReader::keepWhole(const RtfGroupState &closed)
{
    flushHidden();
    if (closed.shownAt != shownCount_)
        return; // it showed its result, or something
    pendingKept_.truncate(qMin(pendingKept_.size(), closed.keptAt));
    keptHead_.truncate(qMin(keptHead_.size(), closed.headKeptAt));
    keepHere(tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos));
}

void RtfReader::leaveField(const RtfGroupState &closed)
{
    if (closed.field < 0 || closed.outer != D::Body)
        return;
    const Field &f = fields_[std::size_t(closed.field)];
    if (f.openPos != closed.openPos)
        return; // not the field's own group
    if (closed.shownAt == shownCount_ && showValue(closed, f))
        return;
    if (mode_ != Mode::Display)
        keepWhole(closed);
}

// A field whose file stores no result shows its value, if it has one of its own (a symbol, the
// date); it is kept as a field with that result, so that it is written back to be updated.
bool RtfReader::showValue(const RtfGroupState &closed, const Field &f)
{
    if (closed.chars.hidden)
        return false;
    const std::optional<FieldValue> value = FieldValue::of(f.instruction, QDateTime::currentDateTime());
    if (!value)
        return false;
    RtfCharProps props = closed.chars;
    props.link = -1;
    props.fields = -1;
    if (mode_ != Mode::Display) {
        // The field's group without its result; with none, the whole group.
        props.fields = f.wrapper >= 0 ? f.wrapper : fieldWrapper(closed.openPos, tokenizer_.position() - 1, false);
        if (props.fields < 0)
            return false;
    }
    flushHidden();
    pendingKept_.truncate(qMin(pendingKept_.size(), closed.keptAt)); // what was kept inside is in the group
    Run &run = runs_[std::size_t(newRun(props))];
    run.text = value->text;
    if (!value->family.isEmpty() || value->pointSize > 0) {
        QTextCharFormat format = charFormat(props);
        if (!value->family.isEmpty())
            TextFormats::setFamily(format, value->family);
        if (value->pointSize > 0)
            format.setFontPointSize(value->pointSize);
        extraOf(run).format = format;
    }
    return true;
}

// A wrapper for the field (or object) whose group runs from `from` to its result at `to`.
int RtfReader::fieldWrapper(qsizetype from, qsizetype to, bool link)
{
    Wrapper w;
    w.parent = top().chars.fields;
    if (!link) {
        QByteArray group = tokenizer_.input().sliced(from, qMax(from, to) - from).toByteArray();
        group += '}';
        w.kept = keep(group, false);
        if (w.kept.isEmpty())
            return -1;
    }
    wrappers_.push_back(w);
    return int(wrappers_.size()) - 1;
}

void RtfReader::leaveStyle(const RtfGroupState &closed)
{
    QString name = SafeText::printable(styleDraft_.name).trimmed();
    if (name.endsWith(u';'))
        name.chop(1);
    styleDraft_.name = name.trimmed();
    const QByteArrayView entry = tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos);
    if (entry.size() <= keptBudget_)
        styleDraft_.source = entry.toByteArray();
    styles_.add(styleDraft_);
    styleDraft_ = RtfStyleSheet::Style();
}

// Each style's formatting on its own, for the document's stylesheet. Its entry is kept with the
// font and colour tables its formatting is read with: a stylesheet may come before them, or a
// style may be read again after them (the entry kept earlier stays where keeping it again fails).
void RtfReader::finishStyles()
{
    const bool keepAgain = definitionsRevision_ != tablesRevision_;
    definitionsRevision_ = tablesRevision_;
    documentStyles_.clear();
    for (const int number : styles_.numbers()) {
        const RtfStyleSheet::Style *s = styles_.find(number);
        RtfCharProps c;
        RtfParaProps p;
        for (const RtfStyleSheet::Word &w : styles_.resolved(number)) {
            characterWord(c, w.word, w.value);
            paragraphWord(p, w.word, w.value);
        }
        DocumentStyle style;
        style.number = number;
        style.kind = s->kind;
        style.name = s->name.isEmpty() ? QStringLiteral("#%1").arg(number) : s->name;
        style.basedOn = s->basedOn;
        style.next = s->next;
        style.charFormat = charFormat(c);
        style.blockFormat = blockFormat(p, nullptr);
        if (keepAgain || !styleDefinitions_.contains(number)) {
            const QString kept = keep(s->source, false);
            if (!kept.isEmpty() || !styleDefinitions_.contains(number))
                styleDefinitions_.insert(number, kept);
        }
        style.definition = styleDefinitions_.value(number);
        documentStyles_.append(style);
    }
    formats_.clear(); // formats made from here on name their styles
}
