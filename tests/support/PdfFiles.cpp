#include "support/PdfFiles.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace PdfFiles {

namespace {

QByteArray run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

std::function<void(QPrinter &)> printerTo(const QString &path)
{
    return [path](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
}

QStringList pages(const QString &pdf)
{
    QStringList result = QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"})).split(QLatin1Char('\f'));
    if (!result.isEmpty() && result.constLast().trimmed().isEmpty())
        result.removeLast();
    return result;
}

QImage firstPage(const QString &pdf, const QString &prefix)
{
    run("pdftoppm", {"-png", "-r", "20", "-f", "1", "-l", "1", "-singlefile", pdf, prefix});
    return QImage(prefix + ".png"); // none when it could not be made
}

QList<Word> words(const QString &pdf)
{
    const QString html = QString::fromUtf8(run("pdftotext", {"-bbox", pdf, "-"}));
    static const QRegularExpression tag(
        R"re(<page width="([\d.]+)"|<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> result;
    int page = 0;
    double pageWidth = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(1) > 0) {
            ++page;
            pageWidth = match.captured(1).toDouble();
        } else {
            result.append({match.captured(4), page, match.captured(2).toDouble(), match.captured(3).toDouble(), pageWidth});
        }
    }
    return result;
}

} // namespace PdfFiles
