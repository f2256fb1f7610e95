#pragma once
#include <QString>
#include <QStringList>

// Where the program's own files (tipofday.txt, table.rtf) are looked up: the executable's folder,
// then <executable's folder>/../share/scrivlo, then the data folder of the build's install prefix.
// Tests give their own folder.
class AppFolder
{
public:
    explicit AppFolder(QStringList folders) : m_folders(std::move(folders)) {}
    static AppFolder forRunningProgram();
    // The folders of a program installed in programDir (<prefix>/bin for an install).
    static AppFolder forProgramIn(const QString &programDir);

    // The program's folder: the first of the folders.
    QString path() const { return m_folders.value(0); }
    // The full path of the named file in the first folder that has it (case-insensitively),
    // or empty when none has it.
    QString find(const QString &fileName) const;

private:
    QStringList m_folders;
};
