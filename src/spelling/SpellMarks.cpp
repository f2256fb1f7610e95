#include "spelling/SpellMarks.h"

#include "spelling/SpellChecker.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <cmath>

namespace {

// An edit of up to this many paragraphs is left to the painting: they are on screen as a rule.
constexpr int kParagraphsLeftToPainting = 8;
// Beyond this many paragraphs, an edit makes the whole document wait for checking again: cheaper
// than visiting every paragraph it touched.
constexpr int kParagraphsMarkedOneByOne = 5000;

// A paragraph's marks, and when they were found.
class BlockMarks : public QTextBlockUserData
{
public:
    const SpellMarks *owner = nullptr;
    int generation = 0;
    QList<WordRules::Span> marks;
};

BlockMarks *marksData(const QTextBlock &block)
{
    return dynamic_cast<BlockMarks *>(block.userData());
}

void setStale(const QTextBlock &block)
{
    if (BlockMarks *data = marksData(block))
        data->generation = 0;
}

int nextGeneration(int generation)
{
    return generation == std::numeric_limits<int>::max() ? 1 : generation + 1;
}

} // namespace

SpellMarks::SpellMarks(QTextEdit &editor, SpellChecker &checker)
    : QObject(&editor), m_editor(editor), m_checker(checker), m_document(editor.document()),
      m_viewport(editor.viewport()), m_scan(m_document), m_lapStart(m_document)
{
    setObjectName(QStringLiteral("spellMarks"));
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &SpellMarks::checkSlice);
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(0);
    connect(&m_releaseTimer, &QTimer::timeout, this, &SpellMarks::repaintReleased);

    connect(m_document, &QTextDocument::contentsChange, this, &SpellMarks::contentsChanged);
    connect(&editor, &QTextEdit::cursorPositionChanged, this, &SpellMarks::caretMoved);
    connect(&checker, &SpellChecker::wordsChanged, this, &SpellMarks::checkAllAgain);
    connect(&checker, &SpellChecker::checksAsYouTypeChanged, this, &SpellMarks::switched);
    m_viewport->installEventFilter(this);
    if (isOn())
        checkAllAgain();
}

SpellMarks::~SpellMarks()
{
    if (m_viewport)
        m_viewport->update();
    if (!m_document)
        return;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        if (const BlockMarks *data = marksData(block); data && data->owner == this)
            block.setUserData(nullptr);
}

SpellMarks *SpellMarks::of(const QTextEdit &editor)
{
    return editor.findChild<SpellMarks *>(QStringLiteral("spellMarks"), Qt::FindDirectChildrenOnly);
}

std::optional<WordRules::Span> SpellMarks::markAt(int position)
{
    const QTextBlock block = m_document ? m_document->findBlock(position) : QTextBlock();
    if (!isOn() || !block.isValid())
        return std::nullopt;
    const int inBlock = position - block.position();
    for (const WordRules::Span &mark : freshMarks(block))
        if (inBlock >= mark.start && inBlock <= mark.end())
            return WordRules::Span{block.position() + mark.start, mark.length};
    return std::nullopt;
}

void SpellMarks::setSliceMilliseconds(int milliseconds)
{
    m_sliceMilliseconds = std::max(0, milliseconds);
    if (m_sliceMilliseconds == 0)
        m_sliceTimer.stop();
    else if (!m_lapDone && isOn())
        m_sliceTimer.start();
}

bool SpellMarks::isOn() const
{
    return m_checker.isAvailable() && m_checker.checksAsYouType();
}

// ---- Following the edits ------------------------------------------------------------------------

// The changed paragraphs are checked when they are painted again, which the editor does at once
// for what is on screen; a large change also starts the idle check for the rest.
void SpellMarks::contentsChanged(int from, int /*removed*/, int added)
{
    if (!isOn())
        return;
    noteTyping(from, added);
    const QTextBlock first = m_document->findBlock(from);
    QTextBlock last = m_document->findBlock(from + added);
    if (!last.isValid())
        last = m_document->lastBlock();
    int count = 0;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (++count > kParagraphsMarkedOneByOne)
            return checkAllAgain();
        setStale(block);
        if (block == last)
            break;
    }
    if (count > kParagraphsLeftToPainting)
        restartLap(from);
}

// A keystroke leaves the caret right after what it typed (or where it deleted): the word there is
// still being written, and is not marked until the caret leaves it.
void SpellMarks::noteTyping(int from, int added)
{
    const QTextCursor caret = m_editor.textCursor();
    const bool typing = added <= 1 && !caret.hasSelection() && caret.position() == from + added
                        && WordRules::wordAt(caret.block().text(), caret.positionInBlock());
    if (!typing) {
        releaseTyping();
        return;
    }
    if (!m_typing.isNull() && m_typing.block() != caret.block())
        releaseTyping();
    m_typing = QTextCursor(m_document);
    m_typing.setPosition(caret.position());
}

