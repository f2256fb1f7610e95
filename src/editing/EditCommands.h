#pragma once
#include <QObject>

class Workspace;
class RichTextBox;

// The Edit menu's commands and the enabling of Cut, Copy, Paste and Redo.
class EditCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditCommands(Workspace &workspace);

    void updateEditMenu();
    void undo();
    void redo();
    // "&Redo" is enabled while the active document has something to redo.
    void refreshRedo();
    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void selectAll();
    void clearClipboard();

private:
    // The active document's surface; throws Failure when no document is open.
    RichTextBox &activeSurface() const;

    Workspace &m_workspace;
};
