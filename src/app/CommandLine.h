#pragma once
#include <QString>
#include <QStringList>

// What the program is asked to do by its command line: open files in windows, convert files
// (ConvertMode reads the rest), print its usage or its version, or refuse a wrong command line.
// Options begin with "--" ("-h" too); "--" ends them, so that a file name may begin with "-".
class CommandLine
{
public:
    enum class Action { Open, Convert, Help, Version, Error };

    // `arguments` as main receives them, the program's name first. Before the windowing system
    // has taken its own options ("-style", "-platform" …), set `qtOptionsPossible`: words with one
    // dash are then left alone; after it, they are unknown options.
    static CommandLine parse(const QStringList &arguments, bool qtOptionsPossible);

    static QString usage();
    static QString versionText(); // "Scrivlo 1.0.0"

    Action action = Action::Open;
    QStringList files; // the files to open
    QString error;     // for Error: what is wrong, in one line
};
