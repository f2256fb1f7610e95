#pragma once
#include <QAbstractTextDocumentLayout>

class QPainter;
class QTextBlock;
class QTextCharFormat;
struct LayoutSettings;

// Draws the marker of a list item in the margin before its first line, where Qt's document layout
// draws it: a disc, circle or square for a bulleted list, else the marker text the document's
// lists give it (ListMarkers), numbered as the file says.
class ListItemMarker
{
public:
    // The text drawn as the item's marker; empty for a bullet drawn as a shape, or no marker.
    static QString text(const QTextBlock &block);

    static void paint(QPainter *painter, const QTextBlock &block, QPointF offset,
                      const QAbstractTextDocumentLayout::PaintContext &context, const LayoutSettings &settings,
                      const QTextCharFormat *selection);
};
