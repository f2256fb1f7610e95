#pragma once
#include "rtf/DocumentStyle.h"
#include "rtf/KeptRtf.h"
#include "rtf/RtfCellFormat.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfDocumentSettings.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfListTable.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfStyleSheet.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <array>
#include <optional>
#include <vector>

class QTextDocument;

// Reads Rich Text Format into a QTextDocument, paragraph by paragraph, in one pass. The caller
// clears the document and sets up undo, layout and the edit block.
//
// What the document cannot show is kept as RTF (KeptRtf) on the formats of the text next to it;
// headers, footers and notes are read by a reader of their own (a part) into documents of their
// own, which are kept as standalone RTF (see DocumentExtras.h and TextFormats.h).
// Its code: RtfReader.cpp (tokens, groups, destinations), RtfReaderWords.cpp (control words),
// RtfReaderText.cpp (text and code pages), RtfReaderParagraphs.cpp (paragraphs, formats,
// pictures) and RtfReaderParts.cpp (kept RTF, notes, headers, shapes, fields, styles).
class RtfReader
{
public:
    static constexpr int kMaxDepth = 1000;
    static constexpr qsizetype kPictureBudget = qsizetype(256) << 20; // encoded bytes
    static constexpr qint64 kPixelBudget = 50'000'000;                 // decoded pixels
    static constexpr int kMaxColors = 65536;
    static constexpr int kMaxTabs = 64;
    static constexpr int kMaxNotes = 5000;  // read as notes; more are kept as RTF
    static constexpr int kMaxShapes = 5000; // shapes kept and shown as text; more are kept only

    RtfReader(QByteArrayView rtf, QTextDocument &doc);
    void read();
    // The file stopped before the document's group closed: it was cut short.
    bool endedEarly() const { return !done_; }

private:
    // What a reader reads: a whole document; a part of one (a header or a note), whose own
    // headers and notes are kept as RTF; or a shape shown as text, that keeps nothing.
    enum class Mode { Document, Part, Display };
    // What the bytes of a group are kept for (RtfGroupState::capture).
    enum Capture : quint8 { NoCapture, CaptureKept, CaptureNote, CaptureShape, CaptureHeader };

    struct Font
    {
        QString name;
        int charset = 0;         // \fcharset as written
        int charsetCodePage = 0; // from \fcharset; 0 is the document's
        int codePage = 0;        // from \cpg, which wins
        RtfSymbolFonts::Font symbol = RtfSymbolFonts::None;
    };
    struct FontDraft
    {
        int number = -1;
        Font font;
    };
    struct Field
    {
        QString instruction;
        int parent = -1;
        qsizetype openPos = 0; // where the field's group opened
        int wrapper = -1;      // once its result is read
    };
    // A field or object whose result is being read, kept without its result.
    struct Wrapper
    {
        QString kept;       // empty for a hyperlink, which is an anchor instead
        int parent = -1;
    };
    // What a few runs carry beyond their character properties.
    struct RunExtra
    {
        QString kept;        // TextFormats::kKeptRtfProperty
        QString note;        // the note whose mark this is
        int noteKind = 0;
        QString autoText;    // "chftn", "chpgn"
        QString shownOnly;   // kept RTF this text shows
        std::optional<QTextCharFormat> format; // instead of the properties' format
        bool noteMark = false; // \chftn waiting for its note
    };
    struct Run
    {
        RtfCharProps props;
        QString family; // the font's name when the text was decoded
        QString text;
        int image = -1; // index in images_ for a picture
        int extra = -1; // index in extras_
    };
    struct ListOverrideDraft
    {
        int listId = 0;
        int override = 0;
    };
    // The floating words of the shape being read.
    struct ShapeDraft
    {
        int number = -1;
        qsizetype openPos = -1; // of the shape's own group
        int wrap = -1;       // \shpwr
        int left = 0, right = 0;
        int horizontal = -1; // posh
        std::size_t firstImage = 0;
        std::size_t firstRun = 0; // of the paragraph's runs
        qsizetype keptAt = 0;     // how much kept RTF waited
        bool keptOnlyBefore = false; // its picture took only kept RTF that waited before the shape
    };
    struct Float
    {
        QTextFrameFormat frame;
        QTextImageFormat image;
    };

    RtfReader(QByteArrayView rtf, QTextDocument &doc, RtfReader &parent, Mode mode, const QString &noteMark);

    RtfGroupState &top() { return stack_.back(); }
    bool skipping() const { return stack_.back().destination == RtfDestination::Skip; }

