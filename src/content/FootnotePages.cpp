#include "content/FootnotePages.h"
#include "content/PrintedNote.h"
#include "rtf/Notes.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace {

// Rounding in the layout puts a line a hair off its page's edge.
constexpr double kSlack = 0.5;
// The space above the notes, with the separator line in it, and how long the line is.
constexpr double kSeparatorPoints = 12;
constexpr double kSeparatorShare = 1.0 / 3;
// Enough for any page: each break pushes at least a line to the next page.
constexpr int kMostBreaksPerPage = 500;

QTextFrame *topFrame(QTextDocument &doc, const QTextBlock &block)
{
    QTextFrame *frame = doc.frameAt(block.position());
    while (frame && frame->parentFrame() != doc.rootFrame())
        frame = frame->parentFrame();
    return frame;
}

} // namespace

struct FootnotePages::Note {
    QTextCursor mark; // follows the mark as the body is broken
    std::unique_ptr<QTextDocument> text;
    double height = 0;
};

FootnotePages::FootnotePages(QTextDocument &doc, QSizeF page, double pointSize, QPaintDevice &device)
    : m_doc(doc), m_page(page), m_point(pointSize)
{
    QList<std::shared_ptr<Note>> notes;
    for (const Notes::Reference &reference : Notes::references(doc)) {
        if (reference.kind != NoteSettings::Footnote)
            continue;
        auto note = std::make_shared<Note>();
        note->text = PrintedNote::document(reference, doc);
        if (!note->text)
            continue;
        note->text->setDocumentMargin(0);
        note->text->documentLayout()->setPaintDevice(&device);
        note->text->setTextWidth(page.width());
        note->height = note->text->size().height();
        note->mark = QTextCursor(&doc);
        note->mark.setPosition(reference.position);
        notes.append(note);
    }
    if (!notes.isEmpty())
        place(notes);
}

FootnotePages::~FootnotePages() = default;

void FootnotePages::place(QList<std::shared_ptr<Note>> &notes)
{
    const double separator = kSeparatorPoints * m_point;
    qsizetype next = 0;
    int breaks = 0;
    while (next < notes.size()) {
        const int page = pageOf(notes[next]->mark.position());
        qsizetype end = next;
        double need = separator;
        // A mark further on in the text but higher up (in a table) goes with this page too.
        for (; end < notes.size() && pageOf(notes[end]->mark.position()) <= page; ++end)
            need += notes[end]->height;
        const QList<std::shared_ptr<Note>> onPage = notes.mid(next, end - next);
        const double pageTop = page * m_page.height();
        const std::optional<Line> first = firstLine(pageTop);
        // The page's first line stays whatever its notes need; notes taller than the rest of the
        // page are cut at its bottom.
        double bodyBottom = first ? first->rect.bottom() : pageTop;
        if (first) {
            if (const std::optional<Line> overflow = overflowingLine(*first, pageTop, onPage)) {
                if (breaks < kMostBreaksPerPage && breakBefore(*overflow, pageTop)) {
                    ++breaks; // the page is measured again: some marks have left it
                    continue;
                }
                // What cannot move keeps its place, and the notes go below it.
                bodyBottom = lastLineBottom(*overflow, pageTop);
            }
        }
        const double top = std::max(m_page.height() - need, bodyBottom - pageTop);
        m_pages.append({page, top, onPage});
        next = end;
        breaks = 0;
    }
}

int FootnotePages::pageOf(int position) const
{
    const QTextBlock block = m_doc.findBlock(position);
    m_doc.documentLayout()->blockBoundingRect(block); // lays it out when it is not yet
    const QTextLayout *layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return 0;
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    const QRectF rect = lineRect(block, line.isValid() ? line.lineNumber() : 0);
    return std::max(0, int(std::floor((rect.top() + kSlack) / m_page.height())));
}

// A line of a block in the document's coordinates.
QRectF FootnotePages::lineRect(const QTextBlock &block, int index) const
{
    const QRectF blockRect = m_doc.documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineAt(index);
    return {blockRect.left() + line.x(), blockRect.top() + line.y(), line.width(), line.height()};
}

// The first line that starts on the page whose top is at `pageTop`.
std::optional<FootnotePages::Line> FootnotePages::firstLine(double pageTop) const
{
    const double pageBottom = pageTop + m_page.height();
    const int position = m_doc.documentLayout()->hitTest(QPointF(0, pageTop + kSlack), Qt::FuzzyHit);
    QTextBlock block = m_doc.findBlock(std::max(0, position));
    // Step back to the first block that reaches into the page (the hit may be in a table's cell).
    while (block.previous().isValid() && m_doc.documentLayout()->blockBoundingRect(block.previous()).bottom() > pageTop)
        block = block.previous();
    for (; block.isValid(); block = block.next()) {
        if (!block.isVisible() || !block.layout())
            continue;
        if (m_doc.documentLayout()->blockBoundingRect(block).top() >= pageBottom - kSlack)
            return std::nullopt;
        for (int index = 0; index < block.layout()->lineCount(); ++index) {
            const QRectF rect = lineRect(block, index);
            if (rect.top() >= pageBottom - kSlack)
                return std::nullopt;
            if (rect.top() >= pageTop - kSlack)
                return Line{block, index, rect};
        }
    }
    return std::nullopt;
}

