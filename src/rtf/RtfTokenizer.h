#pragma once
#include "rtf/RtfToken.h"

// Splits Rich Text Format into tokens. Never fails: any byte sequence gives a finite stream of
// tokens ending in End, in one pass over the input.
class RtfTokenizer
{
public:
    // Control words longer than this are read whole but never match a known word.
    static constexpr int kMaxWordLength = 32;

    explicit RtfTokenizer(QByteArrayView input);

    RtfToken next();
    qsizetype position() const { return pos_; }
    QByteArrayView input() const { return in_; }

private:
    RtfToken control();
    RtfToken controlWord();
    RtfToken hex();
    int readParameter(bool &hasParameter);

    QByteArrayView in_;
    qsizetype pos_ = 0;
};
