// The screen layout laid out a piece at a time: what it shows after edits and idle slices is what
// laying out the same document afresh shows, and a view following it stays where its reader was.
#include "document/ScreenLayout.h"
#include "layout/HeightIndex.h"
#include "layout/IncrementalLayout.h"

#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QTextTable>
#include <memory>

namespace {

IncrementalLayout *layOut(QTextDocument &doc)
{
    auto *layout = new IncrementalLayout(&doc);
    layout->setSliceMilliseconds(0);
    doc.setDocumentLayout(layout);
    doc.setPageSize(QSizeF(600, -1));
    return layout;
}

// What differs between the document's layout and a fresh one of a copy of it, or nothing.
QString differsFromFresh(QTextDocument &doc, IncrementalLayout &layout)
{
    layout.layoutAll();
    std::unique_ptr<QTextDocument> copy(doc.clone());
    IncrementalLayout *fresh = layOut(*copy);
    fresh->layoutAll();
    if (layout.documentSize() != fresh->documentSize())
        return QStringLiteral("document size");
    for (QTextBlock a = doc.begin(), b = copy->begin(); a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
        if (layout.blockBoundingRect(a) != fresh->blockBoundingRect(b) || a.layout()->lineCount() != b.layout()->lineCount())
            return QStringLiteral("paragraph %1").arg(a.blockNumber());
    }
    return QString();
}

void fill(QTextDocument &doc, int paragraphs)
{
    QTextCursor cursor(&doc);
    for (int i = 0; i < paragraphs; ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("Paragraph %1 with some words that wrap across the line ").arg(i).repeated(1 + i % 4));
    }
}

} // namespace

class IncrementalTest : public QObject
{
    Q_OBJECT

private slots:
    void heightIndexSumsAndFinds()
    {
        HeightIndex index;
        index.clear();
        std::vector<int> plain;
        QRandomGenerator random(7);
        for (int step = 0; step < 400; ++step) {
            const int at = plain.empty() ? 0 : int(random.bounded(quint32(plain.size())));
            switch (random.bounded(3)) {
            case 0: {
                const int count = 1 + int(random.bounded(5));
                const int height = int(random.bounded(3)) * 64 * 7; // some of no height
                index.insert(at, count, Fixed::fromFixed(height));
                plain.insert(plain.begin() + at, std::size_t(count), height);
                break;
            }
            case 1:
                if (!plain.empty()) {
                    const int count = std::min<int>(1 + int(random.bounded(3)), int(plain.size()) - at);
                    index.remove(at, count);
                    plain.erase(plain.begin() + at, plain.begin() + at + count);
                }
                break;
            default:
                if (!plain.empty()) {
                    const int height = int(random.bounded(1000));
                    index.setHeight(at, Fixed::fromFixed(height));
                    plain[std::size_t(at)] = height;
                }
            }
            int sum = 0;
            for (int i = 0; i < int(plain.size()); ++i) {
                QCOMPARE(index.start(i).value(), sum);
                // The item holding a height is the first one that ends below it.
                if (plain[std::size_t(i)] > 0)
                    QCOMPARE(index.itemAt(Fixed::fromFixed(sum)), i);
                sum += plain[std::size_t(i)];
            }
            QCOMPARE(index.total().value(), sum);
            QCOMPARE(index.itemAt(Fixed::fromFixed(sum)), int(plain.size()));
        }
    }

