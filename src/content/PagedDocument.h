#pragma once
#include "content/ListMarkerDrawing.h"
#include "content/PageGeometry.h"
#include "content/PrintFonts.h"

#include <memory>

class FootnotePages;
class QPaintDevice;
class QPainter;
class QTextDocument;

// A document laid out for printing on pages of one geometry: the body of page n shows the n-th
// slice of it. Wide tables and pictures are first fitted to the body (PrintFitting); should
// something still be wider (a word longer than its narrowed column), the document is laid out on
// a page as much wider as needed and drawn that much smaller, so that nothing is cut off at the
// right margin. Footnotes go at the foot of the page of their mark (FootnotePages). The document
// is changed for printing: give it a copy.
class PagedDocument
{
public:
    PagedDocument(QTextDocument &doc, const PageGeometry &geometry, QPaintDevice &device);
    ~PagedDocument();

    int pageCount() const { return m_pageCount; }
    // How much smaller than laid out the body is drawn: 1 unless something could not be fitted.
    double scale() const { return m_scale; }

    // Draws page `page` (counted from 0) of the body into the body of the page. No background;
    // text without a colour of its own is black.
    void drawBody(QPainter &painter, int page) const;
    // Draws the footnotes of page `page` (from 0) at the foot of its body.
    void drawFootnotes(QPainter &painter, int page) const;

private:
    void layOut(double scale);
    void fillPageFields();
    void drawMarkers(QPainter &painter, const QRectF &area) const;
    double widestFrame() const;
    void toBody(QPainter &painter) const;

    QTextDocument &m_doc;
    PageGeometry m_geometry;
    PrintFonts m_fonts;
    double m_scale = 1.0;
    QSizeF m_page; // one page of the body, in the layout's units
    int m_pageCount = 1;
    std::unique_ptr<FootnotePages> m_footnotes;
    std::vector<ListMarkerDrawing::Item> m_markers; // of items Qt gives no marker, top to bottom
};
