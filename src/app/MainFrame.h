#pragma once
#include "platform/KeyedToolbar.h"
#include "workspace/Workspace.h"

#include <QMainWindow>
#include <memory>

class DocumentRecovery;
class DropDownList;
class EditCommands;
class FileCommands;
class FindCommands;
class FontBoxes;
class FormatMenu;
class FormatToolbar;
class FrameIndicators;
class FrameSpelling;
class FrameStatusBar;
class InsertCommands;
class OwnSaving;
class PrintCommand;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class RecentFilesMenu;
class QSessionManager;
class SideWindows;
class ViewCommands;
class WindowMenu;

// The main frame: it holds the document windows, the menus, both toolbars with the font boxes and
// the status bar. It starts up (restoring the status strips, filling the boxes, opening the first
// document), numbers new documents, arranges windows, shows the active document's formatting on
// its indicators, and writes its settings when it closes. The commands reach it as a Workspace.
class MainFrame : public QMainWindow, public Workspace
{
    Q_OBJECT
public:
    // `commandLineFiles` are the documents named on the command line, each opened in a window.
    explicit MainFrame(Services &services, const QStringList &commandLineFiles = {});
    ~MainFrame() override;

    // Workspace
    QWidget &window() override { return *this; }
    Services &services() const override { return m_services; }
    FrameDialogs &commonDialogs() override { return m_dialogs; }
    FormattingIndicators &indicators() override;
    DocumentWindow *activeDocument() const override;
    QList<DocumentWindow *> documents() const override;
    void newDocument() override;
    void closeActiveDocument() override;
    QAction *menuItem(const QString &name) const override;
    QMenu *menu(const QString &name) const override;
    void fileUsed(const QString &path) override;
    void showStatusNote(const QString &text) override;
    QTimer &pictureStartTimer() override { return *m_pictureStartTimer; }
    QTimer &pictureEndTimer() override { return *m_pictureEndTimer; }

    QList<QMdiSubWindow *> documentWindows() const;
    // The number the next new document gets.
    int documentCounter() const { return m_documentCounter; }

    // The commands, for the toolbar tables and for tests that run a handler behind a disabled item.
    FileCommands &fileCommands() const { return *m_fileCommands; }
    EditCommands &editCommands() const { return *m_editCommands; }
    InsertCommands &insertCommands() const { return *m_insertCommands; }
    PrintCommand &printCommand() const { return *m_printCommand; }
    FormatMenu &formatMenu() const { return *m_formatMenu; }
    SideWindows &sideWindows() const { return *m_sideWindows; }
    FindCommands &findCommands() const { return *m_findCommands; }
    ViewCommands &viewCommands() const { return *m_viewCommands; }
    RecentFilesMenu &recentFiles() const { return *m_recentFiles; }
    DocumentRecovery &recovery() const { return *m_recovery; }

    // Frame commands
    void newFile();
    void newWindow();
    void arrange(int arrangement); // 0 cascade, 1 tile horizontal, 2 tile vertical, 3 arrange icons
    void minimizeAll();
    void restoreAll();
    void toggleStatusBar();
    void updateFileMenu();
    void exitProgram();
    void pictureStartTimeout();
    void pictureEndTimeout();
    // The toolbars' clicks: each button runs the handler of its row in the toolbar's table.
    void runStandardButton(QAction *button);
    void runFormattingButton(QAction *button);

    bool loaded() const { return m_loaded; }

    // Ended by the system (SIGTERM, SIGHUP): the copies of all changed windows are written at
    // once, and the program quits without asking.
    void endedBySystem();
    // The session is ending: with leave to ask, the document windows are closed as a normal close
    // would (false: the user cancelled, the session should not end); without, the copies of the
    // changed ones are written at once.
    bool saveSession(bool allowedToAsk);
    void commitDataRequest(QSessionManager &manager);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void startUp();
    void writeSettings();
    bool closeDocuments(); // false: a window's Cancel kept it open
    void loadCommandLineFile(const QString &argument);
    void buildMenus();
    void buildRebars();
    void buildTimers();
    std::vector<ToolbarButton> standardButtons();
    std::vector<ToolbarButton> formattingButtons();
    void createCommands();
    void connectFrameCommands();
    void followDocument(DocumentWindow &form);
    void showActiveDocument(QMdiSubWindow *sub);
    void showActiveDocumentState();
    void addFormattingShortcuts();
    void refreshWindowMenu();

    Services &m_services;
    FrameDialogs m_dialogs;
    QStringList m_commandLineFiles;
    bool m_loaded = false;
    int m_documentCounter = 0;
    bool m_creatingDocument = false; // newDocument is adding a window

    // Controls, by their names
    QMdiArea *mdiArea = nullptr;
    QFrame *upperRebar = nullptr;
    KeyedToolbar *standardToolbar = nullptr;
    QWidget *fontBand = nullptr;
    DropDownList *fontNameBox = nullptr;
    DropDownList *fontSizeBox = nullptr;
    KeyedToolbar *formattingToolbar = nullptr;
    QFrame *lowerRebar = nullptr;
    QWidget *noticeBand = nullptr;
    QLabel *noticeLabel = nullptr;
    FrameStatusBar *statusPanels = nullptr;
    QTimer *m_pictureStartTimer = nullptr;
    QTimer *m_pictureEndTimer = nullptr;

    std::unique_ptr<FrameIndicators> m_indicators;
    std::unique_ptr<FrameSpelling> m_spelling;
    std::unique_ptr<WindowMenu> m_windowMenu;
    std::unique_ptr<OwnSaving> m_ownSaving;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<FormatToolbar> m_formatToolbar;
    std::unique_ptr<FontBoxes> m_fontBoxes;
    std::unique_ptr<FormatMenu> m_formatMenu;
    std::unique_ptr<EditCommands> m_editCommands;
    std::unique_ptr<InsertCommands> m_insertCommands;
    std::unique_ptr<PrintCommand> m_printCommand;
    std::unique_ptr<SideWindows> m_sideWindows;
    std::unique_ptr<FindCommands> m_findCommands;
    std::unique_ptr<ViewCommands> m_viewCommands;
    std::unique_ptr<RecentFilesMenu> m_recentFiles;
    std::unique_ptr<DocumentRecovery> m_recovery;
};
