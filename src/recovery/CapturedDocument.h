#pragma once
#include "content/DocumentFormat.h"

#include <QList>
#include <memory>

class QTextDocument;

// A copy of a document made a piece at a time, to be written out on another thread. The pieces
// join without adding or losing a paragraph (every piece after the first starts with the paragraph
// end in front of its first paragraph, or in the middle of a paragraph), but a list that runs
// across pieces comes out as several lists: `lists` (one entry per paragraph, in document order:
// the list it belonged to, or -1) puts it back together before the copy is written.
struct CapturedDocument
{
    std::unique_ptr<QTextDocument> document;
    QList<int> lists;

    CapturedDocument();
    ~CapturedDocument();

    // The document as the copy's file holds it: Rich Text Format, or plain text with CR LF ends.
    // Runs on the thread the document belongs to.
    QByteArray encode(DocumentFormat::Format format);
    static QByteArray encode(const QTextDocument &doc, DocumentFormat::Format format);
};
