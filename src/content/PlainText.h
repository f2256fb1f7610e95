#pragma once
#include <QByteArray>
#include <QString>

// The plain-text document format: read as UTF-16 when the bytes start with its byte-order mark,
// as UTF-8 when they are valid UTF-8, else as Windows-1252; written as UTF-8 with CR LF line ends and one CR LF at the end.
class PlainText
{
public:
    static QString decode(const QByteArray &bytes);
    // The text's lines joined with CR LF, followed by one CR LF.
    static QByteArray encode(const QString &text);
    static bool isValidUtf8(const QByteArray &bytes);
    static bool hasUtf16ByteOrderMark(const QByteArray &bytes);
};
