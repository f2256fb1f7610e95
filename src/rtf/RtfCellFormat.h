#pragma once
#include "rtf/RtfControlWords.h"

#include <QColor>
#include <QList>
#include <QTextTableCellFormat>
#include <array>

// The look of one table cell as a row definition gives it (\clbrdrt ... \clcbpat ... \cellx), in
// the file's terms, and the Qt cell format made of it.
struct RtfCellFormat
{
    struct Border
    {
        int style = -1; // a QTextFrameFormat::BorderStyle; -1 when the side has no border word
        int width = 0;  // twips
        int color = 0;  // colour table index
    };
    std::array<Border, 4> borders;    // RtfValues::Side order
    std::array<int, 4> padding{-1, -1, -1, -1}; // twips; -1 not given
    int background = -1;              // colour indices
    int pattern = -1;
    int shading = -1;                 // 1/100 percent of the pattern colour over the background
    int verticalAlignment = -1;       // RtfValues::VerticalAlignment

    // The Qt format; `rowPadding` and `rowHeight` come from the row (twips, -1 and 0 when not given).
    QTextTableCellFormat toFormat(const QList<QColor> &colors, const std::array<int, 4> &rowPadding,
                                  int rowHeight) const;
};
