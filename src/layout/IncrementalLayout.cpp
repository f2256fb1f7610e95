#include "layout/IncrementalLayout.h"
#include "layout/FrameBox.h"
#include "layout/FrameLayouter.h"
#include "layout/FramePainter.h"
#include "layout/HitTester.h"
#include "layout/IdleLayout.h"
#include "layout/PictureObject.h"
#include "layout/TableBox.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>
#include <climits>

IncrementalLayout::IncrementalLayout(QTextDocument *document)
    : QAbstractTextDocumentLayout(document), m_root(*this)
{
    m_pictures = new PictureObject(this);
    registerHandler(QTextFormat::ImageObject, m_pictures);
    m_idle = new IdleLayout([this](int milliseconds) { return layoutSlice(milliseconds); }, this);
    m_reportTimer.setSingleShot(true);
    m_reportTimer.setInterval(0);
    connect(&m_reportTimer, &QTimer::timeout, this, &IncrementalLayout::report);
}

IncrementalLayout::~IncrementalLayout() = default;

// Between a change of the document and the layout hearing of it (those who follow the document's
// contentsChange hear first), the paragraphs are not those the layout knows: it answers nothing.
bool IncrementalLayout::isBehind() const
{
    return document()->blockCount() != m_root.blockCount();
}

bool IncrementalLayout::isShown() const
{
    // Like Qt's layout, nothing is laid out for a page of no size.
    return !document()->pageSize().isNull();
}

void IncrementalLayout::prepare() const
{
    m_root.setSettings(LayoutSettings::of(*this));
}

void IncrementalLayout::setCursorWidth(int width)
{
    m_cursorWidth = width;
}

void IncrementalLayout::setSliceMilliseconds(int milliseconds)
{
    m_idle->setSliceMilliseconds(milliseconds);
    if (!isComplete())
        m_idle->start();
}

void IncrementalLayout::setViewTop(qreal y)
{
    m_viewTop = y < 0 ? Fixed::fromInt(-1) : Fixed::fromReal(y);
    if (y >= 0 && m_root.blockCount() > 0)
        m_scan = m_root.itemAt(m_viewTop);
}

// ---- What changed -------------------------------------------------------------------------------

void IncrementalLayout::scheduleReport() const
{
    if (m_shift != Fixed() || m_changedFrom >= 0 || !m_updateRect.isNull() || documentSize() != m_reportedSize)
        m_reportTimer.start();
}

void IncrementalLayout::report()
{
    m_reportTimer.stop();
    const QSizeF size = documentSize();
    if (size != m_reportedSize) {
        m_reportedSize = size;
        emit documentSizeChanged(size);
    }
    if (m_shift != Fixed()) {
        if (m_viewTop >= Fixed())
            m_viewTop = std::max(Fixed(), m_viewTop + m_shift);
        m_shift = Fixed();
        emit viewTopMoved(m_viewTop.toReal());
    }
    if (m_changedFrom >= 0) {
        const qreal from = m_changedFrom;
        m_changedFrom = -1;
        m_updateRect = QRectF();
        emit update(QRectF(0, from, qreal(INT_MAX), qreal(INT_MAX)));
    }
    if (!m_updateRect.isNull()) {
        const QRectF rect = m_updateRect;
        m_updateRect = QRectF();
        emit update(rect);
    }
}

void IncrementalLayout::ensureItem(int item, Why why) const
{
    const Fixed top = m_root.itemTop(item);
    const Fixed bottom = top + m_root.itemHeight(item);
    const bool laidOut = m_root.isLaidOut(item);
    const Fixed change = m_root.ensure(item);
    if (why == Why::Edit) {
        // An edit that keeps the item's height repaints the item alone, else all below it too.
        if (laidOut)
            return;
        if (change == Fixed() && m_typing)
            m_updateRect |= QRectF(0, top.toReal(), m_root.width().toReal(), m_root.itemHeight(item).toReal());
        else
            m_changedFrom = m_changedFrom < 0 ? top.toReal() : std::min(m_changedFrom, top.toReal());
        return;
    }
    if (change == Fixed())
        return;
    // An estimate replaced above the view moves what the view shows; the view follows it.
    if (m_viewTop >= Fixed() && bottom <= m_viewTop)
        m_shift += change;
    else if (why != Why::Paint)
        m_changedFrom = m_changedFrom < 0 ? top.toReal() : std::min(m_changedFrom, top.toReal());
}

