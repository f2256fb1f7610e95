#pragma once
#include "rtf/DocumentInfo.h"
#include "rtf/NoteSettings.h"
#include "rtf/PageSetup.h"
#include "rtf/RtfControlWords.h"

#include <optional>

class DocumentExtras;

// The document-wide words the RTF reader meets (page set-up, note numbering, first-page and
// facing-page headers) and the document information, gathered until the end of the file.
class RtfDocumentSettings
{
public:
    // Takes a document or section word; false for any other. Section words count in the first
    // section only, and over the document's own values.
    bool word(RtfWord word, int value);
    void endSection() { firstSection_ = false; }

    DocumentInfo &info() { return info_; }
    const NoteSettings &notes() const { return notes_; }

    void applyTo(DocumentExtras &extras) const;

private:
    void pageWord(RtfWord word, int value);
    void sectionWord(RtfWord word, int value);
    void noteWord(RtfWord word, int value);

    PageSetup page_;
    bool pageSet_ = false;
    // Which page values the first section gave, which the document's own do not override.
    bool width_ = false, height_ = false, left_ = false, right_ = false, top_ = false, bottom_ = false;
    NoteSettings notes_;
    bool notesSet_ = false;
    bool titlePage_ = false;
    bool facingPages_ = false;
    bool firstSection_ = true;
    DocumentInfo info_;
};