    // Tokens.
    void openGroup();
    void closeGroup();
    void controlWord(const RtfToken &t);
    void controlSymbol(uchar c);
    void text(QByteArrayView bytes);
    void hexByte(uchar byte);
    void binary(QByteArrayView bytes);
    bool consumeFallback();

    // Destinations.
    void enterDestination(RtfDestination d, QByteArrayView word);
    void enterShapePart(RtfDestination d);
    void enterTable(RtfDestination d);
    void leaveDestination(const RtfGroupState &closed);
    bool capture(Capture what);
    bool opensGroup() const;
    void finishCapture(const RtfGroupState &group, qsizetype end, bool closed);
    void enterShape();
    void leaveShape(const RtfGroupState &closed);
    void leaveField(const RtfGroupState &closed);
    bool showValue(const RtfGroupState &closed, const Field &f);
    void keepWhole(const RtfGroupState &closed);
    void leaveStyle(const RtfGroupState &closed);
    void leaveInfo(const RtfGroupState &closed);

    // Control words by where they appear.
    void bodyWord(RtfWord w, int value);
    void fontTableWord(RtfWord w, int value);
    void colorTableWord(RtfWord w, int value);
    void listWord(RtfWord w, int value);
    void oldListWord(RtfWord w, int value);
    void pictureWord(RtfWord w, int value, const RtfToken &t);
    void styleWord(RtfWord w, int value);
    void infoTimeWord(RtfWord w, int value);
    void tableWord(const RtfControlWord &entry, int value);
    void shapeWord(RtfWord w, int value);
    void breakWord(RtfWord w);
    void applyStyle(int number, bool paragraph);
    static bool characterWord(RtfCharProps &c, RtfWord w, int value);
    static bool paragraphWord(RtfParaProps &p, RtfWord w, int value);

    // Text.
    QString *sink();
    QString *runText();
    QString *hiddenText();
    void flushHidden();
    int newRun(const RtfCharProps &props);
    RunExtra &extraOf(Run &run);
    void decodeInto(QByteArrayView bytes, QString &out);
    void selectCodePage(QString &out);
    void appendCodePoint(int codePoint);
    void appendCharacter(char32_t c, bool spelledOut = false);
    void flushPending();
    void flushSurrogate();
    void fontTableText(QByteArrayView bytes);
    void colorTableText(QByteArrayView bytes);
    void commitFont();

    // Kept RTF, notes and parts.
    QString keep(QByteArrayView rtf, bool withId, RtfGroupCopier copier = {});
    void keepHere(QByteArrayView rtf);
    void appendKept(QByteArrayView rtf);
    QString takePendingKept();
    void noteMark();
    void numberPendingMark();
    void note(QByteArrayView content);
    void headerFooter(int kind, QByteArrayView content);
    std::unique_ptr<QTextDocument> readPart(QByteArrayView content, Mode mode, const QString &noteMark = QString(),
                                             bool readsNotes = false);
    QByteArray partRtf(QTextDocument &part) const;
    void showKeptShape(QByteArrayView shape);
    bool shapeHasPicture() const;

    // Paragraphs and pictures.
    bool hasText() const;
    int tableLevel() const;
    RtfParaProps paragraphProps() const;
    void endParagraph(int tableLevel);
    void finishDocument();
    void finishStyles();
    bool listItem(const RtfParaProps &p, RtfDocumentBuilder::ListItem &item) const;
    QTextBlockFormat blockFormat(const RtfParaProps &p, const RtfDocumentBuilder::ListItem *item) const;
    QTextCharFormat charFormat(const RtfCharProps &c);
    QTextCharFormat runFormat(const Run &run);  // made once per run: marks get their id here
    const Font *font(int number) const;
    QString familyOf(const RtfCharProps &c) const;
    int codePageOf(const Font *f) const;
    KeptRtf::Font keptFont(int number) const;
    int inheritedFontToName();
    void insertPicture();
    int linkOf(const QString &instruction);
    int fieldWrapper(qsizetype from, qsizetype to, bool link);

    QTextDocument &doc_;
    Mode mode_ = Mode::Document;
    RtfTokenizer tokenizer_;
    RtfDocumentBuilder builder_;
    RtfTextDecoder decoder_;
    std::vector<RtfGroupState> stack_;
    int skipDepth_ = 0;
    qint64 tokenCount_ = 0;
    qint64 shownCount_ = 0;   // counts what was shown, so a group knows whether it showed anything
    bool wordAfterStar_ = false;
    int overflowDepth_ = 0;
    int overflowSkip_ = 0; // the overflow depth of a group past the limit being skipped
    int unicodeFallback_ = 0;
    int pendingHighSurrogate_ = 0;
    bool done_ = false;
    bool bodyStarted_ = false; // past the head of the file
    // Notes are read as notes in a document and in its headers; in a note, or in a shape shown
    // as text, they are kept as RTF.
    bool readsNotes_ = true;

