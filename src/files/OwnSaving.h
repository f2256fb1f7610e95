#pragma once
#include "document/DocumentSaving.h"

// A document window's own Save and Save As, as its close prompt runs them: with the window's own
// dialog instance.
class OwnSaving : public DocumentSaving
{
public:
    bool save(Form3 &form) override;
    bool saveAs(Form3 &form) override;
};
