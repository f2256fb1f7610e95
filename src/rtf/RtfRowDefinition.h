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
    // More properties of the table that another format gives with its first row (a plain format:
    // Qt's table format would bring its own defaults of spacing and border with it).
    QTextFormat table;

    // Qt's formats do not say their moves are noexcept; a row moves without copying all the same.
    RtfRowDefinition() = default;
    RtfRowDefinition(const RtfRowDefinition &) = default;
    RtfRowDefinition(RtfRowDefinition &&) noexcept = default;
    RtfRowDefinition &operator=(const RtfRowDefinition &) = default;
    RtfRowDefinition &operator=(RtfRowDefinition &&) noexcept = default;
};
