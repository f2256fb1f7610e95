#include "rtf/RtfCodec.h"
#include "rtf/DocumentReplacement.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

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

void RtfCodec::read(QByteArrayView rtf, QTextDocument &into, bool *endedEarly)
{
    DocumentReplacement replacement(into);
    try {
        RtfReader reader(rtf, into);
        reader.read();
        if (endedEarly)
            *endedEarly = reader.endedEarly();
    } catch (const std::exception &) {
        // Out of memory part-way: keep what was read.
    }
    replacement.finish();
}

QByteArray RtfCodec::write(const QTextDocument &doc, const std::optional<PageSetup> &page)
{
    RtfWriter writer(doc);
    writer.setDefaultPage(page);
    return writer.write();
}
