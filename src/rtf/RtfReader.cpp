#include "rtf/RtfReader.h"
#include "rtf/DocumentExtras.h"
#include "rtf/RtfWriter.h"
#include "rtf/TextFormats.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>

#include <algorithm>

using namespace RtfValues;
using D = RtfDestination;

namespace {

bool isHighSurrogate(int c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(int c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters that must not reach a QTextDocument as text: its own structure markers and the
// object character, which only pictures may carry.
bool isReserved(char32_t c)
{
    return (c >= 0xFDD0 && c <= 0xFDEF) || c == 0xFFFC || c == 0xFFFE || c == 0xFFFF || c > 0x10FFFF;
}

bool showsSymbols(RtfDestination d)
{
    return d == RtfDestination::Body || d == RtfDestination::ListText || d == RtfDestination::OldListTextBefore
        || d == RtfDestination::OldListTextAfter;
}

// The quoted or bare arguments of a field instruction, with its switches.
QStringList fieldArguments(const QString &instruction)
{
    QStringList args;
    const qsizetype n = instruction.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && instruction[i].isSpace())
            ++i;
        if (i >= n)
            break;
        QString arg;
        if (instruction[i] == u'"') {
            ++i;
            while (i < n && instruction[i] != u'"')
                arg += instruction[i++];
            ++i;
        } else {
            while (i < n && !instruction[i].isSpace())
                arg += instruction[i++];
        }
        args.append(arg);
    }
    return args;
}

// Links that may be followed from a document; script and data URLs are not.
bool isSafeLink(const QString &url)
{
    const QString scheme = QUrl(url).scheme().toLower();
    return scheme != u"javascript" && scheme != u"vbscript" && scheme != u"data";
}

constexpr const char *kInfoTexts[] = {"title", "subject", "author", "manager", "company", "operator",
                                      "category", "keywords", "comment", "doccomm", "hlinkbase"};
constexpr const char *kInfoTimes[] = {"creatim", "revtim", "printim", "buptim"};

template <std::size_t N>
int indexOf(const char *const (&names)[N], QByteArrayView word)
{
    for (std::size_t i = 0; i < N; ++i)
        if (word == QByteArrayView(names[i]))
            return int(i);
    return -1;
}

// Whether a \sp group names the shape's picture: {\sp{\sn pib}...}.
bool isPictureProperty(QByteArrayView word, RtfTokenizer rest)
{
    if (word != QByteArrayView("sp"))
        return false;
    if (rest.next().type != RtfToken::GroupOpen)
        return false;
    const RtfToken name = rest.next();
    if (name.type != RtfToken::ControlWord || name.data != QByteArrayView("sn"))
        return false;
    const RtfToken value = rest.next();
    return value.type == RtfToken::Text && value.data.trimmed() == QByteArrayView("pib");
}

} // namespace

RtfReader::RtfReader(QByteArrayView rtf, QTextDocument &doc)
    : doc_(doc), tokenizer_(rtf), builder_(doc)
{
    stack_.reserve(64);
    stack_.emplace_back();
    idPrefix_ = QString::number(QRandomGenerator::global()->generate64(), 36);
    builder_.setListGroupPrefix(idPrefix_);
    for (auto &p : rowPadding_)
        p.fill(-1);
}

// A reader for a part of the parent's document (a header, a note, a shape shown as text), with
// the parent's tables, starting in the parent's formatting.
RtfReader::RtfReader(QByteArrayView rtf, QTextDocument &doc, RtfReader &parent, Mode mode, const QString &noteMark)
    : doc_(doc), mode_(mode), tokenizer_(rtf), builder_(doc)
{
    stack_.reserve(64);
    stack_.emplace_back();
    RtfGroupState start = parent.top();
    start.destination = start.outer = D::Body;
    start.field = start.shape = -1;
    start.starred = false;
    start.capture = NoCapture;
    start.infoField = -1;
    start.object = -1;
    start.chars.link = start.chars.fields = -1;
    stack_.push_back(start);
    bodyStarted_ = true;
    ansiCodePage_ = parent.ansiCodePage_;
    defaultFont_ = parent.defaultFont_;
    fonts_ = parent.fonts_;
    colors_ = parent.colors_;
    lists_ = parent.lists_;
    styles_ = parent.styles_;
    documentStyles_ = parent.documentStyles_;
    settings_ = parent.settings_;
    pictureBudget_ = parent.pictureBudget_;
    pixelBudget_ = parent.pixelBudget_;
    keptBudget_ = parent.keptBudget_;
    noteMark_ = noteMark;
    idPrefix_ = QString::number(QRandomGenerator::global()->generate64(), 36);
    builder_.setListGroupPrefix(idPrefix_);
    for (auto &p : rowPadding_)
        p.fill(-1);
}

void RtfReader::read()
{
    while (!done_) {
        const RtfToken t = tokenizer_.next();
        if (t.type == RtfToken::End)
            break;
        if (overflowSkip_ > 0) { // a destination in a group past the depth limit: skipped whole
            if (t.type == RtfToken::GroupOpen)
                ++overflowDepth_;
            else if (t.type == RtfToken::GroupClose && --overflowDepth_ < overflowSkip_)
                overflowSkip_ = 0;
            continue;
        }
        if (skipping()) {
            if (t.type == RtfToken::GroupOpen)
                ++skipDepth_;
            else if (t.type == RtfToken::GroupClose && skipDepth_ > 0)
                --skipDepth_;
            else if (t.type == RtfToken::GroupClose)
                closeGroup();
            continue;
        }
        switch (t.type) {
        case RtfToken::GroupOpen: openGroup(); break;
        case RtfToken::GroupClose: closeGroup(); break;
        case RtfToken::ControlWord: controlWord(t); break;
        case RtfToken::ControlSymbol: controlSymbol(t.byte); break;
        case RtfToken::Text: text(t.data); break;
        case RtfToken::HexByte: hexByte(t.byte); break;
        case RtfToken::Binary: binary(t.data); break;
        case RtfToken::End: break;
        }
    }
    if (done_)
        return;
    // A group being kept when the file ends is kept as far as it goes.
    if (stack_.size() >= 2 && top().capture != NoCapture) {
        const RtfGroupState open = top();
        stack_.pop_back();
        finishCapture(open, tokenizer_.input().size(), false);
    }
    finishDocument();
}

// ---------------------------------------------------------------------------------------------
// Groups and destinations

void RtfReader::openGroup()
{
    flushPending();
    unicodeFallback_ = 0;
    if (int(stack_.size()) > kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(stack_.back());
    RtfGroupState &s = top();
    s.starred = false;
    s.capture = NoCapture;
    s.openPos = tokenizer_.position() - 1;
    s.contentPos = tokenizer_.position();
    if (s.destination == D::Stylesheet) {
        s.destination = D::StyleEntry;
        styleDraft_ = RtfStyleSheet::Style();
    }
}

void RtfReader::closeGroup()
{
    flushPending();
    unicodeFallback_ = 0;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.size() < 2)
        return; // a stray closing brace
    if (stack_.size() == 2) {
        finishDocument(); // everything after the document's own group is ignored
        done_ = true;
        return;
    }
    const RtfGroupState closed = std::move(stack_.back());
    stack_.pop_back();
    if (closed.destination != top().destination || closed.capture != NoCapture)
        leaveDestination(closed);
}

// Keeps the bytes of the group just entered, to be dealt with when it closes. Only text of the
// document (or of a part) keeps anything.
bool RtfReader::capture(Capture what)
{
    RtfGroupState &s = top();
    if (mode_ == Mode::Display || s.destination != D::Body || stack_.size() <= 2)
        return false;
    s.capture = what;
    s.destination = D::Skip;
    s.contentPos = tokenizer_.position();
    return true;
}

