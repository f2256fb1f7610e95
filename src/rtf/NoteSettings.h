#pragma once
#include <QString>

// How a document numbers and places its footnotes and endnotes (RTF \ftnnar, \aftnnrlc,
// \ftnstart, \ftnrstpg, \fet, \ftnbj, \aenddoc ...).
struct NoteSettings
{
    enum Format { Arabic, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, Chicago };
    enum Restart { Continuous, EachSection, EachPage };
    enum Kind { Footnote = 0, Endnote = 1 };

    Format footnoteFormat = Arabic;
    Format endnoteFormat = LowerRoman;
    int footnoteStart = 1;
    int endnoteStart = 1;
    Restart footnoteRestart = Continuous;
    Restart endnoteRestart = Continuous;
    int noteTypes = 0;                 // \fet: 0 footnotes only, 1 endnotes only, 2 both
    bool footnotesBeneathText = false; // \ftntj, else at the bottom of the page (\ftnbj)
    bool endnotesAtSectionEnd = false; // \aendnotes, else at the end of the document (\aenddoc)

    bool operator==(const NoteSettings &) const = default;

    // The mark of the n-th note (counted from the start value) in a format.
    static QString mark(Format format, int n);
    QString mark(Kind kind, int index) const
    {
        return kind == Footnote ? mark(footnoteFormat, footnoteStart + index) : mark(endnoteFormat, endnoteStart + index);
    }
};
