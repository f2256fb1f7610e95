#pragma once
// The property the fuzz target checks, shared with the test that replays fuzz/regressions/:
// reading any input and writing it back gives RTF that reads to the same text, and writing that
// again gives the same bytes.
#include "rtf/RtfCodec.h"

#include <QString>
#include <QTextDocument>

inline QString rtfRoundTripProblem(QByteArrayView input)
{
    QTextDocument first;
    RtfCodec::read(input, first);
    const QByteArray written = RtfCodec::write(first);
    QTextDocument second;
    RtfCodec::read(written, second);
    if (first.toPlainText() != second.toPlainText())
        return QStringLiteral("the text changed when read back");
    if (RtfCodec::write(second) != written)
        return QStringLiteral("writing the read-back document gave other bytes");
    return QString();
}
