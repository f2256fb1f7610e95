#pragma once
#include <QString>
#include <QTextListFormat>

// A paragraph's place in a list, as the RTF reader gives it to the document builder. Items with
// the same key and level share one QTextList, so their numbering continues; an item of a higher
// level restarts the levels below it. The QTextLists of one key are the levels of one list
// (TextFormats::kListGroupProperty).
struct RtfListItem
{
    QString key;
    int level = 0;
    QTextListFormat format;
    bool endsAtPlainParagraph = false; // the older \pn lists end at a paragraph outside them
};
