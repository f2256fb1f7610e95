#include "rtf/Notes.h"
#include "rtf/RtfCodec.h"
#include "rtf/RtfWriter.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>

QList<Notes::Reference> Notes::references(const QTextDocument &doc)
{
    QList<Reference> notes;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const QString note = f.stringProperty(TextFormats::kNoteProperty);
            if (note.isEmpty())
                continue;
            const QByteArray rtf = TextFormats::rtfBytes(note);
            if (!notes.isEmpty() && notes.last().rtf == rtf && notes.last().position + notes.last().length == fragment.position()) {
                notes.last().length += fragment.length(); // one mark in several runs
                notes.last().mark += fragment.text();
                continue;
            }
            Reference r;
            r.position = fragment.position();
            r.length = fragment.length();
            r.kind = NoteSettings::Kind(qBound(0, f.intProperty(TextFormats::kNoteKindProperty), 1));
            r.mark = fragment.text();
            r.rtf = rtf;
            notes.append(r);
        }
    }
    return notes;
}

std::unique_ptr<QTextDocument> Notes::document(const QByteArray &rtf, const QFont &defaultFont)
{
    if (rtf.isEmpty())
        return nullptr;
    auto note = std::make_unique<QTextDocument>();
    note->setDefaultFont(defaultFont);
    RtfCodec::read(rtf, *note);
    return note;
}

std::unique_ptr<QTextDocument> Notes::document(const QTextCharFormat &mark, const QFont &defaultFont)
{
    return document(TextFormats::rtfBytes(mark.stringProperty(TextFormats::kNoteProperty)), defaultFont);
}

QString Notes::plainText(const QTextCharFormat &mark)
{
    const auto note = document(mark, QFont());
    return note ? note->toPlainText().trimmed() : QString();
}

void Notes::setNote(QTextCharFormat &mark, const QTextDocument &note, NoteSettings::Kind kind)
{
    mark.setProperty(TextFormats::kNoteProperty, TextFormats::rtfOf(RtfWriter(note, RtfWriter::Part).write()));
    mark.setProperty(TextFormats::kNoteKindProperty, int(kind));
}
