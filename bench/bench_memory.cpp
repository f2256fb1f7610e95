// Memory over repeated use: opens the large document in a window and closes it again, ten times,
// and prints the process's resident memory after each round. Run by hand under
// QT_QPA_PLATFORM=offscreen (also under heaptrack or valgrind --tool=massif):
//   bench_memory FILE.rtf [ROUNDS]   (10 rounds unless told)
#include "BenchDocument.h"
#include "QuietDialogs.h"
#include "app/MainFrame.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_memory FILE.rtf [ROUNDS]");
    if (path.isEmpty())
        return 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    QTemporaryDir dir;
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_memory"), dir.path());
    Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};
    MainFrame frame(services);
    frame.resize(1280, 800);
    frame.show();
    settle();
    std::printf("started: %.1f MiB\n", residentMiB());

    double afterFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        frame.newDocument();
        DocumentWindow &form = frame.currentDocument();
        if (!stopAtFirstFailure([&] { form.surface->loadFile(path); })) {
            std::printf("cannot read %s\n", qPrintable(path));
            return 1;
        }
        settle();
        const double open = residentMiB();
        form.doc = 0;
        frame.findChild<QMdiArea *>(QStringLiteral("mdiArea"))->currentSubWindow()->close();
        settle();
        const double closed = residentMiB();
        if (round == 1)
            afterFirst = closed;
        std::printf("round %2d: open %.1f MiB, closed %.1f MiB\n", round, open, closed);
    }
    const double last = residentMiB();
    std::printf("after round 1 %.1f MiB, after round %d %.1f MiB: %+.1f%%\n", afterFirst, rounds, last,
                100.0 * (last - afterFirst) / afterFirst);
    return 0;
}
