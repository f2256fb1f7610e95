#pragma once
#include "rtf/KeptRtf.h"
#include "odt/OdtAutomaticStyles.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTextFrame>
#include <QTextListFormat>
#include <array>
#include <optional>
#include <QVariantMap>
#include <memory>
#include <vector>

class DocumentExtras;
class OdtKeptSource;
struct DocumentStyle;
class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextImageFormat;
class QTextList;
class QTextTable;

// Writes a QTextDocument as an OpenDocument text package: content.xml (automatic styles and the
// body: paragraphs, headings, lists, tables, notes, fields, links, bookmarks, pictures), styles.xml
// (common styles, page layout and master pages with headers and footers), meta.xml, the manifest
// and the pictures. What a document read from OpenDocument kept is written back: its styles and
// master pages while they are unchanged, its other parts, and kept elements where they stood.
// Its code: OdtWriter.cpp (the package and its parts), OdtWriterText.cpp (paragraphs, lists and
// runs) and OdtWriterObjects.cpp (tables, pictures, notes).
class OdtWriter
{
public:
    explicit OdtWriter(const QTextDocument &doc);
    ~OdtWriter();
    QByteArray write();

private:
    // How the lists being written are nested, one entry per open text:list.
    struct OpenList
    {
        QString group;
        bool itemOpen = false;
        bool header = false; // the open item is a text:list-header
    };
    // The lists of a part: what is open and how far each list has counted.
    struct ListState
    {
        std::vector<OpenList> open;
        QHash<QString, QString> ids;               // list group -> xml:id of its first text:list
        QHash<QString, QList<int>> next;           // list group -> the number each level gives next
        QHash<QString, QList<const QTextList *>> current; // list group -> by level, the QTextList last written
    };
    // What is being written: the body, a header or footer, or a note.
    struct Part
    {
        const QTextDocument *doc = nullptr;
        OdtAutomaticStyles *styles = nullptr;
        QString *out = nullptr;
        ListState lists;
        QHash<qint64, QString> textStyles;      // by the format indices of a run and its paragraph
        // by block format index, char format index and whether in a list, and the list's style
        QHash<std::pair<qint64, QString>, QString> paragraphStyles;
        std::vector<const QTextFrame *> floats; // pictures waiting for the paragraph after them
        QHash<QString, std::array<const QTextList *, 10>> groups; // each list group's first list by level
    };
    struct Picture
    {
        QString path;
        QString mediaType;
        QByteArray bytes;
    };

    // The package (OdtWriter.cpp).
    QString contentXml();
    QString stylesXml();
    QString metaXml() const;
    QString manifestXml() const;
    QString commonStyles();
    QString pageStyles(OdtAutomaticStyles &styles, QString &masters);
    QString headerFooterXml(int kind, OdtAutomaticStyles &styles);
    QString styleId(const QString &displayName, bool character) const;
    const DocumentStyle *documentStyle(const QString &displayName, bool character) const;
    void writePart(const QTextDocument &doc, OdtAutomaticStyles &styles, QString &out);

    // Paragraphs, lists and runs (OdtWriterText.cpp).
    void writeItems(QTextFrame::iterator it);
    void writeBlock(const QTextBlock &block);
    void writeListPosition(const QTextBlock &block);
    void closeLists(std::size_t depth);
    void findLists(Part &part) const;
    QString listStyle(const QString &group);
    QString paragraphStyle(const QTextBlock &block, bool inList);
    QString textStyle(const QTextFragment &fragment, const QTextBlock &block);
    void writeRuns(const QTextBlock &block);
    void writeText(QStringView text, bool &lastSpace);
    void writeKept(const QString &value);
    void writeKeptRtf(const QString &value);
    void writeAnnotation(const KeptRtf::Annotation &comment);
    void writeField(const QString &fields, const QString &result, bool &lastSpace);

    // Tables, pictures, notes (OdtWriterObjects.cpp).
    void writeTable(QTextTable *table);
    void writeImage(const QTextImageFormat &format, const QString &anchor, const QString &graphic);
    void writeFloat(const QTextFrame *frame);
    void writeNote(const QTextCharFormat &mark, const QString &citation);
    QString picturePath(const QTextImageFormat &format, QString &mediaType);

    void raw(const QString &xml) { part_->out->append(xml); }

    const QTextDocument &doc_;
    const DocumentExtras *extras_;
    QVariantMap kept_;
    std::unique_ptr<OdtKeptSource> source_;
    QHash<QString, QString> styleIds_; // display name -> style:name of kept common styles
    bool keepCommonStyles_ = false;
    bool keepPageStyles_ = false;
    QString firstMaster_;              // the master page the first paragraph names
    bool firstParagraph_ = true;
    Part *part_ = nullptr;
    QSet<QString> written_;            // ids of kept entries written
    QList<Picture> pictures_;
    QHash<QByteArray, QString> pictureByDigest_;
    QSet<QString> picturePaths_;
    QString fontFaceDecls_;
    // The list styles made, by list group: their names and the formats of their levels.
    struct ListStyleDraft
    {
        QString name;
        std::array<std::optional<QTextListFormat>, 10> levels;
        std::array<double, 10> indents{}; // pixels, of the first item at each level
        const OdtAutomaticStyles *scope = nullptr; // the part whose automatic styles hold it
    };
    QHash<QString, ListStyleDraft> listStyles_;
    QList<QString> listStyleOrder_;
    // The list styles of a part's automatic styles, each written once.
    QString listStylesXml(const OdtAutomaticStyles *scope);
    int tables_ = 0, frames_ = 0, notes_ = 0, lists_ = 0;
    int noteDepth_ = 0;
};
