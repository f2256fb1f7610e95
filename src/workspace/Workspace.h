#pragma once
#include "platform/CommonDialog.h"

#include <QList>
#include <QString>
#include <functional>

class DocumentWindow;
class FormattingIndicators;
class QAction;
class QMenu;
class QObject;
class QTimer;
class QWidget;
class RichTextBox;
struct Services;

// The frame's common-dialog instances, each keeping its settings from one use to the next.
struct FrameDialogs
{
    explicit FrameDialogs(Dialogs &dialogs) : fileDialog(dialogs), pictureAndPrintDialog(dialogs), textFileDialog(dialogs), colourDialog(dialogs), spareDialog(dialogs) {}
    CommonDialog fileDialog; // Open and the frame's Save As
    CommonDialog pictureAndPrintDialog; // Insert Pictures and Print
    CommonDialog textFileDialog; // Insert Text Files
    CommonDialog colourDialog; // both colour commands
    CommonDialog spareDialog; // no command uses it
};

// What the commands see of the main frame: its documents, its services and dialog instances, its
// menu items by name and its formatting indicators. The frame implements it; commands never reach
// for its widgets.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // The frame's window: the parent of dialogs, disabled while a window takes over.
    virtual QWidget &window() = 0;
    virtual Services &services() const = 0;
    virtual FrameDialogs &commonDialogs() = 0;
    virtual FormattingIndicators &indicators() = 0;

    // The active document window, or nullptr when none is open.
    virtual DocumentWindow *activeDocument() const = 0;
    // The open document windows, oldest first.
    virtual QList<DocumentWindow *> documents() const = 0;
    // Creates, numbers and shows one document window, which becomes the active one.
    virtual void newDocument() = 0;
    // Asks the active document window to close (it may ask to save first).
    virtual void closeActiveDocument() = 0;

    // A menu item (or a submenu's action) by name; throws Failure when there is none.
    virtual QAction *menuItem(const QString &name) const = 0;
    // A menu by name, or nullptr.
    virtual QMenu *menu(const QString &name) const = 0;

    // A document file was opened or saved: it goes to the top of the recent files.
    virtual void fileUsed(const QString &path) = 0;
    // Shows a short note in the status bar's first panel for a few seconds.
    virtual void showStatusNote(const QString &text) = 0;

    // The frame's one-shot timers: Insert Pictures starts the first at its start and the second
    // at its end, whose tick empties the active document's selection.
    virtual QTimer &pictureStartTimer() = 0;
    virtual QTimer &pictureEndTimer() = 0;

    // The command guard: `handler` wrapped so that an exception escaping it is reported in a box
    // naming `command`, and the program goes on. Every command, toolbar button, timer and drop
    // runs through it.
    std::function<void()> guarded(const QString &command, std::function<void()> handler);
    // Connects the menu item `name` to `handler`, run under the guard and named by the item's
    // caption, for as long as `context` lives.
    void onTriggered(const QString &name, QObject *context, std::function<void()> handler);
    template <typename Command>
    void onTriggered(const QString &name, Command *command, void (Command::*handler)())
    {
        onTriggered(name, command, [command, handler] { (command->*handler)(); });
    }

    // The active document window; throws Failure when none is open.
    DocumentWindow &currentDocument() const;
    // The active document's surface; throws Failure when no document is open.
    RichTextBox &activeSurface() const;
};
