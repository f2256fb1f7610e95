#include "app/MainFrame.h"
#include "content/WholeFile.h"
#include "app/FrameIndicators.h"
#include "app/FrameSpelling.h"
#include "app/FrameStatusBar.h"
#include "app/MenuTable.h"
#include "app/WindowArrangement.h"
#include "app/WindowMenu.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/EditCommands.h"
#include "editing/InsertCommands.h"
#include "editing/PrintCommand.h"
#include "files/FileCommands.h"
#include "files/OwnSaving.h"
#include "files/RecentFilesMenu.h"
#include "find/FindCommands.h"
#include "formatting/FontBoxes.h"
#include "formatting/FormatMenu.h"
#include "formatting/FormatToolbar.h"
#include "platform/Dialogs.h"
#include "platform/DiskStamp.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "platform/FileFailureBox.h"
#include "platform/FontFamilies.h"
#include "platform/FreedMemory.h"
#include "platform/Icons.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "view/ViewCommands.h"
#include "recovery/DocumentRecovery.h"
#include "windows/SideWindows.h"
#include "workspace/FormattingRefresh.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

MainFrame::MainFrame(Services &services, const QStringList &commandLineFiles)
    : m_services(services), m_dialogs(services.dialogs), m_commandLineFiles(commandLineFiles)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Scrivlo"));
    setWindowIcon(Icons::application());
    setAcceptDrops(true);
    // Cancelling a dialog of this instance is reported to its commands as a failure.
    m_dialogs.pictureAndPrintDialog.cancelError = true;

    buildMenus();
    createCommands();
    buildRebars();
    statusPanels = new FrameStatusBar(this);
    setStatusBar(statusPanels);
    buildTimers();
    connectFrameCommands();
    m_spelling = std::make_unique<FrameSpelling>(services.spellChecker, services.settings, services.dialogs, *this);
    m_spelling->addMenuItems(*menu(QStringLiteral("view")));
}

MainFrame::~MainFrame()
{
    // The windows going away must not rebuild the menus of a frame that is being destroyed, nor
    // report their Undo history to its commands.
    disconnect(mdiArea, nullptr, this, nullptr);
    const QList<RichTextBox *> surfaces = mdiArea->findChildren<RichTextBox *>();
    for (RichTextBox *surface : surfaces)
        disconnect(surface, nullptr, this, nullptr);
}

// ---- Building the frame -------------------------------------------------------------------------

void MainFrame::buildMenus()
{
    QMenuBar *bar = menuBar();
    QHash<QString, QMenu *> menus;
    for (const MenuEntry &entry : MenuTable::entries()) {
        const QString name = QString::fromLatin1(entry.name);
        const QString caption = QString::fromUtf8(entry.caption);
        QMenu *parentMenu = menus.value(QString::fromLatin1(entry.parent));
        QAction *action = nullptr;
        if (entry.submenu) {
            QMenu *sub = parentMenu ? parentMenu->addMenu(caption) : bar->addMenu(caption);
            sub->setObjectName(name);
            menus.insert(name, sub);
            action = sub->menuAction();
        } else if (caption == QLatin1String("-")) {
            action = parentMenu->addSeparator();
        } else {
            action = parentMenu->addAction(caption);
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(entry.shortcut)));
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
        }
        action->setObjectName(name);
        action->setEnabled(entry.enabled);
    }
}

