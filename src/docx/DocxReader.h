#pragma once
#include <QByteArray>
#include <QSet>
#include <QString>

struct DocxKeptPackage;
class DocxPackage;
struct DocxReadContext;
class QTextDocument;

// Reads a whole Word package into a QTextDocument and its DocumentExtras: styles, numbering,
// settings and notes first, then the body as it streams, then the first section's headers and
// footers, the document information, and what is kept for a save as Word. The caller clears the
// document and sets up undo, layout and the edit block; every refusal throws PackageError.
class DocxReader
{
public:
    DocxReader(const QByteArray &bytes, QTextDocument &doc);
    void read();

    // Whether the bytes are an encrypted (password-protected) Office document, which is a
    // compound file rather than a zip package.
    static bool isEncryptedOffice(const QByteArray &bytes);

private:
    void readSettings(DocxReadContext &context, DocxKeptPackage &kept);
    void readNotes(DocxReadContext &context, bool endnotes);
    void readComments(DocxReadContext &context);
    void readBody(DocxReadContext &context, DocxKeptPackage &kept);
    void readHeadersFooters(DocxReadContext &context, DocxKeptPackage &kept);
    void keepParts(const DocxPackage &package, DocxKeptPackage &kept, const QSet<QString> &firstSectionParts);

    const QByteArray &bytes_;
    QTextDocument &doc_;
};
