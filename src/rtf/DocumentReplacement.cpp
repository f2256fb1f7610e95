#include "rtf/DocumentReplacement.h"
#include "rtf/DocumentExtras.h"
#include "rtf/ListMarkers.h"

#include <QTextDocument>

DocumentReplacement::DocumentReplacement(QTextDocument &doc)
    : doc_(doc), undo_(doc.isUndoRedoEnabled()), layout_(doc.isLayoutEnabled())
{
    doc_.setUndoRedoEnabled(false);
    doc_.setLayoutEnabled(false);
    doc_.clear();
    DocumentExtras::of(doc_).clear();
    cursor_ = QTextCursor(&doc_);
    cursor_.beginEditBlock();
}

DocumentReplacement::~DocumentReplacement()
{
    if (open_)
        cursor_.endEditBlock();
    doc_.setLayoutEnabled(layout_);
    doc_.setUndoRedoEnabled(undo_);
}

void DocumentReplacement::finish()
{
    ListMarkers::hideWrongQtMarkers(doc_); // Qt 6.4 would number from 1: the program draws them
}

void DocumentReplacement::abandon()
{
    if (open_)
        cursor_.endEditBlock();
    open_ = false;
    doc_.clear();
    DocumentExtras::of(doc_).clear();
}
