#pragma once
#include <QByteArrayView>

// One lexical unit of Rich Text Format. Views point into the tokenizer's input.
struct RtfToken
{
    enum Type : quint8 {
        End,
        GroupOpen,
        GroupClose,
        ControlWord,   // data = the letters, perhaps with a parameter
        ControlSymbol, // byte = the character after the backslash
        Text,          // data = a run of literal bytes
        HexByte,       // byte = the value of \'hh
        Binary,        // data = the bytes of \binN
    };

    Type type = End;
    bool hasParameter = false;
    uchar byte = 0;
    int parameter = 0;
    QByteArrayView data;
};
