#include "app/MDIForm1.h"
#include "app/FrameIndicators.h"
#include "app/FrameSpelling.h"
#include "app/FrameStatusBar.h"
#include "app/MenuTable.h"
#include "app/WindowArrangement.h"
#include "app/WindowMenu.h"
#include "document/Form3.h"
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

MDIForm1::MDIForm1(Services &services, const QStringList &commandLineFiles)
    : m_services(services), m_dialogs(services.dialogs), m_commandLineFiles(commandLineFiles)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Scrivlo"));
    setWindowIcon(Icons::application());
    setAcceptDrops(true);
    // Cancelling a dialog of this instance is reported to its commands as a failure.
    m_dialogs.cd2.CancelError = true;

    buildMenus();
    createCommands();
    buildRebars();
    StatusBar1 = new FrameStatusBar(this);
    setStatusBar(StatusBar1);
    buildTimers();
    connectFrameCommands();
    m_spelling = std::make_unique<FrameSpelling>(services.spellChecker, services.settings, services.dialogs, *this);
    m_spelling->addMenuItems(*menu(QStringLiteral("view")));
}

MDIForm1::~MDIForm1()
{
    // The windows going away must not rebuild the menus of a frame that is being destroyed, nor
    // report their Undo history to its commands.
    disconnect(mdiArea, nullptr, this, nullptr);
    const QList<RichTextBox *> surfaces = mdiArea->findChildren<RichTextBox *>();
    for (RichTextBox *surface : surfaces)
        disconnect(surface, nullptr, this, nullptr);
}

// ---- Building the frame -------------------------------------------------------------------------

void MDIForm1::buildMenus()
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