void RtfReader::enterDestination(RtfDestination d, QByteArrayView word)
{
    RtfGroupState &s = top();
    const D current = s.destination;
    switch (d) {
    case D::Transparent:
        return;
    case D::Keep:
        if (!capture(CaptureKept))
            s.destination = D::Skip;
        return;
    case D::Header: case D::HeaderLeft: case D::HeaderRight: case D::HeaderFirst:
    case D::Footer: case D::FooterLeft: case D::FooterRight: case D::FooterFirst: {
        // The first of each kind is the document's; later ones (of later sections) are kept.
        const int kind = int(d) - int(D::Header);
        const bool own = mode_ == Mode::Document && !headerRead_[std::size_t(kind)];
        if (!capture(own ? Capture(CaptureHeader + kind) : CaptureKept))
            s.destination = D::Skip;
        return;
    }
    case D::Footnote: {
        const bool read = mode_ == Mode::Document && notes_ < kMaxNotes;
        if (!read && mode_ == Mode::Document)
            numberPendingMark(); // the mark stays, numbered, with its note kept as RTF
        if (!capture(read ? CaptureNote : CaptureKept))
            s.destination = D::Skip;
        return;
    }
    case D::Stylesheet:
    case D::Info:
        if (mode_ != Mode::Document || current != D::Body)
            d = D::Skip;
        break;
    case D::InfoText:
        if (current != D::Info) {
            if (!capture(CaptureKept))
                s.destination = D::Skip;
            return;
        }
        s.infoField = qint8(indexOf(kInfoTexts, word));
        infoText_.clear();
        break;
    case D::InfoTime:
        if (current != D::Info)
            d = D::Skip;
        s.infoField = qint8(indexOf(kInfoTimes, word));
        infoTime_ = {};
        break;
    case D::Field:
        fields_.push_back({QString(), s.field, s.openPos, -1});
        s.field = int(fields_.size()) - 1;
        s.outer = current;
        break;
    case D::FieldInstruction:
        if (s.field < 0 || current != D::Field)
            d = D::Skip;
        break;
    case D::FieldResult:
        if (s.field >= 0 && current == D::Field) {
            Field &f = fields_[std::size_t(s.field)];
            const int link = linkOf(f.instruction);
            if (link >= 0 && s.outer == D::Body)
                s.chars.link = link;
            // The field is kept without its result, which the document shows.
            if (s.outer == D::Body && mode_ != Mode::Display && f.wrapper < 0) {
                f.wrapper = fieldWrapper(f.openPos, s.openPos, link >= 0);
                if (f.wrapper >= 0)
                    s.chars.fields = f.wrapper;
            }
            s.field = f.parent;
        }
        d = s.outer;
        break;
    case D::Shape:
        if (current != D::Shape) // a shape in a group of shapes shows where the group would
            s.outer = current;
        s.shape = ++shapeCount_;
        if (current != D::Shape && current == D::Body && mode_ != Mode::Display) {
            if (!shapeHasPicture()) {
                // A drawing or text box: kept as it is, and shown as text while there are not too many.
                capture(keptShapes_ < kMaxShapes ? CaptureShape : CaptureKept);
                return;
            }
            shapeDraft_ = ShapeDraft();
            shapeDraft_.number = s.shape;
            shapeDraft_.firstImage = images_.size();
        }
        break;
    case D::Object:
        s.outer = current;
        s.object = s.openPos;
        break;
    case D::ObjectResult:
        if (s.object >= 0 && s.outer == D::Body && mode_ != Mode::Display && !objectWrappers_.contains(s.object)) {
            const int wrapper = fieldWrapper(s.object, s.openPos, false);
            objectWrappers_.insert(s.object, wrapper);
            if (wrapper >= 0)
                s.chars.fields = wrapper;
        }
        d = s.outer;
        break;
    case D::UnicodePair:
        s.outer = current;
        break;
    case D::UnicodeText:
        d = s.outer;
        break;
    case D::ShapeProperty:
        shapePropertyText_.clear();
        break;
    case D::ShapePropertyValue: {
        const QString name = shapePropertyText_.trimmed();
        shapeValueText_.clear();
        d = name == u"pib" ? s.outer : name == u"posh" ? D::ShapePropertyValue : D::Skip;
        break;
    }
    case D::ShapeResult:
        // The result repeats the shape for older readers: skip it when the shape was shown.
        d = s.shape >= 0 && s.shape == lastShownShape_ ? D::Skip : s.outer;
        break;
    case D::ShapeText:
        if (s.shape >= 0)
            lastShownShape_ = s.shape;
        d = s.outer;
        break;
    case D::ListText:
        if (current != D::Body)
            d = D::Skip;
        break;
    case D::FontTable:
        fontDraft_ = FontDraft();
        break;
    case D::List:
        listDraft_ = RtfListTable::List();
        break;
    case D::ListLevel:
        levelDraft_ = RtfListTable::Level();
        break;
    case D::LevelText:
        levelDraft_.text.clear();
        break;
    case D::ListOverride:
        overrideDraft_ = ListOverrideDraft();
        break;
    case D::OldList:
        oldListDraft_ = RtfParaProps::OldList();
        oldListDraft_.defined = true;
        break;
    case D::Picture:
        if (s.chars.hidden && current == D::Body) { // a hidden picture is kept, not shown
            if (!capture(CaptureKept))
                s.destination = D::Skip;
            return;
        }
        picture_ = RtfPicture();
        break;
    default:
        break;
    }
    s.destination = d;
}

void RtfReader::leaveDestination(const RtfGroupState &closed)
{
    if (closed.capture != NoCapture) {
        finishCapture(closed, tokenizer_.position(), true);
        return;
    }
    switch (closed.destination) {
    case D::FontTable:
        commitFont();
        formats_.clear();
        break;
    case D::ColorTable:
        formats_.clear();
        break;
    case D::ListLevel:
        if (listDraft_.levelCount < int(listDraft_.levels.size()))
            listDraft_.levels[std::size_t(listDraft_.levelCount++)] = levelDraft_;
        break;
    case D::List:
        lists_.addList(listDraft_);
        break;
    case D::ListOverride:
        lists_.addOverride(overrideDraft_.override, overrideDraft_.listId);
        break;
    case D::OldList:
        top().para.oldList = oldListDraft_;
        break;
    case D::Picture:
        if (top().destination == D::Body && !top().chars.hidden)
            insertPicture();
        break;
    case D::Shape:
        leaveShape(closed);
        break;
    case D::ShapePropertyValue:
        if (shapeDraft_.number >= 0)
            shapeDraft_.horizontal = shapeValueText_.trimmed().toInt();
        break;
    case D::Field:
        leaveField(closed);
        break;
    case D::Object: {
        // An object that showed nothing is kept whole.
        const int wrapper = objectWrappers_.value(closed.object, -1);
        if ((wrapper < 0 || !wrappers_[std::size_t(wrapper)].shown) && closed.outer == D::Body
            && mode_ != Mode::Display)
            keepHere(tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos));
        break;
    }
    case D::StyleEntry:
        if (top().destination == D::Stylesheet)
            leaveStyle(closed);
        break;
    case D::Stylesheet:
        finishStyles();
        break;
    case D::InfoText:
    case D::InfoTime:
        leaveInfo(closed);
        break;
    default:
        break;
    }
}

