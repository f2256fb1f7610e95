#pragma once
#include <QString>

class QTextBlock;
class QTextDocument;
class QTextListFormat;

// The marker a list item shows ("3.", "1.2.", "iv)", "•"), the same for the screen, print, PDF
// and plain text. It follows the document's lists (TextFormats.h): each QTextList counts from its
// first number (kListStartProperty); the QTextLists of one list (kListGroupProperty) are its
// levels, and a level's marker template (kListNumberTemplateProperty) may show the numbers of the
// other levels, each in its own level's style; without a template the marker is Qt's own
// (prefix, number, suffix), or a bullet. Markers are worked out for a whole list at a time and
// kept until the document changes, so asking for every paragraph in turn takes linear time.
//
// Qt 6.4 numbers every list from 1 and knows no templates. Where its marker would differ from
// text(), hideWrongQtMarkers() gives the items' block formats the list style ListStyleUndefined
// (QTextFormat::ListStyle), which makes Qt draw none there, and the program draws text() instead.
class ListMarkers
{
public:
    // The paragraph's marker; empty when it is in no list or its level shows none.
    static QString text(const QTextBlock &block);

    // Whether the items of a list with this format show a marker at all.
    static bool hasMarker(const QTextListFormat &format);
    // Whether Qt's own marker for the items of a list with this format is text().
    static bool qtShowsMarker(const QTextListFormat &format);
    // Hides Qt's marker where it would be wrong, and shows it again where it is right.
    static void hideWrongQtMarkers(QTextDocument &doc);
    // Whether the program draws the paragraph's marker: it is in a list and Qt's marker is hidden.
    static bool drawnByProgram(const QTextBlock &block);

    // A number in a list style: 3, c, C, iii, III.
    static QString number(int n, int style);
};
