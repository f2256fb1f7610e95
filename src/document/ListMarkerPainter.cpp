#include "document/ListMarkerPainter.h"
#include "content/ListMarkerDrawing.h"
#include "rtf/ListMarkers.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>

ListMarkerPainter::ListMarkerPainter(QTextEdit &editor)
    : QObject(&editor), m_editor(editor), m_viewport(editor.viewport())
{
    m_viewport->installEventFilter(this);
}

bool ListMarkerPainter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || watched != m_viewport || m_painting)
        return QObject::eventFilter(watched, event);
    {
        const QScopedValueRollback<bool> inside(m_painting, true);
        QCoreApplication::sendEvent(watched, event);
    }
    paint(static_cast<QPaintEvent *>(event)->rect());
    return true;
}

void ListMarkerPainter::paint(const QRect &area)
{
    const QScrollBar *across = m_editor.horizontalScrollBar();
    const QPointF offset(m_editor.isRightToLeft() ? across->maximum() - across->value() : across->value(),
                         m_editor.verticalScrollBar()->value());
    const QRectF shown = QRectF(area).translated(offset); // in the document's coordinates
    const QTextDocument *document = m_editor.document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    QPainter painter(m_viewport);
    painter.setClipRect(area);
    for (QTextBlock block = firstBlockFrom(shown.top()); block.isValid(); block = block.next()) {
        if (!block.layout() || block.layout()->lineCount() == 0)
            break; // the layout has not come this far: nothing below is on screen
        const QRectF rect = layout->blockBoundingRect(block);
        const bool inTable = document->frameAt(block.position()) != document->rootFrame();
        if (rect.top() > shown.bottom() && !inTable)
            break;
        if (rect.bottom() < shown.top() || rect.top() > shown.bottom() || !ListMarkers::drawnByProgram(block))
            continue;
        ListMarkerDrawing::draw(painter, block, rect.topLeft() - offset, m_editor.palette().text(), layout->paintDevice());
    }
}

// The paragraph at (or last above) a height of the document, found by halving; inside a table,
// whose cells do not follow one another down the page, the table's first paragraph.
QTextBlock ListMarkerPainter::firstBlockFrom(qreal y) const
{
    const QTextDocument *document = m_editor.document();
    const QAbstractTextDocumentLayout *layout = document->documentLayout();
    int low = 0;
    int high = document->blockCount() - 1;
    int found = 0;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const QTextBlock block = document->findBlockByNumber(middle);
        if (block.layout() && block.layout()->lineCount() > 0 && layout->blockBoundingRect(block).top() <= y) {
            found = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    const QTextBlock block = document->findBlockByNumber(found);
    QTextFrame *frame = document->frameAt(block.position());
    if (!frame || frame == document->rootFrame())
        return block;
    while (frame->parentFrame() && frame->parentFrame() != document->rootFrame())
        frame = frame->parentFrame();
    return document->findBlock(frame->firstPosition());
}