// The group's bytes, from its brace to `end`, after its closing brace when it has one.
void RtfReader::finishCapture(const RtfGroupState &group, qsizetype end, bool closed)
{
    const QByteArrayView input = tokenizer_.input();
    end = qBound(group.contentPos, end, input.size());
    const QByteArrayView whole = input.sliced(group.openPos, end - group.openPos);
    const qsizetype contentEnd = qMax(group.contentPos, closed ? end - 1 : end);
    const QByteArrayView content = input.sliced(group.contentPos, contentEnd - group.contentPos);
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
    if (shapeDraft_.number < 0 || shapeDraft_.number != closed.shape)
        return;
    const ShapeDraft shape = shapeDraft_;
    shapeDraft_ = ShapeDraft();
    if (shape.wrap < 0 || images_.size() != shape.firstImage + 1)
        return;
    const auto run = std::find_if(runs_.begin(), runs_.end(), [&](const Run &r) { return r.image == int(shape.firstImage); });
    if (run == runs_.end())
        return;
    RtfGroupCopier copier;
    copier.skipGroup = [](QByteArrayView word, RtfTokenizer rest) {
        return word == QByteArrayView("shprslt") || isPictureProperty(word, rest);
    };
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

void RtfReader::leaveField(const RtfGroupState &closed)
{
    if (closed.field < 0 || closed.outer != D::Body || mode_ == Mode::Display)
        return;
    const Field &f = fields_[std::size_t(closed.field)];
    if (f.wrapper >= 0 && wrappers_[std::size_t(f.wrapper)].shown)
        return;
    // A field whose result showed nothing (none yet, or an empty one) is kept whole.
    keepHere(tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos));
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

void RtfReader::markShown(int wrapper)
{
    while (wrapper >= 0 && !wrappers_[std::size_t(wrapper)].shown) {
        wrappers_[std::size_t(wrapper)].shown = true;
        wrapper = wrappers_[std::size_t(wrapper)].parent;
    }
}

void RtfReader::leaveStyle(const RtfGroupState &closed)
{
    QString name = styleDraft_.name.trimmed();
    if (name.endsWith(u';'))
        name.chop(1);
    styleDraft_.name = name.trimmed();
    styleDraft_.definition =
        keep(tokenizer_.input().sliced(closed.openPos, tokenizer_.position() - closed.openPos), false);
    styles_.add(styleDraft_);
    styleDraft_ = RtfStyleSheet::Style();
}

// Each style's formatting on its own, for the document's stylesheet.
void RtfReader::finishStyles()
{
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
        style.definition = s->definition;
        documentStyles_.append(style);
    }
    formats_.clear(); // formats made from here on name their styles
}

void RtfReader::leaveInfo(const RtfGroupState &closed)
{
    if (closed.infoField < 0)
        return;
    if (closed.destination == D::InfoText) {
        const QString text = infoText_.trimmed();
        if (!text.isEmpty())
            settings_.info().texts.insert(QLatin1String(kInfoTexts[closed.infoField]), text);
        return;
    }
    const QDate date(infoTime_[0], infoTime_[1], infoTime_[2]);
    const QTime time(qBound(0, infoTime_[3], 23), qBound(0, infoTime_[4], 59), qBound(0, infoTime_[5], 59));
    if (date.isValid() && infoTime_[0] > 0)
        settings_.info().dates.insert(QLatin1String(kInfoTimes[closed.infoField]), QDateTime(date, time));
}

// ---------------------------------------------------------------------------------------------
// Kept RTF, notes and parts

QString RtfReader::keep(QByteArrayView rtf, bool withId, RtfGroupCopier copier)
{
    if (rtf.isEmpty() || rtf.size() > keptBudget_)
        return QString();
    keptBudget_ -= rtf.size();
    const QString id = withId ? idPrefix_ + u'-' + QString::number(++keptCount_) : QString();
    return KeptRtf::make(
        rtf, [this](int n) { return keptFont(n); },
        [this](int i) { return i > 0 && i < colors_.size() ? colors_[i] : QColor(); }, id, std::move(copier));
}