void SpellMarks::caretMoved()
{
    if (m_typing.isNull())
        return;
    const QTextCursor caret = m_editor.textCursor();
    const QTextBlock block = m_typing.block();
    if (caret.block() == block && !caret.hasSelection()) {
        const auto word = WordRules::wordAt(block.text(), m_typing.positionInBlock());
        const int at = caret.positionInBlock();
        if (word && at >= word->start && at <= word->end())
            return;
    }
    releaseTyping();
}

// The word that was being typed is checked with its paragraph, which is painted again once the
// layout has caught up with the edit under way.
void SpellMarks::releaseTyping()
{
    if (m_typing.isNull())
        return;
    setStale(m_typing.block());
    m_released = m_typing;
    m_typing = QTextCursor();
    m_releaseTimer.start();
}

void SpellMarks::repaintReleased()
{
    const QTextBlock block = m_released.block();
    m_released = QTextCursor();
    if (!block.isValid() || !m_viewport || block.layout()->lineCount() == 0)
        return;
    const QRectF rect = m_document->documentLayout()->blockBoundingRect(block).translated(-scrollOffset());
    m_viewport->update(rect.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void SpellMarks::switched(bool on)
{
    if (on) {
        checkAllAgain();
        return;
    }
    m_sliceTimer.stop();
    m_lapDone = true;
    if (m_viewport)
        m_viewport->update();
}

// Every paragraph waits for checking again: the words or the language changed, or checking was
// switched on. What is on screen is painted, and so checked, at once.
void SpellMarks::checkAllAgain()
{
    if (!isOn())
        return;
    m_generation = nextGeneration(m_generation);
    restartLap(m_editor.textCursor().position());
    if (m_viewport)
        m_viewport->update();
}

// ---- Checking when idle -------------------------------------------------------------------------

void SpellMarks::restartLap(int position)
{
    const int start = m_document->findBlock(position).position();
    m_scan.setPosition(start);
    m_lapStart.setPosition(start);
    m_wrapped = false;
    m_lapDone = false;
    if (m_sliceMilliseconds > 0)
        m_sliceTimer.start();
}

// One idle slice: the paragraphs from where the last slice stopped, around the document once.
void SpellMarks::checkSlice()
{
    if (!isOn() || m_lapDone || !m_document) {
        m_sliceTimer.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qint64(m_sliceMilliseconds) * 1000000;
    QTextBlock block = m_document->findBlock(m_scan.position());
    do {
        if (!block.isValid()) {
            block = m_document->begin();
            m_wrapped = true;
        }
        if (m_wrapped && block.position() + block.length() > m_lapStart.position()) {
            m_lapDone = true;
            m_sliceTimer.stop();
            return;
        }
        freshMarks(block);
        block = block.next();
    } while (clock.nsecsElapsed() < budget);
    if (block.isValid()) {
        m_scan.setPosition(block.position());
    } else {
        m_scan.setPosition(0);
        m_wrapped = true;
    }
}

// ---- The marks of one paragraph -----------------------------------------------------------------

bool SpellMarks::isStale(const QTextBlock &block) const
{
    const BlockMarks *data = marksData(block);
    return !data || data->owner != this || data->generation != m_generation;
}

QList<WordRules::Span> SpellMarks::freshMarks(QTextBlock block)
{
    BlockMarks *data = marksData(block);
    if (data && data->owner == this && data->generation == m_generation)
        return data->marks;
    const QList<WordRules::Span> marks = marksFor(block);
    if (!data && !block.userData()) {
        data = new BlockMarks;
        block.setUserData(data); // the paragraph owns it
    }
    if (data) { // else the paragraph holds someone else's data: its marks are found every time
        data->owner = this;
        data->generation = m_generation;
        data->marks = marks;
    }
    return marks;
}

QList<WordRules::Span> SpellMarks::marksFor(const QTextBlock &block) const
{
    const QString text = block.text();
    const int typedAt = !m_typing.isNull() && m_typing.block() == block ? m_typing.positionInBlock() : -1;
    QList<WordRules::Span> marks;
    for (const WordRules::Span &word : WordRules::checkable(text)) {
        if (typedAt >= word.start && typedAt <= word.end())
            continue;
        if (!m_checker.isCorrect(text.mid(word.start, word.length)))
            marks.append(word);
    }
    return marks;
}

// ---- Painting -----------------------------------------------------------------------------------

// The editor paints first; the marks go over what it painted, checking what they need to.
bool SpellMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || watched != m_viewport || m_painting || !isOn())
        return QObject::eventFilter(watched, event);
    {
        const QScopedValueRollback<bool> inside(m_painting, true);
        QCoreApplication::sendEvent(watched, event);
    }
    paintMarks(static_cast<QPaintEvent *>(event)->rect());
    return true;
}

// Where the editor's content starts, as its own painting places it.
QPointF SpellMarks::scrollOffset() const
{
    const QScrollBar *across = m_editor.horizontalScrollBar();
    const int x = m_editor.isRightToLeft() ? across->maximum() - across->value() : across->value();
    return QPointF(x, m_editor.verticalScrollBar()->value());
}

void SpellMarks::paintMarks(const QRect &area)
{
    if (!m_document)
        return;
    QTextBlock block = m_editor.cursorForPosition(QPoint(0, area.top())).block();
    const int last = std::max(m_editor.cursorForPosition(area.bottomRight()).position(),
                              m_editor.cursorForPosition(QPoint(0, area.bottom())).position());
    QPainter painter(m_viewport);
    for (; block.isValid() && block.position() <= last; block = block.next()) {
        if (!block.isVisible() || block.layout()->lineCount() == 0)
            continue;
        const QList<WordRules::Span> marks = freshMarks(block);
        if (!marks.isEmpty())
            drawMarks(painter, block, marks);
    }
}

void SpellMarks::drawMarks(QPainter &painter, const QTextBlock &block, const QList<WordRules::Span> &marks)
{
    const QTextLayout *layout = block.layout();
    const QPointF origin = m_document->documentLayout()->blockBoundingRect(block).topLeft() - scrollOffset();
    // The text being composed by an input method sits in the layout, not in the paragraph.
    const int composedAt = layout->preeditAreaPosition();
    const int composedLength = int(layout->preeditAreaText().size());
    const auto inLayout = [&](int position) {
        return composedLength > 0 && position >= composedAt ? position + composedLength : position;
    };
    QTextBlock::iterator fragment = block.begin();
    for (const WordRules::Span &mark : marks) {
        while (!fragment.atEnd() && fragment.fragment().position() + fragment.fragment().length()
                                        <= block.position() + mark.start)
            ++fragment;
        QFont font = fragment.atEnd() ? m_document->defaultFont() : fragment.fragment().charFormat().font();
        font = font.resolve(m_document->defaultFont());
        const int start = inLayout(mark.start);
        const int end = inLayout(mark.end());
        for (QTextLine line = layout->lineForTextPosition(start);
             line.isValid() && line.textStart() < end; line = layout->lineAt(line.lineNumber() + 1)) {
            const int from = std::max(start, line.textStart());
            const int to = std::min(end, line.textStart() + line.textLength());
            const qreal a = line.cursorToX(from);
            const qreal b = line.cursorToX(to);
            drawWave(painter, font, origin.x() + std::min(a, b), origin.x() + std::max(a, b),
                     origin.y() + line.y() + line.ascent());
        }
    }
}

// The red wave Qt draws for a spell-check underline: from just under the baseline, as deep as the
// font's descent allows.
void SpellMarks::drawWave(QPainter &painter, const QFont &font, qreal left, qreal right, qreal baseline)
{
    if (right - left < 1)
        return;
    const QFontMetricsF metrics(font, m_viewport);
    const qreal depth = metrics.descent() - 1;
    const qreal radius = std::min(std::max(metrics.underlinePos(), metrics.lineWidth()), depth / 2);
    const QPixmap &tile = wave(radius, metrics.lineWidth());
    const qreal top = baseline + 1;
    painter.setBrushOrigin(0, top);
    painter.fillRect(QRectF(left, top, std::ceil(right - left), std::min<qreal>(tile.height(), std::floor(depth))),
                     QBrush(tile));
}

const QPixmap &SpellMarks::wave(qreal maxRadius, qreal penWidth)
{
    const qreal base = std::max<qreal>(1, maxRadius);
    const quint64 key = (quint64(base * 64) << 32) | quint64(penWidth * 64);
    if (const auto found = m_waves.constFind(key); found != m_waves.cend())
        return *found;
    const qreal halfPeriod = std::max<qreal>(2, base * 1.61803399);
    const int width = int(std::ceil(100 / (2 * halfPeriod)) * (2 * halfPeriod));
    const qreal radius = std::floor(base * 2) / 2;
    QPainterPath path;
    qreal y = radius;
    for (qreal x = 0; x < width;) {
        x += halfPeriod;
        y = -y;
        path.quadTo(x - halfPeriod / 2, y, x, 0);
    }
    QPixmap tile(width, int(radius * 2));
    tile.fill(Qt::transparent);
    {
        QPainter draw(&tile);
        QPen pen(Qt::red, std::min(penWidth, 0.8 * radius));
        pen.setCapStyle(Qt::SquareCap);
        draw.setPen(pen);
        draw.setRenderHint(QPainter::Antialiasing);
        draw.translate(0, radius);
        draw.drawPath(path);
    }
    return *m_waves.insert(key, tile);
}
