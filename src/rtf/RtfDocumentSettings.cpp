#include "rtf/RtfDocumentSettings.h"
#include "rtf/DocumentExtras.h"

bool RtfDocumentSettings::word(RtfWord word, int value)
{
    switch (word) {
    case RtfWord::PaperWidth: case RtfWord::PaperHeight: case RtfWord::MarginLeft: case RtfWord::MarginRight:
    case RtfWord::MarginTop: case RtfWord::MarginBottom: case RtfWord::Landscape:
        pageWord(word, value);
        return true;
    case RtfWord::SectionPaperWidth: case RtfWord::SectionPaperHeight: case RtfWord::SectionMarginLeft:
    case RtfWord::SectionMarginRight: case RtfWord::SectionMarginTop: case RtfWord::SectionMarginBottom:
    case RtfWord::SectionLandscape: case RtfWord::HeaderDistance: case RtfWord::FooterDistance:
        if (firstSection_)
            sectionWord(word, value);
        return true;
    case RtfWord::TitlePage:
        if (firstSection_)
            titlePage_ = value != 0;
        return true;
    case RtfWord::FacingPages:
        facingPages_ = value != 0;
        return true;
    case RtfWord::FootnoteFormat: case RtfWord::EndnoteFormat: case RtfWord::FootnoteStart:
    case RtfWord::EndnoteStart: case RtfWord::FootnoteRestart: case RtfWord::EndnoteRestart:
    case RtfWord::NoteTypes: case RtfWord::FootnotePlacement: case RtfWord::EndnotePlacement:
        noteWord(word, value);
        return true;
    default:
        return false;
    }
}

// The first section's page is the document's first page, and readers take its values over the
// document's own (AbiWord gives the margins in the section only).
void RtfDocumentSettings::pageWord(RtfWord word, int value)
{
    const int length = qBound(0, value, 31680 * 2);
    pageSet_ = true;
    switch (word) {
    case RtfWord::PaperWidth: if (!width_) page_.paperWidth = qMax(length, 144); break;
    case RtfWord::PaperHeight: if (!height_) page_.paperHeight = qMax(length, 144); break;
    case RtfWord::MarginLeft: if (!left_) page_.marginLeft = length; break;
    case RtfWord::MarginRight: if (!right_) page_.marginRight = length; break;
    case RtfWord::MarginTop: if (!top_) page_.marginTop = length; break;
    case RtfWord::MarginBottom: if (!bottom_) page_.marginBottom = length; break;
    case RtfWord::Landscape: page_.landscape = true; break;
    default: break;
    }
}

void RtfDocumentSettings::sectionWord(RtfWord word, int value)
{
    const int length = qBound(0, value, 31680 * 2);
    pageSet_ = true;
    switch (word) {
    case RtfWord::SectionPaperWidth: page_.paperWidth = qMax(length, 144); width_ = true; break;
    case RtfWord::SectionPaperHeight: page_.paperHeight = qMax(length, 144); height_ = true; break;
    case RtfWord::SectionMarginLeft: page_.marginLeft = length; left_ = true; break;
    case RtfWord::SectionMarginRight: page_.marginRight = length; right_ = true; break;
    case RtfWord::SectionMarginTop: page_.marginTop = length; top_ = true; break;
    case RtfWord::SectionMarginBottom: page_.marginBottom = length; bottom_ = true; break;
    case RtfWord::SectionLandscape: page_.landscape = true; break;
    case RtfWord::HeaderDistance: page_.headerDistance = length; break;
    case RtfWord::FooterDistance: page_.footerDistance = length; break;
    default: break;
    }
}

void RtfDocumentSettings::noteWord(RtfWord word, int value)
{
    notesSet_ = true;
    switch (word) {
    case RtfWord::FootnoteFormat: notes_.footnoteFormat = NoteSettings::Format(qBound(0, value, 5)); break;
    case RtfWord::EndnoteFormat: notes_.endnoteFormat = NoteSettings::Format(qBound(0, value, 5)); break;
    case RtfWord::FootnoteStart: notes_.footnoteStart = qBound(1, value, 32767); break;
    case RtfWord::EndnoteStart: notes_.endnoteStart = qBound(1, value, 32767); break;
    case RtfWord::FootnoteRestart: notes_.footnoteRestart = NoteSettings::Restart(qBound(0, value, 2)); break;
    case RtfWord::EndnoteRestart: notes_.endnoteRestart = NoteSettings::Restart(qBound(0, value, 1)); break;
    case RtfWord::NoteTypes: notes_.noteTypes = qBound(0, value, 2); break;
    case RtfWord::FootnotePlacement: notes_.footnotesBeneathText = value == 1; break;
    case RtfWord::EndnotePlacement: notes_.endnotesAtSectionEnd = value == 1; break;
    default: break;
    }
}

void RtfDocumentSettings::applyTo(DocumentExtras &extras) const
{
    if (pageSet_)
        extras.setPageSetup(page_);
    if (notesSet_)
        extras.setNoteSettings(notes_);
    extras.setTitlePage(titlePage_);
    extras.setFacingPages(facingPages_);
    extras.setInfo(info_);
}
