#include "layout/RootFlow.h"
#include "layout/FrameBox.h"
#include "layout/FrameLayouter.h"
#include "layout/ParagraphLayout.h"
#include "layout/TableBox.h"
#include "layout/TableLayouter.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>

void RootFlow::setSettings(const LayoutSettings &settings)
{
    m_settings = settings;
    readEdges();
}

void RootFlow::readEdges()
{
    const QTextFrameFormat format = m_settings.document->rootFrame()->frameFormat();
    // Whole pixels at the device's resolution, as Qt's layout measures a frame's edges.
    const auto edge = [this](qreal length) { return m_settings.scaledFixed(length).round(); };
    const Fixed border = edge(format.border());
    const Fixed padding = edge(format.padding());
    m_top = edge(format.topMargin()) + border + padding;
    m_bottomEdge = edge(format.bottomMargin()) + border + padding;
    m_left = edge(format.leftMargin()) + border + padding;
    m_rightEdge = edge(format.rightMargin()) + border + padding;
    const qreal page = m_settings.pageWidth;
    // A page of no width (text that does not wrap) leaves lines as long as they are.
    m_right = page > 0 ? Fixed::fromReal(page) - m_rightEdge : Fixed::max() / 4;
}

void RootFlow::noteContents(Entry &entry, Fixed contents)
{
    if (Fixed::fromFixed(entry.contents) == m_widest && contents < m_widest)
        m_widestKnown = false;
    entry.contents = contents.value();
    m_widest = std::max(m_widest, contents);
}

Fixed RootFlow::width() const
{
    if (!m_widestKnown) {
        m_widest = Fixed();
        for (const Entry &e : m_entries)
            m_widest = std::max(m_widest, Fixed::fromFixed(e.contents));
        m_widestKnown = true;
    }
    const Fixed content = m_left + m_widest + m_rightEdge;
    return m_settings.pageWidth > 0 ? std::max(Fixed::fromReal(m_settings.pageWidth), content) : content;
}

QTextFrame *RootFlow::rootChildOf(const QTextBlock &block) const
{
    QTextDocument *doc = m_settings.document;
    QTextFrame *root = doc->rootFrame();
    QTextFrame *frame = doc->frameAt(block.position());
    while (frame && frame->parentFrame() && frame->parentFrame() != root)
        frame = frame->parentFrame();
    return frame == root ? nullptr : frame;
}

QTextFrame *RootFlow::frameAt(int item) const
{
    if (m_entries[std::size_t(item)].kind != FrameStart)
        return nullptr;
    return rootChildOf(m_settings.document->findBlockByNumber(item));
}

// ---- Items ------------------------------------------------------------------------------------

int RootFlow::itemStart(int block) const
{
    if (m_entries[std::size_t(block)].kind != FrameInside)
        return block;
    QTextDocument *doc = m_settings.document;
    if (QTextFrame *frame = rootChildOf(doc->findBlockByNumber(block)))
        return doc->findBlock(frame->firstPosition()).blockNumber();
    return block;
}

int RootFlow::nextItem(int item) const
{
    if (m_entries[std::size_t(item)].kind == Paragraph)
        return item + 1;
    QTextDocument *doc = m_settings.document;
    if (QTextFrame *frame = rootChildOf(doc->findBlockByNumber(item)))
        return std::max(item + 1, doc->findBlock(frame->lastPosition()).blockNumber() + 1);
    return item + 1;
}

int RootFlow::itemAt(Fixed y) const
{
    if (m_entries.empty())
        return 0;
    const int found = std::min(m_index.itemAt(y - m_top), blockCount() - 1);
    return itemStart(std::max(found, 0));
}

int RootFlow::searchStart(Fixed y) const
{
    if (m_entries.empty() || y < Fixed() || y > height())
        return 0;
    constexpr Fixed kStep = Fixed::fromInt(2000);
    Fixed mark = m_top;
    int markItem = 0;
    for (;;) {
        // The next mark: the first item that starts more than a step below the last one.
        const int holding = m_index.itemAt(mark + kStep - m_top);
        if (holding >= blockCount())
            break;
        const int next = nextItem(itemStart(holding));
        if (next >= blockCount() || itemTop(next) >= y)
            break;
        mark = itemTop(next);
        markItem = next;
    }
    return markItem;
}

int RootFlow::nextUnlaid(int item) const
{
    for (int i = std::max(item, 0); i < blockCount(); ++i)
        if (!m_entries[std::size_t(i)].exact)
            return i;
    return blockCount();
}

