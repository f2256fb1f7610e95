#pragma once
#include "layout/Fixed.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextDocument>
#include <QTextOption>

// What the layout of every paragraph and frame of a document shares in one pass: the document's
// text options, its indent width, and the resolution lengths are scaled to. A layout with a paint
// device of its own (the zoom) measures margins, indents, paddings and pictures at that device's
// resolution, as Qt's own layout does.
struct LayoutSettings
{
    QTextDocument *document = nullptr;
    QPaintDevice *device = nullptr;
    qreal deviceScale = 1; // logical dots per inch over 96, with a paint device; else 1
    QTextOption textOption;
    qreal indentWidth = 40;
    bool manualWrap = false; // a page of negative width: lines break only where the text does
    qreal pageWidth = 0;

    static LayoutSettings of(const QAbstractTextDocumentLayout &layout)
    {
        LayoutSettings s;
        s.document = layout.document();
        s.device = layout.paintDevice();
        if (s.device)
            s.deviceScale = s.device->logicalDpiY() / 96.0;
        s.textOption = s.document->defaultTextOption();
        s.indentWidth = s.document->indentWidth();
        s.pageWidth = s.document->pageSize().width();
        s.manualWrap = s.pageWidth < 0;
        return s;
    }

    qreal scaled(qreal length) const { return device ? length * deviceScale : length; }
    // A length already in 64ths scaled as Qt scales fixed column widths, in whole 64ths.
    Fixed scaled(Fixed length) const
    {
        return device ? length * Fixed::fromReal(device->logicalDpiY() / 96.0) : length;
    }
    Fixed scaledFixed(qreal length) const { return Fixed::fromReal(scaled(length)); }
};
