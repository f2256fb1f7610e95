#pragma once
#include <QColor>
#include <QString>
#include <QStringView>
#include <QTextFrameFormat>
#include <optional>

// OpenDocument's measures and values: lengths with their unit ("2.5cm", "12pt"), percentages,
// colours ("#rrggbb") and borders ("0.5pt solid #000000"), and the same written back. Lengths in
// a QTextDocument are pixels at 96 per inch (TextFormats.h).
namespace OdtUnits {

// A length in pixels; none when the text is not a length. A number without a unit is taken as
// points, as some writers mean it.
std::optional<double> pixels(QStringView length);
std::optional<double> points(QStringView length);
// A percentage ("58%") as a number (58); none when the text is not one.
std::optional<double> percent(QStringView text);
// "#rrggbb"; invalid for "transparent" and anything else.
QColor color(QStringView text);

// Pixels as inches for a file ("0.5in"), rounded to what a file needs.
QString inches(double pixels);
QString pointText(double points);
QString colorText(const QColor &c);

struct Border
{
    double width = 0; // pixels
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_None;
    QColor color;
};
// "0.5pt solid #000000", "none"; none when the text is empty.
std::optional<Border> border(QStringView text);
QString borderText(const Border &b);

} // namespace OdtUnits
