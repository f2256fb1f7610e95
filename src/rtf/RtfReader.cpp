#include "rtf/RtfReader.h"
#include "rtf/SafeText.h"
#include "rtf/TextFormats.h"

#include <QRandomGenerator>
#include <QTextDocument>

using namespace RtfValues;
using D = RtfDestination;

namespace {

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
    start.para = RtfParaProps(); // a part's paragraphs are its own, in no table or list of the text's
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
    styleDefinitions_ = parent.styleDefinitions_;
    tablesRevision_ = parent.tablesRevision_;
    definitionsRevision_ = parent.definitionsRevision_;
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
        ++tokenCount_;
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

void RtfReader::openGroup()
{
    flushPending();
    unicodeFallback_ = 0;
    if (int(stack_.size()) > kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.back().starred = false; // \* counts only right before a word
    stack_.push_back(stack_.back());
    RtfGroupState &s = top();
    s.capture = NoCapture;
    s.openPos = tokenizer_.position() - 1;
    s.contentPos = tokenizer_.position();
    s.openToken = tokenCount_;
    s.shownAt = shownCount_;
    s.keptAt = pendingKept_.size();
    s.headKeptAt = keptHead_.size();
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
    // Hidden text ends with its group: it is written back as a group of its own, and reading
    // that again must not join it to the hidden text after it.
    if (!hiddenText_.isEmpty())
        flushHidden();
    const RtfGroupState closed = std::move(stack_.back());
    stack_.pop_back();
    // A group that held the paragraph's text and closes before its end leaves it its paragraph
    // words, as mail programs write whole list items: {{\*\pn...}\li360{\pntext 1.\tab}item}\par.
    if (closed.destination == D::Body && top().destination == D::Body && closed.para != top().para
        && shownCount_ > qMax(closed.shownAt, paragraphShownAt_) && hasText())
        paraOfText_ = closed.para;
    if (closed.destination != top().destination || closed.capture != NoCapture)
        leaveDestination(closed);
}

// Keeps the bytes of the group just entered, to be dealt with when it closes. Only text of the
// document (or of a part) keeps anything.
bool RtfReader::capture(Capture what)
{
    RtfGroupState &s = top();
    if (mode_ == Mode::Display || s.destination != D::Body || stack_.size() <= 2 || !opensGroup())
        return false;
    s.capture = what;
    s.destination = D::Skip;
    s.contentPos = tokenizer_.position();
    return true;
}

// Whether the word being read opens its group (after \*, perhaps): a group is kept from its
// brace, so text the group showed before a later destination word would be kept twice.
bool RtfReader::opensGroup() const
{
    const qint64 read = tokenCount_ - stack_.back().openToken;
    return read == 1 || (read == 2 && wordAfterStar_);
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
        const bool read = readsNotes_ && notes_ < kMaxNotes;
        if (!read && readsNotes_)
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
        fields_.push_back({QString(), s.field, opensGroup() ? s.openPos : -1, -1});
        s.field = int(fields_.size()) - 1;
        s.outer = current;
        break;
    case D::FieldInstruction:
        if (s.field < 0 || current != D::Field)
            d = D::Skip;
        break;
    case D::FieldResult:
        if (s.field < 0 || current != D::Field)
            return; // not in a field: a group like any other
        {
            Field &f = fields_[std::size_t(s.field)];
            const int link = linkOf(f.instruction);
            if (link >= 0 && s.outer == D::Body)
                s.chars.link = link;
            // The field is kept without its result, which the document shows.
            if (s.outer == D::Body && mode_ != Mode::Display && f.wrapper < 0 && f.openPos >= 0 && opensGroup()) {
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
        if (current == D::Body && mode_ != Mode::Display && opensGroup() && stack_.size() > 2) {
            if (!shapeHasPicture()) {
                // A drawing or text box: kept as it is, and shown as text while there are not too many.
                capture(keptShapes_ < kMaxShapes ? CaptureShape : CaptureKept);
                return;
            }
            shapeDraft_ = ShapeDraft();
            shapeDraft_.number = s.shape;
            shapeDraft_.openPos = s.openPos;
            shapeDraft_.firstImage = images_.size();
            shapeDraft_.firstRun = runs_.size();
            shapeDraft_.keptAt = pendingKept_.size();
        }
        break;
    case D::Object:
        s.outer = current;
        s.object = opensGroup() ? s.openPos : -1;
        break;
    case D::ObjectResult:
        if (current != D::Object)
            return; // not in an object: a group like any other
        if (s.object >= 0 && s.outer == D::Body && mode_ != Mode::Display && !objectWrappers_.contains(s.object)
            && opensGroup()) {
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
        if (current != D::UnicodePair)
            return;
        d = s.outer;
        break;
    case D::ShapeProperty:
    case D::ShapePropertyName:
    case D::ShapePropertyValue:
    case D::ShapeResult:
    case D::ShapeText:
        if (s.shape < 0) { // a shape's parts mean nothing outside one
            if (d != D::ShapeResult && d != D::ShapeText)
                s.destination = D::Skip;
            return;
        }
        enterShapePart(d);
        return;
    default:
        enterTable(d);
        return;
    }
    s.destination = d;
}

void RtfReader::enterShapePart(RtfDestination d)
{
    RtfGroupState &s = top();
    switch (d) {
    case D::ShapeProperty:
        shapePropertyText_.clear();
        break;
    case D::ShapePropertyValue: {
        // A value belongs to the property whose group it is in.
        const QString name = s.destination == D::ShapeProperty ? shapePropertyText_.trimmed() : QString();
        shapeValueText_.clear();
        d = name == u"pib" ? (s.outer == D::Body ? D::ShapePicture : s.outer)
          : name == u"posh" ? D::ShapePropertyValue : D::Skip;
        break;
    }
    case D::ShapeResult:
        // The result repeats the shape for older readers: skip it when the shape was shown.
        d = s.shape >= 0 && s.shape == lastShownShape_ ? D::Skip : s.outer;
        break;
    case D::ShapeText:
        lastShownShape_ = s.shape;
        d = s.outer;
        break;
    default:
        break;
    }
    s.destination = d;
}

// The tables of the head, lists' fallback text and pictures.
void RtfReader::enterTable(RtfDestination d)
{
    RtfGroupState &s = top();
    const D current = s.destination;
    switch (d) {
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
        ++tablesRevision_;
        break;
    case D::ColorTable:
        formats_.clear();
        ++tablesRevision_;
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
        if ((top().destination == D::Body || top().destination == D::ShapePicture) && !top().chars.hidden)
            insertPicture();
        break;
    case D::Shape:
        leaveShape(closed);
        break;
    case D::ShapeProperty:
        shapePropertyText_.clear();
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
        if (closed.object == closed.openPos && closed.outer == D::Body && mode_ != Mode::Display)
            keepWhole(closed);
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

void RtfReader::leaveInfo(const RtfGroupState &closed)
{
    if (closed.infoField < 0)
        return;
    if (closed.destination == D::InfoText) {
        const QString text = SafeText::printable(infoText_).trimmed();
        if (!text.isEmpty())
            settings_.info().texts.insert(QLatin1String(kInfoTexts[closed.infoField]), text);
        return;
    }
    const QDate date(infoTime_[0], infoTime_[1], infoTime_[2]);
    const QTime time(qBound(0, infoTime_[3], 23), qBound(0, infoTime_[4], 59), qBound(0, infoTime_[5], 59));
    if (date.isValid() && infoTime_[0] > 0)
        settings_.info().dates.insert(QLatin1String(kInfoTimes[closed.infoField]), QDateTime(date, time));
}

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
    wordAfterStar_ = s.starred;
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
    top().starred = c == '*';
    switch (c) {
    case '*': break;
    case '~': appendCharacter(0xA0); break;
    case '-': appendCharacter(0xAD); break;
    case '_': appendCharacter(0x2011); break;
    case '\t': appendCharacter('\t'); break;
    case '\n': breakWord(RtfWord::Par); break;
    default: break;
    }
}
