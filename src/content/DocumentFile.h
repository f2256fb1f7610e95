#pragma once
#include "content/FileRecognition.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

// A document file read whole and known by its content: the one place that decides what Open, drops,
// the command line, recent files, Insert Text Files and the conversion mode make of a file.
class DocumentFile
{
public:
    using Format = FileRecognition::Format;

    // Reads and recognises the file. Throws Failure `Cannot open "path": reason` when it cannot be
    // read, or when it holds something Scrivlo does not open (the reason says what).
    static DocumentFile read(const QString &path);
    // The same for bytes already read; `path` names the file in messages.
    static DocumentFile fromBytes(const QString &path, const QByteArray &bytes);

    Format format() const { return m_format; }
    bool isRich() const { return m_format != Format::PlainText; }
    const QByteArray &bytes() const { return m_bytes; }
    // The file's text, for plain text (and for a rich file taken as text).
    QString text() const;
    // What Insert Text Files puts in: the text of a text file, Rich Text Format as it stands, and
    // the text of a Word or OpenDocument document (its package as text would be noise).
    QString insertableText() const;

    struct ReadNotes
    {
        bool endedEarly = false; // the file stops in the middle: part of it may be missing
    };
    // Replaces the whole content of `doc` with the rich document. Throws Failure `Cannot open
    // "path": reason` when the format's reader refuses it; `doc` is then empty.
    ReadNotes readInto(QTextDocument &doc) const;

private:
    DocumentFile(const QString &path, const QByteArray &bytes, Format format)
        : m_path(path), m_bytes(bytes), m_format(format) {}

    QString m_path;
    QByteArray m_bytes;
    Format m_format;
};
