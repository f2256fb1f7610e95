#pragma once
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfListTable.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextCharFormat>
#include <QTextImageFormat>
#include <array>
#include <vector>

class QTextDocument;

// Reads Rich Text Format into a QTextDocument, paragraph by paragraph, in one pass. The caller
// clears the document and sets up undo, layout and the edit block.
class RtfReader
{
public:
    static constexpr int kMaxDepth = 1000;
    static constexpr qsizetype kPictureBudget = qsizetype(256) << 20; // encoded bytes
    static constexpr qint64 kPixelBudget = 50'000'000;                 // decoded pixels
    static constexpr int kMaxColors = 65536;
    static constexpr int kMaxTabs = 64;

    RtfReader(QByteArrayView rtf, QTextDocument &doc);
    void read();

private:
    struct Font
    {
        QString name;
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
    };
    struct Run
    {
        RtfCharProps props;
        QString family; // the font's name when the text was decoded
        QString text;
        int image = -1; // index in images_ for a picture
    };
    struct ListOverrideDraft
    {
        int listId = 0;
        int override = 0;
    };

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
    void enterDestination(RtfDestination d);
    void leaveDestination(const RtfGroupState &closed);

    // Control words by where they appear.
    void bodyWord(RtfWord w, int value);
    void fontTableWord(RtfWord w, int value);
    void colorTableWord(RtfWord w, int value);
    void listWord(RtfWord w, int value);
    void oldListWord(RtfWord w, int value);
    void pictureWord(RtfWord w, int value, const RtfToken &t);
    void paragraphWord(RtfWord w, int value);
    void breakWord(RtfWord w);

    // Text.
    QString *sink();
    QString *runText();
    void decodeInto(QByteArrayView bytes, QString &out);
    void selectCodePage(QString &out);
    void appendCodePoint(int codePoint);
    void appendCharacter(char32_t c, bool spelledOut = false);
    void flushPending();
    void flushSurrogate();
    void fontTableText(QByteArrayView bytes);
    void colorTableText(QByteArrayView bytes);
    void commitFont();

    // Paragraphs and pictures.
    bool hasText() const;
    int tableLevel() const;
    void endParagraph(int tableLevel);
    void finishDocument();
    bool listItem(const RtfParaProps &p, RtfDocumentBuilder::ListItem &item) const;
    QTextBlockFormat blockFormat(const RtfParaProps &p, const RtfDocumentBuilder::ListItem *item) const;
    QTextCharFormat charFormat(const RtfCharProps &c);
    const Font *font(int number) const;
    QString familyOf(const RtfCharProps &c) const;
    int codePageOf(const Font *f) const;
    void insertPicture();
    int linkOf(const QString &instruction);

    QTextDocument &doc_;
    RtfTokenizer tokenizer_;
    RtfDocumentBuilder builder_;
    RtfTextDecoder decoder_;
    std::vector<RtfGroupState> stack_;
    int skipDepth_ = 0;
    int overflowDepth_ = 0;
    int unicodeFallback_ = 0;
    int pendingHighSurrogate_ = 0;
    bool done_ = false;

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

    std::vector<Field> fields_;
    QStringList links_;
    QString shapePropertyText_;
    int shapeCount_ = 0;
    int lastShownShape_ = -1; // the last shape whose picture or text was shown

    RtfPicture picture_;
    qsizetype pictureBudget_ = kPictureBudget;
    qint64 pixelBudget_ = kPixelBudget;
    QImage placeholder_;
    QString picturePrefix_;
    int pictureCount_ = 0;

    // Row definitions by nesting level: a nested row defines itself in \nesttableprops.
    std::array<RtfDocumentBuilder::Row, RtfDocumentBuilder::kMaxNesting + 1> rows_;
    int rowLevel_ = 1;
    int cellMerge_ = 0;
    std::vector<Run> runs_;
    std::vector<Run> fallbackRuns_; // \listtext and \pntext, shown only for lists not understood
    std::vector<QTextImageFormat> images_;
    QString decoded_; // scratch for one byte of a multi-byte code page
    bool pageBreakPending_ = false;
};
