#pragma once
#include "rtf/KeptRtf.h"
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QSet>
#include <QSizeF>
#include <QTextFrame>
#include <functional>
#include <vector>

#include "docx/DocxPropertyList.h"

struct DocxWriteContext;
class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextImageFormat;
class QTextTable;
class QXmlStreamWriter;

// Writes a story (the body, a header or footer, a note) of a QTextDocument as Word XML: its
// paragraphs with their lists and formats relative to their styles, runs, fields and hyperlinks
// (which may go on into the next paragraph), notes, pictures, tables, and the XML kept from the
// file where it stood.
// Its code: DocxStoryWriter.cpp (blocks, paragraphs, runs, fields), DocxStoryWriterObjects.cpp
// (pictures, kept XML, bookmarks, notes) and DocxStoryWriterTables.cpp.
class DocxStoryWriter
{
public:
    enum class Kind { Body, Part, Note };

    DocxStoryWriter(DocxWriteContext &context, QXmlStreamWriter &out, const QString &part, const QTextDocument &story,
                    Kind kind);

    // The blocks and tables of the story's root frame.
    void writeFrame(QTextFrame *frame);
    // Closes the fields still open.
    void finish();
    // Notes the kept relationships kept XML names, which the package must then have.
    void noteNamedRelationships(const QString &xml);
    // In a note: whether it is an endnote (its mark is w:endnoteRef).
    void setEndnote(bool endnote) { endnotes_ = endnote; }
    // The first section's properties, written into its last paragraph (kSectionProperty "first").
    void setFirstSection(const std::function<void(QXmlStreamWriter &)> &write) { firstSection_ = write; }

private:
    // Blocks and tables from `it` on (a frame's or a cell's); in a cell at least one paragraph.
    void writeChildren(QTextFrame::iterator it, bool inCell);
    void writeBlock(const QTextBlock &block, const QTextBlock &next, bool inCell);
    void writeParagraphProperties(const QTextBlock &block, bool inCell);
    void writeRuns(const QTextBlock &block);
    void writeText(const QString &text, const QTextCharFormat &format, int formatIndex, const QString &paragraphStyle);
    void writeRunProperties(const QTextCharFormat &format, int formatIndex, const QString &paragraphStyle);
    void writeTable(QTextTable *table);
    void writeCellProperties(QTextTable *table, const class QTextTableCell &cell, const QList<int> &grid, bool continued);

    // Fields, hyperlinks and tracked changes around the text.
    void syncFields(const QStringList &fields);
    void openField(const QString &instruction);
    void closeField();
    void fieldCharRun(const char *type);
    void openLink(const QString &href);
    void closeLink();

    // Objects.
    void writeKept(const QString &kept);
    // What Word has a place for of kept RTF from another format: bookmarks, hidden text, comments.
    void writeKeptRtf(const QString &keptRtf);
    void writeBookmarks(const QList<KeptRtf::Bookmark> &bookmarks);
    void writeHiddenRun(const QString &text);
    void writeCommentReference(const KeptRtf::Annotation &comment);
    void closeBookmarks();
    void writeImage(const QTextImageFormat &image, const QString &paragraphStyle);
    void writeFloat(const QTextFrame *frame);
    QString imageRelationship(const QTextImageFormat &image, QSizeF &size);
    void writeDrawing(const QString &relationship, QSizeF size, const QString &keptDrawing, const QTextFrame *anchored);
    void writeNoteReference(const QTextCharFormat &format, const QString &paragraphStyle);

    DocxWriteContext &context_;
    QXmlStreamWriter &out_;
    QString part_;
    const QTextDocument &story_;
    Kind kind_;
    QStringList openFields_;  // kept RTF of the fields open, outermost first
    QString openLink_;
    bool linkOpen_ = false;
    std::vector<const QTextFrame *> floats_; // floating pictures waiting for their paragraph
    QHash<QString, int> bookmarkIds_;
    QSet<QString> marksWritten_;
    bool sectionBreakBefore_ = false; // the paragraph written last ended a section that starts a page
    std::function<void(QXmlStreamWriter &)> firstSection_;
    QHash<QString, DocxPropertyList> runCache_;
    QHash<QString, QString> mediaRelationships_; // by media part
    bool endnotes_ = false;
    double cellPadding_[4] = {0, 7.2, 0, 7.2}; // the open table's: top, left, bottom, right
};
