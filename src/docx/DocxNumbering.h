#pragma once
#include "docx/DocxParagraphProperties.h"
#include "docx/DocxRunProperties.h"
#include "docx/DocxTheme.h"

#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <array>
#include <memory>
#include <optional>

class DocxStyles;
class DocxTheme;

// The numbering definitions of a Word document (numbering.xml): abstract lists with their levels,
// and the list instances (w:num) that paragraphs name, with their overrides.
class DocxNumbering
{
public:
    static constexpr int kLevels = 9;
    static constexpr int kMaxDefinitions = 100000;

    struct Level
    {
        int start = 1;
        QString format = QStringLiteral("decimal"); // w:numFmt
        QString text;                                // w:lvlText, "%1."
        DocxParagraphProperties paragraph;           // w:pPr: the indents
        DocxRunProperties run;                       // w:rPr: the marker's font
        QString xml;                                 // the w:lvl as read, kept
    };

    void read(const QByteArray &xml, const QString &part, const DocxTheme &theme, const DocxStyles &styles);

    // The level of a list instance, with its overrides; null when there is none.
    const Level *level(int numId, int ilvl) const;
    // The abstract list an instance uses; -1 when there is none.
    int abstractOf(int numId) const;
    // The start value an instance sets for a level anew (w:startOverride), if any.
    std::optional<int> startOverride(int numId, int ilvl) const;

    // The list format of a level: its number style, marker template, start and indent steps.
    static QTextListFormat format(const Level &level, int ilvl);
    // The marker of a level as Word's w:lvlText has it ("%1.", a bullet), from a list format.
    static QString markerTemplate(const QTextListFormat &f, int ilvl);
    // What a list format shows (its style and marker), to tell whether a level kept from the
    // file (DocxFormats::kLevelProperty) still stands for it.
    static QString signature(const QTextListFormat &f, int ilvl);

private:
    // A level as the part defines it: where it stands in the part's bytes until it is first asked
    // for (a long document may define thousands of lists of nine levels each, most never used),
    // then read.
    struct Slot
    {
        qsizetype from = -1, to = 0;
        std::shared_ptr<Level> level;
        bool isDefined() const { return level || from >= 0; }
    };
    struct Abstract
    {
        std::array<Slot, kLevels> levels;
        QString styleLink; // w:numStyleLink: the levels are another list's, through a style
    };
    struct Instance
    {
        int abstractId = -1;
        std::array<std::optional<int>, kLevels> starts;
        std::array<Slot, kLevels> levels;
    };

    class Offsets;
    static Slot readLevel(class DocxXml &xml, const DocxTheme &theme, Offsets *offsets);
    static void parseLevel(class DocxXml &xml, Level &level, const DocxTheme &theme);
    const Level *parsed(const Slot &slot) const;
    static QTextListFormat plainFormat(const Level &level, int ilvl);
    const Abstract *abstractFor(int numId, int hops = 0) const;

    // Levels are read when a paragraph first asks for them: a long document's numbering part may
    // define thousands it never uses.
    mutable QHash<int, Abstract> abstracts_;
    mutable QHash<int, Instance> instances_;
    DocxTheme theme_;
    QString part_;
    QByteArray bytes_; // the part, while levels are read from it
    QHash<QString, int> styleNumIds_; // numbering styles: their w:numId
};
