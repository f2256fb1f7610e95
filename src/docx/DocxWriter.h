#pragma once
#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument and its DocumentExtras as a Word package: the body, styles, numbering,
// notes, headers and footers of the first section, pictures, settings and document information,
// and what the document kept from the Word package it was read from.
class DocxWriter
{
public:
    explicit DocxWriter(const QTextDocument &doc);
    QByteArray write();

private:
    const QTextDocument &doc_;
};