void RootFlow::setExact(int item, bool exact)
{
    Entry &e = m_entries[std::size_t(item)];
    if (e.exact == exact)
        return;
    e.exact = exact;
    m_unlaid += exact ? -1 : 1;
}

void RootFlow::invalidate(int block)
{
    if (block < 0 || block >= blockCount())
        return;
    const int item = itemStart(block);
    if (m_entries[std::size_t(item)].kind == FrameInside)
        return;
    setExact(item, false);
    if (m_entries[std::size_t(item)].kind == Paragraph)
        m_settings.document->findBlockByNumber(item).clearLayout();
}

// ---- Estimates ----------------------------------------------------------------------------------

Fixed RootFlow::estimate(const QTextBlock &block, qreal &previousBottom) const
{
    const std::size_t formatIndex = std::size_t(std::max(0, block.blockFormatIndex()));
    if (formatIndex >= m_margins.size())
        m_margins.resize(formatIndex + 1);
    Margins &margins = m_margins[formatIndex];
    if (!margins.known) {
        const QTextBlockFormat format = block.blockFormat();
        margins = {true, format.topMargin(), format.bottomMargin(), format.leftMargin() + format.rightMargin()};
    }
    const std::size_t charIndex = std::size_t(std::max(0, block.charFormatIndex()));
    if (charIndex >= m_sizes.size())
        m_sizes.resize(charIndex + 1, 0);
    qreal &size = m_sizes[charIndex];
    if (size == 0) {
        const QTextCharFormat chars = block.charFormat();
        size = 1;
        if (m_defaultPointSize > 0 && chars.hasProperty(QTextFormat::FontPointSize) && chars.fontPointSize() > 0)
            size = chars.fontPointSize() / m_defaultPointSize;
    }
    const qreal width = std::max<qreal>(40, (m_right - m_left).toReal() - margins.sides);
    const qreal lines = std::max<qreal>(1, std::ceil(block.length() * m_characterWidth * size / width));
    // The gap between paragraphs, as ParagraphLayout::gap makes it.
    const qreal margin = std::max(margins.top, previousBottom);
    const Fixed gap = margin > 0 ? m_settings.scaledFixed(margin) : Fixed();
    previousBottom = margins.bottom;
    return gap + Fixed::fromReal(lines * std::ceil(m_lineHeight.toReal() * size));
}

Fixed RootFlow::estimateFrame(int item) const
{
    QTextFrame *frame = frameAt(item);
    if (!frame || frame->frameFormat().position() != QTextFrameFormat::InFlow)
        return Fixed();
    QTextDocument *doc = m_settings.document;
    const int blocks = doc->findBlock(frame->lastPosition()).blockNumber() - item + 1;
    int across = 1;
    if (auto *table = qobject_cast<QTextTable *>(frame))
        across = std::max(1, table->columns());
    return Fixed::fromReal((blocks + across - 1) / across * (m_lineHeight.toReal() + 10));
}

// ---- Changes ------------------------------------------------------------------------------------

// Gives the paragraphs first..last their kinds. They are laid out again (and not counted among
// those waiting) when this is called; those inside a frame have no height of their own.
void RootFlow::classify(int first, int last)
{
    for (int i = first; i <= last; ++i)
        m_entries[std::size_t(i)].kind = Paragraph;
    QTextDocument *doc = m_settings.document;
    const QList<QTextFrame *> children = doc->rootFrame()->childFrames();
    if (!children.isEmpty()) {
        const int from = doc->findBlockByNumber(first).position();
        const QTextBlock lastBlock = doc->findBlockByNumber(last);
        const int to = lastBlock.position() + lastBlock.length();
        // From the first frame that ends at or after the range's start.
        const auto at = std::partition_point(children.begin(), children.end(),
                                             [from](QTextFrame *f) { return f->lastPosition() < from; });
        for (auto it = at; it != children.end() && (*it)->firstPosition() <= to; ++it) {
            const int start = doc->findBlock((*it)->firstPosition()).blockNumber();
            const int end = doc->findBlock((*it)->lastPosition()).blockNumber();
            for (int i = std::max(start, first); i <= std::min(end, last); ++i)
                m_entries[std::size_t(i)].kind = i == start ? FrameStart : FrameInside;
        }
    }
    for (int i = first; i <= last; ++i) {
        Entry &e = m_entries[std::size_t(i)];
        e.hiddenAfterTable = false;
        if (e.kind == FrameInside) {
            e.exact = true; // its frame's item has its height
            e.offset = 0;
            m_index.setHeight(i, Fixed());
        } else {
            e.exact = false;
            ++m_unlaid;
        }
    }
}

