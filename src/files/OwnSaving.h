#pragma once
#include "document/DocumentSaving.h"

class Workspace;

// A document window's own Save and Save As, as its close prompt runs them: with the window's own
// dialog instance. A file written goes to the top of the recent files.
class OwnSaving : public DocumentSaving
{
public:
    explicit OwnSaving(Workspace &workspace) : m_workspace(workspace) {}

    bool save(DocumentWindow &form) override;
    bool saveAs(DocumentWindow &form) override;

private:
    bool noted(DocumentWindow &form, bool written);

    Workspace &m_workspace;
};