// Keeps RTF where it stands: in the head of the file, or before the text that comes next.
void RtfReader::keepHere(QByteArrayView rtf)
{
    if (!hiddenText_.isEmpty())
        flushHidden(); // what stood before it comes first
    if (mode_ == Mode::Display || pendingKept_.size() + keptHead_.size() + rtf.size() > keptBudget_)
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

std::unique_ptr<QTextDocument> RtfReader::readPart(QByteArrayView content, Mode mode, const QString &noteMark)
{
    auto part = std::make_unique<QTextDocument>();
    part->setDefaultFont(doc_.defaultFont());
    part->setUndoRedoEnabled(false);
    part->setLayoutEnabled(false);
    QTextCursor cursor(part.get());
    cursor.beginEditBlock();
    RtfReader reader(content, *part, *this, mode, noteMark);
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
    const auto part = readPart(content, Mode::Part);
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

// A drawing or text box, kept as it is and shown as the text it holds.
void RtfReader::showKeptShape(QByteArrayView shape)
{
    const auto shown = readPart(shape, Mode::Display);
    if (shown->isEmpty() || shown->characterCount() <= 1) {
        keepHere(shape);
        return;
    }
    const QString kept = keep(shape, true);
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

// ---------------------------------------------------------------------------------------------
// Control words and symbols

bool RtfReader::consumeFallback()
{
    if (unicodeFallback_ <= 0)
        return false;
    --unicodeFallback_;
    return true;
}

void RtfReader::controlWord(const RtfToken &t)
{
    if (t.data != QByteArrayView("u"))
        flushPending();
    if (consumeFallback() || stack_.size() < 2)
        return;
    const RtfControlWord *entry = t.data.size() <= RtfTokenizer::kMaxWordLength
                                      ? RtfControlWords::find(t.data) : nullptr;
    RtfGroupState &s = top();
    if (overflowDepth_ > 0 && (s.starred || (entry && entry->kind == RtfKind::Destination))) {
        // Past the depth limit groups share their parent's state, which a destination must not take.
        s.starred = false;
        overflowSkip_ = overflowDepth_;
        return;
    }
    if (s.starred) {
        s.starred = false;
        // A style says \*\cs; anywhere else \* before a word that is not a known destination
        // marks a group to keep (or skip).
        const bool styleWord = s.destination == D::StyleEntry && entry && entry->kind != RtfKind::Destination;
        if (!styleWord && (!entry || entry->kind != RtfKind::Destination)) {
            if (!capture(CaptureKept))
                s.destination = D::Skip;
            return;
        }
    }
    if (!entry)
        return;
    const int value = RtfControlWords::effectiveValue(*entry, t.hasParameter, t.parameter);
    switch (entry->kind) {
    case RtfKind::Destination:
        enterDestination(RtfDestination(value), t.data);
        return;
    case RtfKind::Symbol:
        if (value)
            appendCharacter(char32_t(value));
        return;
    default:
        break;
    }
    switch (entry->word) {
    case RtfWord::Unicode:
        appendCodePoint(t.hasParameter ? t.parameter : 0);
        unicodeFallback_ = s.unicodeSkip;
        return;
    case RtfWord::UnicodeSkip:
        s.unicodeSkip = value;
        return;
    default:
        break;
    }
    switch (s.destination) {
    case D::FontTable: fontTableWord(entry->word, value); break;
    case D::ColorTable: colorTableWord(entry->word, value); break;
    case D::ListTable:
    case D::List:
    case D::ListLevel:
    case D::LevelText:
    case D::ListOverrideTable:
    case D::ListOverride: listWord(entry->word, value); break;
    case D::OldList: oldListWord(entry->word, value); break;
    case D::Picture: pictureWord(entry->word, value, t); break;
    case D::StyleEntry: styleWord(entry->word, value); break;
    case D::InfoTime: infoTimeWord(entry->word, value); break;
    case D::Stylesheet:
    case D::Info:
    case D::InfoText: break;
    default:
        if (entry->word >= RtfWord::CellBorderSide && entry->word <= RtfWord::RowLeft)
            tableWord(*entry, value);
        else
            bodyWord(entry->word, value);
        break;
    }
}

void RtfReader::controlSymbol(uchar c)
{
    flushPending();
    if (consumeFallback() || stack_.size() < 2)
        return;
    switch (c) {
    case '*': top().starred = true; break;
    case '~': appendCharacter(0xA0); break;
    case '-': appendCharacter(0xAD); break;
    case '_': appendCharacter(0x2011); break;
    case '\t': appendCharacter('\t'); break;
    case '\n': breakWord(RtfWord::Par); break;
    default: break;
    }
}

void RtfReader::characterWord(RtfCharProps &c, RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Font: c.font = value; break;
    case RtfWord::Bold: c.bold = value; break;
    case RtfWord::Italic: c.italic = value; break;
    case RtfWord::Underline: c.underline = quint8(value); break;
    case RtfWord::Strike: c.strike = value; break;
    case RtfWord::FontSize:
        if (value > 0)
            c.halfPoints = value;
        break;
    case RtfWord::Foreground: c.foreground = value; break;
    case RtfWord::Background: c.background = value; break;
    case RtfWord::Highlight: c.highlight = value; break;
    case RtfWord::Up: c.offset = value; break;
    case RtfWord::Down: c.offset = -value; break;
    case RtfWord::Script: c.script = quint8(value); break;
    case RtfWord::Hidden: c.hidden = value; break;
    case RtfWord::Caps: c.caps = value; break;
    case RtfWord::SmallCaps: c.smallCaps = value; break;
    default: break;
    }
}

void RtfReader::bodyWord(RtfWord w, int value)
{
    RtfGroupState &s = top();
    RtfCharProps &c = s.chars;
    switch (w) {
    case RtfWord::CodePage:
    case RtfWord::AnsiCodePage:
        ansiCodePage_ = value > 0 ? value : RtfTextDecoder::kDefaultCodePage;
        return;
    case RtfWord::DefaultFont: defaultFont_ = value; formats_.clear(); return;
    case RtfWord::Plain: c.reset(); return;
    case RtfWord::Style: applyStyle(value, true); return;
    case RtfWord::CharacterStyle: applyStyle(value, false); return;
    case RtfWord::ParagraphDefault:
        if (s.destination == D::Body)
            bodyStarted_ = true;
        s.para = RtfParaProps();
        return;
    case RtfWord::RowDefaults:
    case RtfWord::CellRight:
    case RtfWord::CellMerge:
    case RtfWord::RowGap:
    case RtfWord::RowAlignment:
        tableWord({"", RtfKind::Value, w, 0, RtfRange::Any}, value);
        return;
    case RtfWord::SectionBreak:
        if (value == BreakNone)
            pageBreakPending_ = false;
        return;
    case RtfWord::Par:
    case RtfWord::Sect:
    case RtfWord::Page:
    case RtfWord::Cell:
    case RtfWord::NestCell:
    case RtfWord::Row:
    case RtfWord::NestRow:
        breakWord(w);
        return;
    case RtfWord::NoteMark: noteMark(); return;
    case RtfWord::PageNumber:
        if (s.destination == D::Body && mode_ != Mode::Display) {
            Run &run = runs_[std::size_t(newRun(c))];
            run.text = QStringLiteral("1");
            extraOf(run).autoText = QStringLiteral("chpgn");
        }
        return;
    case RtfWord::AnnotationMark:
        if (s.destination == D::Body)
            keepHere("\\chatn");
        return;
    case RtfWord::ShapeLeft: case RtfWord::ShapeTop: case RtfWord::ShapeRight: case RtfWord::ShapeBottom:
    case RtfWord::ShapeWrap: case RtfWord::ShapeWrapSide:
        shapeWord(w, value);
        return;
    default:
        break;
    }
    if (mode_ == Mode::Document && settings_.word(w, value))
        return;
    characterWord(c, w, value);
    paragraphWord(s.para, w, value);
}

// \sN and \csN: the style's formatting, then the words after it.
void RtfReader::applyStyle(int number, bool paragraph)
{
    RtfGroupState &s = top();
    const RtfStyleSheet::Style *style = styles_.find(number);
    const DocumentStyle::Kind kind = paragraph ? DocumentStyle::Paragraph : DocumentStyle::Character;
    const bool known = style && style->kind == kind;
    if (paragraph)
        s.para.style = known ? number : -1;
    else
        s.chars.charStyle = known ? number : -1;
    if (!known)
        return;
    for (const RtfStyleSheet::Word &w : styles_.resolved(number)) {
        characterWord(s.chars, w.word, w.value);
        if (paragraph)
            paragraphWord(s.para, w.word, w.value);
    }
}

void RtfReader::paragraphWord(RtfParaProps &p, RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Alignment: p.alignment = value; break;
    case RtfWord::LeftIndent: p.leftIndent = value; break;
    case RtfWord::RightIndent: p.rightIndent = value; break;
    case RtfWord::FirstIndent: p.firstIndent = value; break;
    case RtfWord::SpaceBefore: p.spaceBefore = qMax(0, value); break;
    case RtfWord::SpaceAfter: p.spaceAfter = qMax(0, value); break;
    case RtfWord::LineSpacing: p.lineSpacing = value; break;
    case RtfWord::LineMultiple: p.lineMultiple = value != 0; break;
    case RtfWord::TabKind: p.nextTabKind = value; break;
    case RtfWord::TabPosition: {
        // A style's tab stops and the paragraph's own are one set.
        const double position = TextFormats::twipsToPixels(value);
        const bool known = std::any_of(p.tabs.cbegin(), p.tabs.cend(),
                                       [&](const QTextOption::Tab &t) { return t.position == position; });
        if (p.tabs.size() < kMaxTabs && value >= 0 && !known) {
            static constexpr QTextOption::TabType kTypes[] = {
                QTextOption::LeftTab, QTextOption::RightTab, QTextOption::CenterTab, QTextOption::DelimiterTab};
            QTextOption::Tab tab(position, kTypes[qBound(0, p.nextTabKind, 3)]);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = u'.';
            p.tabs.append(tab);
        }
        p.nextTabKind = 0;
        break;
    }
    case RtfWord::BarTab: p.nextTabKind = 0; break;
    case RtfWord::InTable: p.inTable = true; break;
    case RtfWord::NestLevel:
        p.nestLevel = value;
        p.inTable = value > 0;
        break;
    case RtfWord::ListOverrideIndex: p.listOverride = value; break;
    case RtfWord::ListLevelIndex: p.listLevel = value; break;
    case RtfWord::PageBreakBefore: p.pageBreakBefore = value; break;
    case RtfWord::RightToLeft: p.rightToLeft = value != 0; break;
    default: break;
    }
}

void RtfReader::tableWord(const RtfControlWord &entry, int value)
{
    const std::size_t level = std::size_t(rowLevel_);
    RtfDocumentBuilder::Row &row = rows_[level];
    RtfCellFormat::Border *border = borderSide_ >= 0 ? &cellDraft_.borders[std::size_t(borderSide_)] : nullptr;
    const std::size_t side = std::size_t(qBound(0, entry.value, 3));
    switch (entry.word) {
    case RtfWord::RowDefaults:
        rowLevel_ = qBound(1, top().para.nestLevel, RtfDocumentBuilder::kMaxNesting);
        rows_[std::size_t(rowLevel_)] = RtfDocumentBuilder::Row();
        cellFormats_[std::size_t(rowLevel_)].clear();
        rowPadding_[std::size_t(rowLevel_)].fill(-1);
        rowPaddingUnit_[std::size_t(rowLevel_)].fill(0);
        rowHeight_[std::size_t(rowLevel_)] = 0;
        cellMerge_ = 0;
        cellDraft_ = RtfCellFormat();
        cellPaddingUnit_.fill(0);
        borderSide_ = -1;
        break;
    case RtfWord::CellRight:
        if (int(row.cells.size()) < RtfDocumentBuilder::kMaxColumns) {
            row.cells.push_back({value, cellMerge_, QTextTableCellFormat()});
            for (std::size_t k = 0; k < 4; ++k)
                if (cellPaddingUnit_[k] != 3)
                    cellDraft_.padding[k] = -1;
            cellFormats_[level].push_back(cellDraft_);
        }
        cellMerge_ = 0;
        cellDraft_ = RtfCellFormat();
        cellPaddingUnit_.fill(0);
        borderSide_ = -1;
        break;
    case RtfWord::CellMerge: cellMerge_ |= value; break;
    case RtfWord::RowGap: row.gap = qMax(0, value); break;
    case RtfWord::RowAlignment: row.alignment = value; break;
    case RtfWord::RowLeft: row.left = value; break;
    case RtfWord::RowHeight: rowHeight_[level] = value; break;
    case RtfWord::RowHeader: row.header = true; break;
    case RtfWord::RowPadding: rowPadding_[level][side] = qMax(0, value); break;
    case RtfWord::RowPaddingUnit: rowPaddingUnit_[level][side] = value; break;
    case RtfWord::CellPadding: cellDraft_.padding[side] = qMax(0, value); break;
    case RtfWord::CellPaddingUnit: cellPaddingUnit_[side] = value; break;
    case RtfWord::CellBorderSide: borderSide_ = entry.value; break;
    case RtfWord::OtherBorder: borderSide_ = -1; break;
    case RtfWord::BorderStyle:
        if (border)
            border->style = value;
        break;
    case RtfWord::BorderWidth:
        if (border)
            border->width = qBound(0, value, 1440);
        break;
    case RtfWord::BorderColor:
        if (border)
            border->color = value;
        break;
    case RtfWord::CellBackground: cellDraft_.background = value; break;
    case RtfWord::CellPattern: cellDraft_.pattern = value; break;
    case RtfWord::CellShading: cellDraft_.shading = value; break;
    case RtfWord::CellVerticalAlignment: cellDraft_.verticalAlignment = value; break;
    default: break;
    }
}

void RtfReader::shapeWord(RtfWord w, int value)
{
    if (shapeDraft_.number < 0)
        return;
    switch (w) {
    case RtfWord::ShapeLeft: shapeDraft_.left = value; break;
    case RtfWord::ShapeRight: shapeDraft_.right = value; break;
    case RtfWord::ShapeWrap: shapeDraft_.wrap = value; break;
    default: break;
    }
}

void RtfReader::breakWord(RtfWord w)
{
    if (top().destination != D::Body)
        return;
    const RtfParaProps &p = top().para;
    switch (w) {
    case RtfWord::Par:
        endParagraph(tableLevel());
        break;
    case RtfWord::Sect:
    case RtfWord::Page:
        if (w == RtfWord::Sect)
            settings_.endSection();
        // A break between paragraphs starts the next one on a new page, without an empty one.
        if (hasText())
            endParagraph(tableLevel());
        pageBreakPending_ = true;
        break;
    case RtfWord::Cell:
    case RtfWord::NestCell: {
        const int level = qMax(w == RtfWord::Cell ? 1 : 2, tableLevel());
        endParagraph(level);
        builder_.endCell(level);
        break;
    }
    case RtfWord::Row:
    case RtfWord::NestRow: {
        const int level = w == RtfWord::Row ? 1 : qBound(2, p.nestLevel, RtfDocumentBuilder::kMaxNesting);
        if (hasText()) {
            endParagraph(level);
            builder_.endCell(level);
        }
        // The cells' looks, with what the row gives them all.
        RtfDocumentBuilder::Row &row = rows_[std::size_t(level)];
        const std::vector<RtfCellFormat> &cells = cellFormats_[std::size_t(level)];
        std::array<int, 4> padding = rowPadding_[std::size_t(level)];
        for (std::size_t k = 0; k < 4; ++k)
            if (rowPaddingUnit_[std::size_t(level)][k] != 3)
                padding[k] = -1;
        for (std::size_t c = 0; c < row.cells.size() && c < cells.size(); ++c)
            row.cells[c].format = cells[c].toFormat(colors_, padding, rowHeight_[std::size_t(level)]);
        builder_.endRow(level, row);
        break;
    }
    default:
        break;
    }
}

void RtfReader::fontTableWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Font:
        commitFont();
        fontDraft_.number = value;
        break;
    case RtfWord::FontCharset:
        fontDraft_.font.charset = value;
        fontDraft_.font.charsetCodePage = RtfTextDecoder::codePageForCharset(value);
        break;
    case RtfWord::FontCodePage: fontDraft_.font.codePage = value; break;
    default: break;
    }
}