void MainFrame::buildRebars()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The upper rebar: band 1 the standard toolbar, band 2 the font boxes and the formatting toolbar.
    upperRebar = new QFrame(central);
    upperRebar->setObjectName(QStringLiteral("CoolBar2"));
    upperRebar->setFrameShape(QFrame::StyledPanel);
    auto *bands = new QVBoxLayout(upperRebar);
    bands->setContentsMargins(2, 1, 2, 1);
    bands->setSpacing(0);
    standardToolbar = new KeyedToolbar(QStringLiteral("Toolbar1"), upperRebar);
    standardToolbar->addButtons(standardButtons());
    connect(standardToolbar, &KeyedToolbar::buttonClicked, this, &MainFrame::runStandardButton);
    bands->addWidget(standardToolbar);

    fontBand = new QWidget(upperRebar);
    fontBand->setObjectName(QStringLiteral("Frame1"));
    auto *band2 = new QHBoxLayout(fontBand);
    band2->setContentsMargins(4, 1, 0, 1);
    band2->setSpacing(4);
    fontNameBox = new DropDownList(QStringLiteral("Combo1"), true, fontBand);
    fontNameBox->setFixedSize(145, 23);
    fontNameBox->setToolTip(tr("Font"));
    fontSizeBox = new DropDownList(QStringLiteral("Combo2"), false, fontBand);
    fontSizeBox->setFixedSize(64, 23);
    fontSizeBox->setToolTip(tr("Font size"));
    formattingToolbar = new KeyedToolbar(QStringLiteral("Toolbar2"), fontBand);
    formattingToolbar->addButtons(formattingButtons());
    addFormattingShortcuts();
    connect(formattingToolbar, &KeyedToolbar::buttonClicked, this, &MainFrame::runFormattingButton);
    auto *alignment = new QActionGroup(formattingToolbar); // at most one alignment button is pressed
    for (const char *key : {"e", "f", "g"})
        alignment->addAction(formattingToolbar->button(QString::fromLatin1(key)));
    m_indicators = std::make_unique<FrameIndicators>(*fontNameBox, *fontSizeBox, *formattingToolbar);
    band2->addWidget(fontNameBox);
    band2->addWidget(fontSizeBox);
    band2->addWidget(formattingToolbar);
    band2->addStretch(1);
    bands->addWidget(fontBand);

    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // Closing a window goes back to the one used before it; the Window menu keeps creation order.
    mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MainFrame::refreshWindowMenu);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MainFrame::showActiveDocument);

    // The lower rebar carries the notice label.
    lowerRebar = new QFrame(central);
    lowerRebar->setObjectName(QStringLiteral("CoolBar1"));
    lowerRebar->setFrameShape(QFrame::StyledPanel);
    auto *lower = new QHBoxLayout(lowerRebar);
    lower->setContentsMargins(2, 1, 2, 1);
    noticeBand = new QWidget(lowerRebar);
    noticeBand->setObjectName(QStringLiteral("Frame2"));
    auto *noticeRow = new QHBoxLayout(noticeBand);
    noticeRow->setContentsMargins(4, 0, 4, 0);
    noticeLabel = new QLabel(tr("Scrivlo — rich text for everyday writing. Documents are saved as Rich Text Format, Word, OpenDocument or plain text."), noticeBand);
    noticeLabel->setObjectName(QStringLiteral("Label1"));
    noticeRow->addWidget(noticeLabel);
    lower->addWidget(noticeBand);

    column->addWidget(upperRebar);
    column->addWidget(mdiArea, 1);
    column->addWidget(lowerRebar);
    setCentralWidget(central);
}

std::vector<ToolbarButton> MainFrame::standardButtons()
{
    // "i" and the keyless separators do nothing.
    return {
        {"a", "New document", "document-new", false, [this] { newFile(); }},
        {"b", "Retrieve a document", "document-open", false, [this] { m_fileCommands->open(); }},
        {"c", "Save document", "document-save", false, [this] { m_fileCommands->save(); }},
        ToolbarButton::separator(),
        {"d", "Print document wihout configuration", "document-print", false, [this] { m_printCommand->print(); }},
        {"e", "Full - screen mode", "view-fullscreen", false, [this] { m_sideWindows->showFullScreen(); }},
        ToolbarButton::separator(),
        {"f", "Cut", "edit-cut", false, [this] { m_editCommands->cut(); }},
        {"g", "Copy", "edit-copy", false, [this] { m_editCommands->copy(); }},
        {"h", "Paste", "edit-paste", false, [this] { m_editCommands->paste(); }},
        ToolbarButton::separator("i"),
        {"j", "Undo", "edit-undo", false, [this] { m_editCommands->undo(); }},
        ToolbarButton::separator(),
        {"k", "Font color", "format-text-color", false, [this] { m_formatMenu->chooseFontColour(); }},
        ToolbarButton::separator(),
    };
}

