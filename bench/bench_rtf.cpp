// Reads an RTF file into a QTextDocument with no view, then writes it back, and prints the wall
// and processor time of each step (best of N runs); the processor time is the figure to trust on
// a busy machine. Usage: bench_rtf FILE.rtf [RUNS]
#include "BenchDocument.h"
#include "rtf/RtfCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <ctime>
#include <limits>

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_rtf FILE.rtf [RUNS]");
    if (path.isEmpty())
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    qint64 bestRead = std::numeric_limits<qint64>::max(), bestWrite = bestRead;
    double cpuRead = 1e9, cpuWrite = 1e9;
    qsizetype written = 0;
    int blocks = 0, characters = 0;
    for (int i = 0; i < runs; ++i) {
        QTextDocument doc;
        QElapsedTimer t;
        t.start();
        std::clock_t c = std::clock();
        RtfCodec::read(bytes, doc);
        bestRead = qMin(bestRead, t.elapsed());
        cpuRead = qMin(cpuRead, 1000.0 * double(std::clock() - c) / CLOCKS_PER_SEC);
        t.restart();
        c = std::clock();
        written = RtfCodec::write(doc).size();
        bestWrite = qMin(bestWrite, t.elapsed());
        cpuWrite = qMin(cpuWrite, 1000.0 * double(std::clock() - c) / CLOCKS_PER_SEC);
        blocks = doc.blockCount();
        characters = doc.characterCount();
    }
    std::printf("%s: %lld bytes, %d paragraphs, %d characters\n", argv[1], (long long)bytes.size(), blocks,
                characters);
    std::printf("read  %lld ms wall, %.0f ms processor (best of %d)\n", (long long)bestRead, cpuRead, runs);
    std::printf("write %lld ms wall, %.0f ms processor (best of %d), %lld bytes\n", (long long)bestWrite, cpuWrite,
                runs, (long long)written);
    return 0;
}
