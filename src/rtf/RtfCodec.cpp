// Placeholder until the reader and writer land: only the sniffing is real.
#include "rtf/RtfCodec.h"
#include <QTextDocument>

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
    into.setPlainText(QString::fromLatin1(rtf.data(), rtf.size()));
}

QByteArray RtfCodec::write(const QTextDocument &doc)
{
    return "{\\rtf1\\ansi " + doc.toPlainText().toLatin1() + "}";
}
