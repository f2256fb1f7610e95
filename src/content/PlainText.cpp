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

QString PlainText::decode(const QByteArray &bytes)
{
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

QByteArray PlainText::encode(const QString &text)
{
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    body.replace(QChar::LineSeparator, QLatin1Char('\n'));
    body.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return (body + QLatin1String("\r\n")).toUtf8();
}

QString PlainText::ofDocument(const QTextDocument &doc)
{
    QString text;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            text += u'\n';
        const QString marker = ListMarkers::text(block);
        if (!marker.isEmpty())
            text += marker + u'\t';
        text += block.text();
    }
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::Nbsp, u' ');
    return text;
}
