#include "rtf/NoteSettings.h"
#include "rtf/NumberText.h"

QString NoteSettings::mark(Format format, int n)
{
    if (n <= 0 || n >= 5000)
        return QString::number(n);
    switch (format) {
    case LowerAlpha: return NumberText::letters(n);
    case UpperAlpha: return NumberText::letters(n).toUpper();
    case LowerRoman: return NumberText::roman(n);
    case UpperRoman: return NumberText::roman(n).toUpper();
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