void RtfReader::commitFont()
{
    if (fontDraft_.number < 0)
        return;
    Font f = fontDraft_.font;
    f.name = f.name.trimmed();
    f.symbol = RtfSymbolFonts::fontNamed(f.name);
    if (!f.name.isEmpty() || !fonts_.contains(fontDraft_.number))
        fonts_.insert(fontDraft_.number, f);
    fontDraft_ = FontDraft();
}

void RtfReader::colorTableWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Red: colorDraft_.setRed(value); break;
    case RtfWord::Green: colorDraft_.setGreen(value); break;
    case RtfWord::Blue: colorDraft_.setBlue(value); break;
    default: return;
    }
    colorDraftSet_ = true;
}

void RtfReader::listWord(RtfWord w, int value)
{
    const D d = top().destination;
    switch (w) {
    case RtfWord::ListId:
        if (d == D::ListOverride)
            overrideDraft_.listId = value;
        else
            listDraft_.id = value;
        break;
    case RtfWord::ListOverrideIndex: overrideDraft_.override = value; break;
    case RtfWord::LevelFormat: levelDraft_.numberFormat = value; break;
    case RtfWord::LevelStart: levelDraft_.start = value; break;
    case RtfWord::LeftIndent: levelDraft_.leftIndent = value; break;
    case RtfWord::FirstIndent: levelDraft_.firstIndent = value; break;
    default: break;
    }
}

void RtfReader::oldListWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::OldListLevel:
        oldListDraft_.level = qBound(1, value, 9);
        break;
    case RtfWord::OldListStyle:
        if (value == OldBullet)
            oldListDraft_.bullet = true;
        else if (value == OldContinue)
            oldListDraft_.unnumbered = true;
        else if (value != OldBody)
            oldListDraft_.numberStyle = value;
        break;
    case RtfWord::OldListStart: oldListDraft_.start = qBound(0, value, 32767); break;
    default: break;
    }
}

void RtfReader::pictureWord(RtfWord w, int value, const RtfToken &t)
{
    picture_.setProperty(w, value);
    if (w == RtfWord::PictureType && value == Wmf && t.hasParameter)
        picture_.setProperty(RtfWord::MetafileMode, t.parameter);
}