void MDIForm1::buildRebars()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The upper rebar: band 1 the standard toolbar, band 2 the font boxes and the formatting toolbar.
    CoolBar2 = new QFrame(central);
    CoolBar2->setObjectName(QStringLiteral("CoolBar2"));
    CoolBar2->setFrameShape(QFrame::StyledPanel);
    auto *bands = new QVBoxLayout(CoolBar2);
    bands->setContentsMargins(2, 1, 2, 1);
    bands->setSpacing(0);
    Toolbar1 = new KeyedToolbar(QStringLiteral("Toolbar1"), CoolBar2);
    Toolbar1->addButtons(standardButtons());
    connect(Toolbar1, &KeyedToolbar::ButtonClick, this, &MDIForm1::Toolbar1_ButtonClick);
    bands->addWidget(Toolbar1);

    Frame1 = new QWidget(CoolBar2);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *band2 = new QHBoxLayout(Frame1);
    band2->setContentsMargins(4, 1, 0, 1);
    band2->setSpacing(4);
    Combo1 = new DropDownList(QStringLiteral("Combo1"), true, Frame1);
    Combo1->setFixedSize(145, 23);
    Combo1->setToolTip(tr("Font"));
    Combo2 = new DropDownList(QStringLiteral("Combo2"), false, Frame1);
    Combo2->setFixedSize(64, 23);
    Combo2->setToolTip(tr("Font size"));
    Toolbar2 = new KeyedToolbar(QStringLiteral("Toolbar2"), Frame1);
    Toolbar2->addButtons(formattingButtons());
    addFormattingShortcuts();
    connect(Toolbar2, &KeyedToolbar::ButtonClick, this, &MDIForm1::Toolbar2_ButtonClick);
    auto *alignment = new QActionGroup(Toolbar2); // at most one alignment button is pressed
    for (const char *key : {"e", "f", "g"})
        alignment->addAction(Toolbar2->button(QString::fromLatin1(key)));
    m_indicators = std::make_unique<FrameIndicators>(*Combo1, *Combo2, *Toolbar2);
    band2->addWidget(Combo1);
    band2->addWidget(Combo2);
    band2->addWidget(Toolbar2);
    band2->addStretch(1);
    bands->addWidget(Frame1);

    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::refreshWindowMenu);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::showActiveDocument);

    // The lower rebar carries the notice label.
    CoolBar1 = new QFrame(central);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFrameShape(QFrame::StyledPanel);
    auto *lower = new QHBoxLayout(CoolBar1);
    lower->setContentsMargins(2, 1, 2, 1);
    Frame2 = new QWidget(CoolBar1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *noticeRow = new QHBoxLayout(Frame2);
    noticeRow->setContentsMargins(4, 0, 4, 0);
    Label1 = new QLabel(tr("Scrivlo — rich text for everyday writing. Documents are saved as Rich Text Format or plain text."), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    noticeRow->addWidget(Label1);
    lower->addWidget(Frame2);

    column->addWidget(CoolBar2);
    column->addWidget(mdiArea, 1);
    column->addWidget(CoolBar1);
    setCentralWidget(central);
}

std::vector<ToolbarButton> MDIForm1::standardButtons()
{
    // "i" and the keyless separators do nothing.
    return {
        {"a", "New document", "document-new", false, [this] { new_Click(); }},
        {"b", "Retrieve a document", "document-open", false, [this] { m_fileCommands->open_Click(); }},
        {"c", "Save document", "document-save", false, [this] { m_fileCommands->save_Click(); }},
        ToolbarButton::separator(),
        {"d", "Print document wihout configuration", "document-print", false, [this] { m_printCommand->print_Click(); }},
        {"e", "Full - screen mode", "view-fullscreen", false, [this] { m_sideWindows->fsm_Click(); }},
        ToolbarButton::separator(),
        {"f", "Cut", "edit-cut", false, [this] { m_editCommands->cut_Click(); }},
        {"g", "Copy", "edit-copy", false, [this] { m_editCommands->copy_Click(); }},
        {"h", "Paste", "edit-paste", false, [this] { m_editCommands->paste_Click(); }},
        ToolbarButton::separator("i"),
        {"j", "Undo", "edit-undo", false, [this] { m_editCommands->undo_Click(); }},
        ToolbarButton::separator(),
        {"k", "Font color", "format-text-color", false, [this] { m_formatMenu->fc_Click(); }},
        ToolbarButton::separator(),
    };
}

std::vector<ToolbarButton> MDIForm1::formattingButtons()
{
    FormatToolbar &format = *m_formatToolbar;
    return {
        {"a", "Bold", "format-text-bold", true, [&format] { format.bold_Click(); }},
        {"b", "Italic", "format-text-italic", true, [&format] { format.italic_Click(); }},
        {"c", "Underline", "format-text-underline", true, [&format] { format.underline_Click(); }},
        {"d", "Strike through", "format-text-strikethrough", true, [&format] { format.strikethrough_Click(); }},
        ToolbarButton::separator(),
        {"e", "Left Alignment", "format-justify-left", true, [&format] { format.left_Click(); }},
        {"f", "Center", "format-justify-center", true, [&format] { format.center_Click(); }},
        {"g", "Right Alignment", "format-justify-right", true, [&format] { format.right_Click(); }},
        ToolbarButton::separator(),
        {"h", "Bullet Style", "format-list-unordered", false, [&format] { format.bs_Click(); }},
    };
}

// Keyboard formatting: each shortcut clicks its formatting button, which runs the button's command.
// Ctrl+I stays with Insert Pictures, so italic is Ctrl+Shift+I.
void MDIForm1::addFormattingShortcuts()
{
    const std::pair<const char *, const char *> shortcuts[] = {
        {"a", "Ctrl+B"}, {"b", "Ctrl+Shift+I"}, {"c", "Ctrl+U"}, {"e", "Ctrl+L"}, {"f", "Ctrl+E"}, {"g", "Ctrl+R"},
    };
    for (const auto &[key, shortcut] : shortcuts)
        Toolbar2->button(QString::fromLatin1(key))->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
}

void MDIForm1::buildTimers()
{
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(1);
    connect(m_timer1, &QTimer::timeout, this, guarded(QStringLiteral("Timer1"), [this] { Timer1_Timer(); }));
    connect(m_timer2, &QTimer::timeout, this, guarded(QStringLiteral("Timer2"), [this] { Timer2_Timer(); }));
}

void MDIForm1::createCommands()
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

void MDIForm1::connectFrameCommands()
{
    const auto on = [this](const char *name, void (MDIForm1::*handler)()) {
        onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("new", &MDIForm1::new_Click);
    on("nw", &MDIForm1::nw_Click);
    on("miall", &MDIForm1::miall_Click);
    on("resall", &MDIForm1::resall_Click);
    on("Statusbar", &MDIForm1::Statusbar_Click);
    on("exit", &MDIForm1::exit_Click);
    onTriggered(QStringLiteral("cascade"), this, [this] { Arrange(0); });
    onTriggered(QStringLiteral("th"), this, [this] { Arrange(1); });
    onTriggered(QStringLiteral("til"), this, [this] { Arrange(2); });
    onTriggered(QStringLiteral("arricos"), this, [this] { Arrange(3); });
    connect(menu(QStringLiteral("file")), &QMenu::aboutToShow, this, guarded(QStringLiteral("File"), [this] { file_Click(); }));
    connect(menu(QStringLiteral("window")), &QMenu::aboutToShow, this,
            guarded(QStringLiteral("Window"), [this] { refreshWindowMenu(); }));
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::showActiveDocumentState);
    m_windowMenu = std::make_unique<WindowMenu>(*menu(QStringLiteral("window")));

    FontBoxes &boxes = *m_fontBoxes;
    const QString font = Combo1->toolTip(), size = Combo2->toolTip();
    connect(Combo1, &DropDownList::Change, this, guarded(font, [&boxes] { boxes.Combo1_Change(); }));
    connect(Combo1, &DropDownList::Click, this, guarded(font, [&boxes] { boxes.Combo1_Click(); }));
    connect(Combo1, &DropDownList::KeyPress, this,
            [this, font, &boxes](int key) { guarded(font, [&boxes, key] { boxes.Combo1_KeyPress(key); })(); });
    connect(Combo2, &DropDownList::Change, this, guarded(size, [&boxes] { boxes.Combo2_Change(); }));
    connect(Combo2, &DropDownList::Click, this, guarded(size, [&boxes] { boxes.Combo2_Click(); }));
    connect(Combo2, &DropDownList::KeyPress, this,
            [this, size, &boxes](int key) { guarded(size, [&boxes, key] { boxes.Combo2_KeyPress(key); })(); });
}

// ---- Lookups ------------------------------------------------------------------------------------

QAction *MDIForm1::menuItem(const QString &name) const
{
    const QList<QAction *> all = findChildren<QAction *>(name);
    for (QAction *action : all)
        if (qobject_cast<QMenu *>(action->parent()) || action->menu())
            return action;
    if (QMenu *m = menu(name))
        return m->menuAction();
    throw Failure(QStringLiteral("No menu item %1").arg(name));
}

QMenu *MDIForm1::menu(const QString &name) const
{
    return menuBar()->findChild<QMenu *>(name);
}

Form3 *MDIForm1::activeDocument() const
{
    QMdiSubWindow *sub = mdiArea->currentSubWindow();
    return sub ? qobject_cast<Form3 *>(sub->widget()) : nullptr;
}

FormattingIndicators &MDIForm1::indicators() { return *m_indicators; }

void MDIForm1::fileUsed(const QString &path) { m_recentFiles->add(path); }

void MDIForm1::showStatusNote(const QString &text) { StatusBar1->showMessage(text, 3000); }

QList<QMdiSubWindow *> MDIForm1::documentWindows() const
{
    QList<QMdiSubWindow *> result;
    const QList<QMdiSubWindow *> all = mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *sub : all)
        if (qobject_cast<Form3 *>(sub->widget()) && !sub->isHidden()) // a closed window is hidden until deleted
            result << sub;
    return result;
}

