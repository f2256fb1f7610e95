#pragma once
#include "recovery/RecoveryEntry.h"

#include <QList>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// The recovery copies that programs which are gone left behind: the folders under the recovery
// root whose lock no running program holds (a second program never takes the copies of one that
// is still running). Each such folder stays locked by this object while the program decides what
// to do with its copies; the locks go with it.
class OrphanCopies
{
public:
    struct Copy {
        QString folder;
        QString name;
        std::optional<RecoveryEntry> entry; // nothing when there is no index, or a damaged one
        bool damagedIndex = false;
        QString document; // the document file, or empty when there is none
        // How a report names the copy: its window's caption, else its file's name.
        QString label() const;
    };

    // Looks under `root` for the folders of programs that are gone, all but `ownFolder`.
    OrphanCopies(const QString &root, const QString &ownFolder);
    ~OrphanCopies();

    // Program by program, in the order their windows were made.
    const QList<Copy> &copies() const { return m_copies; }
    // The copy's document; throws Failure when it cannot be read (no document, a damaged index).
    static QByteArray read(const Copy &copy);
    // Deletes every copy found, with the folders.
    void discard();
    // Removes the folders left empty (their copies recovered), so they are not looked at again.
    void tidy();

private:
    struct Folder {
        QString path;
        std::unique_ptr<QLockFile> lock;
    };
    void look(const QString &folder);

    std::vector<Folder> m_folders;
    QList<Copy> m_copies;
};
