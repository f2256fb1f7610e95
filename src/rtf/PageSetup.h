#pragma once
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>

// A document's page: paper size and margins in twips, as RTF keeps them (\paperw, \paperh,
// \margl, \margr, \margt, \margb, \landscape, \headery, \footery).
struct PageSetup
{
    int paperWidth = 12240;  // 8.5 in
    int paperHeight = 15840; // 11 in
    int marginLeft = 1800;
    int marginRight = 1800;
    int marginTop = 1440;
    int marginBottom = 1440;
    int headerDistance = 720; // from the top edge to the header
    int footerDistance = 720; // from the bottom edge to the footer
    bool landscape = false;

    bool operator==(const PageSetup &) const = default;

    // The page for a printer: the paper as given (RTF gives a landscape page's width and height
    // already turned), its margins in points.
    QPageLayout pageLayout() const
    {
        const QSizeF paper(paperWidth / 20.0, paperHeight / 20.0);
        const bool turned = paper.width() > paper.height();
        const QPageSize size(turned ? paper.transposed() : paper, QPageSize::Point);
        return QPageLayout(size, turned ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(marginLeft / 20.0, marginTop / 20.0, marginRight / 20.0, marginBottom / 20.0),
                           QPageLayout::Point);
    }
};
