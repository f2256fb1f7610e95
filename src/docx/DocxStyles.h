#pragma once
#include "docx/DocxParagraphProperties.h"
#include "docx/DocxRunProperties.h"
#include "docx/DocxTableProperties.h"
#include "rtf/DocumentStyle.h"

#include <QHash>
#include <QList>
#include <QString>

class DocxTheme;
class QByteArray;

// A table style's formatting of one part of a table (its first row, its odd bands ...).
struct DocxTableConditional
{
    DocxTableProperties cell; // w:tcPr
    DocxRunProperties run;    // w:rPr
};
class QFont;

// The styles of a Word document (styles.xml): the document's defaults and each style resolved
// through its w:basedOn chain (a chain that loops or runs too long gives what could be resolved).
class DocxStyles
{
public:
    static constexpr int kMaxStyles = 4096;
    static constexpr int kMaxChain = 32;

    struct Style
    {
        QString id;
        QString name;
        DocumentStyle::Kind kind = DocumentStyle::Paragraph;
        QString basedOn, next; // ids
        bool isDefault = false;
        DocxParagraphProperties paragraph; // with the run properties of its w:rPr in `mark`
        DocxRunProperties run;
        DocxTableProperties table;
        QHash<QString, struct DocxTableConditional> conditionals; // w:tblStylePr, by type
    };

    void read(const QByteArray &xml, const QString &part, const DocxTheme &theme);
    // Gives the defaults what Word takes where a document says nothing: the document's font, at
    // ten points.
    void completeDefaults(const QFont &documentFont);

    const DocxRunProperties &runDefaults() const { return runDefaults_; }
    const DocxParagraphProperties &paragraphDefaults() const { return paragraphDefaults_; }
    const Style *find(const QString &id) const;
    // The id of the default paragraph (or character, table) style; empty when there is none.
    QString defaultStyle(DocumentStyle::Kind kind) const;

    // A style's properties merged along its bases, the farthest base first (not the defaults).
    const DocxParagraphProperties &paragraph(const QString &id) const;
    const DocxRunProperties &character(const QString &id) const;
    const DocxTableProperties &table(const QString &id) const;
    // A table style's conditional formatting along its bases, by type ("firstRow" ...), and the
    // run properties it gives the whole table.
    QHash<QString, DocxTableConditional> conditionals(const QString &id) const;
    const DocxRunProperties &tableRun(const QString &id) const;

    // The styles for DocumentExtras: in the file's order, the default paragraph style numbered 0,
    // each with its formats resolved with the defaults and an RTF definition of its own.
    QList<DocumentStyle> documentStyles(const QFont &documentFont) const;
    const QList<Style> &styles() const { return styles_; }

private:
    QList<QString> chain(const QString &id) const;

    DocxRunProperties runDefaults_;
    DocxParagraphProperties paragraphDefaults_;
    QList<Style> styles_;
    QHash<QString, int> index_;
    QString defaults_[4];
    mutable QHash<QString, DocxParagraphProperties> paragraphs_;
    mutable QHash<QString, DocxRunProperties> characters_;
    mutable QHash<QString, DocxTableProperties> tables_;
    mutable QHash<QString, DocxRunProperties> tableRuns_;
};
