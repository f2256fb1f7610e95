#pragma once
#include "rtf/PageSetup.h"

#include <QRectF>
#include <QSizeF>
#include <optional>

class QPagedPaintDevice;

// Where the parts of a printed page go, in device pixels: the whole sheet, the body between the
// margins, and where headers and footers stand. Every page of a job has the same geometry. A
// document without a page set-up of its own prints on the device's paper with margins of one
// inch all round; one with a set-up prints on the device's paper and margins, which the print
// command started from the document's (the print dialog may have changed them since).
struct PageGeometry
{
    static constexpr double kMarginInches = 1.0;
    static constexpr double kHeaderInches = 0.5; // header and footer distance without a set-up

    QRectF paper;
    QRectF body;
    double headerTop = 0;    // the top of a header
    double footerBottom = 0; // the bottom of a footer
    int resolution = 96;     // device pixels per inch

    // The geometry of the device's paper. The device is set to measure from the paper's edge.
    static PageGeometry of(QPagedPaintDevice &device, const std::optional<PageSetup> &setup = std::nullopt);
    // The paper given in device pixels, with the standard margins; a paper too small for them is
    // printed edge to edge.
    static PageGeometry withMargins(const QRectF &paper, int resolution);
    // The paper with the given margins (device pixels) and the header and footer distances of a
    // set-up; margins that leave too small a body are dropped as above.
    static PageGeometry withMargins(const QRectF &paper, const QMarginsF &margins, const PageSetup &setup,
                                    int resolution);

    // The body in the units of the document's formats: pixels at 96 per inch.
    QSizeF bodyInFormatUnits() const;

    // The space between the margins on the smaller of the usual papers (A4 and Letter), in pixels
    // at 96 per inch: what a picture must fit into to print whole on either.
    static QSizeF smallestTextArea();
};
