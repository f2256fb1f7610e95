#include "content/Endnotes.h"
#include "content/DocumentPictures.h"
#include "content/PrintedNote.h"
#include "rtf/Notes.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

void Endnotes::append(QTextDocument &doc)
{
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    bool first = true;
    for (const Notes::Reference &reference : Notes::references(doc)) {
        if (reference.kind != NoteSettings::Endnote)
            continue;
        const std::unique_ptr<QTextDocument> note = PrintedNote::document(reference, doc);
        if (!note)
            continue;
        if (first) {
            // A paragraph of space, then a short line above the first note.
            QTextBlockFormat separator;
            separator.setTopMargin(doc.defaultFont().pointSizeF() > 0 ? doc.defaultFont().pointSizeF() : 12);
            separator.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                                  QTextLength(QTextLength::PercentageLength, 33));
            cursor.insertBlock(separator, QTextCharFormat());
            first = false;
        }
        DocumentPictures::copy(*note, doc, DocumentPictures::names(*note));
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertFragment(QTextDocumentFragment(note.get()));
    }
}