// ---- Changes ------------------------------------------------------------------------------------

void IncrementalLayout::reset()
{
    // The view keeps showing the paragraph it showed, at the place estimated for it now.
    int anchor = -1;
    qreal within = 0;
    if (m_viewTop >= Fixed() && m_root.blockCount() > 0) {
        anchor = m_root.itemAt(m_viewTop);
        const Fixed height = m_root.itemHeight(anchor);
        within = height > Fixed() ? (m_viewTop - m_root.itemTop(anchor)).toReal() / height.toReal() : 0;
    }
    m_root.reset();
    m_scan = 0;
    m_changedFrom = 0;
    if (anchor >= 0 && anchor < m_root.blockCount()) {
        anchor = m_root.itemStart(anchor);
        const Fixed top = m_root.itemTop(anchor) + Fixed::fromReal(within * m_root.itemHeight(anchor).toReal());
        m_shift = top - m_viewTop;
        m_scan = anchor;
    }
}

void IncrementalLayout::markFrames(const QTextBlock &block)
{
    QTextDocument *doc = document();
    QTextFrame *root = doc->rootFrame();
    const int position = block.position();
    for (QTextFrame *frame = doc->frameAt(position); frame && frame != root; frame = frame->parentFrame()) {
        FrameBox *box = FrameBox::of(frame);
        box->dirty = true;
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            auto *tableBox = static_cast<TableBox *>(box);
            const QTextTableCell cell = table->cellAt(position);
            if (cell.isValid() && tableBox->rows == table->rows() && tableBox->columns == table->columns())
                tableBox->cell(cell.row(), cell.column()).dirty = true;
        }
    }
    m_root.invalidate(block.blockNumber());
}

void IncrementalLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument *doc = document();
    if (m_resetPending)
        return; // all is read again anyway
    prepare();
    QTextBlock first = doc->findBlock(from);
    QTextBlock last = doc->findBlock(from + charsAdded);
    if (!first.isValid())
        first = doc->lastBlock();
    if (!last.isValid())
        last = doc->lastBlock();
    const int firstNumber = first.blockNumber();
    const int lastNumber = std::max(firstNumber, last.blockNumber());
    const int newCount = lastNumber - firstNumber + 1;
    const int oldCount = newCount - (doc->blockCount() - m_root.blockCount());
    // A change of everything: a new content, or what Qt's layout is told to lay out again (a new
    // default font or page size: several of them come together when a file is opened).
    const bool whole = (charsRemoved == 0 && charsAdded == doc->characterCount()) || m_root.blockCount() == 0
                    || (firstNumber == 0 && oldCount >= m_root.blockCount());
    if (whole || oldCount < 1 || firstNumber + oldCount > m_root.blockCount()) {
        // All is read again when the layout is next asked something, once for changes that
        // come together.
        m_resetPending = true;
        m_idle->start();
        m_reportTimer.start();
        return;
    }
    // Text typed or deleted within paragraphs repaints no more than them; a change of format
    // may change what is drawn below (a list's numbers).
    m_typing = charsRemoved != charsAdded && oldCount == newCount;
    m_root.replace(firstNumber, oldCount, newCount);
    if (!doc->rootFrame()->childFrames().isEmpty()) {
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            markFrames(block);
            if (block == last)
                break;
        }
    }
    if (isShown())
        layoutEdited(firstNumber, lastNumber);
    if (!isComplete())
        m_idle->start();
    report();
}

// A reset waiting for the layout to be asked something is done now. What the view shows is laid
// out at once (a short document all of it), so the view's size and scroll bars are right from the
// start.
void IncrementalLayout::settle() const
{
    if (!m_resetPending)
        return;
    auto *self = const_cast<IncrementalLayout *>(this);
    self->m_resetPending = false;
    prepare();
    self->reset();
    if (isShown())
        self->layoutSlice(m_editMilliseconds);
    scheduleReport();
}

