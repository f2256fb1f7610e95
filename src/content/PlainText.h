#pragma once
#include <QByteArray>
#include <QString>

class QTextDocument;

// The plain-text document format: read as UTF-16 when the bytes start with its byte-order mark,
// as UTF-8 when they are valid UTF-8, else as Windows-1252; written as UTF-8 with CR LF line ends and one CR LF at the end.
class PlainText
{
public:
    static QString decode(const QByteArray &bytes);
    // A document's text for export, encoded: a line per paragraph, each list item after its marker
    // and a tab (ListMarkers, the rule the screen and print follow too), pictures left out.
    static QByteArray ofDocument(const QTextDocument &doc);
    // The text's lines joined with CR LF, followed by one CR LF.
    static QByteArray encode(const QString &text);
    static bool isValidUtf8(const QByteArray &bytes);
    static bool hasUtf16ByteOrderMark(const QByteArray &bytes);
};
