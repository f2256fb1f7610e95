#pragma once
#include "rtf/RtfCharProps.h"
#include "rtf/RtfControlWords.h"
#include "rtf/RtfParaProps.h"

// What a group of the RTF reader restores at its closing brace.
struct RtfGroupState
{
    RtfCharProps chars;
    RtfParaProps para;
    RtfDestination destination = RtfDestination::Body;
    RtfDestination outer = RtfDestination::Body; // where a field's or object's result goes
    int unicodeSkip = 1;                         // \uc
    int field = -1;                              // index of the field being read
    int shape = -1;                              // number of the shape being read
    bool starred = false;                        // just after \*
    quint8 capture = 0;                          // what the group's bytes are kept for (RtfReader::Capture)
    qint8 infoField = -1;                        // which \info text or date is read
    qsizetype openPos = 0;                       // where the group's brace is in the input
    qsizetype contentPos = 0;                    // where its content starts, after its destination word
    qsizetype object = -1;                       // where the \object group being read opened
    qint64 openToken = 0;                        // how many tokens were read before its brace
    qint64 shownAt = 0;                          // RtfReader::shownCount_ when it opened
    qsizetype keptAt = 0;                        // how much kept RTF waited when it opened
    qsizetype headKeptAt = 0;
};
