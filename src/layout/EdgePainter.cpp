#include "layout/EdgePainter.h"

#include <QPainter>
#include <cmath>

namespace {

QPen penFor(const QBrush &brush, qreal width, QTextFrameFormat::BorderStyle style)
{
    Qt::PenStyle pen = Qt::SolidLine;
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted: pen = Qt::DotLine; break;
    case QTextFrameFormat::BorderStyle_Dashed: pen = width == 1 ? Qt::DotLine : Qt::DashLine; break;
    case QTextFrameFormat::BorderStyle_DotDash: pen = Qt::DashDotLine; break;
    case QTextFrameFormat::BorderStyle_DotDotDash: pen = Qt::DashDotDotLine; break;
    default: break;
    }
    return QPen(brush, width, pen, Qt::FlatCap);
}

bool across(EdgePainter::Side side)
{
    return side == EdgePainter::Top || side == EdgePainter::Bottom;
}

} // namespace

void EdgePainter::paint(QPainter *painter, const QRectF &rect, Side side, QTextFrameFormat::BorderStyle style,
                        QBrush brush)
{
    const qreal width = across(side) ? rect.height() : rect.width();
    if (width <= 2 && style == QTextFrameFormat::BorderStyle_Double)
        style = QTextFrameFormat::BorderStyle_Solid;
    painter->save();
    switch (style) {
    case QTextFrameFormat::BorderStyle_Inset:
    case QTextFrameFormat::BorderStyle_Outset:
        if ((style == QTextFrameFormat::BorderStyle_Outset && (side == Top || side == Left))
            || (style == QTextFrameFormat::BorderStyle_Inset && (side == Bottom || side == Right)))
            brush = brush.color().lighter();
        Q_FALLTHROUGH();
    case QTextFrameFormat::BorderStyle_Solid:
        painter->setPen(Qt::NoPen);
        painter->setBrush(brush);
        painter->drawRect(rect);
        break;
    case QTextFrameFormat::BorderStyle_Dotted:
    case QTextFrameFormat::BorderStyle_Dashed:
    case QTextFrameFormat::BorderStyle_DotDash:
    case QTextFrameFormat::BorderStyle_DotDotDash:
        painter->setPen(penFor(brush, width, style));
        if (width == 1) // along the band's edge, as Qt draws it
            painter->drawLine(QLineF(rect.left(), rect.top(), rect.right() - 1, rect.bottom() - 1));
        else if (across(side))
            painter->drawLine(QLineF(rect.left() + width / 2, rect.center().y(), rect.right() - width / 2, rect.center().y()));
        else
            painter->drawLine(QLineF(rect.center().x(), rect.top() + width / 2, rect.center().x(), rect.bottom() - width / 2));
        break;
    case QTextFrameFormat::BorderStyle_Double: {
        // Two lines, each a third of the width.
        const int third = qRound(width / 3);
        QRectF first = rect;
        QRectF second = rect;
        if (across(side)) {
            first.setHeight(third);
            second.setTop(rect.bottom() - third);
        } else {
            first.setWidth(third);
            second.setLeft(rect.right() - third);
        }
        paint(painter, first, side, QTextFrameFormat::BorderStyle_Solid, brush);
        paint(painter, second, side, QTextFrameFormat::BorderStyle_Solid, brush);
        break;
    }
    case QTextFrameFormat::BorderStyle_Groove:
    case QTextFrameFormat::BorderStyle_Ridge: {
        // Half sunk, half raised.
        const bool groove = style == QTextFrameFormat::BorderStyle_Groove;
        const auto outer = groove ? QTextFrameFormat::BorderStyle_Inset : QTextFrameFormat::BorderStyle_Outset;
        const auto inner = groove ? QTextFrameFormat::BorderStyle_Outset : QTextFrameFormat::BorderStyle_Inset;
        const int half = qRound(width / 2);
        QRectF first = rect;
        QRectF second = rect;
        if (across(side)) {
            first.setHeight(half);
            second.setTop(rect.top() + half);
        } else {
            first.setWidth(half);
            second.setLeft(rect.left() + half);
        }
        const bool outerFirst = side == Top || side == Left;
        paint(painter, first, side, outerFirst ? outer : inner, brush);
        paint(painter, second, side, outerFirst ? inner : outer, brush);
        break;
    }
    default:
        break;
    }
    painter->restore();
}
