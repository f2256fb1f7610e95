#pragma once
#include "layout/CellEdges.h"

#include <QAbstractTextDocumentLayout>

class FramePainter;
class QPainter;
class QTextTable;
class TableBox;

// Paints a laid-out table as Qt's document layout does: the table's border and each cell's in the
// separate border model, then for each cell its background, the borders of its sides (in the
// collapsed model each shared border drawn once, the stronger one over the joints), the cells of
// a selection across cells, and its content.
class TablePainter
{
public:
    explicit TablePainter(FramePainter &frames) : m_frames(frames) {}

    // `at` is the table's top left corner.
    void paint(QPainter *painter, QTextTable *table, TableBox &box, QPointF at,
               const QAbstractTextDocumentLayout::PaintContext &context);

private:
    void paintCell(QPainter *painter, QTextTable *table, TableBox &box, int slot, QPointF at,
                   const QAbstractTextDocumentLayout::PaintContext &context);
    void paintSide(QPainter *painter, QTextTable *table, const TableBox &box, int slot, const QRectF &rect,
                   CellEdges::Side side);
    qreal anchorOffset(const CellEdges &edges, const TableBox &box, int slot, const CellEdges::Edge &edge,
                       CellEdges::Side across, bool couldContinue);

    FramePainter &m_frames;
};
