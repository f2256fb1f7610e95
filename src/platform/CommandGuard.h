#pragma once
#include <QString>
#include <functional>

class Dialogs;
class QWidget;

// The guard around every command, toolbar button, timer and drop: an exception that escapes the
// handler (a Failure left unhandled, a std::exception from a library, anything else) is shown in
// a critical box titled "Scrivlo" that names what failed, and the program goes on with every
// window and its content as it was.
class CommandGuard
{
public:
    // Runs the handler; false when an exception escaped it.
    static bool run(Dialogs &dialogs, QWidget *parent, const QString &command, const std::function<void()> &handler);
    // The box's text for a command that failed for the given reason.
    static QString message(const QString &command, const QString &reason);
};
