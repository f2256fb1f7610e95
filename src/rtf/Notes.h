#pragma once
#include "rtf/NoteSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

class QFont;
class QTextCharFormat;
class QTextDocument;

// Footnotes and endnotes as a document keeps them: the reference mark is text in the document
// whose format carries the note (TextFormats::kNoteProperty) as standalone RTF.
class Notes
{
public:
    struct Reference
    {
        int position = 0; // of the mark in the document
        int length = 0;
        NoteSettings::Kind kind = NoteSettings::Footnote;
        QString mark;     // the mark's text as shown ("1", "iv", "*")
        QByteArray rtf;   // the note
    };

    // The notes of a document in the order of their marks.
    static QList<Reference> references(const QTextDocument &doc);
    // A note's text as a document of its own, for printing or editing, its own mark (\chftn) showing
    // `markText` when given; null when there is no note.
    static std::unique_ptr<QTextDocument> document(const Reference &note, const QFont &defaultFont);
    static std::unique_ptr<QTextDocument> document(const QByteArray &rtf, const QFont &defaultFont,
                                                   const QString &markText = QString());
    // A note's text without its formatting, e.g. for the tooltip of its mark (the mark's format and
    // text).
    static QString plainText(const QTextCharFormat &mark, const QString &markText = QString());
    // Puts a note on the mark's format: what an editor made of the note's text.
    static void setNote(QTextCharFormat &mark, const QTextDocument &note, NoteSettings::Kind kind);
};
