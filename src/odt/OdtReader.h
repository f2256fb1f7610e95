#pragma once
#include "odt/OdtPictures.h"
#include "odt/OdtStyleSheet.h"
#include "rtf/DocumentInfo.h"
#include "rtf/DocumentStyle.h"
#include "rtf/RtfDocumentBuilder.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <vector>

class OdtPackage;
class OdtPartIndex;
class OdtXmlReader;
class QTextDocument;

// Reads an OpenDocument text document (a package, or a flat .fodt file) into a QTextDocument and
// its DocumentExtras, in one pass over each part: styles.xml first (styles, page layouts, master
// pages with their headers and footers kept as XML), then content.xml (its automatic styles, then
// the body, paragraph by paragraph through RtfDocumentBuilder). Headers, footers and notes are
// read by a reader of their own into documents of their own, stored as the RTF model keeps them.
// What the program cannot show is kept (OdtFormats.h, and OdtKeptParts for the package), so that
// saving as OpenDocument again writes it back.
// Its code: OdtReader.cpp (parts, styles, document), OdtReaderBlocks.cpp (paragraphs, lists,
// tables), OdtReaderInline.cpp (text, spans, fields, notes, pictures and kept elements).
class OdtReader
{
public:
    OdtReader(QTextDocument &doc, const OdtPackage *package);
    ~OdtReader();
    // The package, read from `bytes`, which the document keeps for a save as OpenDocument.
    void readPackage(const OdtPackage &package, const QByteArray &bytes);
    void readFlat(const QByteArray &bytes);

private:
    // What reader and part readers share: the styles, the pictures, counters.
    struct Shared
    {
        explicit Shared(const OdtPackage *package) : pictures(package) {}
        OdtStyleSheet styles;
        OdtPictures pictures;
        QList<DocumentStyle> documentStyles;
        QHash<QString, QString> styleNames; // display name -> style:name, for writing back
        QHash<QString, int> styleNumbers;   // family and style:name -> number in documentStyles
        QString idPrefix;
        int keptCount = 0;
        int markCount = 0;
        int listCount = 0;
        int notes = 0;
        int footnotes = 0, endnotes = 0;
    };
    // A run of text of one format waiting for its paragraph to be put in the document.
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
    // The formatting in force inside a paragraph, one level per span or link.
    struct Span
    {
        QString key;             // the style names in force, for the format cache
        OdtStyleSheet::Properties text;
        QString characterStyle;  // the display name of the nearest common text style
        QString unshown;         // text properties of automatic styles the program does not show
        QString href;
        QString fields;          // kept RTF of the fields whose result this is
        bool hidden = false;
        std::optional<QTextCharFormat> format; // made on first use
    };
    // What a paragraph style gives its paragraphs, worked out once per style.
    struct ParagraphLook
    {
        QTextBlockFormat block;
        QTextCharFormat chars;
        Span base;
        QString masterPage;
        int outlineLevel = 0;
    };
    struct ListLevelContext
    {
        QString style;
        QString key;
        int level = 0;
        bool itemStarted = false; // the item's first paragraph was read: more are continuations
        bool header = false;      // a text:list-header: no number
        std::optional<int> restart;
    };
    enum class Mode { Document, Part, Display };

    OdtReader(QTextDocument &doc, Shared &shared, Mode mode);

    // Parts and the document (OdtReader.cpp).
    void readStylesPart(const QByteArray &bytes);
    void readContentPart(const QByteArray &bytes);
    void readMetaPart(const QByteArray &bytes, const QString &name);
    void readTopLevel(OdtXmlReader &xml, OdtStyleSheet::Scope scope);
    void readMeta(OdtXmlReader &xml);
    void readBody(OdtXmlReader &xml);
    QString documentStyle(const OdtStyleSheet::Style &style);
    void finishDocument();
    void readHeadersFooters();
    std::unique_ptr<QTextDocument> readPart(const QString &xml, Mode mode, const QString &name);
    QString nextId();

    static bool isDeclaration(const OdtXmlReader &xml);

