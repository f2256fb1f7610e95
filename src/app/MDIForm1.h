#pragma once
#include "platform/CommonDialog.h"

#include <QMainWindow>

class DropDownList;
class EditCommands;
class FileCommands;
class FontBoxes;
class Form3;
class FormatMenu;
class FormatToolbar;
class InsertCommands;
class KeyedToolbar;
class PrintCommand;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class SideWindows;
class StandardToolbar;
class FrameStatusBar;
struct Services;

// The main frame: it holds the document windows, the menus, both toolbars with the font boxes and
// the status bar. It starts up (restoring the status strips, filling the boxes, opening the first
// document), numbers new documents, arranges windows and writes its settings when it closes.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT
public:
    // `commandLineFile` is the document named on the command line, or empty.
    MDIForm1(Services &services, const QString &commandLineFile = QString());
    ~MDIForm1() override;

    Services &services() const { return m_services; }

    // Controls, by their names
    QMdiArea *mdiArea;
    QFrame *CoolBar2;
    KeyedToolbar *Toolbar1;
    QWidget *Frame1;
    DropDownList *Combo1;
    DropDownList *Combo2;
    KeyedToolbar *Toolbar2;
    QFrame *CoolBar1;
    QWidget *Frame2;
    QLabel *Label1;
    FrameStatusBar *StatusBar1;
    QTimer *Timer1;
    QTimer *Timer2;
    CommonDialog cd;        // Open and the frame's Save As
    CommonDialog cd2;       // Insert Pictures and Print
    CommonDialog cd3;       // Insert Text Files
    CommonDialog fontcolor; // both colour commands
    CommonDialog cd23;      // no command uses it

    // The document counter: the number the next new document gets.
    int documentCounter = 0;

    // A menu item (or submenu's action) by name; throws Failure when there is none.
    QAction *menuItem(const QString &name) const;
    QMenu *menu(const QString &name) const;
    // The active document window, or nullptr when none is open.
    Form3 *activeDocument() const;
    // The active document window; throws Failure when none is open.
    Form3 &ActiveForm() const;
    QList<Form3 *> documents() const;
    QList<QMdiSubWindow *> documentWindows() const;

    // The commands of the other subsystems, so that toolbar buttons can run their handlers.
    FileCommands &fileCommands() const { return *m_fileCommands; }
    FormatToolbar &formatToolbar() const { return *m_formatToolbar; }
    FontBoxes &fontBoxes() const { return *m_fontBoxes; }
    FormatMenu &formatMenu() const { return *m_formatMenu; }
    StandardToolbar &standardToolbar() const { return *m_standardToolbar; }
    EditCommands &editCommands() const { return *m_editCommands; }
    InsertCommands &insertCommands() const { return *m_insertCommands; }
    PrintCommand &printCommand() const { return *m_printCommand; }
    SideWindows &sideWindows() const { return *m_sideWindows; }

    // Creates, numbers and shows one document window, which becomes the active one.
    void NewDocument();

    // Frame commands
    void new_Click();
    void nw_Click();
    void Arrange(int arrangement); // 0 cascade, 1 tile horizontal, 2 tile vertical, 3 arrange icons
    void miall_Click();
    void resall_Click();
    void Statusbar_Click();
    void file_Click();
    void exit_Click();
    void Timer1_Timer();
    void Timer2_Timer();

    bool loaded() const { return m_loaded; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void MDIForm_Load();
    void MDIForm_Unload();
    void loadCommandLineFile();
    void buildMenus();
    void buildRebars();
    void buildToolbar1();
    void buildToolbar2();
    void connectFrameCommands();
    void refreshWindowMenu();
    void tile(Qt::Orientation orientation);
    void arrangeIcons();

    Services &m_services;
    QString m_commandLineFile;
    bool m_loaded = false;
    QList<QAction *> m_windowListEntries;

    FileCommands *m_fileCommands = nullptr;
    FormatToolbar *m_formatToolbar = nullptr;
    FontBoxes *m_fontBoxes = nullptr;
    FormatMenu *m_formatMenu = nullptr;
    StandardToolbar *m_standardToolbar = nullptr;
    EditCommands *m_editCommands = nullptr;
    InsertCommands *m_insertCommands = nullptr;
    PrintCommand *m_printCommand = nullptr;
    SideWindows *m_sideWindows = nullptr;
};
