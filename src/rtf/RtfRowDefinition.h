#pragma once
#include <QTextTableCellFormat>
#include <vector>

// A table row as RTF defines it (\trowd ... \cellx): its cells' right edges and looks, and the
// row's own words.
struct RtfRowDefinition
{
    struct Cell
    {
        int right = 0; // twips
        int merge = 0; // RtfValues::CellMerge
        QTextTableCellFormat format;
    };

    std::vector<Cell> cells;
    int left = 0; // \trleft
    int gap = -1;
    int alignment = 0;
    bool header = false; // repeated at the top of each page
};
