// Spelling checked as you type, on a long document: opening with and without checking, a typed
// character with checking on and off, and how long newly visible text takes to show its marks
// after a scroll. Run by hand under QT_QPA_PLATFORM=offscreen:
//   bench_spelling FILE.rtf [LANGUAGE]   (LANGUAGE as Enchant names it, default en_US)
// Times are the main thread's processor time, which other programs on a busy machine do not
// inflate; each line also gives the wall-clock medians.
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "spelling/EnchantSpellChecker.h"
#include "spelling/SpellMarks.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double ms(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; }

// The processor time of this thread and the wall-clock time since it was made.
class Clock
{
public:
    Clock() { restart(); }
    void restart()
    {
        m_cpu = cpuMs();
        m_wall.start();
    }
    double cpu() const { return cpuMs() - m_cpu; }
    double wall() const { return ms(m_wall); }

private:
    static double cpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }
    double m_cpu = 0;
    QElapsedTimer m_wall;
};

struct Times {
    std::vector<double> cpu, wall;
    void add(const Clock &clock)
    {
        cpu.push_back(clock.cpu());
        wall.push_back(clock.wall());
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double maximum(const std::vector<double> &values) { return *std::max_element(values.begin(), values.end()); }

// A window-sized surface on screen.
void place(RichTextBox &box)
{
    box.resize(1000, 750);
    box.show();
    QCoreApplication::processEvents();
}

// Opening as the program does it: the file read into the surface, then its first frame.
bool open(RichTextBox &box, const QString &path, Times *times = nullptr)
{
    const Clock clock;
    if (!stopAtFirstFailure([&] { box.loadFile(path, RichTextBox::RichText); }))
        return false;
    QCoreApplication::processEvents();
    box.viewport()->repaint();
    if (times)
        times->add(clock);
    return true;
}

// Lets the layout (and the idle check, when it runs) finish.
void settle(RichTextBox &box, const SpellMarks *marks)
{
    int lastMaximum = -1;
    QElapsedTimer still;
    still.start();
    while (still.elapsed() < 300 || (marks && marks->isChecking())) {
        QEventLoop loop; // waits for events without spinning
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        if (box.verticalScrollBar()->maximum() != lastMaximum) {
            lastMaximum = box.verticalScrollBar()->maximum();
            still.restart();
        }
    }
}

// A key typed, and the frame that shows it: the part of the window Qt paints again, or (as a
// worst case) the whole window.
void typeOneCharacter(RichTextBox &box, QChar character, bool wholeFrame, Times *times)
{
    const Clock clock;
    const int key = character == u' ' ? Qt::Key_Space : Qt::Key_A + (character.unicode() - u'a');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(box.viewport(), &press);
    QCoreApplication::sendEvent(box.viewport(), &release);
    if (wholeFrame)
        box.viewport()->repaint();
    QCoreApplication::sendPostedEvents(); // what the key left to do, painting among it
    if (times)
        times->add(clock);
}

// Scrolls to a position and paints the newly visible text.
void scroll(RichTextBox &box, int position, Times *times)
{
    const Clock clock;
    box.verticalScrollBar()->setValue(position);
    box.viewport()->repaint();
    times->add(clock);
}

// "median (max) ms" of processor and wall-clock times.
QByteArray summary(const Times &times)
{
    return QStringLiteral("%1 ms (max %2), wall %3 ms")
        .arg(median(times.cpu), 0, 'f', 2)
        .arg(maximum(times.cpu), 0, 'f', 2)
        .arg(median(times.wall), 0, 'f', 2)
        .toUtf8();
}

int redPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 160 && c.green() < 110 && c.blue() < 110;
        }
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_spelling FILE.rtf [LANGUAGE]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("en_US");

    QTemporaryDir dir;
    const Clock loading;
    EnchantSpellChecker checker(dir.filePath(QStringLiteral("words.txt")), language);
    if (!checker.isAvailable() || checker.language() != language) {
        std::fprintf(stderr, "no %s dictionary: %s\n", qPrintable(language), qPrintable(checker.unavailableReason()));
        return 1;
    }
    std::printf("dictionary %s loaded once per run: %.0f ms\n", qPrintable(language), loading.wall());

