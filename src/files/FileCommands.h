#pragma once
#include <QObject>
#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class RichTextBox;
class Workspace;

// The File menu's Open, Save, Save As and Close, and files dropped on the frame.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    explicit FileCommands(Workspace &workspace);

    void open();
    // Opens a file as Open does once the file is chosen, captioned with its name. When it cannot
    // be read, it is reported, the window made for it goes again, and the result is false.
    bool openRecent(const QString &path);
    void save();
    void saveAs();
    void close();

    // Files dragged over and dropped on the frame's workspace.
    void dragOverFrame(QDragMoveEvent *event);
    void dropOnFrame(QDropEvent *event);

    // The local files a drag carries, in list order; empty when it carries anything else.
    static QStringList droppedFiles(const QMimeData *data);

private:
    bool loaded(RichTextBox &box, const QString &path);
    // Open's steps after the dialog: a new window, the starting font, the file; false when the
    // file could not be read (the window stays, empty).
    bool openInNewWindow(const QString &path, const QString &caption);
    void openDroppedFiles(const QStringList &paths);
    void openDroppedFile(const QString &path);
    void restoreSavedFont();

    Workspace &m_workspace;
};
