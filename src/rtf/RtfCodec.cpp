#include "rtf/RtfCodec.h"
#include "rtf/DocumentExtras.h"
#include "rtf/ListMarkers.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <exception>

bool RtfCodec::looksLikeRtf(QByteArrayView bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

void RtfCodec::read(QByteArrayView rtf, QTextDocument &into)
{
    const bool undo = into.isUndoRedoEnabled();
    const bool layout = into.isLayoutEnabled();
    into.setUndoRedoEnabled(false);
    into.setLayoutEnabled(false);
    into.clear();
    DocumentExtras::of(into).clear();
    QTextCursor cursor(&into);
    cursor.beginEditBlock();
    try {
        RtfReader(rtf, into).read();
        ListMarkers::hideWrongQtMarkers(into); // Qt 6.4 would number from 1: the program draws them
    } catch (const std::exception &) {
        // Out of memory part-way: keep what was read.
    }
    cursor.endEditBlock();
    into.setLayoutEnabled(layout);
    into.setUndoRedoEnabled(undo);
}

QByteArray RtfCodec::write(const QTextDocument &doc, const std::optional<PageSetup> &page)
{
    RtfWriter writer(doc);
    writer.setDefaultPage(page);
    return writer.write();
}
