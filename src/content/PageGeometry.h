#pragma once
#include <QRectF>
#include <QSizeF>

class QPagedPaintDevice;

// Where the parts of a printed page go, in device pixels: the whole sheet and the body between
// the margins. Every page of a job has the same geometry: the device's paper with margins of one
// inch all round (a document's own page set-up, when it has one, is the place to change that).
struct PageGeometry
{
    static constexpr double kMarginInches = 1.0;

    QRectF paper;
    QRectF body;
    int resolution = 96; // device pixels per inch

    // The geometry of the device's paper. The device is set to measure from the paper's edge.
    static PageGeometry of(QPagedPaintDevice &device);
    // The paper given in device pixels, with the standard margins; a paper too small for them is
    // printed edge to edge.
    static PageGeometry withMargins(const QRectF &paper, int resolution);

    // The body in the units of the document's formats: pixels at 96 per inch.
    QSizeF bodyInFormatUnits() const;

    // The space between the margins on the smaller of the usual papers (A4 and Letter), in pixels
    // at 96 per inch: what a picture must fit into to print whole on either.
    static QSizeF smallestTextArea();
};
