// Typing in a long document on the program's surface (RichTextBox, on the screen layout of
// src/layout/) against a plain QTextEdit on Qt's own layout, both 1000 x 750: opening to the first paint (beyond reading the file), the caret put in
// the middle right after opening, a typed character in the middle (median and worst of 50, while
// the rest is still being laid out and once it is all laid out), and the longest event-loop turn
// while the rest is laid out in idle slices. Run by hand under QT_QPA_PLATFORM=offscreen:
//   bench_typing FILE.rtf [--qt]
#include "BenchDocument.h"
#include "document/RichTextBox.h"
#include "layout/IncrementalLayout.h"
#include "rtf/RtfCodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <cstdio>
#include <vector>

namespace {

double ms(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; }

// Times every event the application delivers: one delivery is one turn of the event loop's work.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth++ > 0) {
            const bool done = QApplication::notify(receiver, event);
            --m_depth;
            return done;
        }
        QElapsedTimer timer;
        timer.start();
        const bool done = QApplication::notify(receiver, event);
        --m_depth;
        if (timing && ms(timer) > longest) {
            longest = ms(timer);
            longestWhat = QStringLiteral("%1 to %2").arg(int(event->type())).arg(QString::fromLatin1(receiver->metaObject()->className()));
        }
        return done;
    }
    bool timing = false;
    double longest = 0;
    QString longestWhat;

private:
    int m_depth = 0;
};

struct Spread
{
    double median = 0;
    double worst = 0;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

double keyTime = 0;
double paintTime = 0;

void typeOneCharacter(QTextEdit &edit)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(&edit, &press);
    QCoreApplication::sendEvent(&edit, &release);
    keyTime += ms(timer);
    timer.restart();
    edit.viewport()->repaint(); // the frame the user sees
    paintTime += ms(timer);
}

// 50 characters typed at the caret, with the program idle for a moment between them: the events
// delivered then are timed.
Spread typing(TimedApplication &app, QTextEdit &edit)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 55; ++i) {
        timer.start();
        typeOneCharacter(edit);
        if (i >= 5) // the first ones warm up
            times.push_back(ms(timer));
        app.timing = true;
        QCoreApplication::processEvents();
        app.timing = false;
    }
    return spreadOf(times);
}

// Runs the event loop until the layout has nothing left to do, timing each event it delivers.
double longestTurnWhileLayingOut(TimedApplication &app, QTextEdit &edit, IncrementalLayout *ours, double *total)
{
    QElapsedTimer clock;
    clock.start();
    app.timing = true;
    QSizeF size = edit.document()->documentLayout()->documentSize();
    QElapsedTimer still;
    still.start();
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (ours) {
            if (ours->isComplete())
                break;
        } else {
            // Qt's layout says nothing when it is done: its size stays put for a while.
            const QSizeF now = edit.document()->documentLayout()->documentSize();
            if (now != size) {
                size = now;
                still.restart();
            } else if (still.elapsed() > 300) {
                break;
            }
        }
        if (clock.elapsed() > 120000)
            break;
    }
    *total = ms(clock);
    app.timing = false;
    return app.longest;
}

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_typing FILE.rtf [--qt]");
    if (path.isEmpty())
        return 2;
    const bool qtLayout = argc > 2 && QByteArray(argv[2]) == "--qt";
    TimedApplication app(argc, argv);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 2;
    }
    const QByteArray bytes = file.readAll();

    // Reading alone, the quickest of three, as the machine's load varies.
    QElapsedTimer timer;
    double reading = 0;
    for (int i = 0; i < 3; ++i) {
        timer.restart();
        QTextDocument alone;
        RtfCodec::read(bytes, alone);
        reading = i == 0 ? ms(timer) : std::min(reading, ms(timer));
    }

    std::unique_ptr<QTextEdit> surface;
    if (qtLayout) {
        surface = std::make_unique<QTextEdit>();
        QFont font(QStringLiteral("Times New Roman"));
        font.setPointSizeF(9.75);
        surface->document()->setDefaultFont(font);
    } else {
        surface = std::make_unique<RichTextBox>();
    }
    QTextEdit &edit = *surface;
    auto *ours = qobject_cast<IncrementalLayout *>(edit.document()->documentLayout());
    edit.resize(1000, 750);
    edit.show();
    QCoreApplication::processEvents();

    timer.restart();
    RtfCodec::read(bytes, *edit.document());
    const double intoWindow = ms(timer);
    timer.restart();
    edit.viewport()->repaint();
    const double firstPaint = ms(timer);
    const double opening = intoWindow + firstPaint;
    std::printf("%s layout, %s: %d paragraphs\n", qtLayout ? "Qt's" : "our", qPrintable(path), edit.document()->blockCount());
    std::printf("reading the file %.0f ms; open to first paint %.0f ms (read into the window %.0f, first paint %.0f), "
                "%.0f ms beyond reading\n",
                reading, opening, intoWindow, firstPaint, opening - reading);

    timer.restart();
    QTextCursor middle(edit.document());
    middle.setPosition(edit.document()->characterCount() / 2);
    edit.setTextCursor(middle);
    edit.ensureCursorVisible();
    edit.viewport()->repaint();
    std::printf("caret to the middle right after opening: %.1f ms\n", ms(timer));

    app.longest = 0;
    const Spread early = typing(app, edit);
    std::printf("typed character while the rest is laid out: median %.2f ms, worst %.2f ms\n", early.median, early.worst);

    double total = 0;
    const double longest = longestTurnWhileLayingOut(app, edit, ours, &total);
    std::printf("rest laid out in %.0f ms of idle time; longest event-loop turn meanwhile (typing included) %.1f ms (event %s)\n", total, longest,
                qPrintable(app.longestWhat));

    keyTime = paintTime = 0;
    const Spread late = typing(app, edit);
    std::printf("  (of which the key %.2f ms and the paint %.2f ms on average)\n", keyTime / 55, paintTime / 55);
    std::printf("typed character once all is laid out: median %.2f ms, worst %.2f ms\n", late.median, late.worst);
    return 0;
}
