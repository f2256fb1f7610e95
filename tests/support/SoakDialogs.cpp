#include "support/SoakDialogs.h"

#include <QDir>

Dialogs::Answer SoakDialogs::message(const Message &ask, QWidget *)
{
    if (ask.text.startsWith(QLatin1String("Do you want to save changes to ")))
        return std::array{Answer::Yes, Answer::Yes, Answer::No, Answer::No, Answer::Cancel}[pick(5)];
    if (ask.text.endsWith(QLatin1String(" has been changed by another program. Save anyway?"))) {
        const Answer answer = pick(2) ? Answer::Yes : Answer::No;
        lastOverwriteRefused = answer == Answer::No;
        return answer;
    }
    if (ask.title == QLatin1String("Warning :")) {
        const Answer answer = std::array{Answer::Abort, Answer::Retry, Answer::Ignore}[pick(3)];
        lastWarningAborted = answer == Answer::Abort;
        return answer;
    }
    if (ask.text.startsWith(QLatin1String("Cannot ")))
        failures << ask.text;
    if (ask.buttons == Buttons::AbortRetryIgnore)
        return Answer::Abort; // the print warning: nothing is printed in a walk
    return Answer::OK;
}

std::optional<QString> SoakDialogs::file(const FileAsk &ask, QWidget *)
{
    if (ask.mode == FileMode::Save) {
        lastSaveAnswer.clear();
        lastWarningAborted = false;
        if (pick(8) == 0)
            return std::nullopt;
        static const char *const extensions[] = {"rtf", "rtf", "doc", "txt", "log", "xyz"};
        lastSaveAnswer = QDir(m_folder).filePath(
            QStringLiteral("walk%1.%2").arg(++m_fileNumber).arg(QLatin1String(extensions[pick(6)])));
        return lastSaveAnswer;
    }
    // Open (and the insert dialogs): one of the saved files, or cancel.
    if (savedFiles.isEmpty() || pick(6) == 0)
        return std::nullopt;
    return savedFiles.value(pick(int(savedFiles.size())));
}

std::optional<QColor> SoakDialogs::color(const ColorAsk &, QWidget *)
{
    if (pick(4) == 0)
        return std::nullopt;
    return QColor(pick(256), pick(256), pick(256));
}

bool SoakDialogs::print(const PrintAsk &, QWidget *)
{
    return false;
}
