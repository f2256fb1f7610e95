#include "rtf/NumberText.h"

#include <utility>

namespace NumberText {

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

} // namespace NumberText
