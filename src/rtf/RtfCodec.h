#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include "rtf/PageSetup.h"

#include <optional>

class QTextDocument;

// Reads and writes Rich Text Format over a QTextDocument. Needs QtGui only.
class RtfCodec
{
public:
    // True when the bytes start with "{\rtf", after optional white space or a UTF-8 byte-order mark.
    static bool looksLikeRtf(QByteArrayView bytes);

    // Replaces the whole content of the document with the RTF. Never fails and never throws:
    // malformed or hostile input gives the best document that can be made of it, in time linear
    // in its size. The document's undo stack is left empty. What the document holds beyond its
    // text (DocumentExtras) is replaced too. Where Qt would number a list otherwise than the file
    // says, its marker is hidden for the program to draw (ListMarkers).
    static void read(QByteArrayView rtf, QTextDocument &into);

    // The whole document as RTF that other word processors read back, with its DocumentExtras.
    // A document without a page set-up of its own is written with `page`, when given: the page
    // the program lays it out on.
    static QByteArray write(const QTextDocument &doc, const std::optional<PageSetup> &page = std::nullopt);
};