void RootFlow::findFloats()
{
    m_floats.clear();
    QTextDocument *doc = m_settings.document;
    for (QTextFrame *frame : doc->rootFrame()->childFrames())
        if (frame->frameFormat().position() != QTextFrameFormat::InFlow)
            m_floats.push_back({frame, doc->findBlock(frame->firstPosition()).blockNumber()});
}

// The frames' layouts go with their paragraphs' ones.
void RootFlow::forgetFrames(QTextFrame *frame)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *box = dynamic_cast<FrameBox *>(child->layoutData())) {
            box->dirty = true;
            if (auto *table = dynamic_cast<TableBox *>(box))
                table->rows = -1; // its cells are laid out again too
        }
        forgetFrames(child);
    }
}

void RootFlow::reset()
{
    readEdges();
    QTextDocument *doc = m_settings.document;
    QFont font = doc->defaultFont();
    if (m_settings.device)
        font = QFont(font, m_settings.device);
    const QFontMetricsF metrics(font);
    m_lineHeight = Fixed::fromReal(std::ceil(metrics.ascent() + metrics.descent() + std::max<qreal>(0, metrics.leading())));
    m_defaultPointSize = doc->defaultFont().pointSizeF();
    m_characterWidth = metrics.averageCharWidth();
    m_widest = Fixed();
    m_floatBottom = Fixed();

    forgetFrames(doc->rootFrame());
    const int count = doc->blockCount();
    m_entries.assign(std::size_t(count), Entry());
    m_unlaid = 0;
    m_index.assign(std::vector<int>(std::size_t(count), 0));
    classify(0, count - 1);
    findFloats();
    std::vector<int> heights(std::size_t(count), 0);
    m_margins.clear();
    m_sizes.clear();
    qreal previousBottom = 0; // of the paragraph before, none before a frame
    // Text measured for another resolution keeps the fonts it was measured with: they go.
    const int dpi = m_settings.device ? m_settings.device->logicalDpiY() : 0;
    const bool newResolution = m_dpi >= 0 && dpi != m_dpi;
    m_dpi = dpi;
    int i = 0;
    for (QTextBlock block = doc->begin(); block.isValid() && i < count; block = block.next(), ++i) {
        block.clearLayout();
        if (newResolution)
            block.layout()->setFont(block.layout()->font());
        const Entry &e = m_entries[std::size_t(i)];
        if (e.kind == Paragraph) {
            heights[std::size_t(i)] = estimate(block, previousBottom).value();
        } else {
            if (e.kind == FrameStart)
                heights[std::size_t(i)] = estimateFrame(i).value();
            previousBottom = 0;
        }
    }
    m_index.assign(std::move(heights));
}

void RootFlow::replace(int first, int oldCount, int newCount)
{
    QTextDocument *doc = m_settings.document;
    bool framesBefore = false;
    for (int i = first; i < first + oldCount; ++i) {
        const Entry &e = m_entries[std::size_t(i)];
        framesBefore = framesBefore || e.kind != Paragraph;
    }
    // The entries of the range leave the count of those waiting; classify() counts them again.
    for (int i = first; i < first + oldCount; ++i) {
        Entry &e = m_entries[std::size_t(i)];
        if (e.kind != FrameInside && !e.exact)
            --m_unlaid;
        if (Fixed::fromFixed(e.contents) == m_widest && e.contents > 0)
            m_widestKnown = false;
        e.contents = 0;
    }
    if (oldCount != newCount) {
        m_entries.erase(m_entries.begin() + first, m_entries.begin() + first + oldCount);
        m_entries.insert(m_entries.begin() + first, std::size_t(newCount), Entry());
        m_index.remove(first, oldCount);
        m_index.insert(first, newCount, Fixed());
    }
    const int last = first + newCount - 1;
    classify(first, last);

    bool framesAfter = false;
    QTextBlock block = doc->findBlockByNumber(first);
    m_margins.clear();
    m_sizes.clear();
    const bool afterParagraph = first > 0 && m_entries[std::size_t(first - 1)].kind == Paragraph;
    qreal previousBottom = afterParagraph ? block.previous().blockFormat().bottomMargin() : 0;
    for (int i = first; i <= last && block.isValid(); ++i, block = block.next()) {
        block.clearLayout();
        const Entry &e = m_entries[std::size_t(i)];
        framesAfter = framesAfter || e.kind != Paragraph;
        if (e.kind != Paragraph)
            previousBottom = 0;
        if (oldCount != newCount && e.kind == Paragraph)
            m_index.setHeight(i, estimate(block, previousBottom));
        else if (oldCount != newCount && e.kind == FrameStart)
            m_index.setHeight(i, estimateFrame(i));
        else if (e.kind == Paragraph)
            previousBottom = block.blockFormat().bottomMargin();
    }
    if (framesBefore || framesAfter || (oldCount != newCount && !doc->rootFrame()->childFrames().isEmpty()))
        findFloats();
    // The neighbours: the paragraph before may now hide before a table, the one after may hide
    // after one, or keep a different distance.
    if (framesBefore || framesAfter || oldCount != newCount) {
        invalidate(first - 1);
        invalidate(last + 1);
    }
}

