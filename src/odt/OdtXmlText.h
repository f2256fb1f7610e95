#pragma once
#include <QString>
#include <QStringView>

// Text as XML character data or attribute values.
namespace OdtXmlText {

// Escapes markup characters; in an attribute also quotes, tabs and line ends. Characters XML 1.0
// cannot hold (most control characters, lone surrogates) are left out.
inline QString escaped(QStringView s, bool attribute)
{
    QString out;
    out.reserve(s.size() + 8);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        switch (c) {
        case u'&': out += QLatin1StringView("&amp;"); continue;
        case u'<': out += QLatin1StringView("&lt;"); continue;
        case u'>': out += QLatin1StringView("&gt;"); continue;
        case u'"':
            if (attribute) {
                out += QLatin1StringView("&quot;");
                continue;
            }
            break;
        case u'\t':
        case u'\n':
        case u'\r':
            if (attribute) {
                out += QStringLiteral("&#%1;").arg(int(c));
                continue;
            }
            break;
        default: break;
        }
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            continue;
        if (c == 0xFFFE || c == 0xFFFF)
            continue;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
                out += s[i];
                out += s[++i];
            }
            continue;
        }
        if (QChar::isLowSurrogate(c))
            continue;
        out += QChar(c);
    }
    return out;
}

} // namespace OdtXmlText
