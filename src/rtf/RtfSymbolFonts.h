#pragma once
#include <QString>

// The byte encodings of the symbol fonts, mapped to the Unicode characters they draw, so their
// text survives on systems without those fonts.
class RtfSymbolFonts
{
public:
    enum Font { None, Symbol, Wingdings };

    static Font fontNamed(const QString &family);
    // The character for a byte (or a private-use U+F0xx code) in the font; 0 when there is none.
    static char16_t toUnicode(Font font, uchar byte);
};
