#include "content/TextSearch.h"

#include <QTextDocument>

int TextSearch::flagsOf(Options options, Direction direction)
{
    QTextDocument::FindFlags flags;
    if (options.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options.wholeWords)
        flags |= QTextDocument::FindWholeWords;
    if (direction == Direction::Backward)
        flags |= QTextDocument::FindBackward;
    return flags.toInt();
}

TextSearch::Match TextSearch::find(const QTextDocument &doc, const QString &text, const QTextCursor &from,
                                   Options options, Direction direction)
{
    Match match;
    if (text.isEmpty())
        return match;
    const QTextDocument::FindFlags flags(flagsOf(options, direction));
    match.cursor = doc.find(text, from, flags);
    if (match.found())
        return match;
    // Once round: from the start going forward, from the end going backward.
    const int restart = direction == Direction::Forward ? 0 : doc.characterCount() - 1;
    match.cursor = doc.find(text, restart, flags);
    match.wrapped = match.found();
    return match;
}

bool TextSearch::isMatch(const QTextCursor &selection, const QString &text, Options options)
{
    if (text.isEmpty() || !selection.hasSelection())
        return false;
    const QTextDocument::FindFlags flags(flagsOf(options, Direction::Forward));
    const QTextCursor found = selection.document()->find(text, selection.selectionStart(), flags);
    return !found.isNull() && found.selectionStart() == selection.selectionStart()
        && found.selectionEnd() == selection.selectionEnd();
}

void TextSearch::replace(QTextCursor &match, const QString &replacement)
{
    match.beginEditBlock();
    replaceSelected(match, replacement);
    match.endEditBlock();
}

int TextSearch::replaceAll(QTextDocument &doc, const QString &text, const QString &replacement, Options options)
{
    if (text.isEmpty())
        return 0;
    const QTextDocument::FindFlags flags(flagsOf(options, Direction::Forward));
    QTextCursor match = doc.find(text, 0, flags);
    if (match.isNull())
        return 0;
    // A change that spans the document would be laid out again at once, all of it, when the edit
    // ends. Without a page size the layout leaves it; giving the size back lays the document out
    // afresh, a screen at a time, as after loading.
    const QSizeF pageSize = doc.pageSize();
    doc.setPageSize(QSizeF(0, 0));
    int count = 0;
    // One edit block: one step of Undo, which leaves the caret where the first match was.
    QTextCursor block(&doc);
    block.setPosition(match.selectionStart());
    block.beginEditBlock();
    for (; !match.isNull(); match = doc.find(text, match, flags)) {
        replaceSelected(match, replacement); // the search goes on after the new text
        ++count;
    }
    block.endEditBlock();
    doc.setPageSize(pageSize);
    return count;
}

void TextSearch::replaceSelected(QTextCursor &match, const QString &replacement)
{
    if (replacement.isEmpty()) {
        match.removeSelectedText();
        return;
    }
    // The format of the first character replaced: that of the character before the position
    // just after it.
    QTextCursor first(match.document());
    first.setPosition(match.selectionStart() + 1);
    QTextCharFormat format = first.charFormat();
    if (format.isImageFormat()) { // a picture's look, without the picture
        format.setObjectType(QTextFormat::NoObject);
        for (int property : {QTextFormat::ImageName, QTextFormat::ImageWidth, QTextFormat::ImageHeight})
            format.clearProperty(property);
    }
    match.insertText(replacement, format);
}