std::vector<ToolbarButton> MainFrame::formattingButtons()
{
    FormatToolbar &format = *m_formatToolbar;
    return {
        {"a", "Bold", "format-text-bold", true, [&format] { format.toggleBold(); }},
        {"b", "Italic", "format-text-italic", true, [&format] { format.toggleItalic(); }},
        {"c", "Underline", "format-text-underline", true, [&format] { format.toggleUnderline(); }},
        {"d", "Strike through", "format-text-strikethrough", true, [&format] { format.toggleStrikeOut(); }},
        ToolbarButton::separator(),
        {"e", "Left Alignment", "format-justify-left", true, [&format] { format.alignLeft(); }},
        {"f", "Center", "format-justify-center", true, [&format] { format.alignCenter(); }},
        {"g", "Right Alignment", "format-justify-right", true, [&format] { format.alignRight(); }},
        ToolbarButton::separator(),
        {"h", "Bullet Style", "format-list-unordered", false, [&format] { format.toggleBullets(); }},
    };
}

// Keyboard formatting: each shortcut clicks its formatting button, which runs the button's command.
// Ctrl+I stays with Insert Pictures, so italic is Ctrl+Shift+I.
void MainFrame::addFormattingShortcuts()
{
    const std::pair<const char *, const char *> shortcuts[] = {
        {"a", "Ctrl+B"}, {"b", "Ctrl+Shift+I"}, {"c", "Ctrl+U"}, {"e", "Ctrl+L"}, {"f", "Ctrl+E"}, {"g", "Ctrl+R"},
    };
    for (const auto &[key, shortcut] : shortcuts)
        formattingToolbar->button(QString::fromLatin1(key))->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
}

void MainFrame::buildTimers()
{
    m_pictureStartTimer = new QTimer(this);
    m_pictureStartTimer->setObjectName(QStringLiteral("Timer1"));
    m_pictureStartTimer->setInterval(1);
    m_pictureEndTimer = new QTimer(this);
    m_pictureEndTimer->setObjectName(QStringLiteral("Timer2"));
    m_pictureEndTimer->setInterval(1);
    connect(m_pictureStartTimer, &QTimer::timeout, this, guarded(QStringLiteral("Timer1"), [this] { pictureStartTimeout(); }));
    connect(m_pictureEndTimer, &QTimer::timeout, this, guarded(QStringLiteral("Timer2"), [this] { pictureEndTimeout(); }));
}

void MainFrame::createCommands()
{
    m_ownSaving = std::make_unique<OwnSaving>(*this);
    m_fileCommands = std::make_unique<FileCommands>(*this);
    m_recentFiles = std::make_unique<RecentFilesMenu>(*this, *m_fileCommands);
    m_formatToolbar = std::make_unique<FormatToolbar>(*this);
    m_fontBoxes = std::make_unique<FontBoxes>(*this);
    m_formatMenu = std::make_unique<FormatMenu>(*this);
    m_editCommands = std::make_unique<EditCommands>(*this);
    m_insertCommands = std::make_unique<InsertCommands>(*this);
    m_printCommand = std::make_unique<PrintCommand>(*this);
    m_sideWindows = std::make_unique<SideWindows>(*this);
    m_findCommands = std::make_unique<FindCommands>(*this);
    m_viewCommands = std::make_unique<ViewCommands>(*this);
    m_recovery = std::make_unique<DocumentRecovery>(*this, m_services.recoveryFolder);
}

