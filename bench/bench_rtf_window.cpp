// Opens an RTF file in a text editor window and measures the time until its first paint: read
// into a detached document, attach it to the editor, show, paint. A stand-in for the editing
// surface, which adds no work of its own to loading. Usage: bench_rtf_window FILE.rtf
#include "rtf/RtfCodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

// Quits the event loop at the viewport's first paint.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_rtf_window FILE.rtf\n");
        return 2;
    }
    QElapsedTimer total;
    total.start();
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    QTextEdit editor;
    editor.resize(1000, 800);
    auto *doc = new QTextDocument(&editor);
    RtfCodec::read(bytes, *doc);
    const qint64 read = total.elapsed();
    editor.setDocument(doc);
    FirstPaint watcher;
    editor.viewport()->installEventFilter(&watcher);
    editor.show();
    app.exec();
    std::printf("%s: read %lld ms, first painted %lld ms after start\n", argv[1], (long long)read,
                (long long)total.elapsed());
    return 0;
}