// The items an edit touched are laid out at once, for a few milliseconds; what is left is laid out
// when it is shown or when the program is idle.
void IncrementalLayout::layoutEdited(int first, int last)
{
    QElapsedTimer clock;
    clock.start();
    const int count = m_root.blockCount();
    const int end = std::min(last + 1, count - 1);
    for (int item = m_root.itemStart(std::max(0, first - 1)); item <= end; item = m_root.nextItem(item)) {
        if (m_root.isLaidOut(item))
            continue;
        ensureItem(item, Why::Edit);
        if (clock.elapsed() >= m_editMilliseconds)
            break;
    }
}

bool IncrementalLayout::layoutSlice(int milliseconds)
{
    settle();
    if (isComplete() || !isShown())
        return false;
    prepare();
    QElapsedTimer clock;
    clock.start();
    const int count = m_root.blockCount();
    int item = m_root.nextUnlaid(std::min(m_scan, count));
    if (item >= count)
        item = m_root.nextUnlaid(0);
    const QDeadlineTimer deadline(milliseconds);
    while (item < count) {
        if (!m_root.prepare(item, deadline))
            break; // the rest of a big table in the next slice
        ensureItem(item, Why::Idle);
        item = m_root.nextUnlaid(m_root.nextItem(item));
        if (item >= count)
            item = m_root.nextUnlaid(0);
        if (clock.elapsed() >= milliseconds)
            break;
    }
    m_scan = item;
    report();
    return !isComplete();
}

void IncrementalLayout::layoutAll()
{
    settle();
    if (!isShown())
        return;
    prepare();
    for (int item = m_root.nextUnlaid(0); item < m_root.blockCount(); item = m_root.nextUnlaid(m_root.nextItem(item)))
        ensureItem(item, Why::Idle);
    report();
}

// ---- Pictures -----------------------------------------------------------------------------------

void IncrementalLayout::resizeInlineObject(QTextInlineObject item, int positionInDocument, const QTextFormat &format)
{
    const QTextCharFormat f = format.toCharFormat();
    QTextObjectInterface *handler = handlerForObject(f.objectType());
    if (!handler)
        return;
    const QSizeF size = handler->intrinsicSize(document(), positionInDocument, format);
    // A frame that floats takes no room in its line.
    auto *frame = qobject_cast<QTextFrame *>(document()->objectForFormat(f));
    const bool inFlow = !frame || frame->frameFormat().position() == QTextFrameFormat::InFlow;
    const QSizeF inLine = inFlow ? size : QSizeF(0, 0);
    item.setWidth(inLine.width());
    if (f.verticalAlignment() == QTextCharFormat::AlignMiddle) {
        const QFontMetrics metrics(f.font());
        const qreal halfX = metrics.xHeight() / 2.;
        item.setAscent((inLine.height() + halfX) / 2.);
        item.setDescent((inLine.height() - halfX) / 2.);
    } else {
        item.setDescent(0);
        item.setAscent(inLine.height());
    }
}

void IncrementalLayout::drawInlineObject(QPainter *painter, const QRectF &rect, QTextInlineObject object,
                                         int positionInDocument, const QTextFormat &format)
{
    auto *frame = qobject_cast<QTextFrame *>(document()->objectForFormat(format));
    if (frame && frame->frameFormat().position() != QTextFrameFormat::InFlow)
        return;
    QAbstractTextDocumentLayout::drawInlineObject(painter, rect, object, positionInDocument, format);
}

// ---- Geometry -----------------------------------------------------------------------------------

QSizeF IncrementalLayout::documentSize() const
{
    settle();
    if (m_root.blockCount() == 0)
        return QSizeF();
    return QSizeF(m_root.width().toReal(), m_root.height().toReal());
}

QRectF IncrementalLayout::blockBoundingRect(const QTextBlock &block) const
{
    settle();
    if (!isShown() || !block.isValid() || !block.isVisible() || isBehind())
        return QRectF();
    prepare();
    ensureItem(m_root.itemStart(block.blockNumber()), Why::Query);
    QTextDocument *doc = document();
    QPointF offset;
    const int position = block.position();
    for (QTextFrame *frame = doc->frameAt(position); frame && frame != doc->rootFrame(); frame = frame->parentFrame()) {
        const FrameBox *box = FrameBox::of(frame);
        offset += QPointF(box->x.toReal(), box->y.toReal());
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            const QTextTableCell cell = table->cellAt(position);
            if (cell.isValid())
                offset += static_cast<const TableBox *>(box)->cellPosition(cell);
        }
    }
    const QTextLayout *layout = block.layout();
    QRectF rect = layout->boundingRect();
    rect.moveTopLeft(layout->position() + offset);
    scheduleReport();
    return rect;
}

