// The screen layout against Qt's own, over the documents of the public RTF corpus: each document in
// two text edits, one on each layout. Every paragraph's rectangle, hit tests across the pages and the
// rendered pages must agree; then the same keys go to both edits (moving, selecting, paging, typing,
// deleting, undoing) and the caret, the selection, the scroll position and the paragraphs must
// agree after each key.
#include "layout/IncrementalLayout.h"
#include "layout/ListItemMarker.h"
#include "rtf/RtfCodec.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <memory>

namespace {

constexpr qreal kTolerance = 0.02;
constexpr int kPageHeight = 3000; // how much of a document is compared pixel by pixel and hit

QStringList corpusFiles()
{
    QStringList files;
    QDirIterator it(QStringLiteral(SCRIVLO_SHARED_DIR "/rtf-corpus"), {QStringLiteral("*.rtf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// A small picture as RTF's hex digits.
QByteArray pictureHex(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// Documents of what the corpus has too little of: right-to-left paragraphs and lists, floating
// pictures at either side, page breaks, line spacings, a line break right after a table.
QList<std::pair<QString, QByteArray>> syntheticDocuments()
{
    const QByteArray words = "words that wrap over the width of the page again and again, ";
    const QByteArray hebrew = "\\u1513?\\u1500?\\u1493?\\u1501? \\u1506?\\u1493?\\u1500?\\u1501? ";
    QByteArray rtl = "{\\rtf1\\ansi\\ansicpg1255{\\fonttbl{\\f0 DejaVu Sans;}}"
                     "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid1}}"
                     "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\f0 ";
    rtl += "\\pard\\rtlpar\\qr " + hebrew.repeated(12) + "\\par\\pard\\rtlpar\\qj\\li600\\fi-300 " + hebrew.repeated(9)
         + "\\par\\pard\\rtlpar\\ls1 " + hebrew + "\\par\\pard\\rtlpar\\ls1 " + hebrew.repeated(8) + "\\par"
         + "\\pard\\ltrpar mixed " + hebrew + words + "\\par\\pard\\rtlpar\\qc " + hebrew + "\\par}";
    const auto shape = [](int left, int right, const QByteArray &hex) {
        return "{\\shp{\\*\\shpinst\\shpleft" + QByteArray::number(left) + "\\shptop0\\shpright" + QByteArray::number(right)
             + "\\shpbottom1500\\shpwr2{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picw60\\pich40\\picwgoal1500\\pichgoal1000 "
             + hex + "}}}}}";
    };
    const QByteArray hex = pictureHex(QSize(60, 40), Qt::darkCyan);
    QByteArray floats = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 \\pard " + words + "\\par\\pard "
                      + shape(0, 1500, hex) + words.repeated(6) + "\\par\\pard " + shape(7000, 8500, hex) + words.repeated(5)
                      + "\\par\\pard {\\pict\\pngblip\\picwgoal900\\pichgoal600 " + hex + "} inline " + words + "\\par}";
    QByteArray spacing = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 "
                         "\\pard\\sl-300\\slmult0 " + words.repeated(3) + "\\par\\pard\\sl480\\slmult0 " + words.repeated(3)
                       + "\\par\\pard\\sl360\\slmult1\\sb240\\sa120 " + words.repeated(3) + "\\par\\page\\pard " + words
                       + "\\par\\pard\\pagebb\\sb480 after a page break\\par"
                         "\\trowd\\cellx3000\\cellx6000\\pard\\intbl one\\cell two\\cell\\row"
                         "\\pard \\line after the table, " + words + "\\par}";
    return {{QStringLiteral("right-to-left"), rtl}, {QStringLiteral("floats"), floats}, {QStringLiteral("spacing"), spacing}};
}

bool near(const QRectF &a, const QRectF &b)
{
    return std::abs(a.x() - b.x()) < kTolerance && std::abs(a.y() - b.y()) < kTolerance
        && std::abs(a.width() - b.width()) < kTolerance && std::abs(a.height() - b.height()) < kTolerance;
}

// A text edit as the program sets one up, on Qt's layout or on ours.
struct Edit
{
    // `zoom` in percent: the layout measures at that resolution, as the surface's zoom does.
    explicit Edit(bool ours, int zoom = 100)
    {
        if (zoom != 100) {
            const double dotsPerMeter = 96 * zoom / 100.0 / 0.0254;
            device = QImage(1, 1, QImage::Format_RGB32);
            device.setDotsPerMeterX(qRound(dotsPerMeter));
            device.setDotsPerMeterY(qRound(dotsPerMeter));
        }
        QFont font(QStringLiteral("Times New Roman"));
        font.setPointSizeF(9.75);
        edit.setFont(font);
        edit.document()->setDefaultFont(font);
        if (ours) {
            layout = new IncrementalLayout(edit.document());
            layout->setSliceMilliseconds(0);     // laid out completely by the test, below
            layout->setEditMilliseconds(100000); // an edit lays out all it touched
            edit.document()->setDocumentLayout(layout);
        }
        if (zoom != 100)
            documentLayout()->setPaintDevice(&device);
        edit.resize(800, 600);
        edit.show();
    }
    void load(const QByteArray &rtf)
    {
        RtfCodec::read(rtf, *edit.document());
        settle();
    }
    // Laid out completely, the edit's scroll bars and width settled with it.
    void settle()
    {
        for (int i = 0; i < 5; ++i) {
            if (layout) {
                layout->layoutAll();
            } else {
                // Qt's layout sometimes leaves the paragraph after an undone edit without lines
                // (and its caret a stub of 10 pixels): it is laid out again from scratch then.
                QTextDocument *doc = edit.document();
                for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
                    if (block.isVisible() && block.layout()->lineCount() == 0) {
                        doc->markContentsDirty(0, doc->characterCount());
                        repaired = true;
                        break;
                    }
                }
                documentLayout()->frameBoundingRect(doc->rootFrame()); // lays out all of it
            }
            QCoreApplication::processEvents();
            if (!layout || layout->isComplete())
                break;
        }
    }
    QAbstractTextDocumentLayout *documentLayout() const { return edit.document()->documentLayout(); }
    QImage render(int height) const
    {
        QImage image(int(documentLayout()->documentSize().width()), height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, 0, image.width(), image.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        documentLayout()->draw(&painter, context);
        return image;
    }

    ~Edit() { documentLayout()->setPaintDevice(nullptr); }

    QImage device;
    QTextEdit edit;
    IncrementalLayout *layout = nullptr;
    bool repaired = false; // Qt's layout was laid out again after its glitch
};

// What differs between the two edits' paragraphs, or nothing.
QString paragraphsDiffer(const Edit &qt, const Edit &ours)
{
    const QSizeF a = qt.documentLayout()->documentSize();
    const QSizeF b = ours.documentLayout()->documentSize();
    if (std::abs(a.width() - b.width()) > kTolerance || std::abs(a.height() - b.height()) > kTolerance)
        return QStringLiteral("document size %1x%2, ours %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    for (QTextBlock x = qt.edit.document()->begin(), y = ours.edit.document()->begin(); x.isValid() && y.isValid();
         x = x.next(), y = y.next()) {
        const QRectF r = qt.documentLayout()->blockBoundingRect(x);
        const QRectF s = ours.documentLayout()->blockBoundingRect(y);
        bool same = near(r, s) && x.layout()->lineCount() == y.layout()->lineCount();
        for (int i = 0; same && i < x.layout()->lineCount(); ++i) {
            const QTextLine l = x.layout()->lineAt(i);
            const QTextLine m = y.layout()->lineAt(i);
            same = l.textStart() == m.textStart() && std::abs(l.x() - m.x()) < kTolerance && std::abs(l.y() - m.y()) < kTolerance;
        }
        if (!same)
            return QStringLiteral("paragraph %1 \"%2\": Qt's %3,%4 %5x%6, ours %7,%8 %9x%10")
                .arg(x.blockNumber()).arg(x.text().left(20))
                .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(s.x()).arg(s.y()).arg(s.width()).arg(s.height());
    }
    return QString();
}

QString viewsDiffer(const Edit &qt, const Edit &ours)
{
    const QTextCursor a = qt.edit.textCursor();
    const QTextCursor b = ours.edit.textCursor();
    if (a.position() != b.position() || a.anchor() != b.anchor())
        return QStringLiteral("selection %1-%2, ours %3-%4").arg(a.anchor()).arg(a.position()).arg(b.anchor()).arg(b.position());
    // In the document: where the caret is drawn is a matter of the scroll position, compared below.
    const QRect r = qt.edit.cursorRect().translated(0, qt.edit.verticalScrollBar()->value());
    const QRect s = ours.edit.cursorRect().translated(0, ours.edit.verticalScrollBar()->value());
    if (r != s) {
        return QStringLiteral("caret at %1: Qt's %2,%3 %4x%5, ours %6,%7 %8x%9").arg(a.position())
            .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(s.x()).arg(s.y()).arg(s.width()).arg(s.height());
    }
    if (qt.edit.verticalScrollBar()->value() != ours.edit.verticalScrollBar()->value()
        || qt.edit.verticalScrollBar()->maximum() != ours.edit.verticalScrollBar()->maximum())
        return QStringLiteral("scroll position %1 of %2, ours %3 of %4")
            .arg(qt.edit.verticalScrollBar()->value()).arg(qt.edit.verticalScrollBar()->maximum())
            .arg(ours.edit.verticalScrollBar()->value()).arg(ours.edit.verticalScrollBar()->maximum());
    return QString();
}

// The markers of the list items the program numbers as the file says and Qt's layout would number
// otherwise (Qt 6.4 numbers every list from 1 and knows no templates): blanked out in both
// renderings, as the one difference meant to be there. A marker stands before its item's first
// line: at its left, or at its right in a right-to-left paragraph.
void blankRenumberedMarkers(const Edit &edit, QImage &image)
{
    QPainter painter(&image);
    for (QTextBlock block = edit.edit.document()->begin(); block.isValid(); block = block.next()) {
        const QTextList *list = block.textList();
        const QString ours = ListItemMarker::text(block);
        if (!list || ours.isEmpty() || list->itemText(block) == ours || block.layout()->lineCount() == 0)
            continue;
        const QRectF rect = edit.documentLayout()->blockBoundingRect(block);
        const QTextLine line = block.layout()->lineAt(0);
        const QRectF text = line.naturalTextRect().translated(rect.left(), rect.top());
        const qreal top = text.top() - 2;
        const qreal height = text.height() + 4;
        if (block.textDirection() == Qt::RightToLeft)
            painter.fillRect(QRectF(text.right(), top, image.width() - text.right(), height), Qt::white);
        else
            painter.fillRect(QRectF(0, top, text.left(), height), Qt::white);
    }
}

// Where two renderings differ, or nothing.
QString imagesDiffer(const QImage &qt, const QImage &ours, const QString &name)
{
    if (qt.size() != ours.size())
        return QStringLiteral("rendered size differs");
    QRect area;
    int count = 0;
    for (int y = 0; y < qt.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(qt.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(ours.constScanLine(y));
        for (int x = 0; x < qt.width(); ++x) {
            if (a[x] != b[x]) {
                area |= QRect(x, y, 1, 1);
                ++count;
            }
        }
    }
    if (qEnvironmentVariableIsSet("SCRIVLO_PARITY_IMAGES")) {
        qt.save(QDir::temp().filePath(name + QStringLiteral("-qt.png")));
        ours.save(QDir::temp().filePath(name + QStringLiteral("-ours.png")));
    }
    if (count == 0)
        return QString();
    return QStringLiteral("%1 pixels differ, within %2,%3 %4x%5").arg(count).arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
}

} // namespace

class ParityTest : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("zoom");
        const QStringList files = corpusFiles();
        for (const QString &path : files) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << file.readAll() << 100;
        }
        for (const auto &[name, rtf] : syntheticDocuments()) {
            QTest::newRow(qPrintable(name)) << rtf << 100;
            QTest::newRow(qPrintable(name + QStringLiteral(" at 150%"))) << rtf << 150;
        }
        // Zoomed: a third of the corpus at 125%.
        for (int i = 0; i < files.size(); i += 3) {
            QFile file(files.at(i));
            if (file.open(QIODevice::ReadOnly))
                QTest::newRow(qPrintable(QFileInfo(files.at(i)).fileName() + QStringLiteral(" at 125%"))) << file.readAll() << 125;
        }
    }

    // Paragraphs, hit tests and the rendered pages.
    void pages()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, zoom);
        Edit qt(false, zoom);
        Edit ours(true, zoom);
        qt.load(rtf);
        ours.load(rtf);
        const QString differ = paragraphsDiffer(qt, ours);
        QVERIFY2(differ.isEmpty(), qPrintable(differ));

        const int height = int(std::min<qreal>(kPageHeight, qt.documentLayout()->documentSize().height()));
        const qreal width = qt.documentLayout()->documentSize().width();
        const qreal end = qt.documentLayout()->documentSize().height();
        QList<qreal> rows;
        for (qreal y = 0; y < height; y += 13)
            rows << y;
        rows << -5 << end + 5 << end + 60; // above the document and below its end too
        for (const qreal y : rows) {
            for (qreal x = 0; x < width; x += 61) {
                for (const Qt::HitTestAccuracy accuracy : {Qt::FuzzyHit, Qt::ExactHit}) {
                    const int a = qt.documentLayout()->hitTest(QPointF(x, y), accuracy);
                    const int b = ours.documentLayout()->hitTest(QPointF(x, y), accuracy);
                    if (a != b)
                        QFAIL(qPrintable(QStringLiteral("hit test at %1,%2: Qt's %3, ours %4").arg(x).arg(y).arg(a).arg(b)));
                }
            }
        }
        QImage qtImage = qt.render(height);
        QImage ourImage = ours.render(height);
        blankRenumberedMarkers(qt, qtImage);
        blankRenumberedMarkers(ours, ourImage);
        const QString images = imagesDiffer(qtImage, ourImage, QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(images.isEmpty(), qPrintable(images));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("path");
        // Documents of each kind: lists, tables (nested, merged cells), pictures, floats, line
        // spacing, long text.
        for (const char *name : {"pandoc/list_complex.rtf", "pandoc/table_nested.rtf", "rtfpipe/merged_cells.rtf",
                                 "rtfpipe/Issue50-1.rtf", "rtf-parser-rs/file-sample_500kB.rtf", "striprtf/BVWGT.rtf",
                                 "rtfjs/wmf-and-emf.rtf", "tika/testRTFVarious.rtf", "libreoffice/floating-table.rtf"})
            QTest::newRow(name) << QStringLiteral(SCRIVLO_SHARED_DIR "/rtf-corpus/") + QLatin1String(name);
    }

    // The same keys to both edits: caret, selection, scroll position and paragraphs after each.
    void keys()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        Edit qt(false);
        Edit ours(true);
        qt.load(rtf);
        ours.load(rtf);
        struct Key
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers = Qt::NoModifier;
            int times = 1;
            const char *text = nullptr;
        };
        const std::vector<Key> script = {
            {Qt::Key_Down, {}, 7},       {Qt::Key_End},
            {Qt::Key_Down, Qt::ShiftModifier, 3}, {Qt::Key_Right},
            {Qt::Key_PageDown, {}, 2},   {Qt::Key_Up, Qt::ShiftModifier, 2},
            {Qt::Key_A, {}, 1, "typed words that wrap "}, {Qt::Key_Return, {}, 2},
            {Qt::Key_Backspace, {}, 3},  {Qt::Key_Z, Qt::ControlModifier},
            {Qt::Key_Delete, {}, 4},     {Qt::Key_PageUp},
            {Qt::Key_Down, Qt::ShiftModifier, 12}, {Qt::Key_Delete},
            {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Up, {}, 5},
            {Qt::Key_Home},              {Qt::Key_Return},
            {Qt::Key_Z, Qt::ControlModifier, 2}, {Qt::Key_Home, Qt::ControlModifier},
        };
        for (const Key &key : script) {
            for (int i = 0; i < key.times; ++i) {
                qt.repaired = false;
                for (Edit *edit : {&qt, &ours}) {
                    if (key.text)
                        QTest::keyClicks(&edit->edit, QString::fromLatin1(key.text));
                    else
                        QTest::keyClick(&edit->edit, key.key, key.modifiers);
                    edit->settle();
                }
                // Where Qt's layout had to be laid out again, the edit scrolled by a wrong height:
                // it is put where ours is, and compared from the next key on.
                if (qt.repaired)
                    qt.edit.verticalScrollBar()->setValue(ours.edit.verticalScrollBar()->value());
                const QString view = viewsDiffer(qt, ours);
                QVERIFY2(view.isEmpty(), qPrintable(QStringLiteral("after key %1: %2").arg(int(key.key), 0, 16).arg(view)));
            }
            const QString differ = paragraphsDiffer(qt, ours);
            QVERIFY2(differ.isEmpty(), qPrintable(QStringLiteral("after key %1: %2").arg(int(key.key), 0, 16).arg(differ)));
        }
    }
};

QTEST_MAIN(ParityTest)
#include "tst_parity.moc"
