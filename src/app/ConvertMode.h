#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

class QTextDocument;

// The headless conversion mode: scrivlo --convert-to txt|rtf|pdf [--outdir DIR] FILE...
// Each file is read as the editing surface reads it and written to DIR/<name>.<target>. A file
// that cannot be read or holds no document is reported and nothing is written for it; an output
// already written in this run is never replaced by a later input of the same name. It shows no
// window and writes no settings.
class ConvertMode
{
public:
    // arguments as QCoreApplication::arguments(); returns the process exit code: 0 when every
    // file was converted, 1 when one failed, 2 for a command line it cannot run.
    static int run(const QStringList &arguments);

private:
    enum class Target { Text, Rtf, Pdf, Word, OpenDocument };

    static bool targetNamed(const QString &name, Target &target);
    static QString suffixOf(Target target);
    static bool convert(const QString &input, Target target, const QString &outDir, QHash<QString, QString> &written);
    static bool load(const QString &path, QTextDocument &doc, QString &error);
    static bool save(const QTextDocument &doc, Target target, const QString &path, QString &error);
    static bool printToPdf(const QString &input, const QString &output, QString &error);
};
