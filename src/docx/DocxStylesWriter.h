#pragma once
#include "docx/DocxStyles.h"
#include "docx/DocxTheme.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <memory>

class DocumentExtras;
struct DocxKeptPackage;

// The styles part a Word package is written with: the one it was read with while the document's
// styles are the same (kept), else one made of the document's styles. It gives each paragraph
// and run the formatting its styles give, which the writer then leaves out.
class DocxStylesWriter
{
public:
    DocxStylesWriter(const DocumentExtras *extras, const DocxKeptPackage &kept, const QFont &documentFont);

    // The w:styleId of a style by name and kind; empty when the part has no such style.
    QString id(const QString &name, DocumentStyle::Kind kind) const;
    bool isDefaultParagraphStyle(const QString &id) const { return id == defaultParagraph_; }
    // What the styles give a run of a paragraph (styles by name; empty for none).
    const QTextCharFormat &charBase(const QString &paragraphStyle, const QString &characterStyle);
    const QTextBlockFormat &blockBase(const QString &paragraphStyle);
    // The table styles of the part (only a kept part has any), by id.
    bool hasTableStyle(const QString &id) const;
    // Whether a paragraph style numbers its paragraphs (w:numPr in a kept part).
    bool numbers(const QString &paragraphStyle) const;

    QByteArray xml() const;

private:
    QByteArray made() const;

    QFont documentFont_;
    QList<DocumentStyle> styles_;
    bool kept_ = false;
    QByteArray keptXml_;
    DocxTheme theme_;
    DocxStyles parsed_; // the kept part, read again
    QHash<QString, QString> ids_; // kind:name -> id
    QString defaultParagraph_;
    QHash<QString, QTextCharFormat> charBases_;
    QHash<QString, QTextBlockFormat> blockBases_;
};
