#pragma once

class DocumentWindow;

// How a document window writes itself when its close prompt is answered Yes: the window knows its
// prompt, the files commands know how to save. Each returns true when a file was written.
class DocumentSaving
{
public:
    virtual ~DocumentSaving() = default;
    virtual bool save(DocumentWindow &form) = 0;
    virtual bool saveAs(DocumentWindow &form) = 0;
};
