#pragma once
#include <QObject>

class Workspace;
class RichTextBox;

// The Edit menu's commands and the enabling of Cut, Copy and Paste.
class EditCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditCommands(Workspace &workspace);

    void edit_Click();
    void undo_Click();
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
