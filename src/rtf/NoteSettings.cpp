#include "rtf/NoteSettings.h"

#include <utility>

namespace {

QString roman(int n)
{
    static constexpr std::pair<int, const char *> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
        {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    QString s;
    for (const auto &[value, digits] : kDigits)
        for (; n >= value; n -= value)
            s += QLatin1String(digits);
    return s;
}

QString letters(int n)
{
    QString s;
    for (; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'a' + (n - 1) % 26));
    return s;
}

} // namespace

QString NoteSettings::mark(Format format, int n)
{
    if (n <= 0 || n >= 5000)
        return QString::number(n);
    switch (format) {
    case LowerAlpha: return letters(n);
    case UpperAlpha: return letters(n).toUpper();
    case LowerRoman: return roman(n);
    case UpperRoman: return roman(n).toUpper();
    case Chicago: {
        // *, dagger, double dagger, section sign, then doubled, tripled ...
        static constexpr char16_t kSymbols[] = {u'*', u'\x2020', u'\x2021', u'\xA7'};
        const int repeat = qMin((n - 1) / 4 + 1, 16);
        return QString(repeat, QChar(kSymbols[(n - 1) % 4]));
    }
    case Arabic: break;
    }
    return QString::number(n);
}
