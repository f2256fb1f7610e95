#pragma once
#include "rtf/RtfSymbolFonts.h"

#include <QString>
#include <QStringDecoder>
#include <array>
#include <memory>
#include <vector>

// Turns the bytes of RTF text into characters through a Windows code page (or a symbol font's
// encoding). Double-byte pages keep a lead byte until its trail byte arrives.
class RtfTextDecoder
{
public:
    static constexpr int kDefaultCodePage = 1252;

    // The code page of a font's \fcharset; 0 for the default character set (the document's).
    static int codePageForCharset(int charset);

    RtfTextDecoder();
    ~RtfTextDecoder();

    // Unknown code pages read as Windows-1252. A pending lead byte is flushed first.
    void select(int codePage, RtfSymbolFonts::Font symbolFont, QString &out);
    bool isSingleByte() const { return !current_->multiByte && symbol_ == RtfSymbolFonts::None; }

    // Appends the characters that the byte completes.
    void decode(uchar byte, QString &out);
    // A lead byte left without its trail byte becomes U+FFFD.
    void flush(QString &out);
    bool hasPending() const { return pending_; }
    // The character of a byte 0x80..0xFF in a single-byte page.
    char16_t highCharacter(uchar byte) const { return current_->high[byte - 0x80]; }

private:
    struct Page
    {
        int number = 0;
        bool multiByte = false;
        std::array<char16_t, 128> high{};
        std::unique_ptr<QStringDecoder> decoder;
    };

    Page &page(int number);
    static std::unique_ptr<Page> load(int number);

    std::vector<std::unique_ptr<Page>> pages_;
    Page *current_ = nullptr;
    RtfSymbolFonts::Font symbol_ = RtfSymbolFonts::None;
    bool pending_ = false;
};
