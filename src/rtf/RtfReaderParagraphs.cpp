// The RTF reader's paragraphs, formats, lists and pictures, put into the document.
#include "rtf/RtfReader.h"
#include "rtf/DocumentExtras.h"
#include "rtf/FieldValue.h"
#include "rtf/ListMarkers.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <QUrl>
#include <QUuid>

#include <algorithm>

using namespace RtfValues;
using D = RtfDestination;

namespace {

// A list item's marker is drawn in its paragraph mark's format; it takes the look of the item's
// first text, as other word processors draw it (not the mark's own, nor that of the marker text
// the file wrote for older readers).
void takeMarkerLook(QTextCharFormat &mark, const QTextCharFormat &text)
{
    static constexpr QTextFormat::Property kLook[] = {
        QTextFormat::FontFamilies, QTextFormat::FontFamily, QTextFormat::FontPointSize, QTextFormat::FontWeight,
        QTextFormat::FontItalic, QTextFormat::FontUnderline, QTextFormat::TextUnderlineStyle,
        QTextFormat::FontStrikeOut, QTextFormat::FontCapitalization, QTextFormat::ForegroundBrush};
    for (const QTextFormat::Property p : kLook) {
        if (text.hasProperty(p))
            mark.setProperty(p, text.property(p));
        else
            mark.clearProperty(p);
    }
}

} // namespace

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

// The words of the paragraph being ended; its table is the one in force.
RtfParaProps RtfReader::paragraphProps() const
{
    if (!paraOfText_)
        return stack_.back().para;
    RtfParaProps p = *paraOfText_;
    p.inTable = stack_.back().para.inTable;
    p.nestLevel = stack_.back().para.nestLevel;
    return p;
}

void RtfReader::endParagraph(int tableLevel)
{
    flushPending();
    flushHidden();
    bodyStarted_ = true;
    ++shownCount_;
    numberPendingMark();
    const RtfGroupState &s = top();
    const RtfParaProps para = paragraphProps();
    paraOfText_.reset();
    paragraphShownAt_ = shownCount_;
    RtfDocumentBuilder::ListItem item;
    const bool isItem = listItem(para, item);
    if (!isItem && !fallbackRuns_.empty())
        runs_.insert(runs_.begin(), std::make_move_iterator(fallbackRuns_.begin()),
                     std::make_move_iterator(fallbackRuns_.end()));
    fallbackRuns_.clear();
    QTextBlockFormat block = blockFormat(para, isItem ? &item : nullptr);
    if (pageBreakPending_)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    pageBreakPending_ = false;
    QTextCharFormat chars = charFormat(s.chars);
    // In a cell the paragraph's own format holds the cell's (RtfDocumentBuilder::insertTable):
    // highlighting that runs on to the end of the cell must not shade the cell.
    if (tableLevel > 0)
        chars.clearProperty(QTextFormat::BackgroundBrush);
    if (!pendingKept_.isEmpty()) // kept RTF at the end of the paragraph
        chars.setProperty(TextFormats::kKeptRtfProperty, takePendingKept());
    if (isItem) {
        const auto first = std::find_if(runs_.begin(), runs_.end(), [](const Run &r) { return !r.text.isEmpty() && r.image < 0; });
        if (first != runs_.end()) {
            QTextCharFormat look = charFormat(first->props);
            if (first->family != familyOf(first->props))
                TextFormats::setFamily(look, first->family);
            takeMarkerLook(chars, look);
        }
    }
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
        TextFormats::setListStart(item.format, old.start);
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
    if (item && ListMarkers::hasMarker(item->format)) {
        // Qt indents list items by their level and hangs the marker itself.
        left = qMax(0.0, left - doc_.indentWidth() * (item->level + 1));
        first = 0;
    } else if (item) {
        // An item without a marker (a heading tied to an outline list) stands where its own
        // indents say: Qt's indent for its level is taken off again.
        left -= doc_.indentWidth() * (item->level + 1);
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
    const QString url = FieldValue::hyperlinkTarget(instruction);
    if (url.isEmpty())
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
    if (shapeDraft_.number >= 0 && top().shape == shapeDraft_.number && images_.size() == shapeDraft_.firstImage + 1)
        shapeDraft_.keptOnlyBefore = pendingKept_.size() <= shapeDraft_.keptAt;
    Run &run = runs_[std::size_t(newRun(top().chars))];
    run.text = QString(QChar::ObjectReplacementCharacter);
    run.family.clear();
    run.image = int(images_.size()) - 1;
}
