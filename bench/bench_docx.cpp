// Reads a Word file into a QTextDocument with no view, takes its plain text, then writes it back
// as Word, and prints the wall and processor time of each step (best of N runs); the processor
// time is the figure to trust on a busy machine.
//   bench_docx FILE.docx [RUNS]
// (The whole conversion to text against soffice: bench/convert_vs_soffice.sh.)
#include "BenchDocument.h"
#include "docx/DocxCodec.h"
#include "zip/PackageError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

QByteArray readAll(const char *path)
{
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString path = benchDocument(argc, argv, "bench_docx FILE.docx [RUNS]");
    if (path.isEmpty())
        return 2;
    const QByteArray bytes = readAll(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    qint64 bestRead = std::numeric_limits<qint64>::max(), bestText = bestRead, bestWrite = bestRead;
    double cpuRead = 1e9, cpuText = 1e9, cpuWrite = 1e9;
    qsizetype written = 0;
    int blocks = 0, characters = 0;
    for (int i = 0; i < runs; ++i) {
        QTextDocument doc;
        QElapsedTimer t;
        t.start();
        std::clock_t c = std::clock();
        try {
            DocxCodec::read(bytes, doc);
        } catch (const PackageError &e) {
            std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(e.reason()));
            return 1;
        }
        bestRead = qMin(bestRead, t.elapsed());
        cpuRead = qMin(cpuRead, 1000.0 * double(std::clock() - c) / CLOCKS_PER_SEC);
        t.restart();
        c = std::clock();
        characters = int(doc.toPlainText().size());
        bestText = qMin(bestText, t.elapsed());
        cpuText = qMin(cpuText, 1000.0 * double(std::clock() - c) / CLOCKS_PER_SEC);
        t.restart();
        c = std::clock();
        written = DocxCodec::write(doc).size();
        bestWrite = qMin(bestWrite, t.elapsed());
        cpuWrite = qMin(cpuWrite, 1000.0 * double(std::clock() - c) / CLOCKS_PER_SEC);
        blocks = doc.blockCount();
    }
    std::printf("%s: %lld bytes, %d paragraphs, %d characters\n", argv[1], (long long)bytes.size(), blocks, characters);
    std::printf("read  %lld ms wall, %.0f ms processor (best of %d)\n", (long long)bestRead, cpuRead, runs);
    std::printf("text  %lld ms wall, %.0f ms processor\n", (long long)bestText, cpuText);
    std::printf("write %lld ms wall, %.0f ms processor (best of %d), %lld bytes\n", (long long)bestWrite, cpuWrite,
                runs, (long long)written);
    return 0;
}
