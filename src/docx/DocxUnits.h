#pragma once
#include <QColor>
#include <QStringView>
#include <optional>

// The measures and values of Word XML: twentieths of a point (twips), half points, eighths of a
// point, English Metric Units, fiftieths of a percent, universal measures ("2.5cm", "12pt", which
// Strict files write), on/off switches and colours. Values out of reason are clamped.
namespace DocxUnits {

constexpr double kEmuPerTwip = 635.0;
constexpr double kEmuPerPixel = 9525.0; // at 96 per inch
constexpr double kMaxTwips = 31680 * 4; // 88 inches

// A number with an optional universal unit, in twips per unit of `plainTwips` (1 for twips,
// 10 for half points, 2.5 for eighths of a point); nullopt when it is not a number.
std::optional<double> measure(QStringView value, double plainTwips);
inline std::optional<double> twips(QStringView v) { return measure(v, 1.0); }
inline std::optional<double> halfPoints(QStringView v) // as half points
{
    const auto t = measure(v, 10.0);
    return t ? std::optional<double>(*t / 10.0) : std::nullopt;
}
std::optional<qint64> integer(QStringView value);
inline double clampTwips(double t) { return qBound(-kMaxTwips, t, kMaxTwips); }

// w:val of an on/off element: absent or "1", "true", "on" is on.
bool onOff(QStringView value);

// "FF0000" -> red; "auto" and anything else -> invalid.
QColor color(QStringView value);
QString colorName(const QColor &c); // "FF0000"
// w:highlight's names ("yellow", "darkBlue" ...) and back; none for a colour without a name.
QColor highlightColor(QStringView name);
QString highlightName(const QColor &c);

} // namespace DocxUnits