// The first line after `first` on the page that runs into the notes of the lines down to it and
// itself, with the space above them.
std::optional<FootnotePages::Line> FootnotePages::overflowingLine(const Line &first, double pageTop,
                                                                  const QList<std::shared_ptr<Note>> &notes) const
{
    const double pageBottom = pageTop + m_page.height();
    double need = kSeparatorPoints * m_point;
    qsizetype taken = 0;
    const auto takeNotesBefore = [&](const QTextBlock &block, int index) {
        const QTextLine line = block.layout()->lineAt(index);
        const int end = block.position() + line.textStart() + line.textLength();
        for (; taken < notes.size() && notes[taken]->mark.position() < end; ++taken)
            need += notes[taken]->height;
    };
    takeNotesBefore(first.block, first.index);
    int index = first.index + 1;
    for (QTextBlock block = first.block; block.isValid(); block = block.next(), index = 0) {
        if (!block.isVisible() || !block.layout())
            continue;
        if (m_doc.documentLayout()->blockBoundingRect(block).top() >= pageBottom - kSlack)
            return std::nullopt; // also lays the block out when it is not yet
        for (; index < block.layout()->lineCount(); ++index) {
            const QRectF rect = lineRect(block, index);
            if (rect.top() >= pageBottom - kSlack)
                return std::nullopt;
            if (rect.top() < pageTop - kSlack)
                continue;
            takeNotesBefore(block, index);
            if (rect.bottom() > pageBottom - need + kSlack)
                return Line{block, index, rect};
        }
    }
    return std::nullopt;
}

// The bottom of the page's last line, from one of its lines on.
double FootnotePages::lastLineBottom(const Line &from, double pageTop) const
{
    const double pageBottom = pageTop + m_page.height();
    double bottom = from.rect.bottom();
    int index = from.index + 1;
    for (QTextBlock block = from.block; block.isValid(); block = block.next(), index = 0) {
        if (!block.isVisible() || !block.layout())
            continue;
        if (m_doc.documentLayout()->blockBoundingRect(block).top() >= pageBottom - kSlack)
            break;
        for (; index < block.layout()->lineCount(); ++index) {
            const QRectF rect = lineRect(block, index);
            if (rect.top() >= pageBottom - kSlack)
                return bottom;
            if (rect.top() >= pageTop - kSlack)
                bottom = std::max(bottom, rect.bottom());
        }
    }
    return bottom;
}

// Makes the line start the next page; false when it cannot be moved.
bool FootnotePages::breakBefore(const Line &line, double pageTop)
{
    if (QTextFrame *frame = topFrame(m_doc, line.block))
        return breakBeforeFrame(*frame, pageTop);
    QTextCursor cursor(line.block);
    if (line.index == 0) {
        QTextBlockFormat format;
        format.setPageBreakPolicy(line.block.blockFormat().pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(format);
        return true;
    }
    // The paragraph goes on as one of its own on the next page: no indent of a first line, no
    // space between its parts, and no second bullet or number.
    const QTextBlockFormat before = line.block.blockFormat();
    QTextBlockFormat after = before;
    after.setTextIndent(0);
    after.setTopMargin(0);
    after.setPageBreakPolicy(before.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    const int split = line.block.position() + line.block.layout()->lineAt(line.index).textStart();
    QTextBlockFormat cut;
    cut.setBottomMargin(0);
    cursor.mergeBlockFormat(cut);
    cursor.setPosition(split);
    const QTextCharFormat text = cursor.charFormat();
    cursor.insertBlock(after, text);
    // The layout keeps the first part's old lines otherwise, the moved ones among them.
    const QTextBlock first = cursor.block().previous();
    m_doc.markContentsDirty(first.position(), first.length());
    if (QTextList *list = cursor.block().textList())
        list->remove(cursor.block());
    return true;
}

bool FootnotePages::breakBeforeFrame(QTextFrame &frame, double pageTop)
{
    // The frame can move when it follows text on this page: it started neither on an earlier
    // page nor at this one's top.
    const QTextBlock before = m_doc.findBlock(frame.firstPosition() - 1);
    if (!before.isValid() || m_doc.documentLayout()->blockBoundingRect(before).bottom() <= pageTop + kSlack)
        return false;
    QTextFrameFormat format = frame.frameFormat();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        return false;
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    frame.setFrameFormat(format);
    return true;
}

const FootnotePages::PageNotes *FootnotePages::notesOf(int page) const
{
    const auto it = std::lower_bound(m_pages.begin(), m_pages.end(), page,
                                     [](const PageNotes &notes, int p) { return notes.page < p; });
    return it != m_pages.end() && it->page == page ? &*it : nullptr;
}

double FootnotePages::notesTop(int page) const
{
    const PageNotes *notes = notesOf(page);
    return notes ? notes->top : m_page.height();
}

void FootnotePages::draw(QPainter &painter, int page) const
{
    const PageNotes *notes = notesOf(page);
    if (!notes)
        return;
    painter.save();
    painter.setClipRect(QRectF(0, notes->top, m_page.width(), m_page.height() - notes->top));
    const double separator = kSeparatorPoints * m_point;
    painter.setPen(QPen(Qt::black, 0.5 * m_point));
    const double lineY = notes->top + separator / 2;
    painter.drawLine(QPointF(0, lineY), QPointF(m_page.width() * kSeparatorShare, lineY));
    painter.translate(0, notes->top + separator);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (const std::shared_ptr<Note> &note : notes->notes) {
        note->text->documentLayout()->draw(&painter, context);
        painter.translate(0, note->height);
    }
    painter.restore();
}
