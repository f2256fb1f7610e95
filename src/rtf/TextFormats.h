#pragma once
#include <QFont>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextDocument>

// Conventions shared by the RTF reader/writer and the editing surface, so that what one writes the
// other reads the same way.
namespace TextFormats {

// Lengths in a QTextDocument (margins, indents, image sizes) are pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;
constexpr double kTwipsPerPoint = 20.0;

inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline double pixelsToTwips(double px) { return px * kTwipsPerPixel; }

// The font family of a character format: the first of its families, else its single family,
// else the document's default font.
inline QString family(const QTextCharFormat &f, const QFont &documentDefault)
{
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    if (f.hasProperty(QTextFormat::FontFamily) && !f.fontFamily().isEmpty())
        return f.fontFamily();
    return documentDefault.family();
}

// Sets the family both ways Qt knows, so every reader of the format agrees.
inline void setFamily(QTextCharFormat &f, const QString &name)
{
    f.setFontFamilies(QStringList{name});
    f.setFontFamily(name);
}

// Point size of a character format, falling back to the document's default font.
inline double pointSize(const QTextCharFormat &f, const QFont &documentDefault)
{
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        return f.fontPointSize();
    return documentDefault.pointSizeF();
}

inline bool isBold(const QTextCharFormat &f) { return f.fontWeight() >= QFont::DemiBold; }
inline bool isUnderlined(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::TextUnderlineStyle))
        return f.underlineStyle() != QTextCharFormat::NoUnderline;
    return f.fontUnderline();
}

} // namespace TextFormats
