// The Help window: F1 opens the guide beside the frame, its links lead somewhere, it tells of every
// command, and it opens again at the size the user left it.
#include "support/FrameFixture.h"

#include "app/MenuTable.h"
#include "windows/HelpWindow.h"
#include "windows/SideWindows.h"

#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void f1OpensTheGuideWithoutHoldingTheFrame()
    {
        FrameFixture f;
        f.start();
        f.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
        QTest::keyClick(f.frame.get(), Qt::Key_F1);
        QPointer<HelpWindow> help = f.frame->sideWindows().help();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Scrivlo Help"));
        f.trigger("new"); // the frame goes on working
        QCOMPARE(f.frame->documents().size(), 2);

        // A click on a link of the contents leads to its section.
        help->resize(400, 300);
        QTextBrowser &browser = *help->browser;
        const QTextCursor link = browser.document()->find(QStringLiteral("Settings"));
        QVERIFY(link.charFormat().isAnchor());
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, browser.cursorRect(link).center());
        QCOMPARE(browser.source().fragment(), QStringLiteral("settings"));
        QVERIFY(browser.verticalScrollBar()->value() > 0);

        // It opens again at the size the user left it.
        help->close();
        QTRY_VERIFY(!help);
        f.trigger("awxph");
        QCOMPARE(f.frame->sideWindows().help()->size(), QSize(400, 300));
        f.frame->sideWindows().help()->close();
        // A kept size too large for the screen still gives a window on it.
        f.settings->saveSetting("help", "size", "90000x90000");
        f.trigger("awxph");
        QVERIFY(f.frame->screen()->availableGeometry().contains(f.frame->sideWindows().help()->frameGeometry()));
    }

    void theGuideIsWhole()
    {
        QFile file(QStringLiteral(":/help/guide.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        // Every link has its place.
        QRegularExpressionMatchIterator links = QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html);
        QVERIFY(links.hasNext());
        while (links.hasNext()) {
            const QString target = links.next().captured(1);
            QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(target)), qPrintable(target));
        }
        // Every command that does something is told of.
        QTextDocument guide;
        guide.setHtml(html);
        const QString text = guide.toPlainText();
        for (const MenuEntry &entry : MenuTable::entries()) {
            QString caption = QString::fromUtf8(entry.caption).remove(QLatin1Char('&'));
            while (caption.endsWith(QLatin1Char('.')))
                caption.chop(1);
            if (caption != QLatin1String("-") && entry.enabled)
                QVERIFY2(text.contains(caption.trimmed(), Qt::CaseInsensitive), qPrintable(caption));
        }
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
