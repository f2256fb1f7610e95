// Reads an OpenDocument text file into a QTextDocument with no view, takes its plain text, then
// writes it back, and prints the wall and processor time of each step (best of N runs); the
// processor time is the figure to trust on a busy machine.
//   bench_odt FILE.odt [RUNS]        all three steps
//   bench_odt --save FILE.odt OUT    one reading and one writing to OUT, for looking at what we write
// (The whole conversion to text against soffice: bench/convert_vs_soffice.sh.)
#include "BenchDocument.h"
#include "odt/OdtCodec.h"
#include "zip/PackageError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

double processorMs(std::clock_t since)
{
    return 1000.0 * double(std::clock() - since) / CLOCKS_PER_SEC;
}

// Reads the file, then writes the document to `out`.
int save(const QString &path, const QString &out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    QTextDocument doc;
    try {
        OdtCodec::read(file.readAll(), doc);
    } catch (const PackageError &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(e.reason()));
        return 1;
    }
    QFile saved(out);
    const QByteArray bytes = OdtCodec::write(doc);
    return saved.open(QIODevice::WriteOnly) && saved.write(bytes) == bytes.size() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 3 && QByteArray(argv[1]) == "--save") {
        QGuiApplication app(argc, argv);
        return save(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    const QString path = benchDocument(argc, argv, "bench_odt FILE.odt [RUNS]");
    if (path.isEmpty())
        return 2;
    QGuiApplication app(argc, argv);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    qint64 bestRead = std::numeric_limits<qint64>::max(), bestText = bestRead, bestWrite = bestRead;
    double cpuRead = 1e9, cpuText = 1e9, cpuWrite = 1e9;
    qsizetype written = 0;
    int blocks = 0, characters = 0;
    try {
        for (int i = 0; i < runs; ++i) {
            QTextDocument doc;
            QElapsedTimer t;
            t.start();
            std::clock_t c = std::clock();
            OdtCodec::read(bytes, doc);
            bestRead = qMin(bestRead, t.elapsed());
            cpuRead = qMin(cpuRead, processorMs(c));
            t.restart();
            c = std::clock();
            characters = int(doc.toPlainText().size());
            bestText = qMin(bestText, t.elapsed());
            cpuText = qMin(cpuText, processorMs(c));
            t.restart();
            c = std::clock();
            written = OdtCodec::write(doc).size();
            bestWrite = qMin(bestWrite, t.elapsed());
            cpuWrite = qMin(cpuWrite, processorMs(c));
            blocks = doc.blockCount();
        }
    } catch (const PackageError &e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(e.reason()));
        return 1;
    }
    std::printf("%s: %lld bytes, %d paragraphs, %d characters\n", argv[1], (long long)bytes.size(), blocks, characters);
    std::printf("read  %lld ms wall, %.0f ms processor (best of %d)\n", (long long)bestRead, cpuRead, runs);
    std::printf("text  %lld ms wall, %.0f ms processor (best of %d)\n", (long long)bestText, cpuText, runs);
    std::printf("write %lld ms wall, %.0f ms processor (best of %d), %lld bytes\n", (long long)bestWrite, cpuWrite, runs,
                (long long)written);
    return 0;
}