// ---- Laying out ---------------------------------------------------------------------------------

FloatArea RootFlow::floatsBefore(int item)
{
    FloatArea area;
    for (const RootFloat &f : m_floats) {
        if (!f.frame || f.item >= item)
            continue;
        FrameBox *box = FrameBox::of(f.frame);
        if (box->dirty || !m_entries[std::size_t(f.item)].exact) {
            FrameLayouter frames(m_settings);
            frames.layoutFrame(f.frame, frames.widthIn(f.frame, m_right - m_left));
            setExact(f.item, true);
            m_index.setHeight(f.item, Fixed());
            noteContents(m_entries[std::size_t(f.item)], box->width);
        }
        const Fixed y = area.firstFit(itemTop(f.item), box->width, m_left, m_right);
        m_floatBottom = std::max(m_floatBottom, y + box->height);
        Fixed l = m_left;
        Fixed r = m_right;
        area.margins(y, &l, &r);
        const bool left = f.frame->frameFormat().position() == QTextFrameFormat::FloatLeft;
        box->x = left ? l : r - box->width;
        box->y = y;
        area.add({f.frame, box->x, box->y, box->width, box->height, left});
    }
    return area;
}

Fixed RootFlow::layoutParagraph(int item, const QTextBlock &block)
{
    Entry &e = m_entries[std::size_t(item)];
    const QTextBlockFormat format = block.blockFormat();
    QTextBlockFormat previousFormat;
    const QTextBlockFormat *previous = nullptr;
    QTextFrame *previousFrame = nullptr;
    if (item > 0) {
        if (m_entries[std::size_t(item - 1)].kind == Paragraph) {
            previousFormat = block.previous().blockFormat();
            previous = &previousFormat;
        } else {
            const int frameItem = itemStart(item - 1);
            previousFrame = frameAt(frameItem);
            if (previousFrame)
                FrameBox::of(previousFrame)->y = itemTop(frameItem);
        }
    }
    QTextFrame *nextFrame = nullptr;
    if (item + 1 < blockCount() && m_entries[std::size_t(item + 1)].kind == FrameStart)
        nextFrame = rootChildOf(block.next());
    const Fixed top = itemTop(item);
    const Fixed oldHeight = m_index.height(item);
    const FloatArea floats = m_floats.empty() ? FloatArea() : floatsBefore(item);
    FrameLayouter frames(m_settings);
    FrameLayouter::Flow flow;
    const FrameLayouter::Column column{m_left, m_right, Fixed(), Fixed(), m_top};
    const Fixed y = frames.layoutParagraph(block, format, previous, previousFrame, nextFrame, column, top, &floats, flow);
    noteContents(e, flow.contents);
    const Fixed height = y - top;
    e.hiddenAfterTable = FrameLayouter::isEmptyAfterTable(block, previousFrame)
                      && !FrameLayouter::isEmptyBeforeTable(block, format, nextFrame);
    e.offset = (Fixed::fromReal(block.layout()->position().y()) - top).value();
    e.previousBottom = previous ? float(previous->bottomMargin()) : 0;
    setExact(item, true);
    m_index.setHeight(item, height);
    // The paragraph after keeps its distance from this one's bottom margin.
    if (item + 1 < blockCount()) {
        const Entry &next = m_entries[std::size_t(item + 1)];
        if (next.kind == Paragraph && next.exact && next.previousBottom != float(format.bottomMargin()))
            invalidate(item + 1);
    }
    if (!m_floats.empty() && height != oldHeight)
        redoBesideFloats(item, top + oldHeight);
    return height - oldHeight;
}

