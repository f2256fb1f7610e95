#include "recovery/CapturedDocument.h"
#include "content/PlainText.h"
#include "rtf/RtfCodec.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

// Paragraphs of one list that ended up in different pieces join their first list again.
void joinLists(QTextDocument &doc, const QList<int> &lists)
{
    if (doc.blockCount() != lists.size())
        return; // the paragraphs do not match up: better split lists than wrong ones
    QHash<int, QTextList *> joined;
    qsizetype i = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++i) {
        if (lists[i] < 0 || !block.textList())
            continue;
        QTextList *&first = joined[lists[i]];
        if (!first)
            first = block.textList();
        else if (block.textList() != first)
            first->add(block);
    }
}

} // namespace

CapturedDocument::CapturedDocument() = default;
CapturedDocument::~CapturedDocument() = default;

QByteArray CapturedDocument::encode(DocumentFormat::Format format)
{
    joinLists(*document, lists);
    lists.clear();
    return encode(*document, format);
}

QByteArray CapturedDocument::encode(const QTextDocument &doc, DocumentFormat::Format format)
{
    if (format == DocumentFormat::PlainText)
        return PlainText::encode(doc.toPlainText());
    return RtfCodec::write(doc);
}
