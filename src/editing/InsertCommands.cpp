#include "editing/InsertCommands.h"
#include "content/PictureFile.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "editing/Form5.h"
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
    on("dt", &InsertCommands::dt_Click);
    on("picturea", &InsertCommands::picturea_Click);
    on("fgsdgfdg", &InsertCommands::fgsdgfdg_Click);
    on("dfgfdgdf", &InsertCommands::dfgfdgdf_Click);
    on("table", &InsertCommands::table_Click);
    connect(workspace.menu(QStringLiteral("insert")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Insert"), [this] { insert_Click(); }));
}

RichTextBox &InsertCommands::activeSurface() const
{
    return m_workspace.activeSurface();
}

void InsertCommands::insert_Click()
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

void InsertCommands::dt_Click()
{
    skipOnFailure([&] { activeSurface().setSelText(dateTimeText(QDateTime::currentDateTime(), QLocale::system())); });
}

void InsertCommands::picturea_Click()
{
    m_workspace.Timer1().start();
    // Nothing in the document or on the clipboard changes until the picture has loaded: a Cancel
    // or a file that is not a picture leaves both as they were.
    stopAtFirstFailure([&] {
        CommonDialog &cd2 = m_workspace.commonDialogs().cd2;
        cd2.DialogTitle = QStringLiteral("Insert Picture");
        cd2.Filter = QStringLiteral("All Image Files|*.gif;*.jpg;*.bmp");
        cd2.ShowOpen(&m_workspace.window()); // Cancel is a failure for this instance
        const PictureFile picture = PictureFile::load(cd2.FileName);
        RichTextBox &box = activeSurface();
        QGuiApplication::clipboard()->setImage(picture.image);
        box.insertPicture(picture.image, picture.original, picture.type);
        m_workspace.Timer2().start();
    });
}

void InsertCommands::fgsdgfdg_Click()
{
    m_form5.open([&] { return new Form5(m_workspace); });
}

void InsertCommands::dfgfdgdf_Click()
{
    stopAtFirstFailure([&] {
        CommonDialog &cd3 = m_workspace.commonDialogs().cd3;
        cd3.DialogTitle = QStringLiteral("Insert text files");
        cd3.Filter = QStringLiteral("Text file (*.txt)|*.txt");
        if (!cd3.ShowOpen(&m_workspace.window()))
            return;
        const QString text = PlainText::decode(WholeFile::read(cd3.FileName));
        activeSurface().setSelText(text); // line breaks become paragraph breaks
    });
}

void InsertCommands::table_Click()
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
