#include "docx/DocxUnits.h"

#include <cmath>

namespace DocxUnits {

namespace {

// A number as QStringView::toDouble() reads it; plain whole numbers, which are most of what a
// part holds, are read here without its general conversion.
std::optional<double> number(QStringView v)
{
    const qsizetype digitsAt = !v.isEmpty() && v.front() == u'-' ? 1 : 0;
    if (v.size() > digitsAt && v.size() - digitsAt <= 15) {
        qint64 n = 0;
        qsizetype i = digitsAt;
        for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i)
            n = n * 10 + (v[i].unicode() - u'0');
        if (i == v.size())
            return digitsAt ? -double(n) : double(n);
    }
    bool ok = false;
    const double n = v.toDouble(&ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    return n;
}

} // namespace

std::optional<double> measure(QStringView value, double plainTwips)
{
    value = value.trimmed();
    if (value.isEmpty() || value.size() > 32)
        return std::nullopt;
    qsizetype unitAt = value.size();
    while (unitAt > 0 && value[unitAt - 1].isLetter())
        --unitAt;
    const QStringView unit = value.mid(unitAt);
    const std::optional<double> read = number(value.left(unitAt));
    if (!read)
        return std::nullopt;
    const double n = *read;
    double perUnit = plainTwips;
    if (unit.isEmpty())
        perUnit = plainTwips;
    else if (unit == u"pt")
        perUnit = 20.0;
    else if (unit == u"in")
        perUnit = 1440.0;
    else if (unit == u"cm")
        perUnit = 1440.0 / 2.54;
    else if (unit == u"mm")
        perUnit = 144.0 / 2.54;
    else if (unit == u"pc" || unit == u"pi")
        perUnit = 240.0;
    else if (unit == u"px")
        perUnit = 15.0;
    else
        return std::nullopt;
    return clampTwips(n * perUnit);
}

std::optional<qint64> integer(QStringView value)
{
    const std::optional<double> n = number(value.trimmed());
    if (!n)
        return std::nullopt;
    return qint64(qBound(-9.0e15, *n, 9.0e15));
}

bool onOff(QStringView value)
{
    if (value.isNull())
        return true;
    const QStringView v = value.trimmed();
    return !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

QColor color(QStringView value)
{
    const QStringView v = value.trimmed();
    if (v.size() != 6)
        return QColor();
    bool ok = false;
    const uint rgb = v.toUInt(&ok, 16);
    return ok ? QColor::fromRgb(QRgb(rgb)) : QColor();
}

QString colorName(const QColor &c)
{
    return QStringLiteral("%1%2%3")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

namespace {

struct Named
{
    const char16_t *name;
    QRgb rgb;
};

constexpr Named kHighlights[] = {
    {u"yellow", 0xFFFF00},    {u"green", 0x00FF00},     {u"cyan", 0x00FFFF},       {u"magenta", 0xFF00FF},
    {u"blue", 0x0000FF},      {u"red", 0xFF0000},       {u"darkBlue", 0x000080},   {u"darkCyan", 0x008080},
    {u"darkGreen", 0x008000}, {u"darkMagenta", 0x800080}, {u"darkRed", 0x800000}, {u"darkYellow", 0x808000},
    {u"darkGray", 0x808080},  {u"lightGray", 0xC0C0C0}, {u"black", 0x000000},     {u"white", 0xFFFFFF},
};

} // namespace

QColor highlightColor(QStringView name)
{
    for (const Named &n : kHighlights)
        if (name == QStringView(n.name))
            return QColor::fromRgb(n.rgb);
    return QColor();
}

QString highlightName(const QColor &c)
{
    if (!c.isValid())
        return QString();
    for (const Named &n : kHighlights)
        if ((c.rgb() & 0xFFFFFF) == n.rgb)
            return QString::fromUtf16(n.name);
    return QString();
}

} // namespace DocxUnits
