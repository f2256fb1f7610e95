#pragma once
#include <QColor>
#include <QString>
#include <array>
#include <optional>

class DocxXml;

// The table, row and cell properties of w:tblPr, w:trPr and w:tcPr (a table's, or a table
// style's), set only where the element says so. Lengths in twips.
struct DocxTableProperties
{
    // A border as Word gives it: w:val, w:sz (eighths of a point), w:color.
    struct Border
    {
        QString kind; // "single", "double", "nil" ...
        double eighths = 0;
        QColor color;
        bool isNone() const { return kind.isEmpty() || kind == u"nil" || kind == u"none"; }
    };
    enum Side { Top, Left, Bottom, Right, InsideH, InsideV, Sides };
    // A width: w:w with w:type ("dxa" twips, "pct" fiftieths of a percent or "50%", "auto").
    struct Width
    {
        double value = 0;
        bool percent = false;
    };

    std::optional<QString> style; // w:tblStyle
    std::optional<Width> width;   // w:tblW, w:tcW
    std::optional<int> alignment; // w:jc: 0 left, 1 centre, 2 right
    std::optional<double> indent; // w:tblInd
    std::array<std::optional<Border>, Sides> borders;
    std::array<std::optional<double>, 4> margins; // w:tblCellMar / w:tcMar, in Side order
    std::optional<QColor> shading;
    // Cells.
    int gridSpan = 1;
    std::optional<bool> verticalMergeRestart; // set: a w:vMerge, restarting or continuing
    std::optional<int> horizontalMerge;       // w:hMerge: 1 restart, 0 continue
    std::optional<int> verticalAlignment;     // 0 top, 1 centre, 2 bottom
    // Rows.
    int gridBefore = 0, gridAfter = 0;
    // Tables: which parts of the table style's conditional formatting apply (w:tblLook), and the
    // style's banding.
    enum Look { FirstRow = 0x20, LastRow = 0x40, FirstColumn = 0x80, LastColumn = 0x100, NoRowBands = 0x200,
                NoColumnBands = 0x400 };
    std::optional<int> look;
    std::optional<int> rowBandSize, columnBandSize;
    std::optional<double> height; // negative: exactly
    bool header = false;
    QString kept; // elements not understood

    // Reads the children of a w:tblPr, w:trPr or w:tcPr.
    void read(DocxXml &xml, bool keep);
    void merge(const DocxTableProperties &over);
    // A cell's borders and shading over these (conditional formatting of a table style).
    void mergeCell(const DocxTableProperties &over);

    static Border readBorder(const DocxXml &xml);
};
