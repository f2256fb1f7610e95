// Find and Replace and Word Count on a long document, through the commands a user runs: Replace
// All of one word in every place it stands (the 2,000-page document holds some 16,000 of each of
// its words), a Find Next that meets nothing, and Word Count of the whole document. Prints the
// best of three runs, wall and processor time. Run by hand under QT_QPA_PLATFORM=offscreen:
//   bench_find FILE.rtf [WORD] [REPLACEMENT]   (lorem, ipsum unless told)
#include "BenchDocument.h"
#include "QuietDialogs.h"
#include "app/MainFrame.h"
#include "content/WordCounter.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "find/FindCommands.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

struct Timing {
    double wall = 1e12;
    double cpu = 1e12;
};

// The best of `runs` runs of `step`; `reset` runs untimed after each.
Timing best(int runs, const std::function<void()> &step, const std::function<void()> &reset = {})
{
    Timing result;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer wall;
        const std::clock_t cpu = std::clock();
        wall.start();
        step();
        result.wall = std::min(result.wall, wall.nsecsElapsed() / 1e6);
        result.cpu = std::min(result.cpu, double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        if (reset)
            reset();
    }
    return result;
}

void print(const char *what, const Timing &t) { std::printf("%-44s %8.1f ms wall %8.1f ms cpu\n", what, t.wall, t.cpu); }

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_find FILE.rtf [WORD] [REPLACEMENT]");
    if (path.isEmpty())
        return 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    const QString word = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("lorem");
    const QString replacement = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("ipsum");
    QTemporaryDir dir;
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_find"), dir.path());
    Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};
    MainFrame frame(services, {path});
    frame.resize(1280, 800);
    frame.show(); // the start-up reads the file into its window
    QCoreApplication::processEvents();
    DocumentWindow *form = frame.activeDocument();
    if (!form || form->surface->characterCount() == 0) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    RichTextBox &box = *form->surface;
    std::printf("%s: %d paragraphs, %d characters\n", qPrintable(path), box.document()->blockCount(),
                box.characterCount());

    // Word Count: the counting alone, and the command with its window.
    WordCounter::Counts counts;
    print("count words of the document", best(3, [&] { counts = WordCounter::count(*box.document()); }));
    std::printf("  %lld words, %lld characters, %lld without spaces, %lld paragraphs\n", (long long)counts.words,
                (long long)counts.characters, (long long)counts.charactersNoSpaces, (long long)counts.paragraphs);
    QAction *wordCount = frame.menuItem(QStringLiteral("wordcount"));
    print("View > Word Count...", best(3, [&] { wordCount->trigger(); }));

    // Find Next that meets nothing reads the whole document, round its end.
    frame.menuItem(QStringLiteral("findreplace"))->trigger();
    FindReplaceWindow &window = *frame.findCommands().window();
    window.findWhat->setText(QStringLiteral("absent-word"));
    box.setSelectionStart(0);
    print("Find Next, not found", best(3, [&] { window.findNext->click(); }));

    // Replace All, one step of Undo, then Undo (untimed) for the next run.
    window.findWhat->setText(word);
    window.replaceWith->setText(replacement);
    window.wholeWords->setChecked(true);
    QString report;
    print(qPrintable(QStringLiteral("Replace All \"%1\" -> \"%2\"").arg(word, replacement)),
          best(3, [&] {
              window.replaceAll->click();
              report = window.status->text();
          },
               [&] {
                   frame.menuItem(QStringLiteral("undo"))->trigger();
                   QCoreApplication::processEvents();
               }));
    std::printf("  %s\n", qPrintable(report));
    box.setSelectionStart(box.characterCount() / 2);
    box.ensureCursorVisible();
    QCoreApplication::processEvents();
    const int shownBefore = box.cursorForPosition(QPoint(0, 0)).position();
    print("Replace All, viewing the middle", best(1, [&] { window.replaceAll->click(); }));
    print("  then the window's repaint", best(1, [&] { QCoreApplication::processEvents(); }));
    std::printf("  first character shown: %d before, %d after\n", shownBefore, box.cursorForPosition(QPoint(0, 0)).position());
    print("Undo of Replace All", best(1, [&] { frame.menuItem(QStringLiteral("undo"))->trigger(); }));
    form->doc = 0;
    return 0;
}
