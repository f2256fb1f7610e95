#include "content/PageGeometry.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>

PageGeometry PageGeometry::of(QPagedPaintDevice &device)
{
    QPageLayout layout = device.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
    const int resolution = device.logicalDpiX();
    return withMargins(layout.fullRectPixels(resolution), resolution);
}

PageGeometry PageGeometry::withMargins(const QRectF &paper, int resolution)
{
    const double margin = kMarginInches * resolution;
    QRectF body = paper.adjusted(margin, margin, -margin, -margin);
    if (body.width() < margin || body.height() < margin)
        body = paper;
    return {paper, body, resolution};
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
