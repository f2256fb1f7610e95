// The Input Symbols window.
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "editing/Form5.h"
#include "editing/InsertCommands.h"
#include "platform/DropDownList.h"

#include <QPushButton>
#include <QSet>
#include <QTest>

class SymbolsTest : public QObject
{
    Q_OBJECT

    Form5 *open(FrameFixture &f)
    {
        f.trigger("fgsdgfdg");
        Form5 *form = f.frame->insertCommands().symbolsWindow();
        if (form && !QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000))
            return nullptr;
        return form;
    }

private slots:
    void listHoldsEveryCodeOfTheCodePage()
    {
        FrameFixture f;
        f.start();
        Form5 *form = open(f);
        QVERIFY(form);
        QCOMPARE(form->Combo1->count(), 255);
        QCOMPARE(form->Combo1->Text(), QString()); // nothing stored yet

        QSet<char16_t> seen;
        for (int i = 0; i < form->Combo1->count(); ++i) {
            const QString entry = form->Combo1->itemText(i);
            QCOMPARE(entry.size(), 1);
            seen.insert(entry.at(0).unicode());
        }
        QCOMPARE(seen.size(), 255);
        for (char16_t c : {u'\x01', u'A', u'\u20AC', u'\u2122', u'\u0081', u'\u009D', u'\u00A9', u'\u00FF'})
            QVERIFY(seen.contains(c));
        // Sorted as the platform sorts text, not by code: "a" and "A" stand together.
        const int a = form->Combo1->findText("a"), A = form->Combo1->findText("A"), b = form->Combo1->findText("b");
        QVERIFY(std::abs(a - A) == 1 && b > std::max(a, A));
    }

    void insertsStaysOpenAndRemembersTheLastSymbol()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("(c) 2024");
        box.setSelStart(0);
        box.setSelLength(3);

        Form5 *form = open(f);
        QVERIFY(form);
        form->Command1_Click(); // nothing chosen: nothing inserted, the selection stays
        QCOMPARE(box.Text(), QStringLiteral("(c) 2024"));
        QCOMPARE(f.settings->GetSetting("sy", "sya", "unset"), QString());

        form->Combo1->setText(QString(QChar(0xA9)));
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(box.Text(), QString::fromUtf8("© 2024"));
        QVERIFY(form->isVisible());
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(box.Text(), QString::fromUtf8("©© 2024"));
        QCOMPARE(f.settings->GetSetting("sy", "sya", ""), QString::fromUtf8("©"));

        form->close();
        QTRY_VERIFY(!f.frame->insertCommands().symbolsWindow());
        form = open(f);
        QVERIFY(form);
        QCOMPARE(form->Combo1->Text(), QString::fromUtf8("©"));
    }

    void closesWhenADocumentWindowBecomesActive()
    {
        FrameFixture f;
        f.start();
        Form5 *form = open(f);
        QVERIFY(form);
        QPointer<Form5> watched(form);
        f.frame->activateWindow();
        f.active()->RichTextBox1->setFocus();
        QTRY_VERIFY(!watched);
        QVERIFY(!f.frame->insertCommands().symbolsWindow());
    }
};

QTEST_MAIN(SymbolsTest)
#include "tst_symbols.moc"
