#pragma once

class QTextDocument;

// Endnotes as printed: after the body, each note starting with its mark, under a short line.
class Endnotes
{
public:
    // Adds the document's endnotes at its end (a document about to be printed: a copy). Nothing
    // when it has none.
    static void append(QTextDocument &doc);
};
