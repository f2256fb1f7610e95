#include "document/DefaultPage.h"
#include "content/PageGeometry.h"

#include <QPrinter>

PageSetup DefaultPage::forPrinting()
{
    const QPrinter printer(QPrinter::HighResolution); // as the print commands make theirs
    const QPageLayout layout = printer.pageLayout();
    QSizeF paper = layout.pageSize().size(QPageSize::Point);
    if (layout.orientation() == QPageLayout::Landscape)
        paper.transpose();
    PageSetup page;
    page.paperWidth = qRound(paper.width() * 20);
    page.paperHeight = qRound(paper.height() * 20);
    page.landscape = layout.orientation() == QPageLayout::Landscape;
    page.marginLeft = page.marginRight = page.marginTop = page.marginBottom = qRound(PageGeometry::kMarginInches * 1440);
    page.headerDistance = page.footerDistance = qRound(PageGeometry::kHeaderInches * 1440);
    return page;
}
