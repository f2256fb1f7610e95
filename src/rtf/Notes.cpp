#include "rtf/Notes.h"
#include "rtf/RtfCodec.h"
#include "rtf/RtfWriter.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

QList<Notes::Reference> Notes::references(const QTextDocument &doc)
{
    QList<Reference> notes;
    QString lastId;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const QString note = f.stringProperty(TextFormats::kNoteProperty);
            if (note.isEmpty())
                continue;
            const QByteArray rtf = TextFormats::rtfBytes(note);
            const QString id = f.stringProperty(TextFormats::kMarkIdProperty);
            if (!notes.isEmpty() && notes.last().rtf == rtf && lastId == id
                && notes.last().position + notes.last().length == fragment.position()) {
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
            lastId = id;
        }
    }
    return notes;
}

std::unique_ptr<QTextDocument> Notes::document(const QByteArray &rtf, const QFont &defaultFont, const QString &markText)
{
    if (rtf.isEmpty())
        return nullptr;
    auto note = std::make_unique<QTextDocument>();
    note->setDefaultFont(defaultFont);
    RtfCodec::read(rtf, *note);
    if (markText.isEmpty())
        return note;
    // Read on its own, the note numbers its mark afresh: it shows the reference's instead.
    std::vector<std::pair<int, int>> marks;
    for (QTextBlock b = note->begin(); b.isValid(); b = b.next())
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().stringProperty(TextFormats::kAutoTextProperty) == u"chftn")
                marks.emplace_back(it.fragment().position(), it.fragment().length());
    QTextCursor c(note.get());
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        c.setPosition(it->first + it->second);
        const QTextCharFormat format = c.charFormat();
        c.setPosition(it->first, QTextCursor::KeepAnchor);
        c.insertText(markText, format);
    }
    return note;
}

std::unique_ptr<QTextDocument> Notes::document(const Reference &note, const QFont &defaultFont)
{
    return document(note.rtf, defaultFont, note.mark);
}

QString Notes::plainText(const QTextCharFormat &mark, const QString &markText)
{
    const auto note = document(TextFormats::rtfBytes(mark.stringProperty(TextFormats::kNoteProperty)), QFont(), markText);
    if (!note)
        return QString();
    QString text = note->toPlainText().trimmed();
    // The mark stands apart from the note's first word ("1 Figures", not "1Figures").
    if (!markText.isEmpty() && text.size() > markText.size() && text.startsWith(markText) && !text.at(markText.size()).isSpace())
        text.insert(markText.size(), u' ');
    return text;
}

void Notes::setNote(QTextCharFormat &mark, const QTextDocument &note, NoteSettings::Kind kind)
{
    mark.setProperty(TextFormats::kNoteProperty, TextFormats::rtfOf(RtfWriter(note, RtfWriter::Part).write()));
    mark.setProperty(TextFormats::kNoteKindProperty, int(kind));
}
