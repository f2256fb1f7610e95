#pragma once
#include "rtf/Notes.h"

#include <memory>

class QTextDocument;

// A footnote or endnote as printed: its text as a document of its own, starting with its mark.
// A note whose text shows no mark of its own (\chftn) is given one, raised like the reference.
class PrintedNote
{
public:
    // Null when the reference holds no note.
    static std::unique_ptr<QTextDocument> document(const Notes::Reference &note, const QTextDocument &body);

private:
    static bool showsMark(const QTextDocument &note);
    static void insertMark(QTextDocument &note, const QString &mark);
};
