#pragma once
#include <QTextCursor>

class QTextDocument;

// How a reader replaces the whole content of a document (RTF, Word, OpenDocument alike): undo and
// layout are off while it reads, in one edit block, the document and its DocumentExtras emptied first.
// finish() ends a good reading: where Qt 6.4 would draw a wrong list marker, the program draws its
// own. abandon() empties the document again after a failed one. Undo and layout come back on either
// way when the replacement ends.
class DocumentReplacement
{
public:
    explicit DocumentReplacement(QTextDocument &doc);
    ~DocumentReplacement();
    DocumentReplacement(const DocumentReplacement &) = delete;
    DocumentReplacement &operator=(const DocumentReplacement &) = delete;

    void finish();
    void abandon();

private:
    QTextDocument &doc_;
    QTextCursor cursor_;
    bool open_ = true; // the edit block
    bool undo_;
    bool layout_;
};
