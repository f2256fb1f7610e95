#pragma once
#include <QString>
#include <QStringView>

// Text as XML character data or attribute values.
namespace OdtXmlText {

// Appends `s` escaped: markup characters as references, in an attribute also quotes, tabs and
// line ends. Characters XML 1.0 cannot hold (most control characters, lone surrogates) are left
// out. Runs of plain characters go in whole.
inline void appendEscaped(QString &out, QStringView s, bool attribute)
{
    qsizetype plain = 0; // start of the run of plain characters not yet appended
    auto flush = [&](qsizetype upTo) {
        if (upTo > plain)
            out.append(s.sliced(plain, upTo - plain));
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x20 && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c < 0xD800)
            continue; // the common case
        if (c == u'"' && !attribute)
            continue;
        if (c >= 0xD800) {
            if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
                ++i;
                continue;
            }
            if (!QChar::isSurrogate(c) && c != 0xFFFE && c != 0xFFFF)
                continue;
        }
        if ((c == u'\t' || c == u'\n' || c == u'\r') && !attribute)
            continue;
        flush(i);
        plain = i + 1;
        switch (c) {
        case u'&': out += QLatin1StringView("&amp;"); break;
        case u'<': out += QLatin1StringView("&lt;"); break;
        case u'>': out += QLatin1StringView("&gt;"); break;
        case u'"': out += QLatin1StringView("&quot;"); break;
        case u'\t': out += QLatin1StringView("&#9;"); break;
        case u'\n': out += QLatin1StringView("&#10;"); break;
        case u'\r': out += QLatin1StringView("&#13;"); break;
        default: break; // not allowed in XML: left out
        }
    }
    flush(s.size());
}

inline QString escaped(QStringView s, bool attribute)
{
    QString out;
    out.reserve(s.size() + 8);
    appendEscaped(out, s, attribute);
    return out;
}

} // namespace OdtXmlText
