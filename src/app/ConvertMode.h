#pragma once
#include <QString>
#include <QStringList>

class QTextDocument;

// The headless conversion mode: scrivlo --convert-to txt|rtf|pdf [--outdir DIR] FILE...
// Each file is read as the editing surface reads it and written to DIR/<name>.<target>. It shows
// no window and writes no settings.
class ConvertMode
{
public:
    // arguments as QCoreApplication::arguments(); returns the process exit code: 0 when every
    // file was converted, 1 when one failed, 2 for a command line it cannot run.
    static int run(const QStringList &arguments);

private:
    enum class Target { Text, Rtf, Pdf };

    static bool targetNamed(const QString &name, Target &target);
    static QString suffixOf(Target target);
    static bool convert(const QString &input, Target target, const QString &outDir);
    static bool load(const QString &path, QTextDocument &doc, QString &error);
    static bool save(const QTextDocument &doc, Target target, const QString &path, QString &error);
    static bool printToPdf(const QString &input, const QString &output, QString &error);
};
