#include "rtf/RtfTokenizer.h"

#include <climits>

namespace {

bool isLetter(uchar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(uchar c) { return c >= '0' && c <= '9'; }

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a run of text.
bool endsText(uchar c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n'; }

RtfToken token(RtfToken::Type type, QByteArrayView data = {})
{
    RtfToken t;
    t.type = type;
    t.data = data;
    return t;
}

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView input) : in_(input) {}

RtfToken RtfTokenizer::next()
{
    const qsizetype size = in_.size();
    while (pos_ < size) {
        const uchar c = uchar(in_[pos_]);
        switch (c) {
        case '{': ++pos_; return token(RtfToken::GroupOpen);
        case '}': ++pos_; return token(RtfToken::GroupClose);
        case '\\': return control();
        case '\r':
        case '\n': ++pos_; continue;
        default: break;
        }
        const qsizetype start = pos_;
        while (pos_ < size && !endsText(uchar(in_[pos_])))
            ++pos_;
        return token(RtfToken::Text, in_.sliced(start, pos_ - start));
    }
    return token(RtfToken::End);
}

RtfToken RtfTokenizer::control()
{
    ++pos_; // the backslash
    if (pos_ >= in_.size())
        return token(RtfToken::End);
    const uchar c = uchar(in_[pos_]);
    if (isLetter(c))
        return controlWord();
    if (c == '\'')
        return hex();
    ++pos_;
    if (c == '\\' || c == '{' || c == '}')
        return token(RtfToken::Text, in_.sliced(pos_ - 1, 1));
    RtfToken t = token(RtfToken::ControlSymbol);
    t.byte = c == '\r' ? '\n' : c;
    return t;
}

RtfToken RtfTokenizer::controlWord()
{
    const qsizetype start = pos_;
    while (pos_ < in_.size() && isLetter(uchar(in_[pos_])))
        ++pos_;
    RtfToken t = token(RtfToken::ControlWord, in_.sliced(start, pos_ - start));
    t.parameter = readParameter(t.hasParameter);
    if (pos_ < in_.size() && in_[pos_] == ' ')
        ++pos_;
    if (t.hasParameter && t.data == QByteArrayView("bin")) {
        // Binary data: its bytes are not tokens, so braces inside it do not count.
        const qsizetype n = qBound(qsizetype(0), qsizetype(t.parameter), in_.size() - pos_);
        t.type = RtfToken::Binary;
        t.data = in_.sliced(pos_, n);
        pos_ += n;
    }
    return t;
}

// Reads an optional signed decimal parameter, saturating at the int range. All its digits are
// consumed, however many there are, so none of them leaks into the text.
int RtfTokenizer::readParameter(bool &hasParameter)
{
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(uchar(in_[pos_ + 1]))) {
        negative = true;
        ++pos_;
    }
    hasParameter = pos_ < in_.size() && isDigit(uchar(in_[pos_]));
    qint64 value = 0;
    while (pos_ < in_.size() && isDigit(uchar(in_[pos_]))) {
        if (value <= qint64(INT_MAX) + 1)
            value = value * 10 + (in_[pos_] - '0');
        ++pos_;
    }
    if (negative)
        value = -value;
    return int(qBound(qint64(INT_MIN), value, qint64(INT_MAX)));
}

RtfToken RtfTokenizer::hex()
{
    ++pos_; // the quote
    const int high = pos_ < in_.size() ? hexValue(uchar(in_[pos_])) : -1;
    const int low = pos_ + 1 < in_.size() ? hexValue(uchar(in_[pos_ + 1])) : -1;
    if (high >= 0 && low >= 0) {
        pos_ += 2;
        RtfToken t = token(RtfToken::HexByte);
        t.byte = uchar(high * 16 + low);
        return t;
    }
    if (high >= 0)
        ++pos_; // a lone digit is dropped with its escape
    RtfToken t = token(RtfToken::ControlSymbol);
    t.byte = '\'';
    return t;
}