    int ansiCodePage_ = RtfTextDecoder::kDefaultCodePage;
    int defaultFont_ = 0;
    QHash<int, Font> fonts_;
    FontDraft fontDraft_;
    QList<QColor> colors_;
    QColor colorDraft_;
    bool colorDraftSet_ = false;
    QHash<RtfCharProps, QTextCharFormat> formats_;

    RtfListTable lists_;
    RtfListTable::List listDraft_;
    RtfListTable::Level levelDraft_;
    ListOverrideDraft overrideDraft_;
    RtfParaProps::OldList oldListDraft_;

    RtfStyleSheet styles_;
    RtfStyleSheet::Style styleDraft_;
    QList<DocumentStyle> documentStyles_;
    QHash<int, QString> styleDefinitions_; // kept entries by style number
    int tablesRevision_ = 0;               // font and colour tables read so far
    int definitionsRevision_ = -1;         // the tables the entries were kept with
    RtfDocumentSettings settings_;
    QString infoText_;
    std::array<int, 6> infoTime_{};
    std::array<bool, 8> headerRead_{}; // by HeaderFooter::Kind

    std::vector<Field> fields_;
    std::vector<Wrapper> wrappers_;
    QHash<qsizetype, int> objectWrappers_; // by where the object opened
    std::array<QByteArray, 8> headersFooters_;
    QStringList links_;
    QString shapePropertyText_;
    QString shapeValueText_;
    int shapeCount_ = 0;
    int lastShownShape_ = -1; // the last shape whose picture or text was shown
    int keptShapes_ = 0;
    ShapeDraft shapeDraft_;
    std::vector<Float> floats_; // waiting for the paragraph they stand beside

    QString idPrefix_;        // makes this reading's kept ids and list groups unique
    int keptCount_ = 0;
    int markCount_ = 0;
    qsizetype keptBudget_ = KeptRtf::kMaxBytes;
    QByteArray pendingKept_;  // groups that wait for the text after them
    QByteArray keptHead_;     // groups of the head of the file
    QString hiddenText_;      // hidden text (\v) being read, kept as RTF
    RtfCharProps hiddenProps_;
    int footnotes_ = 0, endnotes_ = 0, notes_ = 0;
    int pendingMark_ = -1;    // the run of a \chftn waiting for its note
    QString noteMark_;        // in a note: its mark

    RtfPicture picture_;
    qsizetype pictureBudget_ = kPictureBudget;
    qint64 pixelBudget_ = kPixelBudget;
    QImage placeholder_;
    QString picturePrefix_;
    int pictureCount_ = 0;

    // Row definitions by nesting level: a nested row defines itself in \nesttableprops.
    std::array<RtfDocumentBuilder::Row, RtfDocumentBuilder::kMaxNesting + 1> rows_;
    std::array<std::vector<RtfCellFormat>, RtfDocumentBuilder::kMaxNesting + 1> cellFormats_;
    std::array<std::array<int, 4>, RtfDocumentBuilder::kMaxNesting + 1> rowPadding_; // as given, with their units
    std::array<std::array<int, 4>, RtfDocumentBuilder::kMaxNesting + 1> rowPaddingUnit_;
    std::array<int, RtfDocumentBuilder::kMaxNesting + 1> rowHeight_{};
    int rowLevel_ = 1;
    int cellMerge_ = 0;
    RtfCellFormat cellDraft_;
    int borderSide_ = -1;             // the cell side the border words describe, -1 for none
    std::array<int, 4> cellPaddingUnit_{}; // \clpadf*: 3 when the paddings are in twips
    std::vector<Run> runs_;
    std::vector<Run> fallbackRuns_; // \listtext and \pntext, shown only for lists not understood
    std::vector<RunExtra> extras_;
    std::vector<QTextImageFormat> images_;
    QString decoded_; // scratch for one byte of a multi-byte code page
    bool pageBreakPending_ = false;
    // The paragraph words of a group that held the paragraph's text and closed before its end;
    // they stay the paragraph's unless words after the group say otherwise.
    std::optional<RtfParaProps> paraOfText_;
    qint64 paragraphShownAt_ = 0; // shownCount_ when the paragraph began
};
