// Files dropped on the frame: only local files are taken, each opens in its own numbered window,
// a file that cannot be read is reported and the rest are still opened.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"

#include <QDropEvent>
#include <QFontInfo>
#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace {

std::unique_ptr<QMimeData> filesData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// Drags the data over the frame and drops it; true when the frame took it.
bool dragAndDrop(FrameFixture &f, const QMimeData &data)
{
    const QPoint centre = f.frame->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(true);
    QCoreApplication::sendEvent(f.frame.get(), &enter);
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.frame.get(), &drop);
    if (enter.isAccepted() != drop.isAccepted())
        QTest::qFail("drag and drop disagree", __FILE__, __LINE__);
    return drop.isAccepted();
}

QStringList captions(const FrameFixture &f)
{
    QStringList result;
    for (DocumentWindow *form : f.frame->documents())
        result << form->windowTitle();
    return result;
}

} // namespace

class DropsTest : public QObject
{
    Q_OBJECT

private slots:
    void filesDroppedOnTheTextAreOpenedNotTyped()
    {
        // The document covers the workspace, so most drops land on its text.
        FrameFixture f;
        f.start();
        const QString file = f.writeFile("letter.txt", "dear reader");
        const auto data = filesData({file});
        QWidget *text = f.active()->surface->viewport();
        const QPoint centre = text->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(text, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(text, &drop);
        QTRY_COMPARE(f.frame->documents().size(), 2);
        QCOMPARE(f.frame->documents().first()->surface->text(), QString());
        QCOMPARE(f.active()->windowTitle(), file);
        QCOMPARE(f.surface().text(), QStringLiteral("dear reader"));
    }

    void threeFilesWithTheSecondMissing()
    {
        FrameFixture f;
        f.start();
        const QString first = f.writeFile("first.rtf", "{\\rtf1\\ansi {\\b one}\\par}");
        const QString missing = f.path("second.txt");
        const QString third = f.writeFile("third.txt", "three");
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        QVERIFY(dragAndDrop(f, *filesData({first, missing, third})));
        QTRY_COMPARE(f.frame->documents().size(), 4);

        QCOMPARE(captions(f), (QStringList{"Document 1", first, "Document 3", third}));
        const Dialogs::Message report = f.dialogs.messages().value(0);
        QCOMPARE(report.text, QStringLiteral("Cannot open \"%1\": No such file or directory").arg(missing));
        QCOMPARE(report.title, QStringLiteral("Scrivlo"));
        QCOMPARE(report.icon, Dialogs::Icon::Critical);

        const QList<DocumentWindow *> forms = f.frame->documents();
        QCOMPARE(f.active(), forms[3]);
        QCOMPARE(forms[1]->surface->text(), QStringLiteral("one")); // rich text, read as such
        QCOMPARE(forms[1]->surface->fileName(), first);
        QCOMPARE(forms[2]->surface->fileName(), QString());
        QCOMPARE(forms[3]->surface->text(), QStringLiteral("three"));
        for (DocumentWindow *form : forms)
            QCOMPARE(form->doc, 0);
    }

    void onlyLocalFilesAreTaken()
    {
        FrameFixture f;
        f.start();
        QMimeData text;
        text.setText(QStringLiteral("/etc/hostname"));
        QVERIFY(!dragAndDrop(f, text));
        QMimeData remote;
        remote.setUrls({QUrl(QStringLiteral("https://example.org/a.rtf"))});
        QVERIFY(!dragAndDrop(f, remote));
        QMimeData mixed;
        mixed.setUrls({QUrl::fromLocalFile(f.writeFile("a.txt", "a")), QUrl(QStringLiteral("https://example.org/b.rtf"))});
        QVERIFY(!dragAndDrop(f, mixed));
        QCoreApplication::processEvents();
        QCOMPARE(f.frame->documents().size(), 1);
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void everyOpenedOrDroppedFileUsesUpANumber()
    {
        FrameFixture f;
        f.start();
        f.dialogs.answerFile(f.writeFile("opened.txt", "x"));
        f.trigger("open");
        QVERIFY(dragAndDrop(f, *filesData({f.writeFile("a.txt", "a"), f.writeFile("b.txt", "b")})));
        QTRY_COMPARE(f.frame->documents().size(), 4);
        f.trigger("new");
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 5"));
    }

    void theSavedFontGoesOntoTheLastDroppedDocument()
    {
        FrameFixture f;
        f.settings->saveSetting("font", "name", "DejaVu Serif");
        f.settings->saveSetting("fonte", "size", "14");
        f.start();
        // Drops first put the boxes back to Times New Roman, which this machine may lack: the box
        // then shows the family drawn in its place, and the saved font still comes back.
        QVERIFY(dragAndDrop(f, *filesData({f.writeFile("a.txt", "a")})));
        QTRY_COMPARE(f.frame->documents().size(), 2);
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(fontSizeBoxOf(*f.frame)->text(), QStringLiteral("14"));
        QCOMPARE(f.surface().selectionFontName(), std::optional<QString>("DejaVu Serif"));
        QCOMPARE(f.surface().selectionFontSize(), std::optional<double>(14));
    }

    void aSavedFontThatIsNotInstalledShowsAsItsStandIn()
    {
        FrameFixture f;
        f.settings->saveSetting("font", "name", "No Such Family Anywhere");
        f.start();
        QVERIFY(dragAndDrop(f, *filesData({f.writeFile("a.txt", "a")})));
        QTRY_COMPARE(f.frame->documents().size(), 2);
        const QString standIn = QFontInfo(QFont("No Such Family Anywhere")).family();
        QVERIFY(!standIn.isEmpty());
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), standIn);
        QCOMPARE(f.surface().selectionFontName(), std::optional<QString>(standIn));
    }
};

QTEST_MAIN(DropsTest)
#include "tst_drops.moc"
