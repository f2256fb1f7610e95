#pragma once
#include "rtf/RtfListItem.h"
#include "rtf/RtfRowDefinition.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <memory>
#include <optional>
#include <vector>

// A table as the RTF reader reads it, before it goes into the document: each row's cells with what
// they hold, and the row's definition, which RTF may give after the row's text. A table goes into
// the document once it is read whole, when the grid of all its rows is known (RtfTableGrid).
struct RtfTableDraft
{
    // One thing a cell holds, in reading order.
    struct Piece
    {
        enum Kind : quint8 { Paragraph, Text, Float, Table };
        Kind kind = Paragraph;
        QTextBlockFormat block;  // Paragraph
        QTextCharFormat chars;   // Paragraph: its mark's; Text: the run's; Float: the picture
        QString text;            // Text
        QTextFrameFormat frame;  // Float
        std::optional<RtfListItem> item; // Paragraph
        std::unique_ptr<RtfTableDraft> table;             // Table: a table nested in the cell
    };
    struct Cell
    {
        std::vector<Piece> pieces;
        // Holds no more than one empty paragraph.
        bool isEmpty() const
        {
            return pieces.size() <= 1 && (pieces.empty() || pieces.front().kind == Piece::Paragraph);
        }
    };
    struct Row
    {
        std::vector<Cell> cells;
        std::optional<RtfRowDefinition> definition; // given at the row's end
    };

    std::vector<Row> rows;
    bool rowOpen = false;  // the last row takes what comes
    bool cellOpen = false; // and its last cell
};
