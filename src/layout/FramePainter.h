#pragma once
#include "layout/LayoutSettings.h"

#include <QAbstractTextDocumentLayout>
#include <QTextFrame>

class FrameBox;
class QPainter;
class QTextBlock;

// Paints what FrameLayouter laid out: a frame below the document's top frame (its background and
// border, then its flow), a flow of paragraphs and frames, a paragraph of a flow. Tables go
// through TablePainter, which paints their cells' flows here.
class FramePainter
{
public:
    // `layoutClip` is the top frame's content, which full-width selections stop at.
    FramePainter(const LayoutSettings &settings, int cursorWidth, const QRectF &layoutClip)
        : m_settings(settings), m_cursorWidth(cursorWidth), m_layoutClip(layoutClip)
    {
    }

    using Context = QAbstractTextDocumentLayout::PaintContext;

    // `origin` is where the frame's parent flow starts; a frame of the top frame passes its own
    // place as `box`'s position would give it.
    void paintFrame(QPainter *painter, QTextFrame *frame, QPointF origin, const Context &context);
    void paintFlow(QPainter *painter, QTextFrame::iterator it, QPointF origin, const Context &context);
    void paintParagraph(QPainter *painter, const QTextBlock &block, QPointF origin, const Context &context,
                        bool showsCaret);
    // The caret of a paragraph drawn again, over the table that hides the paragraph.
    void paintCaret(QPainter *painter, const QTextBlock &block, QPointF origin, const Context &context);
    // A frame's background and border around `rect`, its margins included.
    void paintDecoration(QPainter *painter, QTextFrame *frame, const FrameBox &box, const QRectF &rect,
                         const Context &context);
    // The four sides of a border of width `border` drawn outside the area `rect` leaves inside it.
    static void paintBorder(QPainter *painter, const QRectF &rect, qreal border, const QBrush &brush,
                            QTextFrameFormat::BorderStyle style);

    const LayoutSettings &settings() const { return m_settings; }

private:
    LayoutSettings m_settings;
    int m_cursorWidth;
    QRectF m_layoutClip;
};
