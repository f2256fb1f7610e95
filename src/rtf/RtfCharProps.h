#pragma once
#include <QHashFunctions>
#include <QtGlobal>

// Character formatting as the RTF reader tracks it: file values, resolved to a QTextCharFormat
// only when text is inserted.
struct RtfCharProps
{
    int font = -1;        // number in the font table; -1 is the default font (\deff)
    int halfPoints = 24;  // \fs
    int foreground = 0;   // colour table index; 0 is the automatic colour
    int background = 0;   // \cb and \chcbpat
    int highlight = 0;
    int offset = 0;       // \up (positive) and \dn (negative), half-points
    int link = -1;        // index of the hyperlink target of a field result
    int fields = -1;      // index of the innermost field (or object) whose result this is
    int charStyle = -1;   // \cs
    quint8 underline = 0; // a QTextCharFormat::UnderlineStyle
    quint8 script = 0;    // RtfValues::Script
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    bool caps = false;
    bool smallCaps = false;

    bool operator==(const RtfCharProps &) const = default;

    // \plain: everything back to the defaults, except the link and fields being read.
    void reset()
    {
        const int keepLink = link, keepFields = fields;
        *this = RtfCharProps();
        link = keepLink;
        fields = keepFields;
    }
};

inline size_t qHash(const RtfCharProps &p, size_t seed = 0)
{
    return qHashMulti(seed, p.font, p.halfPoints, p.foreground, p.background, p.highlight, p.offset,
                      p.link, p.fields, p.charStyle, p.underline, p.script,
                      (p.bold << 0) | (p.italic << 1) | (p.strike << 2) | (p.hidden << 3)
                          | (p.caps << 4) | (p.smallCaps << 5));
}