void MainFrame::connectFrameCommands()
{
    const auto on = [this](const char *name, void (MainFrame::*handler)()) {
        onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("new", &MainFrame::newFile);
    on("nw", &MainFrame::newWindow);
    on("miall", &MainFrame::minimizeAll);
    on("resall", &MainFrame::restoreAll);
    on("Statusbar", &MainFrame::toggleStatusBar);
    on("exit", &MainFrame::exitProgram);
    onTriggered(QStringLiteral("cascade"), this, [this] { arrange(0); });
    onTriggered(QStringLiteral("th"), this, [this] { arrange(1); });
    onTriggered(QStringLiteral("til"), this, [this] { arrange(2); });
    onTriggered(QStringLiteral("arricos"), this, [this] { arrange(3); });
    connect(menu(QStringLiteral("file")), &QMenu::aboutToShow, this, guarded(QStringLiteral("File"), [this] { updateFileMenu(); }));
    connect(menu(QStringLiteral("window")), &QMenu::aboutToShow, this,
            guarded(QStringLiteral("Window"), [this] { refreshWindowMenu(); }));
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MainFrame::showActiveDocumentState);
    m_windowMenu = std::make_unique<WindowMenu>(*menu(QStringLiteral("window")));

    FontBoxes &boxes = *m_fontBoxes;
    const QString font = fontNameBox->toolTip(), size = fontSizeBox->toolTip();
    connect(fontNameBox, &DropDownList::choiceChanged, this, guarded(font, [&boxes] { boxes.fontNameChanged(); }));
    connect(fontNameBox, &DropDownList::chosen, this, guarded(font, [&boxes] { boxes.fontNameChosen(); }));
    connect(fontNameBox, &DropDownList::characterTyped, this,
            [this, font, &boxes](int key) { guarded(font, [&boxes, key] { boxes.fontNameKeyPress(key); })(); });
    connect(fontSizeBox, &DropDownList::choiceChanged, this, guarded(size, [&boxes] { boxes.fontSizeChanged(); }));
    connect(fontSizeBox, &DropDownList::chosen, this, guarded(size, [&boxes] { boxes.fontSizeChosen(); }));
    connect(fontSizeBox, &DropDownList::characterTyped, this,
            [this, size, &boxes](int key) { guarded(size, [&boxes, key] { boxes.fontSizeKeyPress(key); })(); });
}

// ---- Lookups ------------------------------------------------------------------------------------

QAction *MainFrame::menuItem(const QString &name) const
{
    const QList<QAction *> all = findChildren<QAction *>(name);
    for (QAction *action : all)
        if (qobject_cast<QMenu *>(action->parent()) || action->menu())
            return action;
    if (QMenu *m = menu(name))
        return m->menuAction();
    throw Failure(QStringLiteral("No menu item %1").arg(name));
}

QMenu *MainFrame::menu(const QString &name) const
{
    return menuBar()->findChild<QMenu *>(name);
}

DocumentWindow *MainFrame::activeDocument() const
{
    QMdiSubWindow *sub = mdiArea->currentSubWindow();
    return sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
}

FormattingIndicators &MainFrame::indicators() { return *m_indicators; }

void MainFrame::fileUsed(const QString &path) { m_recentFiles->add(path); }

QRect MainFrame::documentArea() const
{
    return QRect(mdiArea->mapToGlobal(QPoint(0, 0)), mdiArea->size());
}

void MainFrame::showStatusNote(const QString &text, int milliseconds) { statusPanels->showMessage(text, milliseconds); }

QList<QMdiSubWindow *> MainFrame::documentWindows() const
{
    QList<QMdiSubWindow *> result;
    const QList<QMdiSubWindow *> all = mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *sub : all)
        if (qobject_cast<DocumentWindow *>(sub->widget()) && !sub->isHidden()) // a closed window is hidden until deleted
            result << sub;
    return result;
}

QList<DocumentWindow *> MainFrame::documents() const
{
    QList<DocumentWindow *> result;
    for (QMdiSubWindow *sub : documentWindows())
        result << qobject_cast<DocumentWindow *>(sub->widget());
    return result;
}

// ---- Start-up and shut-down ---------------------------------------------------------------------

void MainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        guarded(QStringLiteral("Start-up"), [this] { startUp(); })();
        // Copies left by a program that ended without saving are offered once the frame shows its
        // first document.
        QMetaObject::invokeMethod(
            this, guarded(QStringLiteral("Recovery"), [this] { m_recovery->offerLeftCopies(); }), Qt::QueuedConnection);
    }
}

void MainFrame::startUp()
{
    setCursor(Qt::WaitCursor);
    SettingsStore &settings = m_services.settings;
    QAction *statusbar = menuItem(QStringLiteral("Statusbar"));

    QString shown = QStringLiteral("True");
    skipOnFailure([&] {
        shown = settings.setting(QStringLiteral("sb"), QStringLiteral("ch"),
                                    statusbar->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    });
    skipOnFailure([&] { statusbar->setChecked(!lowerRebar->isHidden() && !statusPanels->isHidden()); });
    skipOnFailure([&] {
        if (shown == QLatin1String("True")) {
            lowerRebar->show();
            statusPanels->show();
            statusbar->setChecked(true);
        } else if (shown == QLatin1String("False")) {
            lowerRebar->hide();
            statusPanels->hide();
            statusbar->setChecked(false);
        }
    });
    skipOnFailure([&] {
        for (const QString &family : FontFamilies::screen())
            fontNameBox->addEntry(family);
    });
    skipOnFailure([&] {
        for (int size = 10; size <= 72; ++size)
            fontSizeBox->addEntry(QString::number(size));
    });
    skipOnFailure([&] { m_indicators->showFontName(QStringLiteral("Times New Roman")); });
    skipOnFailure([&] { fontSizeBox->setText(QStringLiteral("12")); });
    // The frame puts the standard toolbar first in its tab order.
    skipOnFailure([&] { standardToolbar->setProperty("TabIndex", 0); });

    if (m_commandLineFiles.isEmpty()) {
        m_documentCounter = 1;
        newDocument();
        skipOnFailure([&] { currentDocument().doc = 0; });
    } else {
        for (const QString &argument : std::as_const(m_commandLineFiles))
            loadCommandLineFile(argument);
    }
    unsetCursor();

    if (m_services.appFolder.find(QStringLiteral("tipofday.txt")).isEmpty())
        m_services.dialogs.message({QStringLiteral("Unable to find tips of the day text document !"),
                                    QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                                   this);
}

void MainFrame::loadCommandLineFile(const QString &argument)
{
    // The platform hands the path over already split and unquoted; a pair of enclosing double
    // quotes, if one is still there, is removed.
    QString path = argument;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    newDocument();
    skipOnFailure([&] {
        DocumentWindow &form = currentDocument();
        form.doc = 0;
        // A file that does not exist yet is the window's file all the same: a save creates it. One
        // that exists but cannot be read, or holds no document, is reported and never becomes
        // what a save writes over.
        const bool missing = WholeFile::isMissing(path);
        const bool read = m_fileCommands->loaded(*form.surface, path);
        if (!read && !missing) {
            form.setWindowTitle(QStringLiteral("Document ") + QString::number(m_documentCounter++));
            return;
        }
        form.setWindowTitle(path);
        form.surface->setFileName(path);
        form.doc = 0;
        if (read)
            fileUsed(path);
    });
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    if (!closeDocuments()) {
        event->ignore();
        return;
    }
    writeSettings();
    m_recovery->frameClosed();
    event->accept();
}

bool MainFrame::closeDocuments()
{
    // Each document window is asked in turn; a Cancel keeps it and the frame open.
    for (QMdiSubWindow *sub : documentWindows())
        if (!sub->close())
            return false;
    return true;
}

void MainFrame::endedBySystem()
{
    m_recovery->writeAllNow();
    if (m_loaded)
        writeSettings();
    QCoreApplication::exit(0);
}

bool MainFrame::saveSession(bool allowedToAsk)
{
    // The session ends the program itself, afterwards (or goes on, when someone cancels).
    if (!allowedToAsk) {
        m_recovery->writeAllNow();
        return true;
    }
    if (!closeDocuments())
        return false;
    writeSettings();
    m_recovery->frameClosed();
    return true;
}

void MainFrame::commitDataRequest(QSessionManager &manager)
{
    if (!saveSession(manager.allowsInteraction()))
        manager.cancel();
}

void MainFrame::writeSettings()
{
    SettingsStore &settings = m_services.settings;
    stopAtFirstFailure([&] {
        settings.saveSetting(QStringLiteral("font"), QStringLiteral("name"), fontNameBox->text());
        settings.saveSetting(QStringLiteral("fonte"), QStringLiteral("size"), fontSizeBox->text());
        settings.saveSetting(QStringLiteral("sb"), QStringLiteral("ch"),
                             menuItem(QStringLiteral("Statusbar"))->isChecked() ? QStringLiteral("True")
                                                                                 : QStringLiteral("False"));
    });
}

// ---- Documents ----------------------------------------------------------------------------------

void MainFrame::newDocument()
{
    auto *form = new DocumentWindow(m_services.dialogs, *m_ownSaving);
    form->setWindowTitle(QStringLiteral("Document ") + QString::number(m_documentCounter));
    m_documentCounter += 1;
    followDocument(*form);
    // The new window shows what its own load step sets, not the refresh of an activation.
    const QScopedValueRollback creating(m_creatingDocument, true);
    m_recovery->follow(*form);
    QMdiSubWindow *sub = mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(Icons::application());
    connect(sub, &QObject::destroyed, this, &MainFrame::refreshWindowMenu, Qt::QueuedConnection);
    connect(sub, &QObject::destroyed, this, [] { returnFreedMemory(); }, Qt::QueuedConnection);
    // The size it takes when it is not maximised: the workspace keeps only the active window
    // maximised, and a window left at a sliver's width would lay out its text a word a line.
    const QSize area = mdiArea->viewport()->size();
    sub->resize(std::max(area.width() * 3 / 4, 480), std::max(area.height() * 3 / 4, 320));
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, sub](Qt::WindowStates before, Qt::WindowStates now) {
        if (before.testFlag(Qt::WindowMinimized) && !(now & (Qt::WindowMinimized | Qt::WindowMaximized)))
            WindowArrangement::keepUsable(*mdiArea, *sub);
    });
    sub->showMaximized();
    mdiArea->setActiveSubWindow(sub);
    form->surface->setFocus();
}

