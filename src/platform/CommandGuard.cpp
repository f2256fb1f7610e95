#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"

#include <cstdio>
#include <exception>

namespace {

void report(Dialogs &dialogs, QWidget *parent, const QString &command, const QString &reason)
{
    const QString text = CommandGuard::message(command, reason);
    try {
        dialogs.message({text, QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Critical, 0}, parent);
    } catch (...) {
        // Not even the box could be shown (memory ran out, say): the report goes to the terminal.
        std::fprintf(stderr, "scrivlo: %s\n", text.toLocal8Bit().constData());
    }
}

} // namespace

bool CommandGuard::run(Dialogs &dialogs, QWidget *parent, const QString &command, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &failure) {
        report(dialogs, parent, command, QString::fromUtf8(failure.what()));
    } catch (...) {
        report(dialogs, parent, command, QString());
    }
    return false;
}

QString CommandGuard::message(const QString &command, const QString &reason)
{
    const QString why = reason.trimmed().isEmpty() ? QStringLiteral("an unexpected error") : reason.trimmed();
    return QStringLiteral("\"%1\" could not be completed: %2\n\nYour documents are still open.").arg(command, why);
}