void RtfReader::styleWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Style:
        styleDraft_.number = value;
        styleDraft_.kind = DocumentStyle::Paragraph;
        break;
    case RtfWord::CharacterStyle:
        styleDraft_.number = value;
        styleDraft_.kind = DocumentStyle::Character;
        break;
    case RtfWord::OtherStyle:
        styleDraft_.number = value;
        styleDraft_.kind = DocumentStyle::Table;
        break;
    case RtfWord::BasedOn: styleDraft_.basedOn = value == 222 ? -1 : value; break;
    case RtfWord::NextStyle: styleDraft_.next = value; break;
    default:
        if (RtfStyleSheet::isFormatting(w) && styleDraft_.words.size() < RtfStyleSheet::kMaxWords)
            styleDraft_.words.append({w, value});
        break;
    }
}

void RtfReader::infoTimeWord(RtfWord w, int value)
{
    if (w >= RtfWord::Year && w <= RtfWord::Second)
        infoTime_[std::size_t(int(w) - int(RtfWord::Year))] = qMin(value, 9999);
}

// ---------------------------------------------------------------------------------------------
// Text

void RtfReader::text(QByteArrayView bytes)
{
    if (stack_.size() < 2)
        return;
    if (unicodeFallback_ > 0) {
        const qsizetype n = qMin(qsizetype(unicodeFallback_), bytes.size());
        unicodeFallback_ -= int(n);
        bytes = bytes.sliced(n);
        if (bytes.isEmpty())
            return;
    }
    switch (top().destination) {
    case D::Picture:
        picture_.appendHex(bytes, pictureBudget_);
        return;
    case D::ColorTable:
        colorTableText(bytes);
        return;
    case D::FontTable:
        fontTableText(bytes);
        return;
    default:
        break;
    }
    flushSurrogate();
    if (QString *out = sink())
        decodeInto(bytes, *out);
}

void RtfReader::hexByte(uchar byte)
{
    if (consumeFallback() || stack_.size() < 2)
        return;
    const char c = char(byte);
    switch (top().destination) {
    case D::Picture:
    case D::ColorTable:
        return;
    case D::FontTable:
        fontTableText(QByteArrayView(&c, 1));
        return;
    default:
        break;
    }
    flushSurrogate();
    if (QString *out = sink())
        decodeInto(QByteArrayView(&c, 1), *out);
}

void RtfReader::binary(QByteArrayView bytes)
{
    if (consumeFallback())
        return;
    if (top().destination == D::Picture)
        picture_.appendBinary(bytes, pictureBudget_);
}

void RtfReader::fontTableText(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qsizetype semicolon = bytes.indexOf(';');
        const QByteArrayView part = semicolon < 0 ? bytes : bytes.first(semicolon);
        decodeInto(part, fontDraft_.font.name);
        if (semicolon < 0)
            return;
        commitFont(); // an ungrouped table goes on with the next \f
        bytes = bytes.sliced(semicolon + 1);
    }
}

void RtfReader::colorTableText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c != ';')
            continue;
        if (colors_.size() < kMaxColors)
            colors_.append(colorDraftSet_ ? colorDraft_ : QColor());
        colorDraft_ = QColor(0, 0, 0);
        colorDraftSet_ = false;
    }
}

// Where text of the current destination goes, or null when it is not kept.
QString *RtfReader::sink()
{
    RtfGroupState &s = top();
    switch (s.destination) {
    case D::Body: return s.chars.hidden ? hiddenText() : runText();
    case D::ListText: return s.chars.hidden ? nullptr : runText();
    case D::FontTable: return &fontDraft_.font.name;
    case D::LevelText: return &levelDraft_.text;
    case D::OldListTextBefore: return &oldListDraft_.before;
    case D::OldListTextAfter: return &oldListDraft_.after;
    case D::FieldInstruction: return s.field >= 0 ? &fields_[std::size_t(s.field)].instruction : nullptr;
    case D::ShapePropertyName: return &shapePropertyText_;
    case D::ShapePropertyValue: return &shapeValueText_;
    case D::StyleEntry: return &styleDraft_.name;
    case D::InfoText: return &infoText_;
    default: return nullptr;
    }
}

// Hidden text is kept as RTF, written back as it was and not shown.
QString *RtfReader::hiddenText()
{
    if (mode_ == Mode::Display)
        return nullptr;
    bodyStarted_ = true;
    if (!hiddenText_.isEmpty() && !(hiddenProps_ == top().chars))
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
    if (c.foreground > 0)
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
    keepHere(group);
}

QString *RtfReader::runText()
{
    if (!hiddenText_.isEmpty())
        flushHidden();
    const RtfGroupState &s = top();
    if (s.destination == D::ListText) {
        std::vector<Run> &runs = fallbackRuns_;
        if (!runs.empty() && runs.back().props == s.chars)
            return &runs.back().text;
        runs.push_back({s.chars, familyOf(s.chars), QString(), -1, -1});
        return &runs.back().text;
    }
    if (pendingKept_.isEmpty() && !runs_.empty() && runs_.back().image < 0 && runs_.back().extra < 0) {
        Run &last = runs_.back();
        if (last.props == s.chars)
            return &last.text;
        if (last.text.isEmpty()) {
            last.props = s.chars; // a run that got no text is reused, so runs never pile up empty
            last.family = familyOf(s.chars);
            if (s.chars.fields >= 0)
                markShown(s.chars.fields);
            return &last.text;
        }
    }
    return &runs_[std::size_t(newRun(s.chars))].text;
}

// A run of its own, which takes the kept RTF that waits for the text after it.
int RtfReader::newRun(const RtfCharProps &props)
{
    bodyStarted_ = true;
    if (!hiddenText_.isEmpty())
        flushHidden();
    runs_.push_back({props, familyOf(props), QString(), -1, -1});
    if (!pendingKept_.isEmpty()) {
        const QString kept = takePendingKept();
        if (!kept.isEmpty())
            extraOf(runs_.back()).kept = kept;
    }
    if (props.fields >= 0)
        markShown(props.fields);
    return int(runs_.size()) - 1;
}

RtfReader::RunExtra &RtfReader::extraOf(Run &run)
{
    if (run.extra < 0) {
        extras_.emplace_back();
        run.extra = int(extras_.size()) - 1;
    }
    return extras_[std::size_t(run.extra)];
}

void RtfReader::selectCodePage(QString &out)
{
    if (top().destination == D::FontTable) {
        decoder_.select(codePageOf(&fontDraft_.font), RtfSymbolFonts::None, out);
        return;
    }
    // Only shown text is in a font's symbols; a level text's bytes are its length and level
    // numbers, and a field instruction's are its keywords.
    const Font *f = font(top().chars.font);
    const bool symbols = f && showsSymbols(top().destination);
    decoder_.select(codePageOf(f), symbols ? f->symbol : RtfSymbolFonts::None, out);
}

void RtfReader::decodeInto(QByteArrayView bytes, QString &out)
{
    selectCodePage(out);
    const bool keepControls = top().destination == D::LevelText;
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        if (decoder_.isSingleByte()) {
            qsizetype j = i;
            while (j < n && uchar(d[j]) >= 0x20 && uchar(d[j]) < 0x80)
                ++j;
            if (j > i) {
                out.append(QLatin1StringView(d + i, j - i));
                i = j;
                continue;
            }
        }
        const uchar b = uchar(d[i++]);
        if (b < 0x20 && b != '\t' && !keepControls)
            continue;
        if (decoder_.isSingleByte()) {
            decoder_.decode(b, out);
            continue;
        }
        decoded_.clear();
        decoder_.decode(b, decoded_);
        for (const QChar c : std::as_const(decoded_)) {
            if (c.unicode() == 0x1A) // what a code page converter puts for a byte it cannot map
                out.append(QChar(QChar::ReplacementCharacter));
            else if (c.unicode() >= 0x20 || c.unicode() == '\t' || keepControls)
                out.append(c);
        }
    }
}