    // Typing, new paragraphs, deletions, formats, lists, tables and their cells, undo and redo.
    void editsLayOutAsAFreshLayoutDoes()
    {
        QTextDocument doc;
        IncrementalLayout *layout = layOut(doc);
        fill(doc, 40);
        QVERIFY2(differsFromFresh(doc, *layout).isEmpty(), "after filling");
        QRandomGenerator random(11);
        for (int step = 0; step < 80; ++step) {
            QTextCursor cursor(&doc);
            cursor.setPosition(int(random.bounded(quint32(doc.characterCount() - 1))));
            QString what;
            switch (random.bounded(9)) {
            case 0:
                what = QStringLiteral("typing");
                cursor.insertText(QStringLiteral("typed text "));
                break;
            case 1:
                what = QStringLiteral("new paragraph");
                cursor.insertBlock();
                break;
            case 2:
                what = QStringLiteral("deletion");
                cursor.setPosition(std::min(cursor.position() + int(random.bounded(300)), doc.characterCount() - 1),
                                   QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
                break;
            case 3: {
                what = QStringLiteral("margins");
                QTextBlockFormat format;
                format.setTopMargin(random.bounded(20));
                format.setBottomMargin(random.bounded(20));
                format.setLeftMargin(random.bounded(40));
                cursor.mergeBlockFormat(format);
                break;
            }
            case 4:
                what = QStringLiteral("list");
                cursor.createList(random.bounded(2) ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc);
                break;
            case 5:
                if (cursor.currentTable())
                    continue;
                what = QStringLiteral("table");
                cursor.insertTable(2 + int(random.bounded(3)), 2)->cellAt(1, 1).firstCursorPosition().insertText(
                    QStringLiteral("a cell's words"));
                break;
            case 6:
                what = QStringLiteral("undo");
                doc.undo();
                break;
            case 7:
                what = QStringLiteral("redo");
                doc.redo();
                break;
            default:
                what = QStringLiteral("bold");
                cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
                QTextCharFormat bold;
                bold.setFontWeight(QFont::Bold);
                bold.setFontPointSize(8 + random.bounded(12));
                cursor.mergeCharFormat(bold);
            }
            const QString differ = differsFromFresh(doc, *layout);
            QVERIFY2(differ.isEmpty(), qPrintable(QStringLiteral("step %1 (%2): %3").arg(step).arg(what, differ)));
        }
    }

    // A long document is laid out as it is shown and when the program is idle, a big table a few
    // cells at a time; laid out all through, it is what a fresh layout gives.
    void restIsLaidOutWhenIdle()
    {
        QTextDocument doc;
        fill(doc, 3000);
        QTextCursor cursor(doc.findBlockByNumber(1500));
        QTextTable *table = cursor.insertTable(60, 3);
        for (int r = 0; r < table->rows(); ++r)
            for (int c = 0; c < table->columns(); ++c)
                table->cellAt(r, c).firstCursorPosition().insertText(QStringLiteral("cell text ").repeated(1 + (r + c) % 7));
        IncrementalLayout *layout = layOut(doc);
        QVERIFY(!layout->isComplete());
        const QTextBlock last = doc.lastBlock();
        const QRectF estimated = layout->blockBoundingRect(last);
        QVERIFY(estimated.height() > 0);
        layout->setSliceMilliseconds(1);
        QTRY_VERIFY_WITH_TIMEOUT(layout->isComplete(), 30000);
        QVERIFY(layout->blockBoundingRect(last).top() > 0);
        QVERIFY(differsFromFresh(doc, *layout).isEmpty());
    }

    // The real heights of paragraphs above the view replace their estimates; the view keeps
    // showing the paragraph it showed, where it showed it.
    void viewStaysWhereTheReaderWas()
    {
        QTextEdit edit;
        fill(*edit.document(), 3000);
        IncrementalLayout &layout = ScreenLayout::install(edit);
        layout.setSliceMilliseconds(0);
        edit.resize(600, 400);
        edit.show();
        QCoreApplication::processEvents();
        QScrollBar *bar = edit.verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        QCoreApplication::processEvents();
        const int position = layout.hitTest(QPointF(10, bar->value() + 5), Qt::FuzzyHit);
        const QTextBlock block = edit.document()->findBlock(position);
        const qreal above = layout.blockBoundingRect(block).top() - bar->value();
        QVERIFY(!layout.isComplete());
        layout.layoutAll();
        QVERIFY(std::abs(layout.blockBoundingRect(block).top() - bar->value() - above) < 1);
    }

    // As Qt's layout: on a page of no size nothing is laid out or placed.
    void pageOfNoSizeHasNoPlaces()
    {
        QTextDocument doc;
        IncrementalLayout *layout = layOut(doc);
        fill(doc, 5);
        doc.setPageSize(QSizeF(0, 0));
        QCOMPARE(layout->blockBoundingRect(doc.begin()), QRectF());
        QCOMPARE(layout->hitTest(QPointF(5, 5), Qt::ExactHit), -1);
        doc.setPageSize(QSizeF(500, -1));
        QVERIFY(layout->blockBoundingRect(doc.begin()).height() > 0);
    }
};

QTEST_MAIN(IncrementalTest)
#include "tst_incremental.moc"
