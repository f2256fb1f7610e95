#include "odt/OdtUnits.h"

#include <QStringList>
#include <cmath>

namespace OdtUnits {

namespace {

// Splits "12.5pt" into its number and unit.
bool number(QStringView text, double &value, QStringView &unit)
{
    text = text.trimmed();
    qsizetype i = 0;
    while (i < text.size() && (text[i].isDigit() || text[i] == u'.' || text[i] == u'-' || text[i] == u'+'))
        ++i;
    if (i == 0)
        return false;
    bool ok = false;
    value = text.left(i).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    unit = text.mid(i).trimmed();
    return true;
}

} // namespace

std::optional<double> points(QStringView length)
{
    double value = 0;
    QStringView unit;
    if (!number(length, value, unit))
        return std::nullopt;
    double pt = 0;
    if (unit.isEmpty() || unit == u"pt")
        pt = value;
    else if (unit == u"in" || unit == u"inch")
        pt = value * 72.0;
    else if (unit == u"cm")
        pt = value * 72.0 / 2.54;
    else if (unit == u"mm")
        pt = value * 72.0 / 25.4;
    else if (unit == u"pc")
        pt = value * 12.0;
    else if (unit == u"px")
        pt = value * 0.75;
    else if (unit == u"twip")
        pt = value / 20.0;
    else
        return std::nullopt;
    // Nothing on a page is this large; hostile values stay within what layout can take.
    return qBound(-1e6, pt, 1e6);
}

std::optional<double> pixels(QStringView length)
{
    const std::optional<double> pt = points(length);
    if (!pt)
        return std::nullopt;
    return *pt * 96.0 / 72.0;
}

std::optional<double> percent(QStringView text)
{
    double value = 0;
    QStringView unit;
    if (!number(text, value, unit) || unit != u"%")
        return std::nullopt;
    return qBound(-1e6, value, 1e6);
}

QColor color(QStringView text)
{
    text = text.trimmed();
    if (text.size() != 7 || !text.startsWith(u'#'))
        return QColor();
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    return ok ? QColor::fromRgb(QRgb(0xFF000000u | rgb)) : QColor();
}

QString inches(double pixels)
{
    QString s = QString::number(pixels / 96.0, 'f', 4);
    while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
        s.chop(1);
    if (s == u"-0")
        s = QStringLiteral("0");
    return s + QLatin1StringView("in");
}

QString pointText(double points)
{
    QString s = QString::number(points, 'f', 2);
    while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
        s.chop(1);
    return s + QLatin1StringView("pt");
}

QString colorText(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

std::optional<Border> border(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    Border b;
    if (text == u"none" || text == u"hidden")
        return b;
    b.style = QTextFrameFormat::BorderStyle_Solid;
    b.width = 96.0 / 72.0; // 1pt when it says no width
    for (const QStringView part : text.split(u' ', Qt::SkipEmptyParts)) {
        if (part.startsWith(u'#')) {
            b.color = color(part);
        } else if (part.front().isDigit() || part.front() == u'.') {
            if (const auto w = pixels(part))
                b.width = qBound(0.0, *w, 96.0);
        } else if (part == u"solid") {
            b.style = QTextFrameFormat::BorderStyle_Solid;
        } else if (part == u"double" || part == u"double-thin") {
            b.style = QTextFrameFormat::BorderStyle_Double;
        } else if (part == u"dotted") {
            b.style = QTextFrameFormat::BorderStyle_Dotted;
        } else if (part == u"dashed" || part == u"fine-dashed") {
            b.style = QTextFrameFormat::BorderStyle_Dashed;
        } else if (part == u"dash-dot") {
            b.style = QTextFrameFormat::BorderStyle_DotDash;
        } else if (part == u"dash-dot-dot") {
            b.style = QTextFrameFormat::BorderStyle_DotDotDash;
        } else if (part == u"groove") {
            b.style = QTextFrameFormat::BorderStyle_Groove;
        } else if (part == u"ridge") {
            b.style = QTextFrameFormat::BorderStyle_Ridge;
        } else if (part == u"inset") {
            b.style = QTextFrameFormat::BorderStyle_Inset;
        } else if (part == u"outset") {
            b.style = QTextFrameFormat::BorderStyle_Outset;
        } else if (part == u"none" || part == u"hidden") {
            b.style = QTextFrameFormat::BorderStyle_None;
        }
    }
    if (b.width <= 0)
        b.style = QTextFrameFormat::BorderStyle_None;
    return b;
}

QString borderText(const Border &b)
{
    if (b.style == QTextFrameFormat::BorderStyle_None || b.width <= 0)
        return QStringLiteral("none");
    QString style;
    switch (b.style) {
    case QTextFrameFormat::BorderStyle_Double: style = QStringLiteral("double"); break;
    case QTextFrameFormat::BorderStyle_Dotted: style = QStringLiteral("dotted"); break;
    case QTextFrameFormat::BorderStyle_Dashed: style = QStringLiteral("dashed"); break;
    case QTextFrameFormat::BorderStyle_DotDash: style = QStringLiteral("dash-dot"); break;
    case QTextFrameFormat::BorderStyle_DotDotDash: style = QStringLiteral("dash-dot-dot"); break;
    case QTextFrameFormat::BorderStyle_Groove: style = QStringLiteral("groove"); break;
    case QTextFrameFormat::BorderStyle_Ridge: style = QStringLiteral("ridge"); break;
    case QTextFrameFormat::BorderStyle_Inset: style = QStringLiteral("inset"); break;
    case QTextFrameFormat::BorderStyle_Outset: style = QStringLiteral("outset"); break;
    default: style = QStringLiteral("solid"); break;
    }
    return pointText(b.width * 72.0 / 96.0) + u' ' + style + u' '
         + colorText(b.color.isValid() ? b.color : QColor(Qt::black));
}

} // namespace OdtUnits
