#pragma once
#include "platform/Dialogs.h"

#include <QStringList>
#include <random>

// Answers every dialog of a random walk from the walk's own random numbers, the way a user might:
// save prompts get Yes, No or Cancel, save dialogs a new file in the walk's folder, open dialogs
// one of the files saved so far.
class SoakDialogs : public Dialogs
{
public:
    SoakDialogs(std::mt19937 &random, const QString &folder) : m_random(random), m_folder(folder) {}

    // Files the walk has saved into, so Open can choose among them.
    QStringList savedFiles;
    // Reports of failed reads and writes; a walk over good files and folders must have none.
    QStringList failures;
    // The path the last save dialog answered, or empty when it was cancelled.
    QString lastSaveAnswer;
    bool lastWarningAborted = false;
    // The last question about a file another window of the walk changed since was answered No.
    bool lastOverwriteRefused = false;

    Answer message(const Message &ask, QWidget *parent) override;
    std::optional<QString> file(const FileAsk &ask, QWidget *parent) override;
    std::optional<QColor> color(const ColorAsk &ask, QWidget *parent) override;
    bool print(const PrintAsk &ask, QWidget *parent) override;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::mt19937 &m_random;
    QString m_folder;
    int m_fileNumber = 0;
};
