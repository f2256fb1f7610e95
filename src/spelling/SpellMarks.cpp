#include "spelling/SpellMarks.h"

#include "spelling/SpellChecker.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

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

// A position after an edit of the document (as a cursor there would move).
int shifted(int position, int from, int removed, int added)
{
    if (position <= from)
        return position;
    return position <= from + removed ? from : position - removed + added;
}

int nextGeneration(int generation)
{
    return generation == std::numeric_limits<int>::max() ? 1 : generation + 1;
}

} // namespace

SpellMarks::SpellMarks(QTextEdit &editor, SpellChecker &checker)
    : QObject(&editor), m_editor(editor), m_checker(&checker), m_viewport(editor.viewport()), m_painter(editor)
{
    setObjectName(QStringLiteral("spellMarks"));
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &SpellMarks::checkSlice);
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(0);
    connect(&m_releaseTimer, &QTimer::timeout, this, &SpellMarks::repaintReleased);

    connect(&editor, &QTextEdit::cursorPositionChanged, this, &SpellMarks::caretMoved);
    connect(&checker, &SpellChecker::wordsChanged, this, &SpellMarks::checkAllAgain);
    connect(&checker, &SpellChecker::checksAsYouTypeChanged, this, &SpellMarks::switched);
    m_viewport->installEventFilter(this);
    followDocument();
}

// Attaches to the document the editor shows, when it shows another than before.
void SpellMarks::followDocument()
{
    if (m_document == m_editor.document())
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = m_editor.document();
    connect(m_document, &QTextDocument::contentsChange, this, &SpellMarks::contentsChanged);
    m_typing = QTextCursor();
    m_released = QTextCursor();
    m_scan = 0;
    m_lapStart = 0;
    m_painter.forgetFormats();
    m_generation = nextGeneration(m_generation);
    m_lapDone = true;
    if (!isOn())
        return;
    restartLap(0);
    if (m_viewport)
        m_viewport->update();
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
    followDocument();
    const QTextBlock block = m_document->findBlock(position);
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
    return m_checker && m_checker->isAvailable() && m_checker->checksAsYouType();
}

// ---- Following the edits ------------------------------------------------------------------------

// The changed paragraphs are checked when they are painted again, which the editor does at once
// for what is on screen; a large change also starts the idle check for the rest.
void SpellMarks::contentsChanged(int from, int removed, int added)
{
    if (from == 0 && removed > 0)
        m_painter.forgetFormats(); // the document may have been cleared, and its formats with it
    m_scan = shifted(m_scan, from, removed, added);
    m_lapStart = shifted(m_lapStart, from, removed, added);
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
    if (!block.isValid() || !m_viewport)
        return;
    // The layout lays the paragraph out when it has not yet.
    const QRectF rect = m_document->documentLayout()->blockBoundingRect(block).translated(-m_painter.scrollOffset());
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
    followDocument();
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
    m_scan = start;
    m_lapStart = start;
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
    QTextBlock block = m_document->findBlock(m_scan);
    do {
        if (!block.isValid()) {
            block = m_document->begin();
            m_wrapped = true;
        }
        if (m_wrapped && block.position() + block.length() > m_lapStart) {
            m_lapDone = true;
            m_sliceTimer.stop();
            return;
        }
        freshMarks(block);
        block = block.next();
    } while (clock.nsecsElapsed() < budget);
    if (block.isValid()) {
        m_scan = block.position();
    } else {
        m_scan = 0;
        m_wrapped = true;
    }
}

// ---- The marks of one paragraph -----------------------------------------------------------------

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
        if (!m_checker->isCorrect(text.mid(word.start, word.length)))
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
    followDocument();
    {
        const QScopedValueRollback<bool> inside(m_painting, true);
        QCoreApplication::sendEvent(watched, event);
    }
    m_painter.paint(static_cast<QPaintEvent *>(event)->rect(), [this](const QTextBlock &block) {
        return freshMarks(block);
    });
    return true;
}
