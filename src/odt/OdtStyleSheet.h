#pragma once
#include "odt/OdtPropertyList.h"
#include "rtf/NoteSettings.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTextOption>
#include <array>
#include <optional>
#include <unordered_map>

class OdtPartIndex;
class OdtXmlReader;

// The styles of an OpenDocument file as it states them: common styles (office:styles of
// styles.xml) and the automatic styles of one part (content.xml's for the body, styles.xml's for
// headers and footers), default styles, list styles, page layouts, master pages, font faces and
// the note settings. Lookups follow style:parent-style-name up to the family's default style.
class OdtStyleSheet
{
public:
    // The kinds of formatting properties a style may hold, one element each.
    enum Kind { TextProps, ParagraphProps, TableProps, ColumnProps, RowProps, CellProps, GraphicProps, kKinds };
    // Which automatic styles lookups see: the body's or the headers'.
    enum Scope { Content, Styles };

    using Properties = OdtPropertyList; // attribute ("fo:font-size") -> value

    struct Style
    {
        QString name;
        QString displayName;
        QString family;
        QString parent;
        QString next;
        QString listStyle;
        QString masterPage;
        int outlineLevel = 0; // style:default-outline-level
        bool automatic = false;
        std::array<Properties, kKinds> props;
        std::optional<QList<QTextOption::Tab>> tabs;
    };

    // Everything a style gives, its parents' and the default style's included.
    struct Resolved
    {
        std::array<Properties, kKinds> props;
        QList<QTextOption::Tab> tabs;
        QString listStyle;
        int outlineLevel = 0;
    };

    struct ListLevel
    {
        enum Kind { Number, Bullet, Image, None };
        Kind kind = None;
        QString format;     // style:num-format: "1", "a", "A", "i", "I", "" for none
        QString prefix, suffix;
        int displayLevels = 1;
        int start = 1;
        QString bullet;
        double textStart = 0;  // pixels from the paragraph's margin to its text
        double labelOffset = 0; // pixels from there to the label (negative: to the left)
        QString textStyle;      // text:style-name, the label's character style
    };
    struct ListStyle
    {
        QString name;
        std::array<ListLevel, 10> levels;
        bool defined = false;
        int levelsRead = 10; // levels[0 .. levelsRead - 1] are read (a style of a large part is read as far as used)
    };

    struct PageLayout
    {
        Properties page;   // style:page-layout-properties
        Properties header; // style:header-style/style:header-footer-properties
        Properties footer;
    };

    // A master page and its headers and footers as kept XML (OdtXmlReader::copyElement), by
    // element name ("header", "header-left", "header-first", "footer" ...).
    struct MasterPage
    {
        QString name;
        QString pageLayout;
        QString next;
        QHash<QString, QString> parts;
    };

    // Puts `from` over `into`, as a style's properties go over its parent's (a font size in
    // percent becomes points of the size it overrides).
    static void overlay(Properties &into, const Properties &from);
    // Makes `props` share the data of an equal list made before: thousands of resolved styles and
    // style combinations hold the same few dozen properties.
    void share(Properties &props) const;

    void readFontFaces(OdtXmlReader &xml);
    void readStyles(OdtXmlReader &xml, Scope scope, bool automatic);
    void readMasterStyles(OdtXmlReader &xml);
    // Takes the styles of a part from its index: what every document needs (default styles, page
    // layouts, master pages, font faces, note settings) now, each style and list style when it is
    // first looked up. The index must outlive the lookups. Its automatic styles are of `scope`.
    void index(const OdtPartIndex &part, Scope scope);
    void setScope(Scope scope) { scope_ = scope; }

    const Style *style(const QString &family, const QString &name) const;
    const Resolved &resolved(const QString &family, const QString &name) const;
    // The font family a style:font-name stands for.
    QString fontFamily(const QString &fontName) const;
    // A list style with at least its levels up to `level` (counted from 0) read.
    const ListStyle *listStyle(const QString &name, int level = 9) const;
    const PageLayout *pageLayout(const QString &name) const;
    const MasterPage *masterPage(const QString &name) const;
    const QList<MasterPage> &masterPages() const { return masters_; }
    const std::optional<NoteSettings> &noteSettings() const { return notes_; }
    // The common styles of a family, in the file's order.

private:
    void readStyle(OdtXmlReader &xml, Scope scope, bool automatic, bool isDefault);
    void readProperties(OdtXmlReader &xml, Style &style, Kind kind);
    void readListStyle(OdtXmlReader &xml, Scope scope, bool automatic, int upToLevel = 9);
    void readListLevel(OdtXmlReader &xml, ListLevel &level);
    void readPageLayout(OdtXmlReader &xml);
    void readNotesConfiguration(OdtXmlReader &xml);
    void readMasterPage(OdtXmlReader &xml);
    static QString key(const QString &family, const QString &name) { return family + QChar(0x1) + name; }
    // A style of the parsed tables, else parsed from the index; null when there is none.
    const Style *find(const QString &k, bool automatic, Scope scope) const;
    const ListStyle *findList(const QString &name, bool automatic, Scope scope, int level) const;

    Scope scope_ = Content;
    // Node-based maps: a style found stays where it is while others are parsed.
    mutable std::unordered_map<QString, Style> common_;
    mutable std::array<std::unordered_map<QString, Style>, 2> automatic_;
    std::unordered_map<QString, Style> defaults_; // by family
    mutable std::unordered_map<QString, ListStyle> commonLists_;
    mutable std::array<std::unordered_map<QString, ListStyle>, 2> automaticLists_;
    // Where the styles not parsed yet stand (OdtPartIndex::Element start and end).
    const OdtPartIndex *part_ = nullptr;
    mutable QHash<QString, std::pair<qsizetype, qsizetype>> commonIndex_, commonListIndex_;
    mutable std::array<QHash<QString, std::pair<qsizetype, qsizetype>>, 2> automaticIndex_, automaticListIndex_;
    QHash<QString, PageLayout> layouts_;
    QList<MasterPage> masters_;
    QHash<QString, QString> fontFaces_;
    std::optional<NoteSettings> notes_;
    mutable std::array<std::unordered_map<QString, Resolved>, 2> resolved_;
    mutable QSet<Properties> shared_;
    QSet<QString> strings_; // property names and values, shared
};