QList<Form3 *> MDIForm1::documents() const
{
    QList<Form3 *> result;
    for (QMdiSubWindow *sub : documentWindows())
        result << qobject_cast<Form3 *>(sub->widget());
    return result;
}

// ---- Start-up and shut-down ---------------------------------------------------------------------

void MDIForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        guarded(QStringLiteral("Start-up"), [this] { MDIForm_Load(); })();
        // Copies left by a program that ended without saving are offered once the frame shows its
        // first document.
        QMetaObject::invokeMethod(
            this, guarded(QStringLiteral("Recovery"), [this] { m_recovery->offerLeftCopies(); }), Qt::QueuedConnection);
    }
}

void MDIForm1::MDIForm_Load()
{
    setCursor(Qt::WaitCursor);
    SettingsStore &settings = m_services.settings;
    QAction *statusbar = menuItem(QStringLiteral("Statusbar"));

    QString shown = QStringLiteral("True");
    skipOnFailure([&] {
        shown = settings.GetSetting(QStringLiteral("sb"), QStringLiteral("ch"),
                                    statusbar->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    });
    skipOnFailure([&] { statusbar->setChecked(!CoolBar1->isHidden() && !StatusBar1->isHidden()); });
    skipOnFailure([&] {
        if (shown == QLatin1String("True")) {
            CoolBar1->show();
            StatusBar1->show();
            statusbar->setChecked(true);
        } else if (shown == QLatin1String("False")) {
            CoolBar1->hide();
            StatusBar1->hide();
            statusbar->setChecked(false);
        }
    });
    skipOnFailure([&] {
        for (const QString &family : FontFamilies::screen())
            Combo1->AddItem(family);
    });
    skipOnFailure([&] {
        for (int size = 10; size <= 72; ++size)
            Combo2->AddItem(QString::number(size));
    });
    skipOnFailure([&] { m_indicators->showFontName(QStringLiteral("Times New Roman")); });
    skipOnFailure([&] { Combo2->setText(QStringLiteral("12")); });
    // The frame puts the standard toolbar first in its tab order.
    skipOnFailure([&] { Toolbar1->setProperty("TabIndex", 0); });

    if (m_commandLineFiles.isEmpty()) {
        m_documentCounter = 1;
        NewDocument();
        skipOnFailure([&] { ActiveForm().doc = 0; });
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

void MDIForm1::loadCommandLineFile(const QString &argument)
{
    // The platform hands the path over already split and unquoted; a pair of enclosing double
    // quotes, if one is still there, is removed.
    QString path = argument;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    NewDocument();
    skipOnFailure([&] {
        Form3 &form = ActiveForm();
        form.doc = 0;
        try {
            form.RichTextBox1->LoadFile(path, RichTextBox::RichText);
            fileUsed(path);
            DiskStamp::remember(*form.RichTextBox1, path);
        } catch (const Failure &failure) {
            // The window stays, named after the file, so that a save creates it.
            FileFailureBox::show(m_services.dialogs, failure, this);
        }
        form.setWindowTitle(path);
        form.RichTextBox1->setFileName(path);
        form.doc = 0;
    });
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    if (!closeDocuments()) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    m_recovery->frameClosed();
    event->accept();
}

bool MDIForm1::closeDocuments()
{
    // Each document window is asked in turn; a Cancel keeps it and the frame open.
    for (QMdiSubWindow *sub : documentWindows())
        if (!sub->close())
            return false;
    return true;
}

void MDIForm1::endedBySystem()
{
    m_recovery->writeAllNow();
    if (m_loaded)
        MDIForm_Unload();
    QCoreApplication::exit(0);
}

bool MDIForm1::saveSession(bool allowedToAsk)
{
    // The session ends the program itself, afterwards (or goes on, when someone cancels).
    if (!allowedToAsk) {
        m_recovery->writeAllNow();
        return true;
    }
    if (!closeDocuments())
        return false;
    MDIForm_Unload();
    m_recovery->frameClosed();
    return true;
}

void MDIForm1::commitDataRequest(QSessionManager &manager)
{
    if (!saveSession(manager.allowsInteraction()))
        manager.cancel();
}

void MDIForm1::MDIForm_Unload()
{
    SettingsStore &settings = m_services.settings;
    stopAtFirstFailure([&] {
        settings.SaveSetting(QStringLiteral("font"), QStringLiteral("name"), Combo1->Text());
        settings.SaveSetting(QStringLiteral("fonte"), QStringLiteral("size"), Combo2->Text());
        settings.SaveSetting(QStringLiteral("sb"), QStringLiteral("ch"),
                             menuItem(QStringLiteral("Statusbar"))->isChecked() ? QStringLiteral("True")
                                                                                 : QStringLiteral("False"));
    });
}

// ---- Documents ----------------------------------------------------------------------------------

void MDIForm1::NewDocument()
{
    auto *form = new Form3(m_services.dialogs, *m_ownSaving);
    form->setWindowTitle(QStringLiteral("Document ") + QString::number(m_documentCounter));
    m_documentCounter += 1;
    followDocument(*form);
    // The new window shows what its own load step sets, not the refresh of an activation.
    const QScopedValueRollback creating(m_creatingDocument, true);
    m_recovery->follow(*form);
    QMdiSubWindow *sub = mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(Icons::application());
    connect(sub, &QObject::destroyed, this, &MDIForm1::refreshWindowMenu, Qt::QueuedConnection);
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
    form->RichTextBox1->setFocus();
}

// The indicators show the formatting where the document's caret stands: when the window opens,
// and after each change, click and arrow key in it. A change also marks the document changed
// (the window does that itself, first). A file loaded into the active window shows as a click
// would show it.
void MDIForm1::followDocument(Form3 &form)
{
    RichTextBox &surface = *form.RichTextBox1;
    const auto refresh = [this, &surface](const char *rows) {
        FormattingRefresh::run(surface, *this, QString::fromLatin1(rows));
    };
    refresh(FormattingRefresh::WindowLoad);
    m_spelling->follow(surface);
    connect(&surface, &RichTextBox::Change, this, [refresh] { refresh(FormattingRefresh::ContentChange); });
    connect(&surface, &RichTextBox::Click, this, [refresh] { refresh(FormattingRefresh::MouseClick); });
    connect(&surface, &RichTextBox::KeyDown, this, [refresh](int keyCode, int) {
        if (keyCode >= 37 && keyCode <= 40)
            refresh(FormattingRefresh::ArrowKey);
    });
    connect(&surface, &RichTextBox::Loaded, this, [this, &form, refresh] {
        if (activeDocument() == &form)
            refresh(FormattingRefresh::MouseClick);
    });
    connect(&surface, &RichTextBox::overwriteChanged, this, &MDIForm1::showActiveDocumentState);
    connect(&surface, &QTextEdit::redoAvailable, this, &MDIForm1::showActiveDocumentState);
    connect(&surface, &RichTextBox::zoomChanged, this, [this](int percent) {
        showStatusNote(tr("Zoom %1%").arg(percent));
    });
}

// A document window that becomes active shows its formatting at once, as a click in it would.
void MDIForm1::showActiveDocument(QMdiSubWindow *sub)
{
    auto *form = sub ? qobject_cast<Form3 *>(sub->widget()) : nullptr;
    if (form && !m_creatingDocument)
        FormattingRefresh::run(*form->RichTextBox1, *this, QString::fromLatin1(FormattingRefresh::MouseClick));
}

// The "INS" panel and "&Redo" follow the active document: its typing mode and its Undo history.
void MDIForm1::showActiveDocumentState()
{
    const Form3 *form = activeDocument();
    StatusBar1->setInsertMode(!form || !form->RichTextBox1->overwriteMode());
    m_editCommands->refreshRedo();
}

void MDIForm1::closeActiveDocument() { mdiArea->closeActiveSubWindow(); }

void MDIForm1::new_Click()
{
    NewDocument();
    skipOnFailure([&] { ActiveForm().RichTextBox1->setSelBullet(false); });
    skipOnFailure([&] { ActiveForm().doc = 0; });
    menuItem(QStringLiteral("bs"))->setChecked(false);
}

void MDIForm1::nw_Click() { NewDocument(); }

void MDIForm1::refreshWindowMenu()
{
    if (m_windowMenu)
        m_windowMenu->refresh(*mdiArea, documentWindows());
}

// ---- Window arrangement -------------------------------------------------------------------------

void MDIForm1::Arrange(int arrangement)
{
    switch (arrangement) {
    case 0: WindowArrangement::cascade(*mdiArea, documentWindows()); break;
    case 1: WindowArrangement::tile(*mdiArea, documentWindows(), WindowArrangement::Tiling::Horizontal); break;
    case 2: WindowArrangement::tile(*mdiArea, documentWindows(), WindowArrangement::Tiling::Vertical); break;
    case 3: WindowArrangement::arrangeIcons(*mdiArea, documentWindows()); break;
    default: break;
    }
}

void MDIForm1::miall_Click() { WindowArrangement::minimizeAll(*mdiArea, documentWindows()); }

void MDIForm1::resall_Click() { WindowArrangement::restoreAll(*mdiArea, documentWindows()); }

// ---- Frame commands -----------------------------------------------------------------------------

void MDIForm1::Statusbar_Click()
{
    QAction *statusbar = menuItem(QStringLiteral("Statusbar"));
    if (!StatusBar1->isHidden() && !CoolBar1->isHidden()) {
        CoolBar1->hide();
        StatusBar1->hide();
        statusbar->setChecked(false);
    } else {
        statusbar->setChecked(true);
        CoolBar1->show();
        StatusBar1->show();
    }
}

void MDIForm1::file_Click()
{
    const bool open = activeDocument() != nullptr;
    for (const char *name : {"save", "saveas", "closea"})
        menuItem(QString::fromLatin1(name))->setEnabled(open);
}

void MDIForm1::exit_Click() { close(); }

void MDIForm1::Toolbar1_ButtonClick(QAction *button)
{
    // A failure that escapes the command ends the click quietly; the toolbar stays usable.
    guarded(button->toolTip(), [&] { skipOnFailure([&] { Toolbar1->runHandler(button); }); })();
}

void MDIForm1::Toolbar2_ButtonClick(QAction *button)
{
    guarded(button->toolTip(), [&] { Toolbar2->runHandler(button); })();
}

void MDIForm1::Timer1_Timer() { m_timer1->stop(); }

void MDIForm1::Timer2_Timer()
{
    skipOnFailure([&] { activeSurface().setSelText(QString()); });
    m_timer2->stop();
}

// ---- Drops --------------------------------------------------------------------------------------

void MDIForm1::dragEnterEvent(QDragEnterEvent *event) { m_fileCommands->MDIForm_OLEDragOver(event); }
void MDIForm1::dragMoveEvent(QDragMoveEvent *event) { m_fileCommands->MDIForm_OLEDragOver(event); }
void MDIForm1::dropEvent(QDropEvent *event)
{
    guarded(QStringLiteral("Dropped files"), [&] { m_fileCommands->MDIForm_OLEDragDrop(event); })();
}
