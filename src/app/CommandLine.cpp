#include "app/CommandLine.h"

namespace {

bool isOneOf(const QString &argument, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        if (argument == QLatin1String(name))
            return true;
    return false;
}

// "--outdir DIR" and "--outdir=DIR" alike.
bool isOption(const QString &argument, const char *name)
{
    const QLatin1String option(name);
    return argument == option || (argument.startsWith(option) && argument.mid(option.size()).startsWith(u'='));
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, bool qtOptionsPossible)
{
    CommandLine result;
    bool converting = false;
    bool conversionOptions = false;
    QString unknown;
    bool optionsEnded = false;
    for (const QString &argument : arguments.mid(1)) {
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            result.files << argument;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (isOneOf(argument, {"--help", "-h"})) {
            result.action = Action::Help;
            return result;
        } else if (argument == u"--version") {
            if (result.action != Action::Help)
                result.action = Action::Version;
        } else if (isOption(argument, "--convert-to")) {
            converting = true;
        } else if (isOption(argument, "--outdir") || argument == u"--headless") {
            conversionOptions = true;
        } else if (argument.startsWith(u"--") || !qtOptionsPossible) {
            if (unknown.isEmpty())
                unknown = argument;
        }
    }
    if (result.action == Action::Version)
        return result;
    if (converting) {
        result.action = Action::Convert; // its own options and files are for ConvertMode to read
        return result;
    }
    if (!unknown.isEmpty()) {
        result.action = Action::Error;
        result.error = QStringLiteral("unknown option \"%1\"").arg(unknown);
    } else if (conversionOptions) {
        result.action = Action::Error;
        result.error = QStringLiteral("--outdir and --headless go with --convert-to");
    }
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: scrivlo [FILE...]\n"
        "       scrivlo --convert-to txt|rtf|pdf|docx|odt [--outdir DIR] FILE...\n"
        "       scrivlo --help | --version\n"
        "\n"
        "A word processor for rich text, Word (.docx) and OpenDocument (.odt) documents. Each FILE\n"
        "opens in a document window of its own; without one, an empty document opens.\n"
        "\n"
        "Options:\n"
        "  --convert-to FORMAT  convert each FILE to FORMAT (txt, rtf, pdf, docx or odt) and exit,\n"
        "                       without opening a window\n"
        "  --outdir DIR         with --convert-to: write the converted files in DIR\n"
        "  --headless           accepted with --convert-to and ignored\n"
        "  -h, --help           print this usage and exit\n"
        "  --version            print the name and version and exit\n"
        "  --                   what follows are file names, even when they begin with \"-\"\n"
        "\n"
        "Converting, a file is known by its content, not its name. A file that cannot be read,\n"
        "or that holds no document Scrivlo opens (a picture, an old binary .doc, a spreadsheet),\n"
        "is reported on standard error and nothing is written for it; the others are converted.\n"
        "Two inputs that would give the same output name: the first is converted, the second is\n"
        "refused, so no output of the run is replaced.\n"
        "\n"
        "Exit status: 0 when every file was converted (or the window ran); 1 when a file could\n"
        "not be converted, or there is no display for the window; 2 for a wrong command line.\n");
}

QString CommandLine::versionText() { return QStringLiteral("Scrivlo " SCRIVLO_VERSION); }
