#pragma once
#include "docx/DocxKeptPackage.h"
#include "rtf/KeptRtf.h"

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>

class DocumentExtras;
class DocxNotesWriter;
class DocxNumberingWriter;
class DocxPackageWriter;
class DocxStylesWriter;
class QTextDocument;

// What the writers of the stories of one Word package share.
struct DocxWriteContext
{
    DocxWriteContext(const QTextDocument &d, const DocumentExtras *x, const DocxKeptPackage &k, DocxPackageWriter &p,
                     DocxStylesWriter &s, DocxNumberingWriter &n)
        : doc(d), extras(x), kept(k), package(p), styles(s), numbering(n)
    {
    }

    const QTextDocument &doc;
    const DocumentExtras *extras;
    const DocxKeptPackage &kept;
    DocxPackageWriter &package;
    DocxStylesWriter &styles;
    DocxNumberingWriter &numbering;
    DocxNotesWriter *notes = nullptr;
    QFont documentFont;
    double textWidth = 624; // pixels between the margins
    int nextDrawingId = 1;
    int nextBookmarkId = 1;
    int nextRevisionId = 1;
    int nextCommentId = 0; // past those of a kept comments part
    QList<std::pair<int, KeptRtf::Annotation>> comments; // to add to the comments part
    QSet<QString> keptWritten; // ids of kept items written
    QSet<QString> keptRelationshipIds; // of the main part, kept from the file
    QSet<QString> namedRelationships;  // kept relationships that written kept XML names
    QSet<QString> writtenKeptRelationships;
    QString mainPart = QStringLiteral("word/document.xml");
};
