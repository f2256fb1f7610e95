#include "docx/DocxReadContext.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"

void DocxReadContext::readNoteProperties(DocxXml &xml, bool footnotes)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        const QStringView v = xml.val();
        if (xml.isW(u"numFmt")) {
            const NoteSettings::Format format = v == u"lowerLetter" ? NoteSettings::LowerAlpha
                                              : v == u"upperLetter" ? NoteSettings::UpperAlpha
                                              : v == u"lowerRoman"  ? NoteSettings::LowerRoman
                                              : v == u"upperRoman"  ? NoteSettings::UpperRoman
                                              : v == u"chicago"     ? NoteSettings::Chicago
                                                                    : NoteSettings::Arabic;
            (footnotes ? noteSettings.footnoteFormat : noteSettings.endnoteFormat) = format;
            hasNoteSettings = true;
        } else if (xml.isW(u"numStart")) {
            if (const auto start = DocxUnits::integer(v)) {
                (footnotes ? noteSettings.footnoteStart : noteSettings.endnoteStart)
                    = int(qBound(qint64(1), qint64(*start), qint64(32767)));
                hasNoteSettings = true;
            }
        } else if (xml.isW(u"numRestart")) {
            const NoteSettings::Restart restart = v == u"eachPage"   ? NoteSettings::EachPage
                                                : v == u"eachSect"   ? NoteSettings::EachSection
                                                                     : NoteSettings::Continuous;
            (footnotes ? noteSettings.footnoteRestart : noteSettings.endnoteRestart) = restart;
            hasNoteSettings = true;
        }
    }
}
