#pragma once
#include "content/PageGeometry.h"

class QPaintDevice;
class QPainter;
class QTextDocument;

// Draws a printed page's header and footer: the one the document has for that page (first, left or
// right, HeaderFooter::documentForPage), its page numbers filled in, as wide as the body. The
// header stands at the header distance from the paper's top, the footer ends at the footer
// distance from its bottom. One taller than the space between that edge of the paper and the body
// moves out towards the edge, and what is still too tall is cut off at the body: the body is never
// drawn over.
class PageDecorations
{
public:
    PageDecorations(const QTextDocument &doc, QPaintDevice &device) : m_doc(doc), m_device(device) {}

    // Pages count from 1.
    void draw(QPainter &painter, const PageGeometry &geometry, int page, int pageCount) const;

private:
    void drawPart(QPainter &painter, const PageGeometry &geometry, bool header, int page, int pageCount) const;

    const QTextDocument &m_doc;
    QPaintDevice &m_device;
};
