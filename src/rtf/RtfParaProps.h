#pragma once
#include <QList>
#include <QString>
#include <QTextOption>

// Paragraph formatting as the RTF reader tracks it, in the file's units (twips).
struct RtfParaProps
{
    // The older list form, {\*\pn ...}: the paragraph is a list item of its own description.
    struct OldList
    {
        bool defined = false;
        bool bullet = false;
        bool unnumbered = false; // \pnlvlcont: a paragraph inside an item, without a number
        int numberStyle = 2;     // RtfValues::OldListStyle, decimal by default
        int level = 1;
        int start = 1;
        QString before;
        QString after;
        bool operator==(const OldList &) const = default;
    };

    int alignment = 0; // 0 left, 1 right, 2 centre, 3 justified
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // 0 automatic, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    bool inTable = false;
    int nestLevel = 1;
    int listOverride = 0;
    int listLevel = 0;
    bool pageBreakBefore = false;
    bool rightToLeft = false;
    int style = -1; // \s
    int nextTabKind = 0; // the kind that the next \tx takes
    QList<QTextOption::Tab> tabs;
    OldList oldList;
    bool operator==(const RtfParaProps &) const = default;
};
