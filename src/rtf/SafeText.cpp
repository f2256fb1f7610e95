#include "rtf/SafeText.h"

QString SafeText::printable(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate() && (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
                   && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) {
            out += c;
        }
    }
    return out;
}
