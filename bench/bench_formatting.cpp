// Formatting on a long document: a typed character (Qt's own insertion and layout against the
// content-change handler), the indicator refresh with the whole document selected, and Select
// All followed by Bold. Run by hand under QT_QPA_PLATFORM=offscreen:
//   bench_formatting FILE.rtf
// When the file cannot be read, a generated document of the same size is used instead.
#include "BenchDocument.h"
#include "QuietDialogs.h"
#include "app/MainFrame.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/KeyedToolbar.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "workspace/FormattingRefresh.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <algorithm>
#include <memory>
#include <cstdio>
#include <vector>

namespace {

double ms(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; }

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// About 2,000 pages: 20,000 paragraphs of formatted runs, some of them bulleted, some aligned.
void generate(RichTextBox &box)
{
    static const char *words[] = {"lorem", "ipsum", "dolor", "sit", "amet", "consectetur", "adipiscing",
                                  "elit", "sed", "do", "eiusmod", "tempor", "café", "Straße"};
    static const char *fonts[] = {"Liberation Serif", "Liberation Sans", "DejaVu Sans", "Liberation Mono"};
    QRandomGenerator random(42);
    QTextDocument *doc = box.document();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (int p = 0; p < 20000; ++p) {
        if (p > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(random.bounded(6) == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        const int runs = 3 + random.bounded(7);
        for (int r = 0; r < runs; ++r) {
            QString text;
            for (int w = 2 + random.bounded(11); w > 0; --w)
                text += QString::fromUtf8(words[random.bounded(14)]) + QLatin1Char(' ');
            QTextCharFormat format;
            format.setFontFamilies({QString::fromLatin1(fonts[random.bounded(4)])});
            format.setFontPointSize(QList<int>{10, 11, 12, 14}[random.bounded(4)]);
            format.setFontWeight(random.bounded(7) == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(random.bounded(7) == 0);
            cursor.insertText(text, format);
        }
        if (random.bounded(12) == 0)
            cursor.createList(QTextListFormat::ListDisc);
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(true);
}

void selectAll(RichTextBox &box)
{
    box.setSelectionStart(0);
    box.setSelectionLength(box.characterCount());
}

void typeOneCharacter(RichTextBox &box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(box.viewport(), &press);
    QCoreApplication::sendEvent(box.viewport(), &release);
    box.viewport()->repaint(); // the frame the user sees
}

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_formatting FILE.rtf");
    if (path.isEmpty())
        return 2;
    QApplication app(argc, argv);

    QTemporaryDir dir;
    QFile tips(dir.filePath(QStringLiteral("tipofday.txt")));
    if (tips.open(QIODevice::WriteOnly))
        tips.write("A tip.\n");
    tips.close();
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_formatting"), dir.path());
    Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};
    MainFrame frame(services);
    frame.resize(1280, 800);
    frame.show();
    QCoreApplication::processEvents();

    DocumentWindow &form = frame.currentDocument();
    RichTextBox &box = *form.surface;

    QElapsedTimer timer;
    timer.start();
    const bool loaded = stopAtFirstFailure([&] { box.loadFile(path, RichTextBox::RichText); });
    if (loaded && box.document()->blockCount() > 1000) {
        std::printf("loaded %s: %.0f ms\n", qPrintable(path), ms(timer));
    } else {
        std::printf("could not read %s; using a generated document\n", qPrintable(path));
        timer.restart();
        generate(box);
        std::printf("generated: %.0f ms\n", ms(timer));
    }
    form.doc = 0;
    timer.restart();
    QCoreApplication::processEvents();
    std::printf("document: %d paragraphs, %d characters (first paint %.0f ms)\n", box.document()->blockCount(),
                box.characterCount(), ms(timer));

    // A typed character in the middle of the document.
    box.setFocus();
    box.setSelectionStart(box.characterCount() / 2);
    QCoreApplication::processEvents();
    // Qt alone: the surface's own signals blocked, so no handler of ours runs; Qt's editing and
    // layout do not go through them.
    const int rounds = 41;
    std::vector<double> withHandler, qtAlone, handler;
    for (int i = 0; i < rounds + 4; ++i) {
        timer.restart();
        {
            const QSignalBlocker quiet(&box);
            typeOneCharacter(box);
        }
        const double alone = ms(timer);
        timer.restart();
        typeOneCharacter(box);
        const double whole = ms(timer);
        timer.restart();
        emit box.contentChanged();
        const double ours = ms(timer);
        if (i >= 4) { // the first rounds warm up
            qtAlone.push_back(alone);
            withHandler.push_back(whole);
            handler.push_back(ours);
        }
    }
    std::printf("typed character (median of %d): Qt alone %.2f ms, whole keystroke with our handler %.2f ms, "
                "content-change handler alone %.3f ms (window marked changed: %s)\n",
                rounds, median(qtAlone), median(withHandler), median(handler), form.doc == -1 ? "yes" : "no");

    // The refresh with the whole document selected, as it runs after an edit: what the last read
    // gathered about the selection is forgotten first, as any edit does.
    const auto refreshes = [&](const char *what) {
        selectAll(box);
        const auto fresh = [&] { emit box.document()->contentsChange(0, 0, 0); };
        const auto time = [&](auto run) {
            std::vector<double> times;
            for (int i = 0; i < 9; ++i) {
                fresh();
                timer.restart();
                run();
                times.push_back(ms(timer));
            }
            return median(times);
        };
        const double change = time([&] { emit box.contentChanged(); });
        const double click = time([&] { FormattingRefresh::run(box, frame, QString::fromLatin1(FormattingRefresh::MouseClick)); });
        const double arrow = time([&] { FormattingRefresh::run(box, frame, QString::fromLatin1(FormattingRefresh::ArrowKey)); });
        std::printf("refresh with the whole document selected (%s): content change %.2f ms, click %.2f ms, "
                    "arrow key %.2f ms\n", what, change, click, arrow);
    };
    refreshes("its own mixed formatting");

    // Select All, then Bold, against Qt's own merge and relayout of the same change. The first
    // click clears the partly bold document; then each click flips it.
    QAction *bold = frame.findChild<KeyedToolbar *>(QStringLiteral("Toolbar2"))->button(QStringLiteral("a"));
    bool busyShown = true;
    QObject::connect(&box, &RichTextBox::contentChanged, &box, [&] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        busyShown = busyShown && cursor && cursor->shape() == Qt::WaitCursor;
    });
    std::vector<double> ours, qtOwn;
    for (int i = 0; i < 4; ++i) {
        timer.restart();
        selectAll(box);
        bold->trigger();
        ours.push_back(ms(timer));
        QCoreApplication::processEvents();

        QTextCursor all(box.document());
        all.select(QTextCursor::Document);
        QTextCharFormat flip;
        flip.setFontWeight(box.selectionBold() == true ? QFont::Normal : QFont::Bold);
        const QSignalBlocker quiet(&box);
        timer.restart();
        all.mergeCharFormat(flip);
        qtOwn.push_back(ms(timer));
        QCoreApplication::processEvents();
    }
    std::printf("Select All then \"a\": %.0f ms (fastest %.0f), Qt's own merge and relayout alone %.0f ms "
                "(fastest %.0f); busy pointer %s\n",
                median(ours), *std::min_element(ours.begin(), ours.end()), median(qtOwn),
                *std::min_element(qtOwn.begin(), qtOwn.end()), busyShown ? "shown" : "NOT shown");

    // Where Qt's time goes: the same merge on a copy of the document that has no layout.
    std::unique_ptr<QTextDocument> copy(box.document()->clone());
    QTextCursor all(copy.get());
    all.select(QTextCursor::Document);
    QTextCharFormat flip;
    flip.setFontWeight(QFont::Bold);
    timer.restart();
    all.mergeCharFormat(flip);
    std::printf("  of which the merge itself (no layout): %.0f ms\n", ms(timer));

    // The worst case for reading: the document now has one format throughout (after the clicks
    // above), so every read walks the whole selection.
    refreshes("one format throughout");
    return 0;
}