QRectF IncrementalLayout::frameBoundingRect(QTextFrame *frame) const
{
    settle();
    QTextDocument *doc = document();
    if (!isShown() || !frame || isBehind())
        return QRectF();
    if (frame == doc->rootFrame())
        return QRectF(QPointF(), documentSize());
    prepare();
    ensureItem(m_root.itemStart(doc->findBlock(frame->firstPosition()).blockNumber()), Why::Query);
    // As in Qt's layout, a table's place is that of its first cell's content.
    QPointF position;
    const int first = frame->firstPosition();
    for (QTextFrame *f = frame; f && f != doc->rootFrame(); f = f->parentFrame()) {
        const FrameBox *box = FrameBox::of(f);
        position += QPointF(box->x.toReal(), box->y.toReal());
        if (auto *table = qobject_cast<QTextTable *>(f)) {
            const QTextTableCell cell = table->cellAt(first);
            if (cell.isValid())
                position += static_cast<const TableBox *>(box)->cellPosition(cell);
        }
    }
    const FrameBox *box = FrameBox::of(frame);
    scheduleReport();
    return QRectF(position, QSizeF(box->width.toReal(), box->height.toReal()));
}

int IncrementalLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    settle();
    QTextDocument *doc = document();
    if (!isShown() || m_root.blockCount() == 0 || isBehind())
        return accuracy == Qt::ExactHit ? -1 : 0;
    prepare();
    const HitTester tester(accuracy);
    const int count = m_root.blockCount();
    if (point.y() > m_root.height().toReal())
        return hitBelowEnd(point, tester, accuracy);
    int item = m_root.searchStart(Fixed::fromReal(point.y()));
    ensureItem(item, Why::Query);
    QTextFrame *frame = m_root.frameAt(item);
    int position = frame ? frame->firstPosition() : doc->findBlockByNumber(item).position();
    HitTester::Hit hit = HitTester::Before;
    for (; item < count; item = m_root.nextItem(item)) {
        ensureItem(item, Why::Query);
        int found = -1;
        HitTester::Hit h;
        frame = m_root.frameAt(item);
        QTextBlock block;
        if (frame) {
            h = tester.frame(frame, point, &found);
        } else {
            block = doc->findBlockByNumber(item);
            h = tester.paragraph(block, point, &found);
        }
        if (h >= HitTester::Inside) {
            const int next = m_root.nextItem(item);
            QTextFrame *nextFrame = next < count ? m_root.frameAt(next) : nullptr;
            if (!frame && FrameLayouter::isEmptyBeforeTable(block, block.blockFormat(), nextFrame))
                continue;
            hit = h;
            position = found;
            break;
        }
        if (h == HitTester::Before && found < position) {
            position = found;
            hit = h;
        } else if (h == HitTester::After && found > position) {
            position = found;
            hit = h;
        }
        // Below the point everything else comes after it.
        if (h == HitTester::Before && m_root.itemTop(item).toReal() > point.y())
            break;
    }
    scheduleReport();
    if (accuracy == Qt::ExactHit && hit < HitTester::Exact)
        return -1;
    return std::clamp(position, 0, doc->rootFrame()->lastPosition());
}

