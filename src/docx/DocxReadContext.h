#pragma once
#include "docx/DocxNumbering.h"
#include "docx/DocxPackage.h"
#include "docx/DocxStyles.h"
#include "docx/DocxTheme.h"
#include "rtf/NoteSettings.h"
#include "rtf/PageSetup.h"


#include <QFont>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <array>
#include <optional>

class DocxXml;

// What the readers of the stories of one Word package share: the package, its theme, styles and
// numbering, the notes waiting for their references, the first section, and the counters that
// keep ids and names unique.
struct DocxReadContext
{
    explicit DocxReadContext(const DocxPackage &p) : package(p) {}

    // The first section's page and the parts its headers and footers are in (by
    // HeaderFooter::Kind; empty where it names none).
    struct Section
    {
        std::optional<PageSetup> page;
        std::array<QString, 8> parts;
        bool titlePage = false;
        QString xml; // the w:sectPr as read, kept
    };

    const DocxPackage &package;
    QFont documentFont;
    double indentWidth = 40; // of the document: a list level's indent, in pixels
    DocxTheme theme;
    DocxStyles styles;
    DocxNumbering numbering;
    QList<DocumentStyle> documentStyles;
    NoteSettings noteSettings;
    bool hasNoteSettings = false;
    QHash<QString, QString> footnotes, endnotes; // by w:id, each note as kept XML
    QString footnotesPart, endnotesPart;
    struct Comment
    {
        QString author, initials, text;
    };
    QHash<QString, Comment> comments; // by w:id, for their text in other formats
    int footnotesRead = 0, endnotesRead = 0;
    std::optional<Section> firstSection;
    QString lastSection; // the kept w:sectPr of the last section, when it is not the first
    QSet<QString> listsStarted; // "numId/level" of the instances whose overrides were applied
    QString idPrefix;
    int keptCount = 0;
    int displayDepth = 0; // text boxes being read inside text boxes
    int markCount = 0;

    QString newId() { return idPrefix + u'-' + QString::number(++keptCount); }
    // Reads a w:footnotePr or w:endnotePr (of the settings or of a section) into noteSettings.
    void readNoteProperties(DocxXml &xml, bool footnotes);
};
