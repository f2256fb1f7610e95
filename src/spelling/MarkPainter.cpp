#include "spelling/MarkPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <cmath>

QPointF MarkPainter::scrollOffset() const
{
    const QScrollBar *across = m_editor.horizontalScrollBar();
    const int x = m_editor.isRightToLeft() ? across->maximum() - across->value() : across->value();
    return QPointF(x, m_editor.verticalScrollBar()->value());
}

void MarkPainter::paint(const QRect &area, const Marks &marksOf)
{
    QTextDocument *document = m_editor.document();
    if (document->defaultFont() != m_wavesFont) {
        m_waves.clear();
        m_wavesFont = document->defaultFont();
    }
    const QPointF offset = scrollOffset();
    const QRectF shown = QRectF(area).translated(offset); // in the document's coordinates
    const QAbstractTextDocumentLayout *layout = document->documentLayout();
    QPainter painter(m_editor.viewport());
    for (QTextBlock block = firstBlockFrom(shown.top()); block.isValid(); block = block.next()) {
        if (!block.isVisible())
            continue;
        // The layout lays the paragraph out when it has not yet; it has no place on no page.
        const QRectF rect = layout->blockBoundingRect(block);
        if (rect.isNull())
            break;
        const bool inTable = document->frameAt(block.position()) != document->rootFrame();
        if (rect.top() > shown.bottom() && !inTable)
            break;
        if (rect.bottom() < shown.top() || rect.top() > shown.bottom())
            continue;
        const QList<WordRules::Span> marks = marksOf(block);
        if (!marks.isEmpty())
            paintBlock(painter, block, rect.topLeft() - offset, marks, area);
    }
}

// The paragraph at (or last above) a height of the document, as the layout finds it; inside a
// table, whose cells do not follow one another down the page, the table's first paragraph.
QTextBlock MarkPainter::firstBlockFrom(qreal y) const
{
    QTextDocument *document = m_editor.document();
    const int position = document->documentLayout()->hitTest(QPointF(0, y), Qt::FuzzyHit);
    QTextBlock block = document->findBlock(std::max(0, position));
    if (block.previous().isValid())
        block = block.previous(); // the point may lie in the space above its paragraph
    if (!block.isValid())
        block = document->begin();
    QTextFrame *frame = document->frameAt(block.position());
    if (!frame || frame == document->rootFrame())
        return block;
    while (frame->parentFrame() && frame->parentFrame() != document->rootFrame())
        frame = frame->parentFrame();
    return document->findBlock(frame->firstPosition());
}

void MarkPainter::paintBlock(QPainter &painter, const QTextBlock &block, QPointF origin,
                             const QList<WordRules::Span> &marks, const QRect &area)
{
    const QTextLayout *layout = block.layout();
    // The text being composed by an input method sits in the layout, not in the paragraph.
    const int composedAt = layout->preeditAreaPosition();
    const int composedLength = int(layout->preeditAreaText().size());
    const auto inLayout = [&](int position) {
        return composedLength > 0 && position >= composedAt ? position + composedLength : position;
    };
    QTextBlock::iterator fragment = block.begin();
    for (const WordRules::Span &mark : marks) {
        while (!fragment.atEnd()
               && fragment.fragment().position() + fragment.fragment().length() <= block.position() + mark.start)
            ++fragment;
        if (fragment.atEnd())
            break;
        const Wave &wave = waveFor(fragment.fragment());
        const int start = inLayout(mark.start);
        const int end = inLayout(mark.end());
        for (QTextLine line = layout->lineForTextPosition(start); line.isValid() && line.textStart() < end;
             line = layout->lineAt(line.lineNumber() + 1)) {
            const qreal top = origin.y() + line.y() + line.ascent() + 1; // just under the baseline
            if (top > area.bottom() + 1 || top + wave.height < area.top())
                continue;
            const qreal a = line.cursorToX(std::max(start, line.textStart()));
            const qreal b = line.cursorToX(std::min(end, line.textStart() + line.textLength()));
            const qreal left = origin.x() + std::min(a, b);
            painter.setBrushOrigin(QPointF(0, top));
            painter.fillRect(QRectF(left, top, std::ceil(std::abs(b - a)), wave.height), wave.brush);
        }
    }
}

// Sized as Qt sizes the wave of a spell-check underline: after the font's underline position and
// line width, no deeper than its descent allows.
const MarkPainter::Wave &MarkPainter::waveFor(const QTextFragment &fragment)
{
    const int index = fragment.charFormatIndex();
    if (const auto found = m_waves.constFind(index); found != m_waves.cend())
        return *found;
    const QFont font = fragment.charFormat().font().resolve(m_editor.document()->defaultFont());
    const QFontMetricsF metrics(font, m_editor.viewport());
    const qreal depth = metrics.descent() - 1;
    const qreal radius = std::max<qreal>(1, std::min(std::max(metrics.underlinePos(), metrics.lineWidth()), depth / 2));
    Wave wave;
    wave.brush = waveBrush(radius, metrics.lineWidth());
    wave.height = std::min<qreal>(wave.brush.texture().height(), std::max<qreal>(1, std::floor(depth)));
    return *m_waves.insert(index, wave);
}

QBrush MarkPainter::waveBrush(qreal maxRadius, qreal penWidth)
{
    const qreal halfPeriod = std::max<qreal>(2, maxRadius * 1.61803399); // the golden ratio
    const int width = int(std::ceil(100 / (2 * halfPeriod)) * (2 * halfPeriod));
    const qreal radius = std::floor(maxRadius * 2) / 2;
    QPainterPath path;
    qreal y = radius;
    for (qreal x = 0; x < width;) {
        x += halfPeriod;
        y = -y;
        path.quadTo(x - halfPeriod / 2, y, x, 0);
    }
    QPixmap tile(width, std::max(1, int(radius * 2)));
    tile.fill(Qt::transparent);
    QPainter draw(&tile);
    QPen pen(Qt::red, std::min(penWidth, 0.8 * radius));
    pen.setCapStyle(Qt::SquareCap);
    draw.setPen(pen);
    draw.setRenderHint(QPainter::Antialiasing);
    draw.translate(0, radius);
    draw.drawPath(path);
    draw.end();
    return QBrush(tile);
}