// Below the document's end every paragraph lies before the point, and gives its end; a frame the
// point is left of gives the position before it (as in Qt's layout, whose order of answers this
// follows). The paragraphs need not be laid out for this.
int IncrementalLayout::hitBelowEnd(QPointF point, const HitTester &tester, Qt::HitTestAccuracy accuracy) const
{
    QTextDocument *doc = document();
    const int count = m_root.blockCount();
    int position = 0;
    QTextBlock block = doc->begin();
    for (int item = 0; item < count && block.isValid();) {
        const int next = m_root.nextItem(item);
        int found = -1;
        HitTester::Hit hit = HitTester::After;
        if (QTextFrame *frame = m_root.frameAt(item)) {
            ensureItem(item, Why::Query);
            hit = tester.frame(frame, point, &found);
            block = doc->findBlockByNumber(next);
        } else {
            found = block.position() + block.length();
            block = block.next();
        }
        if (hit == HitTester::Before && found < position)
            position = found;
        else if (hit == HitTester::After && found > position)
            position = found;
        item = next;
    }
    scheduleReport();
    return accuracy == Qt::ExactHit ? -1 : std::clamp(position, 0, doc->rootFrame()->lastPosition());
}

// ---- Painting -----------------------------------------------------------------------------------

void IncrementalLayout::draw(QPainter *painter, const PaintContext &context)
{
    settle();
    if (!isShown() || m_root.blockCount() == 0 || isBehind())
        return;
    prepare();
    paintRoot(painter, context);
    scheduleReport();
}

void IncrementalLayout::paintRoot(QPainter *painter, const PaintContext &context)
{
    QTextDocument *doc = document();
    const LayoutSettings &settings = m_root.settings();
    const QRectF clip = context.clip;
    const QTextFrameFormat rootFormat = doc->rootFrame()->frameFormat();
    const QBrush background = rootFormat.background();
    if (background != Qt::NoBrush && clip.isValid())
        painter->fillRect(clip, background);
    const qreal width = m_root.width().toReal();
    const QRectF layoutClip = QRectF(0, 0, width, m_root.height().toReal())
                                  .adjusted(settings.scaled(rootFormat.leftMargin()), 0, -settings.scaled(rootFormat.rightMargin()), 0);
    FramePainter frames(settings, m_cursorWidth, layoutClip);

    const int count = m_root.blockCount();
    // From where Qt's layout starts too; the items well above the area are painted only when laid
    // out already (what reaches down from them, a paragraph hidden at a table's corner, is).
    int item = 0;
    int nearby = 0;
    if (clip.isValid() && clip.top() > 0) {
        item = m_root.searchStart(Fixed::fromReal(clip.top()));
        nearby = m_root.itemAt(Fixed::fromReal(clip.top()));
        if (nearby > 0)
            nearby = m_root.itemStart(nearby - 1);
    }
    const qreal bottom = clip.isValid() ? clip.bottom() : qreal(INT_MAX);
    // Floats placed above that reach down here.
    const FloatArea floats = m_root.floatsBefore(item);
    for (const FloatArea::Float &f : floats.floats())
        frames.paintFrame(painter, f.frame, QPointF(), context);

    QTextBlock previousBlock;
    QTextFrame *previousFrame = nullptr;
    for (; item < count; item = m_root.nextItem(item)) {
        if (item < nearby && !m_root.isLaidOut(item)) {
            previousBlock = QTextBlock();
            previousFrame = nullptr;
            continue;
        }
        ensureItem(item, Why::Paint);
        if (m_root.itemTop(item).toReal() > bottom)
            break;
        if (QTextFrame *frame = m_root.frameAt(item)) {
            frames.paintFrame(painter, frame, QPointF(), context);
            if (previousBlock.isValid() && previousBlock.contains(context.cursorPosition)
                && FrameLayouter::isEmptyBeforeTable(previousBlock, previousBlock.blockFormat(), frame))
                frames.paintCaret(painter, previousBlock, QPointF(), context);
            previousBlock = QTextBlock();
            previousFrame = frame;
            continue;
        }
        const QTextBlock block = doc->findBlockByNumber(item);
        const int next = m_root.nextItem(item);
        QTextFrame *nextFrame = next < count ? m_root.frameAt(next) : nullptr;
        if (FrameLayouter::isEmptyAfterTable(block, previousFrame)) {
            PaintContext quiet = context;
            quiet.selections.clear();
            frames.paintParagraph(painter, block, QPointF(), quiet, true);
        } else {
            const bool hidden = FrameLayouter::isEmptyBeforeTable(block, block.blockFormat(), nextFrame);
            frames.paintParagraph(painter, block, QPointF(), context, !hidden);
        }
        previousBlock = block;
        previousFrame = nullptr;
    }
}
