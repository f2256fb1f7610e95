#include "rtf/RtfTextDecoder.h"

namespace {

QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "ibm-850";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "windows-950";
    case 1361: return "windows-949";
    case 10000: return "macintosh";
    case 10001: return "windows-31j";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    case 65001: return "UTF-8";
    default: return "windows-" + QByteArray::number(codePage);
    }
}

bool isMultiByte(int codePage)
{
    switch (codePage) {
    case 932: case 936: case 949: case 950: case 1361: case 10001: case 65001: return true;
    default: return false;
    }
}

} // namespace

int RtfTextDecoder::codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252; // symbol fonts are mapped by name
    case 77: return 10000;
    case 78: return 10001;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: case 181: return 1255;
    case 178: case 179: case 180: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

RtfTextDecoder::RtfTextDecoder()
{
    current_ = &page(kDefaultCodePage);
}

RtfTextDecoder::~RtfTextDecoder() = default;

std::unique_ptr<RtfTextDecoder::Page> RtfTextDecoder::load(int number)
{
    auto p = std::make_unique<Page>();
    p->number = number;
    p->decoder = std::make_unique<QStringDecoder>(codecName(number).constData());
    if (!p->decoder->isValid())
        return nullptr;
    p->multiByte = isMultiByte(number);
    if (!p->multiByte) {
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char c = char(b);
            const QString s = p->decoder->decode(QByteArrayView(&c, 1));
            p->high[b - 0x80] = s.size() == 1 ? s.at(0).unicode() : char16_t(0xFFFD);
            p->decoder->resetState();
        }
    }
    return p;
}

RtfTextDecoder::Page &RtfTextDecoder::page(int number)
{
    for (const auto &p : pages_)
        if (p->number == number)
            return *p;
    std::unique_ptr<Page> loaded = load(number);
    if (!loaded && number != kDefaultCodePage)
        return page(kDefaultCodePage);
    if (!loaded) {
        // Qt built without ICU: Latin-1 is the nearest page it always has.
        loaded = std::make_unique<Page>();
        loaded->number = number;
        for (int b = 0x80; b <= 0xFF; ++b)
            loaded->high[b - 0x80] = char16_t(b);
    }
    pages_.push_back(std::move(loaded));
    return *pages_.back();
}

void RtfTextDecoder::select(int codePage, RtfSymbolFonts::Font symbolFont, QString &out)
{
    if (codePage == current_->number && symbolFont == symbol_)
        return;
    flush(out);
    current_ = &page(codePage > 0 ? codePage : kDefaultCodePage);
    symbol_ = symbolFont;
}

void RtfTextDecoder::decode(uchar byte, QString &out)
{
    if (symbol_ != RtfSymbolFonts::None) {
        if (const char16_t c = RtfSymbolFonts::toUnicode(symbol_, byte)) {
            out.append(QChar(c));
            return;
        }
    }
    if (!current_->multiByte) {
        out.append(byte < 0x80 ? QChar(byte) : QChar(current_->high[byte - 0x80]));
        return;
    }
    const char c = char(byte);
    const QString s = current_->decoder->decode(QByteArrayView(&c, 1));
    pending_ = s.isEmpty();
    out.append(s);
}

void RtfTextDecoder::flush(QString &out)
{
    if (!pending_)
        return;
    pending_ = false;
    current_->decoder->resetState();
    out.append(QChar(QChar::ReplacementCharacter));
}
