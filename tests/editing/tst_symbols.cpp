// The Input Symbols window.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/SymbolsWindow.h"
#include "editing/InsertCommands.h"
#include "platform/DropDownList.h"

#include <QPushButton>
#include <QSet>
#include <QTest>

class SymbolsTest : public QObject
{
    Q_OBJECT

    SymbolsWindow *open(FrameFixture &f)
    {
        f.trigger("fgsdgfdg");
        SymbolsWindow *form = f.frame->insertCommands().symbolsWindow();
        if (form && !QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000))
            return nullptr;
        return form;
    }

private slots:
    void listHoldsEveryCodeOfTheCodePage()
    {
        FrameFixture f;
        f.start();
        SymbolsWindow *form = open(f);
        QVERIFY(form);
        QCOMPARE(form->symbolList->count(), 255);
        QCOMPARE(form->symbolList->text(), QString()); // nothing stored yet

        QSet<char16_t> seen;
        for (int i = 0; i < form->symbolList->count(); ++i) {
            const QString entry = form->symbolList->itemText(i);
            QCOMPARE(entry.size(), 1);
            seen.insert(entry.at(0).unicode());
        }
        QCOMPARE(seen.size(), 255);
        for (char16_t c : {u'\x01', u'A', u'\u20AC', u'\u2122', u'\u0081', u'\u009D', u'\u00A9', u'\u00FF'})
            QVERIFY(seen.contains(c));
        // Sorted as the platform sorts text, not by code: "a" and "A" stand together.
        const int a = form->symbolList->findText("a"), A = form->symbolList->findText("A"), b = form->symbolList->findText("b");
        QVERIFY(std::abs(a - A) == 1 && b > std::max(a, A));
    }

    void insertsStaysOpenAndRemembersTheLastSymbol()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("(c) 2024");
        box.setSelectionStart(0);
        box.setSelectionLength(3);

        SymbolsWindow *form = open(f);
        QVERIFY(form);
        form->insertSymbol(); // nothing chosen: nothing inserted, the selection stays
        QCOMPARE(box.text(), QStringLiteral("(c) 2024"));
        QCOMPARE(f.settings->setting("sy", "sya", "unset"), QString());

        form->symbolList->setText(QString(QChar(0xA9)));
        QTest::mouseClick(form->insertButton, Qt::LeftButton);
        QCOMPARE(box.text(), QString::fromUtf8("© 2024"));
        QVERIFY(form->isVisible());
        QTest::mouseClick(form->insertButton, Qt::LeftButton);
        QCOMPARE(box.text(), QString::fromUtf8("©© 2024"));
        QCOMPARE(f.settings->setting("sy", "sya", ""), QString::fromUtf8("©"));

        form->close();
        QTRY_VERIFY(!f.frame->insertCommands().symbolsWindow());
        form = open(f);
        QVERIFY(form);
        QCOMPARE(form->symbolList->text(), QString::fromUtf8("©"));
    }

    void closesWhenADocumentWindowBecomesActive()
    {
        FrameFixture f;
        f.start();
        SymbolsWindow *form = open(f);
        QVERIFY(form);
        QPointer<SymbolsWindow> watched(form);
        f.frame->activateWindow();
        f.active()->surface->setFocus();
        QTRY_VERIFY(!watched);
        QVERIFY(!f.frame->insertCommands().symbolsWindow());
    }
};

QTEST_MAIN(SymbolsTest)
#include "tst_symbols.moc"
