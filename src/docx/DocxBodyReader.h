#pragma once
#include "docx/DocxBuildSink.h"
#include "docx/DocxParagraphProperties.h"
#include "docx/DocxPictures.h"
#include "docx/DocxRunProperties.h"
#include "docx/DocxTableProperties.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QString>
#include <QTextTableCellFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <memory>
#include <vector>

struct DocxReadContext;
class DocxXml;
class QTextDocument;
class QTextTable;

// Reads a story of a Word document (the body, a header or footer, a note, a text box) into a
// QTextDocument, element by element as the XML streams past. What it cannot show it keeps as
// XML on the formats of the text next to it (DocxFormats.h); bookmarks, fields and hidden text
// it keeps as RTF too (TextFormats.h), so that other formats write them.
// Its code: DocxBodyReader.cpp (blocks, paragraphs, tables, sections), DocxBodyReaderRuns.cpp
// (runs, text, fields, links, notes, tracked changes) and DocxBodyReaderObjects.cpp (drawings,
// pictures, text boxes, equations, alternate content, kept XML).
class DocxBodyReader
{
public:
    // A document's body; a part of one (header, footer), whose notes are read; a note; text
    // shown for a kept object (text box), which keeps nothing.
    enum class Mode { Document, Part, Note, Display };
    static constexpr int kMaxNotes = 5000;

    // Reads into `sink` (built on another thread, or a DocxDocumentBuilder of its own).
    DocxBodyReader(DocxReadContext &context, DocxBuildSink &sink, const QString &part, Mode mode,
                   const QString &noteMark = QString());
    ~DocxBodyReader();

    // Reads the blocks of the current element (w:body, w:hdr, w:footnote, w:txbxContent) to its
    // end, then finishes the document.
    void read(DocxXml &xml);

private:
    enum class FieldState { Instruction, Result };
    struct Field
    {
        QString instruction;
        FieldState state = FieldState::Instruction;
        QString kept;     // kept RTF of the field (TextFormats::kFieldsProperty), once its result starts
        QString link;     // a HYPERLINK field's target
        bool isLink = false;
        bool showedSomething = false;
    };
    void classify(Field &field);
    void keepFieldWithoutResult(const Field &field);
    std::unique_ptr<QTextDocument> readNote(const QString &noteXml, const QString &part, const QString &mark);
    struct Run
    {
        QString text;
        QTextCharFormat format;
    };
    struct Float
    {
        QTextFrameFormat frame;
        QTextImageFormat image;
    };
    // The table being read: its properties with its style's, and its grid.
    struct Table
    {
        DocxTableProperties props;
        QList<double> grid; // twips
        int columns = 0;
        std::vector<bool> ownBottom; // columns of the last row whose cell has a bottom border of its own
        QHash<QString, struct DocxTableConditional> conditionals; // of its style
        DocxRunProperties run;                                   // its style's run properties
        int look = 0;                                            // DocxTableProperties::Look
    };
    struct Paragraph
    {
        DocxParagraphProperties props;   // as the paragraph gives them
        DocxRunProperties runBase;       // defaults and the paragraph style's run properties
        std::vector<Run> runs;
        std::vector<Float> floats;
        bool pageBreakBefore = false;
        bool fromBreak = false; // the rest of a paragraph after a page break
        bool open = false;
        bool baseReady = false;
    };

    // Blocks.
    void readBlocks(DocxXml &xml);
    void readBlock(DocxXml &xml);
    void readParagraph(DocxXml &xml);
    void ensureBase();
    void endParagraph();
    void readTable(DocxXml &xml);
    void readRow(DocxXml &xml, Table &table, int row);
    void readCell(DocxXml &xml, Table &table, const DocxTableProperties &rowProps, int row, int &column);
    QTextTableCellFormat cellFormat(const Table &table, const DocxTableProperties &cell,
                                    const DocxTableProperties &row, int rowIndex, int column, int span) const;
    QStringList conditionalTypes(const Table &table, int row, int column, int span) const;
    QTextTableCellFormat lastRowBottom(const Table &props) const;
    void readSection(DocxXml &xml);
    QTextBlockFormat blockFormat(const DocxParagraphProperties &p, DocxBuildSink::ListItem *item, bool &isItem);

    // Inline content.
    void readInline(DocxXml &xml);
    void readInlineElement(DocxXml &xml);
    void readRun(DocxXml &xml);
    void readRunContent(DocxXml &xml);
    void addText(const QString &text);
    void addMark(const QString &text, const QTextCharFormat &format);
    void pageBreak();
    void fieldChar(QStringView type);
    void simpleField(DocxXml &xml);
    void noteReference(DocxXml &xml, bool endnote);
    void hyperlink(DocxXml &xml);
    void revision(DocxXml &xml, const QString &kind);
    void bookmark(DocxXml &xml, bool start);
    QTextCharFormat currentFormat();
    QTextCharFormat formatOf(const DocxRunProperties &p);
    QString fieldsKept() const;
    bool inInstruction() const;
    void keepHidden(const QString &text);

    // Objects: drawings, pictures, text boxes, equations, alternate content; kept XML.
    void readObject(DocxXml &xml);
    void readAlternateContent(DocxXml &xml, bool inRun);
    void readMath(DocxXml &xml);
    // `id` names the kept element (a new one when empty): kept RTF of the same id stands for it.
    void keepElement(DocxXml &xml, bool inRun, const QString &id = QString());
    void showKept(const QString &kept, const QTextDocument &shown);
    void showKeptText(const QString &kept, const QString &text);
    void keepPending(const QString &kept);
    std::unique_ptr<QTextDocument> readDisplay(const QString &textBoxXml);
    bool showObject(const QString &keptItem, const QString &elementXml, bool drawingOfItsOwn);

    DocxReadContext &context_;
    DocxBuildSink &builder_;
    QString part_;
    Mode mode_;
    QString noteMark_;
    DocxPictures pictures_;
    int tableDepth_ = 0;

    Paragraph paragraph_;
    DocxRunProperties run_;          // the direct properties of the run being read
    std::vector<DocxRunProperties> cellRuns_; // what the table styles give the text of the cells being read
    bool runFormatValid_ = false;
    QTextCharFormat runFormat_;      // of the run being read
    // The formats made lately, by the properties they were made from: runs that look alike
    // share one format rather than each building its own.
    QHash<DocxRunProperties, QTextCharFormat> madeFormats_;
    std::vector<Field> fields_;
    QString link_;
    QString revision_;
    bool deleted_ = false;
    bool runHidden_ = false;
    QString pendingKept_;            // kept XML waiting for the text after it
    QString pendingKeptRtf_;         // kept RTF (bookmarks, hidden text) likewise
    QString pendingBlockKept_;       // kept XML that stood before the next paragraph
    QString customMark_;             // a note whose mark is the text that follows
    int customMarkKind_ = 0;
    QHash<QString, QString> bookmarks_; // w:id -> name of the bookmarks open
    int objectDepth_ = 0;            // text boxes being read inside this story
    bool breakAfterSection_ = false; // the next paragraph starts a page (a section ended)
    QString lastSectionProperty_;    // DocxFormats::kSectionProperty of the paragraph being read
};
