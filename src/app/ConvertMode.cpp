#include "app/ConvertMode.h"
#include "content/DocumentFile.h"
#include "content/PackageDocument.h"
#include "content/PlainText.h"
#include "document/DefaultPage.h"
#include "document/RichTextBox.h"
#include "editing/PrintCommand.h"
#include "platform/Failure.h"
#include "rtf/RtfCodec.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

namespace {

void printLine(FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stream);
    std::fflush(stream);
}

} // namespace

int ConvertMode::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption convertTo(QStringLiteral("convert-to"), QString(), QStringLiteral("format"));
    const QCommandLineOption outDir(QStringLiteral("outdir"), QString(), QStringLiteral("dir"));
    // Accepted and ignored, for scripts written for other word processors: this mode is headless.
    const QCommandLineOption headless(QStringLiteral("headless"));
    parser.addOption(convertTo);
    parser.addOption(outDir);
    parser.addOption(headless);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments)) {
        printLine(stderr, QStringLiteral("scrivlo: %1").arg(parser.errorText()));
        return 2;
    }
    Target target = Target::Text;
    if (!targetNamed(parser.value(convertTo), target)) {
        printLine(stderr, QStringLiteral("scrivlo: cannot convert to \"%1\": the formats are txt, rtf, pdf, docx and odt")
                              .arg(parser.value(convertTo)));
        return 2;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        printLine(stderr, QStringLiteral("usage: scrivlo --convert-to txt|rtf|pdf|docx|odt [--outdir DIR] FILE..."));
        return 2;
    }
    const QString dir = parser.isSet(outDir) ? parser.value(outDir) : QDir::currentPath();
    if (!QDir().mkpath(dir)) {
        printLine(stderr, QStringLiteral("scrivlo: cannot create the folder %1").arg(dir));
        return 1;
    }
    bool allConverted = true;
    QHash<QString, QString> written; // output -> the input it was made from, in this run
    for (const QString &file : files)
        allConverted = convert(file, target, dir, written) && allConverted;
    return allConverted ? 0 : 1;
}

bool ConvertMode::targetNamed(const QString &name, Target &target)
{
    // Only the format's name counts; a filter after a colon, as in "txt:Text", is ignored.
    const QString format = name.section(u':', 0, 0).toLower();
    if (format == u"txt")
        target = Target::Text;
    else if (format == u"rtf")
        target = Target::Rtf;
    else if (format == u"pdf")
        target = Target::Pdf;
    else if (format == u"docx")
        target = Target::Word;
    else if (format == u"odt")
        target = Target::OpenDocument;
    else
        return false;
    return true;
}

QString ConvertMode::suffixOf(Target target)
{
    switch (target) {
    case Target::Text: return QStringLiteral("txt");
    case Target::Rtf: return QStringLiteral("rtf");
    case Target::Pdf: return QStringLiteral("pdf");
    case Target::Word: return QStringLiteral("docx");
    case Target::OpenDocument: return QStringLiteral("odt");
    }
    return QString();
}

bool ConvertMode::convert(const QString &input, Target target, const QString &outDir, QHash<QString, QString> &written)
{
    const QFileInfo in(input);
    const QString output = QDir::cleanPath(QDir(outDir).absoluteFilePath(in.completeBaseName() + u'.' + suffixOf(target)));
    QString error;
    QTextDocument doc;
    if (written.contains(output)) {
        // Two inputs of one name: the first one's result is kept.
        error = QStringLiteral("\"%1\" was already written from \"%2\" in this run").arg(output, written.value(output));
    } else if (QFileInfo(output).exists() && QFileInfo(output).canonicalFilePath() == in.canonicalFilePath()) {
        error = QStringLiteral("the output would replace the file itself");
    } else if (target == Target::Pdf ? printToPdf(input, output, error)
                                     : load(input, doc, error) && save(doc, target, output, error)) {
        written.insert(output, input);
        printLine(stdout, QStringLiteral("convert %1 -> %2").arg(in.absoluteFilePath(), output));
        return true;
    }
    printLine(stderr, QStringLiteral("scrivlo: cannot convert \"%1\": %2").arg(input, error));
    return false;
}

// Reads a file as the editing surface does: known by its content; refused when it holds no
// document, and then nothing is written for it.
bool ConvertMode::load(const QString &path, QTextDocument &doc, QString &error)
{
    try {
        const DocumentFile file = DocumentFile::read(path);
        if (file.isRich())
            file.readInto(doc);
        else
            doc.setPlainText(file.text());
    } catch (const Failure &failure) {
        error = failure.reason();
        return false;
    }
    return true;
}

bool ConvertMode::save(const QTextDocument &doc, Target target, const QString &path, QString &error)
{
    QByteArray bytes;
    switch (target) {
    case Target::Text:
        bytes = PlainText::ofDocument(doc);
        break;
    case Target::Rtf:
        bytes = RtfCodec::write(doc, DefaultPage::forPrinting());
        break;
    case Target::Word:
    case Target::OpenDocument:
        try {
            bytes = PackageDocument::write(doc, target == Target::Word ? DocumentFormat::Word : DocumentFormat::OpenDocument, path);
        } catch (const Failure &failure) {
            error = failure.reason();
            return false;
        }
        break;
    case Target::Pdf:
        error = QStringLiteral("a PDF is printed, not written");
        return false;
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}

// A PDF is the document printed whole, the way the Print command prints it, from a surface that
// has read the file as a document window would.
bool ConvertMode::printToPdf(const QString &input, const QString &output, QString &error)
{
    RichTextBox box;
    const bool done = stopAtFirstFailure([&] {
        try {
            box.loadFile(input, RichTextBox::RichText);
        } catch (const Failure &failure) {
            error = failure.reason();
            throw;
        }
        try {
            PrintCommand::printWholeDocumentToPdf(box, output);
        } catch (const Failure &failure) {
            error = failure.message();
            throw;
        }
    });
    return done;
}
