#pragma once
#include "rtf/NoteSettings.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <memory>

struct DocxWriteContext;

// The footnotes and endnotes parts of a Word package, written as the body meets the notes' marks.
class DocxNotesWriter
{
public:
    explicit DocxNotesWriter(DocxWriteContext &context);

    // Writes a note (kept as RTF on its mark) into its part; its w:id.
    int add(const QByteArray &rtf, NoteSettings::Kind kind);
    bool hasNotes(NoteSettings::Kind kind) const { return count_[kind] > 0; }
    // The part's XML, with the separators Word expects.
    QByteArray finish(NoteSettings::Kind kind);

    static QString partName(NoteSettings::Kind kind);

private:
    void start(NoteSettings::Kind kind);

    DocxWriteContext &context_;
    QByteArray bytes_[2];
    QXmlStreamWriter *writers_[2] = {nullptr, nullptr};
    int count_[2] = {0, 0};
    std::unique_ptr<QXmlStreamWriter> own_[2];
};
