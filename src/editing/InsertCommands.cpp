#include "editing/InsertCommands.h"
#include "content/PictureFile.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/SymbolsWindow.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QTimer>

namespace {

// The locale's long time format without its time-zone field.
QString longTimeFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && ch == QLatin1Char('t'))
            continue;
        result += ch;
    }
    return result.trimmed();
}

} // namespace

InsertCommands::InsertCommands(Workspace &workspace) : m_workspace(workspace)
{
    const auto on = [&](const char *name, void (InsertCommands::*handler)()) {
        workspace.onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("dt", &InsertCommands::insertDateTime);
    on("picturea", &InsertCommands::insertPictures);
    on("fgsdgfdg", &InsertCommands::showSymbols);
    on("dfgfdgdf", &InsertCommands::insertTextFiles);
    on("table", &InsertCommands::insertTable);
    connect(workspace.menu(QStringLiteral("insert")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Insert"), [this] { updateInsertMenu(); }));
}

RichTextBox &InsertCommands::activeSurface() const
{
    return m_workspace.activeSurface();
}

void InsertCommands::updateInsertMenu()
{
    const bool open = m_workspace.activeDocument() != nullptr;
    m_workspace.menuItem(QStringLiteral("dt"))->setEnabled(open);
    m_workspace.menuItem(QStringLiteral("picturea"))->setEnabled(open);
}

QString InsertCommands::dateTimeText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.date(), QLocale::ShortFormat) + QStringLiteral(" / ")
         + locale.toString(moment.time(), longTimeFormat(locale));
}

void InsertCommands::insertDateTime()
{
    skipOnFailure([&] { activeSurface().setSelectionText(dateTimeText(QDateTime::currentDateTime(), QLocale::system())); });
}

void InsertCommands::insertPictures()
{
    m_workspace.pictureStartTimer().start();
    // Nothing in the document or on the clipboard changes until the picture has loaded: a Cancel
    // or a file that is not a picture leaves both as they were.
    stopAtFirstFailure([&] {
        CommonDialog &dialog = m_workspace.commonDialogs().pictureAndPrintDialog;
        dialog.dialogTitle = QStringLiteral("Insert Picture");
        dialog.filter = QStringLiteral("All Image Files|*.gif;*.jpg;*.bmp");
        dialog.showOpen(&m_workspace.window()); // Cancel is a failure for this instance
        const PictureFile picture = PictureFile::load(dialog.fileName);
        RichTextBox &box = activeSurface();
        QGuiApplication::clipboard()->setImage(picture.image);
        box.insertPicture(picture.image, picture.original, picture.type);
        m_workspace.pictureEndTimer().start();
    });
}

void InsertCommands::showSymbols()
{
    m_symbols.open([&] { return new SymbolsWindow(m_workspace); });
}

void InsertCommands::insertTextFiles()
{
    stopAtFirstFailure([&] {
        CommonDialog &dialog = m_workspace.commonDialogs().textFileDialog;
        dialog.dialogTitle = QStringLiteral("Insert text files");
        dialog.filter = QStringLiteral("Text file (*.txt)|*.txt");
        if (!dialog.showOpen(&m_workspace.window()))
            return;
        const QString text = PlainText::decode(WholeFile::read(dialog.fileName));
        activeSurface().setSelectionText(text); // line breaks become paragraph breaks
    });
}

void InsertCommands::insertTable()
{
    if (!m_workspace.activeDocument())
        return;
    Services &services = m_workspace.services();
    const QString path = services.appFolder.find(QStringLiteral("table.rtf"));
    if (path.isEmpty()) {
        services.dialogs.message({QStringLiteral("Table file not able to find !"), QStringLiteral("Scrivlo"),
                                  Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                                 &m_workspace.window());
        return;
    }
    // The template goes in as the table it describes, not as its markup.
    stopAtFirstFailure([&] { activeSurface().insertRichText(WholeFile::read(path)); });
}
