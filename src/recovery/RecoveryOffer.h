#pragma once
#include "recovery/OrphanCopies.h"

#include <QString>
#include <functional>

class DocumentWindow;
class RecoveryFolder;
class Workspace;

// The question at start-up when programs that are gone left recovery copies behind. "Recover"
// opens a window for each copy, with its old caption and file name, marked changed, and the copy
// becomes that window's own; "Discard" deletes them; closing the box keeps them for the next start.
// A copy that cannot be read is reported by name and kept; the others are still recovered.
class RecoveryOffer
{
public:
    // `folder` is this program's own; `adopt` makes the moved copy the window's own.
    using Adopt = std::function<void(DocumentWindow &form, const QString &copy)>;
    RecoveryOffer(Workspace &workspace, RecoveryFolder &folder);

    void run(const Adopt &adopt);

    static QString question(qsizetype copies);

private:
    void recover(const OrphanCopies::Copy &copy, const Adopt &adopt);
    void reportUnreadable(const OrphanCopies::Copy &copy, const QString &reason);

    Workspace &m_workspace;
    RecoveryFolder &m_folder;
};
