#include "app/MDIForm1.h"
#include "app/FrameStatusBar.h"
#include "app/Icons.h"
#include "app/MenuTable.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "editing/EditCommands.h"
#include "editing/InsertCommands.h"
#include "editing/PrintCommand.h"
#include "files/FileCommands.h"
#include "files/FileFailureBox.h"
#include "formatting/FontBoxes.h"
#include "formatting/FormatMenu.h"
#include "formatting/FormatToolbar.h"
#include "formatting/StandardToolbar.h"
#include "platform/Dialogs.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "platform/FreedMemory.h"
#include "platform/KeyedToolbar.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "windows/SideWindows.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

MDIForm1::MDIForm1(Services &services, const QString &commandLineFile)
    : cd(services.dialogs), cd2(services.dialogs), cd3(services.dialogs), fontcolor(services.dialogs),
      cd23(services.dialogs), m_services(services), m_commandLineFile(commandLineFile)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Scrivlo"));
    setWindowIcon(Icons::application());
    setAcceptDrops(true);
    // Cancelling a dialog of these two instances is reported to their commands as a failure.
    cd2.CancelError = true;

    buildMenus();
    buildRebars();
    StatusBar1 = new FrameStatusBar(this);
    setStatusBar(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &MDIForm1::Timer2_Timer);

    connectFrameCommands();
    m_fileCommands = new FileCommands(*this);
    m_formatToolbar = new FormatToolbar(*this);
    m_fontBoxes = new FontBoxes(*this);
    m_formatMenu = new FormatMenu(*this);
    m_standardToolbar = new StandardToolbar(*this);
    m_editCommands = new EditCommands(*this);
    m_insertCommands = new InsertCommands(*this);
    m_printCommand = new PrintCommand(*this);
    m_sideWindows = new SideWindows(*this);
}