// The indicators show the formatting where the document's caret stands: when the window opens,
// and after each change, click and arrow key in it. A change also marks the document changed
// (the window does that itself, first). A file loaded into the active window shows as a click
// would show it.
void MainFrame::followDocument(DocumentWindow &form)
{
    RichTextBox &surface = *form.surface;
    const auto refresh = [this, &surface](const char *rows) {
        FormattingRefresh::run(surface, *this, QString::fromLatin1(rows));
    };
    refresh(FormattingRefresh::WindowLoad);
    m_spelling->follow(surface);
    connect(&surface, &RichTextBox::contentChanged, this, [refresh] { refresh(FormattingRefresh::ContentChange); });
    connect(&surface, &RichTextBox::clicked, this, [refresh] { refresh(FormattingRefresh::MouseClick); });
    connect(&surface, &RichTextBox::keyDown, this, [refresh](int keyCode, int) {
        if (keyCode >= 37 && keyCode <= 40)
            refresh(FormattingRefresh::ArrowKey);
    });
    connect(&surface, &RichTextBox::loaded, this, [this, &form, refresh] {
        if (activeDocument() == &form)
            refresh(FormattingRefresh::MouseClick);
    });
    connect(&surface, &RichTextBox::overwriteChanged, this, &MainFrame::showActiveDocumentState);
    connect(&surface, &QTextEdit::redoAvailable, this, &MainFrame::showActiveDocumentState);
    connect(&surface, &RichTextBox::zoomChanged, this, [this](int percent) {
        showStatusNote(tr("Zoom %1%").arg(percent));
    });
}

