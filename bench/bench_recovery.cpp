// The longest time the interface does not answer while the user types into a long document and
// recovery copies of it are made, against the same typing with recovery off. A probe timer ticks
// every 2 ms; the longest gap between two ticks is the longest stall. On a long document a key
// event alone takes long (Qt lays the paragraph out again), so the gaps are also given less the
// key events in them. Typing: one key every 150 ms in the middle of the document, without a pause
// for long enough that the copy made after the longest delay (30 s) comes while typing goes on,
// then a pause in which the copy made after the last change (5 s) comes. Run by hand:
//   QT_QPA_PLATFORM=offscreen bench_recovery FILE.rtf [SECONDS_OF_TYPING]
#include "QuietDialogs.h"
#include "app/MainFrame.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "recovery/DocumentRecovery.h"
#include "recovery/RecoveryFolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Processor time of the interface thread, ns: what a gap cost the program itself, whatever else
// the machine was busy with.
qint64 threadTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Run {
    double longestStall = 0; // ms, typing: the longest gap between two probe ticks
    double longestKeystroke = 0; // ms, the key event alone
    double longestBesideKeys = 0; // ms, typing: the longest gap less the key events in it
    double longestInPause = 0; // ms, the pause: no keys at all
    double mostWorkBesideKeys = 0; // ms of the interface thread's own time in one gap, less key events
    int keys = 0;
    QList<double> copies; // s, when the copy's index was written anew
};

void typeOneCharacter(RichTextBox &box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(box.viewport(), &press);
    QCoreApplication::sendEvent(box.viewport(), &release);
}

// Types for `typing` ms, then waits `pause` ms, with the probe running all the time.
Run measure(MainFrame &frame, int typing, int pause)
{
    RichTextBox &box = *frame.currentDocument().surface;
    box.setFocus();
    box.setSelectionStart(box.characterCount() / 2);
    QCoreApplication::processEvents();

    Run run;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = clock.nsecsElapsed();
    qint64 lastWork = threadTime();
    qint64 keysSinceTick = 0; // ns spent in key events since the last tick (thread time)
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 work = threadTime();
        const double gap = (now - lastTick) / 1e6;
        const double besideKeys = std::max<qint64>(0, now - lastTick - keysSinceTick) / 1e6;
        run.mostWorkBesideKeys = std::max(run.mostWorkBesideKeys, std::max<qint64>(0, work - lastWork - keysSinceTick) / 1e6);
        lastTick = now;
        lastWork = work;
        keysSinceTick = 0;
        if (clock.elapsed() < typing) {
            run.longestStall = std::max(run.longestStall, gap);
            run.longestBesideKeys = std::max(run.longestBesideKeys, besideKeys);
        } else if (clock.elapsed() > typing + 300) { // the last key's paint is over
            run.longestInPause = std::max(run.longestInPause, gap);
        }
    });
    QTimer keys;
    keys.setInterval(150);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (clock.elapsed() >= typing) {
            keys.stop();
            return;
        }
        QElapsedTimer key;
        key.start();
        const qint64 before = threadTime();
        typeOneCharacter(box);
        keysSinceTick += threadTime() - before;
        run.longestKeystroke = std::max(run.longestKeystroke, key.nsecsElapsed() / 1e6);
        ++run.keys;
    });
    // The copy's index is written last: each new time of it is one more copy.
    const QString folder = frame.recovery().folder();
    QDateTime lastCopy;
    QTimer copies;
    copies.setInterval(100);
    QObject::connect(&copies, &QTimer::timeout, [&] {
        if (folder.isEmpty())
            return;
        for (const QString &copy : RecoveryFolder::copiesIn(folder)) {
            const QDateTime written = QFileInfo(RecoveryFolder::indexPath(folder, copy)).lastModified();
            if (written.isValid() && written != lastCopy) {
                lastCopy = written;
                run.copies << clock.elapsed() / 1000.0;
            }
        }
    });
    QEventLoop loop;
    QTimer::singleShot(typing + pause, &loop, &QEventLoop::quit);
    probe.start();
    keys.start();
    copies.start();
    loop.exec();
    return run;
}

std::unique_ptr<MainFrame> openFrame(Services &services, const QString &path)
{
    auto frame = std::make_unique<MainFrame>(services, QStringList{path});
    frame->resize(1280, 800);
    QElapsedTimer timer;
    timer.start();
    frame->show();
    QCoreApplication::processEvents();
    std::printf("opened %s in %.0f ms: %d paragraphs, %d characters\n", qPrintable(path), timer.nsecsElapsed() / 1e6,
                frame->currentDocument().surface->document()->blockCount(),
                frame->currentDocument().surface->characterCount());
    return frame;
}

void report(const char *what, const Run &run)
{
    QStringList times;
    for (double t : run.copies)
        times << QString::number(t, 'f', 1);
    std::printf("%s: %d keys. While typing: longest stall %.1f ms, longest key event %.1f ms, longest stall "
                "apart from key events %.1f ms. In the pause: longest stall %.1f ms. Most processor time of the "
                "interface thread in one gap, apart from key events: %.1f ms. Copies written at: %s s\n",
                what, run.keys, run.longestStall, run.longestKeystroke, run.longestBesideKeys, run.longestInPause,
                run.mostWorkBesideKeys, times.isEmpty() ? "-" : qPrintable(times.join(", ")));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_recovery FILE.rtf [SECONDS_OF_TYPING]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int typing = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 35) * 1000;
    const int pause = 8000;

    QTemporaryDir dir;
    QFile tips(dir.filePath(QStringLiteral("tipofday.txt")));
    if (tips.open(QIODevice::WriteOnly))
        tips.write("A tip.\n");
    tips.close();
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_recovery"), dir.path());

    Run off, on;
    {
        Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};
        const auto frame = openFrame(services, path);
        off = measure(*frame, typing, 3000);
        frame->currentDocument().doc = 0;
    }
    {
        Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; },
                          dir.filePath(QStringLiteral("recovery"))};
        const auto frame = openFrame(services, path);
        on = measure(*frame, typing, pause);
        frame->currentDocument().doc = 0;
    }
    report("recovery off", off);
    report("recovery on ", on);
    return 0;
}
