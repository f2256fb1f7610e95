#include "content/PageGeometry.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>

#include <algorithm>

PageGeometry PageGeometry::of(QPagedPaintDevice &device, const std::optional<PageSetup> &setup)
{
    QPageLayout layout = device.pageLayout();
    const QMarginsF margins = layout.marginsPixels(device.logicalDpiX()); // before the mode drops them
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
    const int resolution = device.logicalDpiX();
    const QRectF paper = layout.fullRectPixels(resolution);
    return setup ? withMargins(paper, margins, *setup, resolution) : withMargins(paper, resolution);
}

PageGeometry PageGeometry::withMargins(const QRectF &paper, int resolution)
{
    const double margin = kMarginInches * resolution;
    QRectF body = paper.adjusted(margin, margin, -margin, -margin);
    if (body.width() < margin || body.height() < margin)
        body = paper;
    const double distance = kHeaderInches * resolution;
    return {paper, body, paper.top() + distance, paper.bottom() - distance, resolution};
}

PageGeometry PageGeometry::withMargins(const QRectF &paper, const QMarginsF &margins, const PageSetup &setup,
                                       int resolution)
{
    QRectF body = paper.marginsRemoved(margins);
    // A body narrower or shorter than an inch leaves no room to print in: use the whole sheet.
    if (body.width() < resolution || body.height() < resolution)
        body = paper;
    const auto pixels = [resolution](int twips) { return std::max(0, twips) * resolution / 1440.0; };
    const double headerTop = std::min(paper.top() + pixels(setup.headerDistance), body.top());
    const double footerBottom = std::max(paper.bottom() - pixels(setup.footerDistance), body.bottom());
    return {paper, body, headerTop, footerBottom, resolution};
}

QSizeF PageGeometry::bodyInFormatUnits() const
{
    return body.size() * (96.0 / resolution);
}

QSizeF PageGeometry::smallestTextArea()
{
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Inch);
    const QSizeF letter = QPageSize(QPageSize::Letter).size(QPageSize::Inch);
    const QSizeF paper(std::min(a4.width(), letter.width()), std::min(a4.height(), letter.height()));
    return (paper - QSizeF(2 * kMarginInches, 2 * kMarginInches)) * 96.0;
}
