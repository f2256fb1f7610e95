#include "content/PlainText.h"
#include "rtf/ListMarkers.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

bool PlainText::isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool PlainText::hasUtf16ByteOrderMark(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString PlainText::decode(const QByteArray &bytes)
{
    if (hasUtf16ByteOrderMark(bytes)) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.sliced(2));
    }
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    if (isValidUtf8(body))
        return QString::fromUtf8(body);
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(body);
    return QString::fromLatin1(body);
}

namespace {

// CR LF at every line end: CR LF, CR, LF and the Unicode line and paragraph separators alike.
QString withCrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace

QByteArray PlainText::encode(const QString &text)
{
    return (withCrLf(text) + QLatin1String("\r\n")).toUtf8();
}

// Paragraph by paragraph, so that a long document's text is never held whole beside its bytes.
// The result is the bytes encode() gives for the paragraphs joined with line feeds.
QByteArray PlainText::ofDocument(const QTextDocument &doc)
{
    QByteArray bytes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line = ListMarkers::text(block);
        if (!line.isEmpty())
            line += u'\t';
        line += block.text();
        line.remove(QChar::ObjectReplacementCharacter);
        line.replace(QChar::Nbsp, u' ');
        if (block != doc.begin())
            bytes += "\r\n";
        bytes += withCrLf(line).toUtf8(); // a paragraph's own line breaks
    }
    return bytes + "\r\n";
}