    // Opening, alternately without and with checking, each in a fresh surface.
    Times plainOpens, checkedOpens;
    const int opens = 5;
    for (int i = 0; i < opens; ++i) {
        {
            RichTextBox box;
            place(box);
            if (!open(box, path, &plainOpens)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
        }
        {
            RichTextBox box;
            new SpellMarks(box, checker);
            place(box);
            open(box, path, &checkedOpens);
        }
    }
    const double plainOpen = median(plainOpens.cpu);
    const double checkedOpen = median(checkedOpens.cpu);
    std::printf("open to first frame, median of %d: without checking %.0f ms (wall %.0f), with checking %.0f ms "
                "(wall %.0f): %+.1f%%\n", opens, plainOpen, median(plainOpens.wall), checkedOpen,
                median(checkedOpens.wall), 100 * (checkedOpen - plainOpen) / plainOpen);

    // Two surfaces holding the document, with and without checking, used by turns, so that a busy
    // machine disturbs both alike.
    RichTextBox checked;
    auto *marks = new SpellMarks(checked, checker);
    RichTextBox plain;
    for (RichTextBox *box : {&checked, &plain}) {
        place(*box);
        open(*box, path);
    }
    Clock clock;
    settle(checked, marks);
    settle(plain, nullptr);
    std::printf("document: %d paragraphs; layout and idle check of the rest done %.0f ms (wall %.0f) after the "
                "first frame\n", checked.document()->blockCount(), clock.cpu(), clock.wall());

    // Typing in the middle of a paragraph in the middle of the document, with checking switched
    // off and on by turns, a dozen keys at a time.
    const QTextBlock middle = checked.document()->findBlockByNumber(checked.document()->blockCount() / 2);
    QTextCursor caret(middle);
    caret.setPosition(middle.position() + middle.length() / 2);
    checked.setTextCursor(caret);
    checked.ensureCursorVisible();
    QCoreApplication::processEvents();
    static const QString text = QStringLiteral("qwx hte zzy "); // words typed, then left
    const int turns = 20;
    for (const bool wholeFrame : {false, true}) {
        Times typedOn, typedOff;
        for (int turn = 0; turn < turns; ++turn) {
            const bool checking = turn % 2;
            checker.setChecksAsYouType(checking);
            settle(checked, marks); // switching on checks the whole document again first
            for (int i = 0; i < text.size(); ++i) // the first two keys of a turn warm up
                typeOneCharacter(checked, text[i], wholeFrame, i < 2 ? nullptr : checking ? &typedOn : &typedOff);
        }
        std::printf("typed character and its frame (%s), median of %zu: checking off %s; on %s; difference "
                    "%+.2f ms\n", wholeFrame ? "whole window painted" : "as Qt paints it", typedOn.cpu.size(),
                    summary(typedOff).constData(), summary(typedOn).constData(),
                    median(typedOn.cpu) - median(typedOff.cpu));
    }

    // The spelling part of a keystroke, measured alone (a busy machine blurs a whole keystroke by
    // more than it): the edit reported, and the paragraph painted again with its marks found
    // again, against the same on a surface without checking.
    for (RichTextBox *box : {&checked, &plain}) {
        const QTextBlock block = box->document()->findBlockByNumber(box->document()->blockCount() / 2);
        box->setTextCursor(QTextCursor(block));
        box->ensureCursorVisible();
    }
    QCoreApplication::processEvents();
    Times paintedOn, paintedOff, wholeOn, wholeOff;
    for (int i = 0; i < 200; ++i) {
        for (RichTextBox *box : {&checked, &plain}) {
            const QTextBlock block = box->textCursor().block();
            const QRect rect = box->document()->documentLayout()->blockBoundingRect(block).toAlignedRect().translated(
                -box->horizontalScrollBar()->value(), -box->verticalScrollBar()->value());
            const Clock clock;
            emit box->document()->contentsChange(block.position() + 1, 0, 0);
            box->viewport()->repaint(rect);
            (box == &checked ? paintedOn : paintedOff).add(clock);
            if (i % 4 == 0) {
                const Clock whole;
                box->viewport()->repaint();
                (box == &checked ? wholeOn : wholeOff).add(whole);
            }
        }
    }
    std::printf("spelling part of a keystroke, median of %zu: the edit reported and its paragraph painted "
                "again: without checking %s; with %s; difference %+.2f ms\n", paintedOn.cpu.size(),
                summary(paintedOff).constData(), summary(paintedOn).constData(),
                median(paintedOn.cpu) - median(paintedOff.cpu));
    std::printf("whole window painted again (every word of this document but a few is marked), median of %zu: "
                "without checking %s; with %s; difference %+.2f ms\n", wholeOn.cpu.size(),
                summary(wholeOff).constData(), summary(wholeOn).constData(),
                median(wholeOn.cpu) - median(wholeOff.cpu));

    // Scrolling to text not checked yet: every paragraph waits for checking again, and with the
    // idle check stopped only painting checks it.
    marks->setSliceMilliseconds(0);
    checker.setChecksAsYouType(false);
    checker.setChecksAsYouType(true);
    Times scrolledOn, scrolledOff;
    const int top = std::min(checked.verticalScrollBar()->maximum(), plain.verticalScrollBar()->maximum());
    const int positions = 20;
    for (int i = 1; i <= positions; ++i) {
        scroll(checked, top * i / (positions + 1), &scrolledOn);
        scroll(plain, top * i / (positions + 1), &scrolledOff);
    }
    std::printf("scroll to unchecked text and paint it, median of %d: without checking %s; with checking, marks "
                "found as they are painted %s; marks on screen: %s\n", positions, summary(scrolledOff).constData(),
                summary(scrolledOn).constData(), redPixels(checked.viewport()->grab().toImage()) > 0 ? "yes" : "no");
    return 0;
}
