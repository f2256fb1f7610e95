#include "recovery/DocumentRecovery.h"
#include "document/DocumentWindow.h"
#include "platform/Failure.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryOffer.h"
#include "recovery/RecoveryWriter.h"
#include "recovery/WindowRecovery.h"
#include "workspace/Workspace.h"

DocumentRecovery::DocumentRecovery(Workspace &workspace, const QString &root, RecoveryDelays delays)
    : m_workspace(workspace), m_root(root), m_delays(delays)
{
    if (root.isEmpty())
        return;
    try {
        m_folder = std::make_unique<RecoveryFolder>(root);
        m_writer = std::make_unique<RecoveryWriter>(*m_folder);
    } catch (const Failure &failure) {
        qWarning("scrivlo: no recovery copies will be kept: %s", failure.what());
        m_folder.reset();
    }
}

DocumentRecovery::~DocumentRecovery()
{
    // Ending with the program, after its copies were written for the next start: they stay.
    if (m_folder && m_folder->kept())
        for (auto &[form, recovery] : m_windows)
            recovery->keepCopy();
    m_windows.clear(); // their removals go through the writer
    m_writer.reset(); // waits for every write and removal
}

QString DocumentRecovery::folder() const { return m_folder ? m_folder->path() : QString(); }

void DocumentRecovery::follow(DocumentWindow &form)
{
    if (!m_folder)
        return;
    m_windows[&form] = std::make_unique<WindowRecovery>(form, *m_folder, *m_writer, m_delays);
    connect(&form, &QObject::destroyed, this, &DocumentRecovery::forget);
}

void DocumentRecovery::forget(const QObject *form) { m_windows.erase(form); }

WindowRecovery *DocumentRecovery::recoveryOf(const DocumentWindow &form) const
{
    const auto found = m_windows.find(&form);
    return found == m_windows.end() ? nullptr : found->second.get();
}

void DocumentRecovery::offerLeftCopies()
{
    if (!m_folder)
        return;
    RecoveryOffer(m_workspace, *m_folder).run([this](DocumentWindow &form, const QString &copy) {
        if (WindowRecovery *recovery = recoveryOf(form))
            recovery->adopt(copy);
    });
}

void DocumentRecovery::writeAllNow()
{
    if (!m_folder)
        return;
    m_writer->waitForAll(); // a copy still being written must not land on top of the newer one
    for (DocumentWindow *form : m_workspace.documents())
        if (WindowRecovery *recovery = recoveryOf(*form))
            recovery->writeAtOnce();
    m_folder->keep();
}

void DocumentRecovery::frameClosed()
{
    if (!m_folder)
        return;
    m_writer->waitForAll();
    m_folder->release();
}
