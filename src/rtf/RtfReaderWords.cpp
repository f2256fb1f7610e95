// The RTF reader's control words, by where they appear.
#include "rtf/RtfReader.h"
#include "rtf/SafeText.h"
#include "rtf/TextFormats.h"

#include <algorithm>

using namespace RtfValues;
using D = RtfDestination;

bool RtfReader::characterWord(RtfCharProps &c, RtfWord w, int value)
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
    default: return false;
    }
    return true;
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
    case RtfWord::Style:
        applyStyle(value, true);
        paraOfText_.reset();
        return;
    case RtfWord::CharacterStyle: applyStyle(value, false); return;
    case RtfWord::ParagraphDefault:
        if (s.destination == D::Body)
            bodyStarted_ = true;
        s.para = RtfParaProps();
        paraOfText_.reset();
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
    if (w >= RtfWord::PaperWidth && w <= RtfWord::EndnotePlacement) {
        // Note numbering words after the first note was numbered would number the notes
        // otherwise when the file is read again, where they stand in its head.
        const bool numbering = w >= RtfWord::FootnoteFormat && w <= RtfWord::NoteTypes;
        if (mode_ == Mode::Document && !(numbering && footnotes_ + endnotes_ > 0))
            settings_.word(w, value);
        return;
    }
    if (!characterWord(c, w, value) && paragraphWord(s.para, w, value))
        paraOfText_.reset();
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

bool RtfReader::paragraphWord(RtfParaProps &p, RtfWord w, int value)
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
    default: return false;
    }
    return true;
}

void RtfReader::tableWord(const RtfControlWord &entry, int value)
{
    // A row is defined in the text (a nested one in \nesttableprops, which is as the text), not
    // in a field's or object's own group, which is kept as it is and written back inside a row.
    if (top().destination != D::Body)
        return;
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
        else if (tableLevel() == 0)
            builder_.endTables(); // a table before the break ends there, even if one follows
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
    f.name = SafeText::printable(f.name).trimmed();
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
        if (!RtfStyleSheet::isFormatting(w))
            break;
        // The list words, which a kept copy of the entry leaves out, are held once each and do not
        // count towards the limit: the entry read again gives the same words.
        if (w == RtfWord::ListOverrideIndex || w == RtfWord::ListLevelIndex) {
            const auto same = std::find_if(styleDraft_.words.begin(), styleDraft_.words.end(),
                                           [w](const RtfStyleSheet::Word &x) { return x.word == w; });
            if (same != styleDraft_.words.end())
                same->value = value;
            else
                styleDraft_.words.append({w, value});
        } else if (styleDraft_.counted < RtfStyleSheet::kMaxWords) {
            styleDraft_.words.append({w, value});
            ++styleDraft_.counted;
        }
        break;
    }
}

void RtfReader::infoTimeWord(RtfWord w, int value)
{
    if (w >= RtfWord::Year && w <= RtfWord::Second)
        infoTime_[std::size_t(int(w) - int(RtfWord::Year))] = qMin(value, 9999);
}