void RtfReader::appendCodePoint(int codePoint)
{
    // Negative values stand for code points above 32767; large ones are taken as they are.
    char32_t c = codePoint < 0 ? char32_t(codePoint + 65536) : char32_t(codePoint);
    if (codePoint < -65536)
        c = QChar::ReplacementCharacter;
    const Font *f = showsSymbols(top().destination) ? font(top().chars.font) : nullptr;
    if (f && f->symbol != RtfSymbolFonts::None && c >= 0xF020 && c <= 0xF0FF)
        if (const char16_t mapped = RtfSymbolFonts::toUnicode(f->symbol, uchar(c - 0xF000)))
            c = mapped;
    if (isLowSurrogate(int(c)) && pendingHighSurrogate_) {
        const char32_t pair = QChar::surrogateToUcs4(char16_t(pendingHighSurrogate_), char16_t(c));
        pendingHighSurrogate_ = 0;
        appendCharacter(pair);
        return;
    }
    flushSurrogate();
    if (isHighSurrogate(int(c))) {
        pendingHighSurrogate_ = int(c);
        return;
    }
    appendCharacter(isLowSurrogate(int(c)) ? char32_t(QChar::ReplacementCharacter) : c, true);
}

void RtfReader::appendCharacter(char32_t c, bool spelledOut)
{
    QString *out = sink();
    if (!out)
        return;
    // Control characters are kept when the file spells them out as \uN (a user put them in the
    // text); line ends are never characters of a paragraph.
    const bool keepControls = top().destination == D::LevelText || (spelledOut && c != '\n' && c != '\r');
    if (c < 0x20 && c != '\t' && !keepControls)
        return;
    if (c == 0x2029)
        c = 0x2028;
    if (isReserved(c) || (c >= 0xD800 && c <= 0xDFFF))
        c = QChar::ReplacementCharacter;
    const char16_t units[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
    if (QChar::requiresSurrogates(c))
        out->append(QStringView(units, 2));
    else
        out->append(QChar(char16_t(c)));
}

void RtfReader::flushSurrogate()
{
    if (pendingHighSurrogate_) {
        pendingHighSurrogate_ = 0;
        appendCharacter(QChar::ReplacementCharacter);
    }
}

// Ends what a double-byte character or a surrogate pair left unfinished.
void RtfReader::flushPending()
{
    if (!pendingHighSurrogate_ && !decoder_.hasPending())
        return;
    flushSurrogate();
    QString discard;
    QString *out = stack_.size() < 2 || skipping() ? &discard : sink();
    decoder_.flush(out ? *out : discard);
}

const RtfReader::Font *RtfReader::font(int number) const
{
    auto it = fonts_.constFind(number < 0 ? defaultFont_ : number);
    if (it == fonts_.cend())
        it = fonts_.constFind(defaultFont_);
    return it == fonts_.cend() ? nullptr : &*it;
}

QString RtfReader::familyOf(const RtfCharProps &c) const
{
    const Font *f = font(c.font);
    return f && !f->name.isEmpty() ? f->name : doc_.defaultFont().family();
}

int RtfReader::codePageOf(const Font *f) const
{
    if (f && f->codePage > 0)
        return f->codePage;
    if (f && f->charsetCodePage > 0)
        return f->charsetCodePage;
    return ansiCodePage_;
}

// ---------------------------------------------------------------------------------------------
// Paragraphs, formats and pictures

bool RtfReader::hasText() const
{
    auto notEmpty = [](const Run &r) { return !r.text.isEmpty(); };
    return std::any_of(runs_.begin(), runs_.end(), notEmpty)
        || std::any_of(fallbackRuns_.begin(), fallbackRuns_.end(), notEmpty);
}

int RtfReader::tableLevel() const
{
    const RtfParaProps &p = stack_.back().para;
    return p.inTable ? qMax(1, p.nestLevel) : 0;
}

void RtfReader::endParagraph(int tableLevel)
{
    flushPending();
    flushHidden();
    bodyStarted_ = true;
    numberPendingMark();
    const RtfGroupState &s = top();
    RtfDocumentBuilder::ListItem item;
    const bool isItem = listItem(s.para, item);
    if (!isItem && !fallbackRuns_.empty())
        runs_.insert(runs_.begin(), std::make_move_iterator(fallbackRuns_.begin()),
                     std::make_move_iterator(fallbackRuns_.end()));
    fallbackRuns_.clear();
    QTextBlockFormat block = blockFormat(s.para, isItem ? &item : nullptr);
    if (pageBreakPending_)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    pageBreakPending_ = false;
    QTextCharFormat chars = charFormat(s.chars);
    if (!pendingKept_.isEmpty()) // kept RTF at the end of the paragraph
        chars.setProperty(TextFormats::kKeptRtfProperty, takePendingKept());
    for (const Float &f : floats_)
        builder_.insertFloat(tableLevel, f.frame, f.image);
    floats_.clear();
    builder_.startParagraph(tableLevel, block, chars, isItem ? &item : nullptr);
    for (const Run &run : runs_)
        builder_.insertText(run.text, runFormat(run));
    runs_.clear();
    images_.clear();
    extras_.clear();
}

void RtfReader::finishDocument()
{
    flushPending();
    flushHidden();
    if (hasText() || !floats_.empty() || pendingMark_ >= 0)
        endParagraph(tableLevel());
    builder_.finish();
    if (!pendingKept_.isEmpty()) {
        const QString kept = takePendingKept();
        if (!kept.isEmpty())
            builder_.keepAtEnd(kept);
    }
    if (mode_ != Mode::Document)
        return;
    DocumentExtras &extras = DocumentExtras::of(doc_);
    settings_.applyTo(extras);
    extras.setStyles(documentStyles_);
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind)
        extras.setHeaderFooter(HeaderFooter::Kind(kind), headersFooters_[std::size_t(kind)]);
    if (!keptHead_.isEmpty())
        extras.setKeptHead(keep(keptHead_, false));
}

bool RtfReader::listItem(const RtfParaProps &p, RtfDocumentBuilder::ListItem &item) const
{
    if (p.listOverride > 0) {
        if (const RtfListTable::List *list = lists_.listFor(p.listOverride)) {
            const int level = qBound(0, p.listLevel, 8);
            const RtfListTable::Level defined = list->levelCount > 0
                ? list->levels[std::size_t(qMin(level, list->levelCount - 1))] : RtfListTable::Level();
            item.key = QStringLiteral("ls%1").arg(p.listOverride);
            item.level = level;
            item.format = RtfListTable::format(defined, level);
            return true;
        }
    }
    const RtfParaProps::OldList &old = p.oldList;
    if (!old.defined || old.unnumbered)
        return false;
    item.key = QStringLiteral("pn");
    item.level = old.bullet ? 0 : qBound(0, old.level - 1, 8);
    item.endsAtPlainParagraph = true;
    item.format.setIndent(item.level + 1);
    if (old.bullet) {
        item.format.setStyle(RtfListTable::bulletStyle(old.before));
        return true;
    }
    static constexpr QTextListFormat::Style kStyles[] = {
        QTextListFormat::ListDecimal, QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerAlpha,
        QTextListFormat::ListUpperRoman, QTextListFormat::ListLowerRoman};
    item.format.setStyle(kStyles[qBound(0, old.numberStyle - OldDecimal, 4)]);
    item.format.setNumberPrefix(old.before.left(RtfListTable::kMaxNumberText));
    item.format.setNumberSuffix(old.after.left(RtfListTable::kMaxNumberText));
    if (old.start != 1)
        item.format.setProperty(TextFormats::kListStartProperty, old.start);
    return true;
}