MDIForm1::~MDIForm1()
{
    // The windows going away must not rebuild the menus of a frame that is being destroyed.
    disconnect(mdiArea, nullptr, this, nullptr);
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
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
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
    buildToolbar1();
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
    buildToolbar2();
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

void MDIForm1::buildToolbar1()
{
    Toolbar1 = new KeyedToolbar(QStringLiteral("Toolbar1"), CoolBar2);
    Toolbar1->addButton(QStringLiteral("a"), QStringLiteral("New document"), Icons::get(QStringLiteral("document-new")), false);
    Toolbar1->addButton(QStringLiteral("b"), QStringLiteral("Retrieve a document"), Icons::get(QStringLiteral("document-open")), false);
    Toolbar1->addButton(QStringLiteral("c"), QStringLiteral("Save document"), Icons::get(QStringLiteral("document-save")), false);
    Toolbar1->addKeyedSeparator();
    Toolbar1->addButton(QStringLiteral("d"), QStringLiteral("Print document wihout configuration"), Icons::get(QStringLiteral("document-print")), false);
    Toolbar1->addButton(QStringLiteral("e"), QStringLiteral("Full - screen mode"), Icons::get(QStringLiteral("view-fullscreen")), false);
    Toolbar1->addKeyedSeparator();
    Toolbar1->addButton(QStringLiteral("f"), QStringLiteral("Cut"), Icons::get(QStringLiteral("edit-cut")), false);
    Toolbar1->addButton(QStringLiteral("g"), QStringLiteral("Copy"), Icons::get(QStringLiteral("edit-copy")), false);
    Toolbar1->addButton(QStringLiteral("h"), QStringLiteral("Paste"), Icons::get(QStringLiteral("edit-paste")), false);
    Toolbar1->addKeyedSeparator(QStringLiteral("i"));
    Toolbar1->addButton(QStringLiteral("j"), QStringLiteral("Undo"), Icons::get(QStringLiteral("edit-undo")), false);
    Toolbar1->addKeyedSeparator();
    Toolbar1->addButton(QStringLiteral("k"), QStringLiteral("Font color"), Icons::get(QStringLiteral("format-text-color")), false);
    Toolbar1->addKeyedSeparator();
}

void MDIForm1::buildToolbar2()
{
    Toolbar2 = new KeyedToolbar(QStringLiteral("Toolbar2"), Frame1);
    Toolbar2->addButton(QStringLiteral("a"), QStringLiteral("Bold"), Icons::get(QStringLiteral("format-text-bold")), true);
    Toolbar2->addButton(QStringLiteral("b"), QStringLiteral("Italic"), Icons::get(QStringLiteral("format-text-italic")), true);
    Toolbar2->addButton(QStringLiteral("c"), QStringLiteral("Underline"), Icons::get(QStringLiteral("format-text-underline")), true);
    Toolbar2->addButton(QStringLiteral("d"), QStringLiteral("Strike through"), Icons::get(QStringLiteral("format-text-strikethrough")), true);
    Toolbar2->addKeyedSeparator();
    Toolbar2->addButton(QStringLiteral("e"), QStringLiteral("Left Alignment"), Icons::get(QStringLiteral("format-justify-left")), true);
    Toolbar2->addButton(QStringLiteral("f"), QStringLiteral("Center"), Icons::get(QStringLiteral("format-justify-center")), true);
    Toolbar2->addButton(QStringLiteral("g"), QStringLiteral("Right Alignment"), Icons::get(QStringLiteral("format-justify-right")), true);
    Toolbar2->addKeyedSeparator();
    Toolbar2->addButton(QStringLiteral("h"), QStringLiteral("Bullet Style"), Icons::get(QStringLiteral("format-list-unordered")), false);
}

void MDIForm1::connectFrameCommands()
{
    const auto on = [this](const char *name, void (MDIForm1::*handler)()) {
        connect(menuItem(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("new", &MDIForm1::new_Click);
    on("nw", &MDIForm1::nw_Click);
    on("miall", &MDIForm1::miall_Click);
    on("resall", &MDIForm1::resall_Click);
    on("Statusbar", &MDIForm1::Statusbar_Click);
    on("exit", &MDIForm1::exit_Click);
    connect(menuItem(QStringLiteral("cascade")), &QAction::triggered, this, [this] { Arrange(0); });
    connect(menuItem(QStringLiteral("th")), &QAction::triggered, this, [this] { Arrange(1); });
    connect(menuItem(QStringLiteral("til")), &QAction::triggered, this, [this] { Arrange(2); });
    connect(menuItem(QStringLiteral("arricos")), &QAction::triggered, this, [this] { Arrange(3); });
    connect(menu(QStringLiteral("file")), &QMenu::aboutToShow, this, &MDIForm1::file_Click);
    connect(menu(QStringLiteral("window")), &QMenu::aboutToShow, this, &MDIForm1::refreshWindowMenu);
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

Form3 &MDIForm1::ActiveForm() const
{
    Form3 *form = activeDocument();
    if (!form)
        throw Failure(QStringLiteral("Object variable not set"));
    return *form;
}

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
        MDIForm_Load();
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
        const QStringList families = QFontDatabase::families();
        for (const QString &family : families)
            if (!family.isEmpty() && !QFontDatabase::isPrivateFamily(family))
                Combo1->AddItem(family);
    });
    skipOnFailure([&] {
        for (int size = 10; size <= 72; ++size)
            Combo2->AddItem(QString::number(size));
    });
    skipOnFailure([&] { Combo1->setText(QStringLiteral("Times New Roman")); });
    skipOnFailure([&] { Combo2->setText(QStringLiteral("12")); });
    // The frame puts the standard toolbar first in its tab order.
    skipOnFailure([&] { Toolbar1->setProperty("TabIndex", 0); });

    if (m_commandLineFile.isEmpty()) {
        documentCounter = 1;
        NewDocument();
        skipOnFailure([&] { ActiveForm().doc = 0; });
    } else {
        loadCommandLineFile();
    }
    unsetCursor();

    if (m_services.appFolder.find(QStringLiteral("tipofday.txt")).isEmpty())
        m_services.dialogs.message({QStringLiteral("Unable to find tips of the day text document !"),
                                    QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                                   this);
}

void MDIForm1::loadCommandLineFile()
{
    // The platform hands the path over already split and unquoted; a pair of enclosing double
    // quotes, if one is still there, is removed.
    QString path = m_commandLineFile;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    NewDocument();
    skipOnFailure([&] {
        Form3 &form = ActiveForm();
        form.doc = 0;
        try {
            form.RichTextBox1->LoadFile(path, RichTextBox::RichText);
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
    // Each document window is asked in turn; a Cancel keeps it and the frame open.
    for (QMdiSubWindow *sub : documentWindows()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    MDIForm_Unload();
    event->accept();
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
    auto *form = new Form3(*this);
    form->setWindowTitle(QStringLiteral("Document ") + QString::number(documentCounter));
    documentCounter += 1;
    QMdiSubWindow *sub = mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(Icons::application());
    connect(sub, &QObject::destroyed, this, &MDIForm1::refreshWindowMenu, Qt::QueuedConnection);
    connect(sub, &QObject::destroyed, this, [] { returnFreedMemory(); }, Qt::QueuedConnection);
    // The size it takes when it is not maximised: the workspace keeps only the active window
    // maximised, and a window left at a sliver's width would lay out its text a word a line.
    const QSize area = mdiArea->viewport()->size();
    sub->resize(std::max(area.width() * 3 / 4, 480), std::max(area.height() * 3 / 4, 320));
    sub->showMaximized();
    mdiArea->setActiveSubWindow(sub);
    form->RichTextBox1->setFocus();
}

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
    QMenu *windowMenu = menu(QStringLiteral("window"));
    // An entry may be rebuilt away while its own click is being handled: delete it later.
    for (QAction *entry : std::as_const(m_windowListEntries)) {
        windowMenu->removeAction(entry);
        entry->deleteLater();
    }
    m_windowListEntries.clear();

    const QList<QMdiSubWindow *> windows = documentWindows();
    if (windows.isEmpty())
        return;
    QAction *separator = windowMenu->addSeparator();
    separator->setObjectName(QStringLiteral("windowList"));
    m_windowListEntries << separator;
    QMdiSubWindow *current = mdiArea->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow *sub : windows) {
        const QString prefix = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QAction *entry = windowMenu->addAction(prefix + sub->widget()->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(sub == current);
        connect(entry, &QAction::triggered, this, [this, sub] {
            if (mdiArea->subWindowList().contains(sub)) {
                mdiArea->setActiveSubWindow(sub);
                sub->widget()->setFocus();
            }
        });
        m_windowListEntries << entry;
        ++number;
    }
}

// ---- Window arrangement -------------------------------------------------------------------------

void MDIForm1::Arrange(int arrangement)
{
    switch (arrangement) {
    case 0: mdiArea->cascadeSubWindows(); break;
    case 1: tile(Qt::Vertical); break;   // one above the other
    case 2: tile(Qt::Horizontal); break; // side by side
    case 3: arrangeIcons(); break;
    default: break;
    }
}

void MDIForm1::tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : documentWindows())
        if (!sub->isMinimized())
            open << sub;
    if (open.isEmpty())
        return;
    const QRect area = mdiArea->viewport()->rect();
    const int n = int(open.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = open[i];
        sub->showNormal();
        if (orientation == Qt::Vertical) {
            const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            sub->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            sub->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void MDIForm1::arrangeIcons()
{
    // Minimised windows are lined up along the bottom of the workspace, left to right.
    const QRect area = mdiArea->viewport()->rect();
    int x = 0, y = area.bottom();
    for (QMdiSubWindow *sub : documentWindows()) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        sub->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void MDIForm1::miall_Click()
{
    // The active window goes last, so that minimising the others does not hand the activation
    // (and with it the maximised state) from window to window.
    QMdiSubWindow *active = mdiArea->currentSubWindow();
    mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    for (QMdiSubWindow *sub : documentWindows())
        if (sub != active)
            skipOnFailure([&] { sub->showMinimized(); });
    if (active)
        active->showMinimized();
    mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
}

void MDIForm1::resall_Click()
{
    // Every window is restored maximised; the workspace shows the active one in front.
    QMdiSubWindow *active = mdiArea->currentSubWindow();
    for (QMdiSubWindow *sub : documentWindows())
        if (sub != active)
            skipOnFailure([&] { sub->showMaximized(); });
    if (active) {
        active->showMaximized();
        mdiArea->setActiveSubWindow(active);
    }
}

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

void MDIForm1::Timer1_Timer() { Timer1->stop(); }

void MDIForm1::Timer2_Timer()
{
    skipOnFailure([&] { ActiveForm().RichTextBox1->setSelText(QString()); });
    Timer2->stop();
}

// ---- Drops --------------------------------------------------------------------------------------

void MDIForm1::dragEnterEvent(QDragEnterEvent *event) { m_fileCommands->MDIForm_OLEDragOver(event); }
void MDIForm1::dragMoveEvent(QDragMoveEvent *event) { m_fileCommands->MDIForm_OLEDragOver(event); }
void MDIForm1::dropEvent(QDropEvent *event) { m_fileCommands->MDIForm_OLEDragDrop(event); }
