#pragma once
#include <QList>
#include <QSizeF>

class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextImageFormat;
class QTextTable;
class QTextTableCell;
class QTextTableFormat;

// Makes what is wider than the body of a page fit into it, in a document about to be printed (a
// copy: the user's document keeps its sizes). A table whose fixed column widths add up to more
// than the space it stands in keeps the proportions of its columns across that space, and so do
// the tables inside it; a picture larger than the space it stands in is made smaller, keeping its
// proportions. What already fits is left as it is. Sizes are those of the formats: pixels at 96
// per inch, in a document without margins of its own.
class PrintFitting
{
public:
    static void fit(QTextDocument &doc, QSizeF body);

private:
    PrintFitting(QTextDocument &doc, QSizeF body) : m_doc(doc), m_body(body) {}

    // `narrow`: the frame stands in a table that was narrowed, so its tables are narrowed too.
    void fitFrame(QTextFrame &frame, double width, bool narrow);
    void fitTable(QTextTable &table, double width, bool narrow);
    static double columnSpace(QTextTableFormat &format, int columns, double width);
    static bool narrowColumns(QTextTableFormat &format, int columns, double inner, bool narrow);
    QList<double> columnRoom(const QTextTable &table, double inner) const;
    double widestPicture(const QTextTableCell &cell) const;
    void fitCell(const QTextTableCell &cell, double width, bool narrow);
    void fitPictures(const QTextBlock &block, double width);
    QSizeF pictureSize(const QTextImageFormat &format) const;

    QTextDocument &m_doc;
    QSizeF m_body;
};
