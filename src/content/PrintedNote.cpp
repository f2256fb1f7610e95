#include "content/PrintedNote.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

std::unique_ptr<QTextDocument> PrintedNote::document(const Notes::Reference &note, const QTextDocument &body)
{
    std::unique_ptr<QTextDocument> text = Notes::document(note, body.defaultFont());
    if (!text)
        return nullptr;
    text->setUndoRedoEnabled(false);
    text->setIndentWidth(body.indentWidth());
    if (!note.mark.isEmpty() && !showsMark(*text))
        insertMark(*text, note.mark);
    return text;
}

bool PrintedNote::showsMark(const QTextDocument &note)
{
    for (QTextBlock block = note.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().stringProperty(TextFormats::kAutoTextProperty) == u"chftn")
                return true;
    return false;
}

void PrintedNote::insertMark(QTextDocument &note, const QString &mark)
{
    QTextCursor cursor(&note);
    QTextCharFormat text = cursor.block().begin().atEnd() ? cursor.charFormat()
                                                         : cursor.block().begin().fragment().charFormat();
    QTextCharFormat raised = text;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(mark, raised);
    cursor.insertText(QStringLiteral(" "), text);
}