Fixed RootFlow::layoutFrame(int item, QTextFrame *frame)
{
    FrameBox *box = FrameBox::of(frame);
    const Fixed oldHeight = m_index.height(item);
    FrameLayouter frames(m_settings);
    const FrameLayouter::Column column{m_left, m_right, Fixed(), Fixed(), m_top};
    Fixed height;
    if (frame->frameFormat().position() == QTextFrameFormat::InFlow) {
        const Fixed top = itemTop(item);
        FloatArea floats = m_floats.empty() ? FloatArea() : floatsBefore(item);
        FrameLayouter::Flow flow;
        flow.y = top;
        frames.placeChild(frame, flow, column, floats);
        height = flow.y - top;
    } else {
        frames.layoutFrame(frame, frames.widthIn(frame, m_right - m_left), Fixed::max(), m_top);
    }
    noteContents(m_entries[std::size_t(item)], box->width);
    setExact(item, true);
    m_index.setHeight(item, height);
    if (frame->frameFormat().position() != QTextFrameFormat::InFlow) {
        redoBesideFloats(item, itemTop(item));
    } else {
        // A paragraph hiding at the table's corner, or starting there, follows the table.
        const int next = nextItem(item);
        if (next < blockCount() && m_entries[std::size_t(next)].kind == Paragraph
            && (m_entries[std::size_t(next)].hiddenAfterTable || height != oldHeight))
            invalidate(next);
    }
    return height - oldHeight;
}

// Paragraphs beside a float are laid out around it: when what stands before them moved them
// along it, they are laid out again.
void RootFlow::redoBesideFloats(int item, Fixed oldBottom)
{
    Fixed reach;
    for (const RootFloat &f : m_floats) {
        if (!f.frame || f.item > item)
            continue;
        const FrameBox *box = FrameBox::of(f.frame);
        reach = std::max(reach, box->y + box->height);
    }
    const Fixed newBottom = itemTop(item) + m_index.height(item);
    if (reach <= std::min(oldBottom, newBottom))
        return;
    reach += newBottom > oldBottom ? newBottom - oldBottom : oldBottom - newBottom;
    for (int next = nextItem(item); next < blockCount() && itemTop(next) < reach; next = nextItem(next))
        invalidate(next);
}

void RootFlow::placeParagraph(int item, const QTextBlock &block)
{
    const Entry &e = m_entries[std::size_t(item)];
    QTextLayout *layout = block.layout();
    if (e.hiddenAfterTable && item > 0) {
        const int table = itemStart(item - 1);
        if (QTextFrame *frame = frameAt(table)) {
            const FrameBox *box = FrameBox::of(frame);
            FrameLayouter::hideAfterTable(block, QPointF((box->x + box->width).toReal(),
                                                         (itemTop(table) + box->height).toReal()));
            return;
        }
    }
    layout->setPosition(QPointF(m_left.toReal(), (itemTop(item) + Fixed::fromFixed(e.offset)).toReal()));
}

bool RootFlow::prepare(int item, const QDeadlineTimer &deadline)
{
    auto *table = qobject_cast<QTextTable *>(frameAt(item));
    if (!table)
        return true;
    FrameLayouter frames(m_settings);
    auto *box = static_cast<TableBox *>(FrameBox::of(table));
    return TableLayouter(frames).layoutCells(table, *box, frames.widthIn(table, m_right - m_left), deadline);
}

Fixed RootFlow::ensure(int item)
{
    if (item < 0 || item >= blockCount())
        return Fixed();
    const Entry &e = m_entries[std::size_t(item)];
    const QTextBlock block = m_settings.document->findBlockByNumber(item);
    if (e.kind == Paragraph) {
        const Fixed change = e.exact ? Fixed() : layoutParagraph(item, block);
        placeParagraph(item, block);
        return change;
    }
    if (e.kind == FrameInside)
        return Fixed();
    QTextFrame *frame = rootChildOf(block);
    if (!frame)
        return Fixed();
    FrameBox *box = FrameBox::of(frame);
    Fixed change;
    if (!e.exact || box->dirty)
        change = layoutFrame(item, frame);
    if (frame->frameFormat().position() == QTextFrameFormat::InFlow) {
        box->y = itemTop(item) + (m_index.height(item) - box->height); // below the floats it made room for
    } else {
        floatsBefore(item + 1); // places it
    }
    return change;
}
