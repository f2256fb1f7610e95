#pragma once
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

struct RecoveryEntry;

// The folder of one running program's recovery copies, `<root>/<name>/`, locked by
// `<root>/<name>.lock` for as long as the program runs, so that no other program takes the copies
// while their owner is alive (the lock is taken before the folder exists). Each copy is an index,
// `<copy>.json`, and the document, `<copy>.rtf` or `<copy>.txt`, each written whole or not at
// all. The folder goes with the program when it ends normally; kept, it stays for the next start.
class RecoveryFolder
{
public:
    // Makes and locks a folder of its own under `root`; throws Failure when it cannot.
    explicit RecoveryFolder(const QString &root);
    ~RecoveryFolder();

    QString path() const { return m_path; }
    // A name for a new copy, unused in this folder.
    QString newCopyName();
    // Writes the document, then the index. Throws Failure when either cannot be written.
    void write(const QString &copy, const RecoveryEntry &entry, const QByteArray &document) const;
    // Removes the copy, index first.
    void remove(const QString &copy) const;
    // Moves a copy from another folder into this one under the name `copy`; false when it could not.
    bool adopt(const QString &fromFolder, const QString &fromCopy, const QString &copy) const;
    // The copies stay when the program ends (it is ended by the system, or by the session).
    void keep() { m_keep = true; }
    // The copies go again when the program ends.
    void release() { m_keep = false; }
    bool kept() const { return m_keep; }

    // The layout, shared with the copies other programs left behind.
    static QString lockPathOf(const QString &folder);
    static QString indexPath(const QString &folder, const QString &copy);
    static QString documentPath(const QString &folder, const QString &copy, const QString &suffix);
    // The names of the copies in a folder, oldest first: every name that has an index or a document.
    static QStringList copiesIn(const QString &folder);
    static void removeCopy(const QString &folder, const QString &copy);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    int m_lastCopy = 0;
    bool m_keep = false;
};
