#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What a Word document read by the program keeps of its package for a save as Word (in
// DocumentExtras::formatKept("docx")): the parts it does not make again (theme, settings,
// comments, charts, embedded objects, custom XML ...) with the relationships that reach them,
// its styles as they were, its first and last sections, and its headers and footers as they were
// while they are unchanged.
struct DocxKeptPackage
{
    static constexpr const char *kFormat = "docx";

    struct Part
    {
        QString name;
        QString contentType;
        QByteArray bytes;
    };
    struct Relationship
    {
        QString id;
        QString type;
        QString target; // a part name, or an external URL
        bool external = false;
    };
    // A header or footer part as read, written back while the document's copy is unchanged.
    struct HeaderPart
    {
        int kind = 0;        // HeaderFooter::Kind
        QString part;
        QByteArray rtfHash;  // of the header as the document keeps it (RTF)
    };

    QString mainContentType;
    QList<Part> parts;                       // every part kept, .rels parts included
    QList<Relationship> mainRelationships;   // of the main part, to kept parts
    QList<Relationship> packageRelationships;
    QByteArray styles;                       // styles.xml as read
    QStringList styleNames;                  // the document's styles as read, to tell whether they changed
    QHash<QString, QString> styleIds;        // style name -> w:styleId
    QString firstSection;                    // the first w:sectPr as read, kept XML
    QString lastSection;                     // the last, when it is not the first
    QList<HeaderPart> headers;
    QStringList rootNamespaces;              // "prefix uri" declared on the main part's root
    bool evenAndOddHeaders = false;          // as settings.xml had it

    bool isEmpty() const { return parts.isEmpty() && styles.isEmpty() && firstSection.isEmpty(); }
    const Part *part(const QString &name) const;

    QByteArray serialize() const;
    static DocxKeptPackage parse(const QByteArray &data);
};