    // Blocks (OdtReaderBlocks.cpp).
    void readBlocks(OdtXmlReader &xml);
    bool readBlock(OdtXmlReader &xml);
    void readParagraph(OdtXmlReader &xml, bool heading);
    void readList(OdtXmlReader &xml);
    void readListItem(OdtXmlReader &xml, bool header);
    void readTable(OdtXmlReader &xml);
    void readIndex(OdtXmlReader &xml);
    void startParagraph(const QString &styleName);
    void endParagraph(const QString &styleName, int outlineLevel, bool heading);
    RtfDocumentBuilder::ListItem listItem(ListLevelContext &context) const;
    QTextListFormat listFormat(const OdtStyleSheet::ListStyle *style, int level) const;
    double listTextStart(const QString &style, int level) const;

    // Text (OdtReaderInline.cpp).
    void readInline(OdtXmlReader &xml);
    void appendText(QStringView text);
    void appendLiteral(const QString &text);
    void addRun(const QString &text, const QTextCharFormat &format);
    QTextCharFormat currentFormat();
    void pushSpan(const QString &styleName);
    void readSpan(OdtXmlReader &xml);
    void readLink(OdtXmlReader &xml);
    void readNote(OdtXmlReader &xml);
    void readField(OdtXmlReader &xml, const QString &instruction);
    void readBookmark(OdtXmlReader &xml);
    void readFrame(OdtXmlReader &xml);
    void readImageFrame(OdtXmlReader &xml, const QString &frameXml);
    void readAnnotation(OdtXmlReader &xml);
    static QString textOf(const QString &copy);
    void keepElement(OdtXmlReader &xml);
    void keepCopy(const QString &copy);
    QString shapeRtf(const QTextFrameFormat &frame, const QTextImageFormat &image);
    void showKept(const QString &xml, const QString &text);
    void showKeptPart(const QString &xml, const QString &content);
    // Kept XML and kept RTF that stand for the same thing share an id (a new one when empty), so
    // that a writer writes only one of them.
    void keepXml(const QString &xml, const QString &id = QString());
    void keepRtf(const QByteArray &rtf, const QString &id = QString());
    QString keptRtf(const QByteArray &rtf, const QString &id); // groups kept once have no id

    QTextDocument &doc_;
    std::unique_ptr<Shared> ownShared_;
    Shared &shared_;
    Mode mode_;
    RtfDocumentBuilder builder_;
    int tableLevel_ = 0;
    QString listGroupPrefix_; // what the builder adds to list keys for kListGroupProperty
    int inHeaderRows_ = 0;
    int paragraphCount_ = 0;
    bool flat_ = false; // a flat file: one set of automatic styles for the body and the headers
    bool indexed_ = false; // the part's styles were indexed, not to be read again
    std::unique_ptr<OdtPartIndex> stylesIndex_; // styles.xml, while its styles are looked up


    // The paragraph being read.
    bool inParagraph_ = false;
    std::vector<Run> runs_;
    std::vector<Span> spans_;
    std::vector<Float> floats_;
    bool lastWasSpace_ = true; // white space collapses, and none leads a paragraph
    QString pendingKept_;      // kept XML waiting for the text after it
    QString pendingRtf_;       // kept RTF (bookmarks) waiting for the text after it
    QString pendingBlockKept_; // kept block-level XML waiting for the paragraph after it
    QHash<QString, Span> spanLooks_; // by the style names in force
    QString spanKey_;                // the key being looked up there
    QHash<QString, ParagraphLook> paragraphLooks_; // by paragraph style name
    const ParagraphLook &paragraphLook(const QString &styleName);

    // Lists.
    std::vector<ListLevelContext> lists_;
    QHash<QString, QString> listKeysById_; // xml:id -> key
    QHash<QString, QString> lastKeyByStyle_;
    QString lastListKey_;

    // The document.
    QString firstMasterPage_;
    bool sawFirstParagraph_ = false;
    DocumentInfo info_;
    QVariantMap kept_; // OdtKeptParts
    QString bodyProlog_;
};
