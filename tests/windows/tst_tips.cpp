// Tip of the Day: the tips file's lines, the random draw, the stored setting and the Help command.
#include "support/FrameFixture.h"

#include "windows/SideWindows.h"
#include "windows/TipOfTheDay.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

void writeTips(const FrameFixture &f, const QByteArray &bytes, const QString &name = QStringLiteral("tipofday.txt"))
{
    QDir(f.appFolder()).remove(QStringLiteral("tipofday.txt"));
    QFile file(QDir(f.appFolder()).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

TipOfTheDay *openTips(FrameFixture &f)
{
    f.trigger(QStringLiteral("totd"));
    return f.frame->sideWindows().tips();
}

} // namespace

class TipsTest : public QObject
{
    Q_OBJECT

private slots:
    void linesEndAtCarriageReturns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("blank line, last without break") << "one\r\n\r\nthree" << QStringList{"one", "", "three"};
        QTest::newRow("line feeds only") << "one\ntwo\n" << QStringList{"one\ntwo\n"};
        QTest::newRow("CR alone, final break") << "one\rtwo\r\n" << QStringList{"one", "two"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void linesEndAtCarriageReturns()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TipOfTheDay::splitTips(text), lines);
    }

    void everyTipIsDrawnAlike()
    {
        FrameFixture f;
        f.start();
        // The name in another case; a Windows-1252 byte; a tip shown as it stands.
        writeTips(f, "caf\xe9\r\n\r\n<b>tip</b>", QStringLiteral("TipOfDay.TXT"));
        TipOfTheDay *tips = openTips(f);
        QCOMPARE(tips->tipLines(), (QStringList{QStringLiteral("caf\u00e9"), "", "<b>tip</b>"}));
        QMap<QString, int> shown;
        for (int i = 0; i < 3000; ++i) {
            QTest::mouseClick(tips->nextTipButton, Qt::LeftButton);
            shown[tips->tipLabel->text()] += 1;
        }
        QCOMPARE(shown.size(), 3);
        for (const int times : shown)
            QVERIFY2(times > 880 && times < 1120, qPrintable(QString::number(times)));

        // An empty file opens the window with nothing to show.
        tips->close();
        writeTips(f, "");
        tips = openTips(f);
        QTest::mouseClick(tips->nextTipButton, Qt::LeftButton);
        QCOMPARE(tips->tipLabel->text(), QString());
    }

    void eachOpeningReseeds()
    {
        FrameFixture f;
        f.start();
        int seeds = 0;
        f.services->randomSeed = [&seeds] { ++seeds; return quint32(777); };
        QByteArray bytes;
        for (int i = 1; i <= 50; ++i)
            bytes += "tip " + QByteArray::number(i) + "\r\n";
        writeTips(f, bytes);
        QStringList drawn;
        for (int run = 0; run < 2; ++run) {
            QPointer<TipOfTheDay> tips = openTips(f);
            for (int i = 0; i < 4; ++i) {
                drawn << tips->tipLabel->text();
                QTest::mouseClick(tips->nextTipButton, Qt::LeftButton);
            }
            QTest::mouseClick(tips->okButton, Qt::LeftButton);
            QTRY_VERIFY(!tips);
        }
        QCOMPARE(seeds, 2);
        QCOMPARE(drawn.mid(4), drawn.mid(0, 4));
        QVERIFY(QSet<QString>(drawn.begin(), drawn.end()).size() > 1);
    }

    void settingIsStoredButNeverKeepsTheWindowShut()
    {
        FrameFixture f;
        f.start();
        const auto setting = [&] { return f.settings->setting("Options", "Show Tips at Startup", "missing"); };
        QCOMPARE(setting(), QStringLiteral("missing"));
        QPointer<TipOfTheDay> tips = openTips(f);
        QVERIFY(tips->showAtStartupCheck->isChecked());
        QCOMPARE(setting(), QStringLiteral("1"));
        tips->showAtStartupCheck->click();
        QCOMPARE(setting(), QStringLiteral("0"));
        tips->close();
        QTRY_VERIFY(!tips);

        // With "0" stored, asking for the tips still shows them.
        tips = openTips(f);
        QVERIFY(tips && tips->isVisible());
        QVERIFY(!tips->tipLabel->text().isEmpty());
        QVERIFY(f.dialogs.asks().isEmpty());

        // Another window of the program becoming active closes them.
        QApplication::setActiveWindow(tips);
        QTRY_VERIFY(tips->isActiveWindow());
        QApplication::setActiveWindow(f.frame.get());
        QTRY_VERIFY(!tips);
    }

    void missingFileIsReported()
    {
        FrameFixture f(FrameFixture::Options{QString(), false});
        f.dialogs.answerMessage(Dialogs::Answer::OK); // the start-up warning
        f.start();
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger("totd");
        const Dialogs::Message ask = f.dialogs.messages().constLast();
        QCOMPARE(f.dialogs.messages().size(), 2);
        QCOMPARE(ask.text, QStringLiteral("Unable to find tips of the day text document !"));
        QCOMPARE(ask.title, QStringLiteral("Scrivlo"));
        QCOMPARE(ask.icon, Dialogs::Icon::Exclamation);
        QVERIFY(!f.frame->sideWindows().tips());

        // A window opened without the file says so.
        auto *tips = new TipOfTheDay(*f.frame);
        QCOMPARE(tips->tipLabel->text(), QStringLiteral("That the TIPOFDAY.TXT file was not found? "));
        QVERIFY(!tips->loadTips(QString()));
        tips->close();
    }
};

QTEST_MAIN(TipsTest)
#include "tst_tips.moc"
