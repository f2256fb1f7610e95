// The About box and the Help item.
#include "support/FrameFixture.h"

#include "platform/SettingsStore.h"
#include "windows/AboutBox.h"
#include "windows/SideWindows.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void aboutBoxHoldsTheFrameUntilItCloses()
    {
        FrameFixture f;
        f.start();
        f.trigger("a_x");
        QPointer<AboutBox> about = f.frame->sideWindows().about();
        QVERIFY(about && about->isVisible());
        QVERIFY(!f.frame->isEnabled());
        QTest::keyClick(f.frame.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.frame->documents().size(), 1);

        // "System Info..." answers the same each time and leaves the box open.
        for (int i = 0; i < 2; ++i) {
            f.dialogs.answerMessage(Dialogs::Answer::OK);
            QTest::mouseClick(about->systemInfoButton, Qt::LeftButton);
            const Dialogs::Message ask = f.dialogs.messages().constLast();
            QCOMPARE(ask.text, QStringLiteral("Unable to view system info in this version."));
            QCOMPARE(ask.title, QDir(f.appFolder()).filePath(SettingsStore::executableName()));
            QCOMPARE(ask.icon, Dialogs::Icon::Information);
        }
        QVERIFY(about->isVisible());
        QTest::mouseClick(about->okButton, Qt::LeftButton);
        QTRY_VERIFY(!about);
        QVERIFY(f.frame->isEnabled());

        f.trigger("a_x");
        about = f.frame->sideWindows().about();
        about->close();
        QTRY_VERIFY(!about);
        QVERIFY(f.frame->isEnabled());
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
