#include "docx/DocxNotesWriter.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxStoryWriter.h"
#include "docx/DocxWriteContext.h"
#include "rtf/Notes.h"

#include <QTextDocument>
#include <QTextFrame>

using namespace DocxNamespaces;

DocxNotesWriter::DocxNotesWriter(DocxWriteContext &context) : context_(context) {}

QString DocxNotesWriter::partName(NoteSettings::Kind kind)
{
    return kind == NoteSettings::Endnote ? QStringLiteral("word/endnotes.xml") : QStringLiteral("word/footnotes.xml");
}

void DocxNotesWriter::start(NoteSettings::Kind kind)
{
    if (writers_[kind])
        return;
    own_[kind] = std::make_unique<QXmlStreamWriter>(&bytes_[kind]);
    QXmlStreamWriter &w = *own_[kind];
    writers_[kind] = &w;
    w.writeStartDocument(QStringLiteral("1.0"), true);
    for (int n = Count - 1; n >= W; --n) // the main namespace last: the writer looks it up first
        if (!prefix(Ns(n)).isEmpty() && n != Xml && n != CP && n != DC && n != DCTerms && n != XSI && n != VT)
            w.writeNamespace(uri(Ns(n)), prefix(Ns(n)));
    const QString ns = uri(W);
    const QString element = kind == NoteSettings::Endnote ? QStringLiteral("endnote") : QStringLiteral("footnote");
    w.writeStartElement(ns, kind == NoteSettings::Endnote ? QStringLiteral("endnotes") : QStringLiteral("footnotes"));
    // The separator lines Word draws above the notes.
    for (const auto &[id, type] : {std::pair{-1, "separator"}, std::pair{0, "continuationSeparator"}}) {
        w.writeStartElement(ns, element);
        w.writeAttribute(ns, QStringLiteral("type"), QLatin1String(type));
        w.writeAttribute(ns, QStringLiteral("id"), QString::number(id));
        w.writeStartElement(ns, QStringLiteral("p"));
        w.writeStartElement(ns, QStringLiteral("pPr"));
        w.writeEmptyElement(ns, QStringLiteral("spacing"));
        w.writeAttribute(ns, QStringLiteral("after"), QStringLiteral("0"));
        w.writeAttribute(ns, QStringLiteral("line"), QStringLiteral("240"));
        w.writeAttribute(ns, QStringLiteral("lineRule"), QStringLiteral("auto"));
        w.writeEndElement();
        w.writeStartElement(ns, QStringLiteral("r"));
        w.writeEmptyElement(ns, QLatin1String(type));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
    }
}

int DocxNotesWriter::add(const QByteArray &rtf, NoteSettings::Kind kind)
{
    start(kind);
    QXmlStreamWriter &w = *writers_[kind];
    const int id = ++count_[kind];
    const QString ns = uri(W);
    w.writeStartElement(ns, kind == NoteSettings::Endnote ? QStringLiteral("endnote") : QStringLiteral("footnote"));
    w.writeAttribute(ns, QStringLiteral("id"), QString::number(id));
    const auto note = Notes::document(rtf, context_.documentFont);
    if (note) {
        DocxNotesWriter *saved = context_.notes;
        context_.notes = nullptr; // a note holds no notes
        DocxStoryWriter story(context_, w, partName(kind), *note, DocxStoryWriter::Kind::Note);
        story.setEndnote(kind == NoteSettings::Endnote);
        story.writeFrame(note->rootFrame());
        story.finish();
        context_.notes = saved;
    } else {
        w.writeEmptyElement(ns, QStringLiteral("p"));
    }
    w.writeEndElement();
    return id;
}

QByteArray DocxNotesWriter::finish(NoteSettings::Kind kind)
{
    start(kind);
    writers_[kind]->writeEndElement();
    writers_[kind]->writeEndDocument();
    return bytes_[kind];
}
