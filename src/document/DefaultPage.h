#pragma once
#include "rtf/PageSetup.h"

// The page a document without a page set-up of its own is laid out on when it prints: the
// default printer's paper, with the margins printing gives such a document. Saved with the
// document, so that other programs lay it out on the same page.
class DefaultPage
{
public:
    static PageSetup forPrinting();
};
