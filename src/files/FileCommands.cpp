#include "files/FileCommands.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "files/DocumentSave.h"
#include "platform/DiskStamp.h"
#include "platform/Failure.h"
#include "platform/FileFailureBox.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

FileCommands::FileCommands(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("open"), this, &FileCommands::open);
    workspace.onTriggered(QStringLiteral("save"), this, &FileCommands::save);
    workspace.onTriggered(QStringLiteral("saveas"), this, &FileCommands::saveAs);
    workspace.onTriggered(QStringLiteral("closea"), this, &FileCommands::close);
}

// ---- Open ---------------------------------------------------------------------------------------

void FileCommands::open()
{
    stopAtFirstFailure([&] {
        CommonDialog &dialog = m_workspace.commonDialogs().fileDialog;
        dialog.dialogTitle = QStringLiteral("Open document");
        dialog.cancelError = true;
        dialog.filter = QStringLiteral("All supported text files|*.txt;*.rtf;*.ini;*.doc;*.docx;*.odt|");
        dialog.showOpen(&m_workspace.window());
        openInNewWindow(dialog.fileName, dialog.fileTitle);
    });
}

bool FileCommands::openRecent(const QString &path)
{
    bool opened = false;
    stopAtFirstFailure([&] {
        opened = openInNewWindow(path, QFileInfo(path).fileName());
        if (!opened)
            m_workspace.closeActiveDocument(); // nothing was typed into it: it closes silently
    });
    return opened;
}

bool FileCommands::openInNewWindow(const QString &path, const QString &caption)
{
    m_workspace.newDocument();
    DocumentWindow &form = m_workspace.currentDocument();
    RichTextBox &box = *form.surface;
    box.setSelectionFontName(QStringLiteral("Times New Roman"));
    box.setSelectionFontSize(QStringLiteral("12"));
    box.setSelectionBold(false);
    box.setSelectionItalic(false);
    box.setSelectionUnderline(false);
    box.setSelectionStrikeOut(false);
    if (!loaded(box, path))
        return false;
    form.setWindowTitle(caption);
    box.setFileName(path);
    box.setSelectionStart(0);
    // The box names the font the text starts in, or the family drawn in its place.
    skipOnFailure([&] { m_workspace.indicators().showFontName(QStringLiteral("Times New Roman")); });
    form.doc = 0;
    m_workspace.fileUsed(path);
    return true;
}

// Reads the file into the surface, rich text when its first bytes say so, plain text otherwise.
// A file that cannot be read is reported and leaves the surface as it was. The file's stamp is
// kept, so that a save can tell whether another program has changed it since.
bool FileCommands::loaded(RichTextBox &box, const QString &path)
{
    try {
        box.loadFile(path, RichTextBox::RichText);
        DiskStamp::remember(box, path);
        if (box.loadedFileEndedEarly())
            m_workspace.showStatusNote(QStringLiteral("\"%1\" ends early: part of it may be missing")
                                           .arg(QFileInfo(path).fileName()),
                                       10000);
        return true;
    } catch (const Failure &failure) {
        FileFailureBox::show(m_workspace.services().dialogs, failure, &m_workspace.window());
        return false;
    }
}

// ---- Save, Save As, Close -----------------------------------------------------------------------

void FileCommands::save()
{
    // With no document window open there is nothing to save.
    stopAtFirstFailure([&] {
        DocumentWindow &form = m_workspace.currentDocument();
        if (DocumentSave::save(form, m_workspace.commonDialogs().fileDialog))
            m_workspace.fileUsed(form.surface->fileName());
    });
}

void FileCommands::saveAs()
{
    stopAtFirstFailure([&] {
        DocumentWindow &form = m_workspace.currentDocument();
        if (DocumentSave::saveAs(form, m_workspace.commonDialogs().fileDialog))
            m_workspace.fileUsed(form.surface->fileName());
    });
}

void FileCommands::close()
{
    // The window's own close request asks whether to save.
    if (m_workspace.activeDocument())
        m_workspace.closeActiveDocument();
}

// ---- Drops --------------------------------------------------------------------------------------

QStringList FileCommands::droppedFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    QStringList paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

void FileCommands::dragOverFrame(QDragMoveEvent *event)
{
    // Only a list of local files may be dropped; anything else shows the refused pointer.
    if (droppedFiles(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void FileCommands::dropOnFrame(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The files are opened once the drop is over, so that a message about one of them does not
    // keep the program the files came from waiting for the drop to finish.
    QMetaObject::invokeMethod(
        this, m_workspace.guarded(QStringLiteral("Dropped files"), [this, paths] { openDroppedFiles(paths); }),
        Qt::QueuedConnection);
}

void FileCommands::openDroppedFiles(const QStringList &paths)
{
    // A file that cannot be read is reported; the others are still opened.
    for (const QString &path : paths)
        openDroppedFile(path);
    stopAtFirstFailure([&] { restoreSavedFont(); });
}

void FileCommands::openDroppedFile(const QString &path)
{
    stopAtFirstFailure([&] {
        m_workspace.newDocument();
        DocumentWindow &form = m_workspace.currentDocument();
        if (!loaded(*form.surface, path))
            return;
        form.setWindowTitle(path);
        form.surface->setFileName(path);
        form.doc = 0;
        m_workspace.fileUsed(path);
    });
}

// The font name and size saved at the last shut-down go back into the boxes, and from there onto
// the last opened document's selection.
void FileCommands::restoreSavedFont()
{
    SettingsStore &settings = m_workspace.services().settings;
    FormattingIndicators &boxes = m_workspace.indicators();
    // A font that is not installed shows as the family drawn in its place, so that the steps go on.
    boxes.showFontName(QStringLiteral("Times New Roman"));
    boxes.setFontSize(QStringLiteral("12"));
    boxes.showFontName(settings.setting(QStringLiteral("font"), QStringLiteral("name"), boxes.fontName()));
    boxes.setFontSize(settings.setting(QStringLiteral("fonte"), QStringLiteral("size"), boxes.fontSize()));
    boxes.chooseFontName();
    boxes.chooseFontSize();
}
