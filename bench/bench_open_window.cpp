// Opens a document the way a user does, named on the command line, and measures the time from the
// frame's start until the document's text is first painted in its window. Run by hand:
//   bench_open_window FILE.rtf   (offscreen unless a display is set)
#include "BenchDocument.h"
#include "QuietDialogs.h"
#include "app/MainFrame.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Quits the event loop at the text's first paint.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); }); // quit() would close the windows
        }
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_open_window FILE.rtf");
    if (path.isEmpty())
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_open_window"), dir.path());
    Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};

    QElapsedTimer total;
    total.start();
    MainFrame frame(services, {path});
    frame.resize(1280, 800);
    frame.show(); // the start-up reads the file into its window
    const qint64 loaded = total.elapsed();
    FirstPaint watcher;
    DocumentWindow *form = frame.documents().value(0);
    if (!form)
        return 1;
    form->surface->viewport()->installEventFilter(&watcher);
    const int characters = form->surface->characterCount();
    app.exec();
    std::printf("%s: start-up with the file read %lld ms, text first painted %lld ms after start (%d characters)\n",
                qPrintable(path), (long long)loaded, (long long)total.elapsed(),
                characters);
    return 0;
}