QTextBlockFormat RtfReader::blockFormat(const RtfParaProps &p, const RtfDocumentBuilder::ListItem *item) const
{
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
    QTextBlockFormat f;
    if (p.alignment != 0)
        f.setAlignment(kAlign[qBound(0, p.alignment, 3)]);
    double left = TextFormats::twipsToPixels(p.leftIndent);
    double first = TextFormats::twipsToPixels(p.firstIndent);
    if (item) {
        // Qt indents list items by their level and hangs the marker itself.
        left = qMax(0.0, left - doc_.indentWidth() * (item->level + 1));
        first = 0;
    }
    if (left != 0)
        f.setLeftMargin(left);
    if (p.rightIndent != 0)
        f.setRightMargin(TextFormats::twipsToPixels(p.rightIndent));
    if (first != 0)
        f.setTextIndent(first);
    if (p.spaceBefore != 0)
        f.setTopMargin(TextFormats::twipsToPixels(p.spaceBefore));
    if (p.spaceAfter != 0)
        f.setBottomMargin(TextFormats::twipsToPixels(p.spaceAfter));
    if (p.lineSpacing > 0 && p.lineMultiple)
        f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing > 0)
        f.setLineHeight(TextFormats::twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        f.setLineHeight(TextFormats::twipsToPixels(-double(p.lineSpacing)), QTextBlockFormat::FixedHeight);
    if (!p.tabs.isEmpty())
        f.setTabPositions(p.tabs);
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (p.rightToLeft)
        f.setLayoutDirection(Qt::RightToLeft);
    if (p.style >= 0)
        if (const RtfStyleSheet::Style *style = styles_.find(p.style))
            f.setProperty(TextFormats::kParagraphStyleProperty, style->name.isEmpty() ? QStringLiteral("#%1").arg(p.style) : style->name);
    return f;
}

QTextCharFormat RtfReader::charFormat(const RtfCharProps &c)
{
    const auto cached = formats_.constFind(c);
    if (cached != formats_.cend())
        return *cached;
    QTextCharFormat f;
    TextFormats::setFamily(f, familyOf(c));
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        f.setFontWeight(QFont::Bold);
    if (c.italic)
        f.setFontItalic(true);
    if (c.underline != QTextCharFormat::NoUnderline)
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(c.underline));
    if (c.strike)
        f.setFontStrikeOut(true);
    auto color = [&](int index) {
        return index > 0 && index < colors_.size() ? colors_[index] : QColor();
    };
    if (const QColor fg = color(c.foreground); fg.isValid())
        f.setForeground(fg);
    const QColor bg = color(c.highlight).isValid() ? color(c.highlight) : color(c.background);
    if (bg.isValid())
        f.setBackground(bg);
    if (c.offset != 0)
        TextFormats::setCharOffsetTwips(f, c.offset * 10.0, doc_.defaultFont());
    if (c.script == Superscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.script == Subscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (c.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (c.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    if (c.link >= 0 && c.link < links_.size()) {
        f.setAnchor(true);
        f.setAnchorHref(links_[c.link]);
    }
    if (c.fields >= 0) {
        // The fields around this text, outermost first; hyperlinks are anchors.
        QString fields;
        for (int w = c.fields; w >= 0; w = wrappers_[std::size_t(w)].parent)
            fields.prepend(wrappers_[std::size_t(w)].kept);
        if (!fields.isEmpty())
            f.setProperty(TextFormats::kFieldsProperty, fields);
    }
    if (c.charStyle >= 0)
        if (const RtfStyleSheet::Style *style = styles_.find(c.charStyle))
            f.setProperty(TextFormats::kCharacterStyleProperty, style->name.isEmpty() ? QStringLiteral("#%1").arg(c.charStyle) : style->name);
    formats_.insert(c, f);
    return f;
}

QTextCharFormat RtfReader::runFormat(const Run &run)
{
    const RunExtra *extra = run.extra >= 0 ? &extras_[std::size_t(run.extra)] : nullptr;
    QTextCharFormat format;
    if (run.image >= 0) {
        format = images_[std::size_t(run.image)];
    } else if (extra && extra->format) {
        format = *extra->format;
    } else {
        format = charFormat(run.props);
        if (run.family != familyOf(run.props)) // the font table changed since: keep what decoded the text
            TextFormats::setFamily(format, run.family);
    }
    if (!extra)
        return format;
    if (!extra->kept.isEmpty())
        format.setProperty(TextFormats::kKeptRtfProperty, extra->kept);
    if (!extra->note.isEmpty()) {
        format.setProperty(TextFormats::kNoteProperty, extra->note);
        format.setProperty(TextFormats::kNoteKindProperty, extra->noteKind);
    }
    if (!extra->autoText.isEmpty())
        format.setProperty(TextFormats::kAutoTextProperty, extra->autoText);
    if (!extra->autoText.isEmpty() || !extra->note.isEmpty())
        format.setProperty(TextFormats::kMarkIdProperty, idPrefix_ + u'-' + QString::number(run.extra) + u'-'
                                                             + QString::number(++markCount_));
    if (!extra->shownOnly.isEmpty())
        format.setProperty(TextFormats::kShownOnlyProperty, extra->shownOnly);
    return format;
}

// The hyperlink a field instruction names, as an index in links_, or -1.
int RtfReader::linkOf(const QString &instruction)
{
    const QStringList args = fieldArguments(instruction);
    if (args.isEmpty() || args.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return -1;
    QString url, location;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(u'\\')) {
            const QString sw = a.mid(1).toLower();
            if (i + 1 < args.size() && sw == u"l")
                location = args[++i];
            else if (i + 1 < args.size() && (sw == u"o" || sw == u"t" || sw == u"m"))
                ++i;
        } else if (url.isEmpty()) {
            url = a;
        }
    }
    if (!location.isEmpty())
        url += u'#' + location;
    if (url.isEmpty() || !isSafeLink(url))
        return -1;
    links_.append(url);
    return int(links_.size()) - 1;
}

void RtfReader::insertPicture()
{
    if (placeholder_.isNull())
        placeholder_ = RtfPicture::placeholder();
    const RtfPicture::Image picture = picture_.decode(pixelBudget_, placeholder_);
    picture_ = RtfPicture();
    if (picturePrefix_.isEmpty()) // names no other document's pictures have
        picturePrefix_ = QStringLiteral("rtfimage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString name = picturePrefix_ + QStringLiteral("-%1").arg(++pictureCount_);
    const QUrl url(name);
    doc_.addResource(QTextDocument::ImageResource, url, picture.image);
    QTextImageFormat format;
    format.merge(charFormat(top().chars));
    format.setName(name);
    format.setWidth(picture.displaySize.width());
    format.setHeight(picture.displaySize.height());
    if (!picture.original.isEmpty()) {
        doc_.addResource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url), picture.original);
        format.setProperty(TextFormats::kImageTypeProperty, picture.type);
        if (picture.nativeSize.isValid() && !picture.nativeSize.isEmpty())
            format.setProperty(TextFormats::kImageNativeSizeProperty, picture.nativeSize);
    }
    if (top().shape >= 0)
        lastShownShape_ = top().shape;
    images_.push_back(format);
    Run &run = runs_[std::size_t(newRun(top().chars))];
    run.text = QString(QChar::ObjectReplacementCharacter);
    run.family.clear();
    run.image = int(images_.size()) - 1;
}
