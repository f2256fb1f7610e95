#pragma once

class CommonDialog;
class DocumentWindow;

// Save and Save As of one document window. The frame's commands use them on the active window with
// the frame's dialog, the window's own operations on itself with its own dialog. Each returns true
// when the document was written. A write that fails is reported and leaves the old file, `doc`,
// the caption and `FileName` as they were.
class DocumentSave
{
public:
    // Writes to the window's file, in the format its name calls for, without asking; a window
    // without a file runs Save As with `saveAsDialog`.
    static bool save(DocumentWindow &form, CommonDialog &saveAsDialog);
    static bool saveAs(DocumentWindow &form, CommonDialog &dialog);
};