// A document window that becomes active shows its formatting at once, as a click in it would.
void MainFrame::showActiveDocument(QMdiSubWindow *sub)
{
    auto *form = sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
    if (form && !m_creatingDocument)
        FormattingRefresh::run(*form->surface, *this, QString::fromLatin1(FormattingRefresh::MouseClick));
}

// The "INS" panel and "&Redo" follow the active document: its typing mode and its Undo history.
void MainFrame::showActiveDocumentState()
{
    const DocumentWindow *form = activeDocument();
    statusPanels->setInsertMode(!form || !form->surface->overwriteMode());
    m_editCommands->refreshRedo();
}

void MainFrame::closeActiveDocument() { mdiArea->closeActiveSubWindow(); }

void MainFrame::newFile()
{
    newDocument();
    skipOnFailure([&] { currentDocument().surface->setSelectionBullet(false); });
    skipOnFailure([&] { currentDocument().doc = 0; });
    menuItem(QStringLiteral("bs"))->setChecked(false);
}

void MainFrame::newWindow() { newDocument(); }

void MainFrame::refreshWindowMenu()
{
    if (m_windowMenu)
        m_windowMenu->refresh(*mdiArea, documentWindows());
}

// ---- Window arrangement -------------------------------------------------------------------------

void MainFrame::arrange(int arrangement)
{
    switch (arrangement) {
    case 0: WindowArrangement::cascade(*mdiArea, documentWindows()); break;
    case 1: WindowArrangement::tile(*mdiArea, documentWindows(), WindowArrangement::Tiling::Horizontal); break;
    case 2: WindowArrangement::tile(*mdiArea, documentWindows(), WindowArrangement::Tiling::Vertical); break;
    case 3: WindowArrangement::arrangeIcons(*mdiArea, documentWindows()); break;
    default: break;
    }
}

void MainFrame::minimizeAll() { WindowArrangement::minimizeAll(*mdiArea, documentWindows()); }

void MainFrame::restoreAll() { WindowArrangement::restoreAll(*mdiArea, documentWindows()); }

// ---- Frame commands -----------------------------------------------------------------------------

void MainFrame::toggleStatusBar()
{
    QAction *statusbar = menuItem(QStringLiteral("Statusbar"));
    if (!statusPanels->isHidden() && !lowerRebar->isHidden()) {
        lowerRebar->hide();
        statusPanels->hide();
        statusbar->setChecked(false);
    } else {
        statusbar->setChecked(true);
        lowerRebar->show();
        statusPanels->show();
    }
}

void MainFrame::updateFileMenu()
{
    const bool open = activeDocument() != nullptr;
    for (const char *name : {"save", "saveas", "closea"})
        menuItem(QString::fromLatin1(name))->setEnabled(open);
}

void MainFrame::exitProgram() { close(); }

void MainFrame::runStandardButton(QAction *button)
{
    // A failure that escapes the command ends the click quietly; the toolbar stays usable.
    guarded(button->toolTip(), [&] { skipOnFailure([&] { standardToolbar->runHandler(button); }); })();
}

void MainFrame::runFormattingButton(QAction *button)
{
    guarded(button->toolTip(), [&] { formattingToolbar->runHandler(button); })();
}

void MainFrame::pictureStartTimeout() { m_pictureStartTimer->stop(); }

void MainFrame::pictureEndTimeout()
{
    skipOnFailure([&] { activeSurface().setSelectionText(QString()); });
    m_pictureEndTimer->stop();
}

// ---- Drops --------------------------------------------------------------------------------------

void MainFrame::dragEnterEvent(QDragEnterEvent *event) { m_fileCommands->dragOverFrame(event); }
void MainFrame::dragMoveEvent(QDragMoveEvent *event) { m_fileCommands->dragOverFrame(event); }
void MainFrame::dropEvent(QDropEvent *event)
{
    guarded(QStringLiteral("Dropped files"), [&] { m_fileCommands->dropOnFrame(event); })();
}
