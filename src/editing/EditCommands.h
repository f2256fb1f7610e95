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

    void edit_Click();
    void undo_Click();
    void redo_Click();
    // "&Redo" is enabled while the active document has something to redo.
    void refreshRedo();
    void cut_Click();
    void copy_Click();
    void paste_Click();
    void de_Click();
    void seall_Click();
    void cc_Click();

private:
    // The active document's surface; throws Failure when no document is open.
    RichTextBox &activeSurface() const;

    Workspace &m_workspace;
};
