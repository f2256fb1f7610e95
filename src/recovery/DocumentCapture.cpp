#include "recovery/DocumentCapture.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <algorithm>

DocumentCapture::DocumentCapture(QTextDocument &doc, int sliceMilliseconds, int firstSliceCharacters, QObject *parent)
    : QObject(parent), m_doc(&doc), m_sliceMilliseconds(std::max(0, sliceMilliseconds)),
      m_budget(std::max(1, firstSliceCharacters))
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &DocumentCapture::step);
    connect(&doc, &QTextDocument::contentsChange, this, &DocumentCapture::contentsChange);
    restart();
}

void DocumentCapture::restart()
{
    m_captured = std::make_unique<CapturedDocument>();
    m_captured->document = std::make_unique<QTextDocument>();
    QTextDocument &copy = *m_captured->document;
    copy.setUndoRedoEnabled(false);
    if (m_doc) {
        copy.setDefaultFont(m_doc->defaultFont());
        copy.setIndentWidth(m_doc->indentWidth());
    }
    m_pictureNames.clear();
    m_next = 0;
    m_length = m_doc ? m_doc->characterCount() : 0;
    m_complete = false;
}

void DocumentCapture::start() { m_timer.start(); }

void DocumentCapture::step()
{
    bool complete = false;
    try {
        complete = m_doc && takeSlice();
    } catch (const std::exception &failure) {
        // Out of memory, say: no copy this time, and the window goes on as it is.
        qWarning("scrivlo: a recovery copy was abandoned: %s", failure.what());
        m_doc.clear();
    }
    if (!m_doc) {
        m_timer.stop();
        emit abandoned();
    } else if (complete) {
        m_timer.stop();
        emit finished();
    }
}

bool DocumentCapture::takeSlice()
{
    if (m_complete || !m_doc)
        return m_complete;
    const int end = m_doc->characterCount() - 1; // the last paragraph end is not the text's
    // A change went unreported, so where the part taken ends is not known any more; or one typed
    // just where the next piece starts left a place that a piece cannot start from.
    if (m_doc->characterCount() != m_length || (m_next > 0 && m_next < end && boundaryAtOrAfter(m_next) != m_next))
        restart();
    QElapsedTimer clock;
    clock.start();
    const int stop = m_next + m_budget >= end ? end : boundaryAtOrAfter(m_next + m_budget);
    if (stop > m_next) {
        noteParagraphs(m_next, stop == end ? end + 1 : stop); // an empty last paragraph starts at the end
        QTextCursor cursor(m_doc);
        cursor.setPosition(m_next);
        cursor.setPosition(stop, QTextCursor::KeepAnchor);
        QTextCursor tail(m_captured->document.get());
        tail.movePosition(QTextCursor::End);
        tail.insertFragment(QTextDocumentFragment(cursor));
    }
    // The next slice takes as much as fits in the time a slice may take, by this one's pace.
    if (m_sliceMilliseconds > 0)
        adaptBudget(stop - m_next, clock.nsecsElapsed());
    m_next = stop;
    ++m_slices;
    if (m_next >= end) {
        collectPictures();
        // Taken last, so the copy has the page set-up, headers and styles as they are now.
        DocumentExtras::copy(*m_doc, *m_captured->document);
        m_complete = true;
    }
    return m_complete;
}

void DocumentCapture::adaptBudget(int characters, qint64 nanoseconds)
{
    const double spent = std::max(0.05, nanoseconds / 1e6); // ms
    m_budget = int(std::clamp(std::max(1, characters) * m_sliceMilliseconds / spent, 1024.0, double(1 << 22)));
}

// A place where one piece may end and the next begin: a paragraph end outside any table, or a
// place inside a paragraph outside any table and any list. Not the start of a paragraph: the piece
// after it would run on in the paragraph before; and not inside a list item: the piece after it
// would start a paragraph of its own.
int DocumentCapture::boundaryAtOrAfter(int position) const
{
    QTextFrame *root = m_doc->rootFrame();
    const int end = m_doc->characterCount() - 1;
    while (position < end) {
        QTextFrame *frame = m_doc->frameAt(position);
        if (frame && frame != root) {
            while (frame->parentFrame() && frame->parentFrame() != root)
                frame = frame->parentFrame();
            position = std::max(position + 1, frame->lastPosition() + 1); // past the table's end
            continue;
        }
        if (m_doc->characterAt(position) == QChar::ParagraphSeparator)
            return position;
        const QTextBlock block = m_doc->findBlock(position);
        if (block.position() < position && !block.textList())
            return position;
        position = std::max(position + 1, block.position() + block.length() - 1); // on to its end
    }
    return end;
}

// The list of each paragraph that starts in [from, to), and the pictures there.
void DocumentCapture::noteParagraphs(int from, int to)
{
    for (QTextBlock block = m_doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        if (block.position() >= from) {
            const QTextList *list = block.textList();
            m_captured->lists.append(list ? list->objectIndex() : -1);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                m_pictureNames.insert(format.toImageFormat().name());
        }
    }
}

void DocumentCapture::collectPictures()
{
    for (const QString &name : std::as_const(m_pictureNames)) {
        const QUrl url(name);
        const std::pair<int, QUrl> resources[] = {{QTextDocument::ImageResource, url},
                                                  {TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)}};
        for (const auto &[type, where] : resources) {
            QVariant data = m_doc->resource(type, where);
            // Pixmaps belong to the interface thread; the writer's thread gets an image.
            if (data.userType() == QMetaType::QPixmap)
                data = data.value<QPixmap>().toImage();
            if (data.isValid())
                m_captured->document->addResource(type, where, data);
        }
    }
}

void DocumentCapture::contentsChange(int from, int removed, int added)
{
    m_length += added - removed;
    if (m_complete || from >= m_next)
        return; // ahead of the point reached: it is taken with the rest
    if (from + removed >= m_next - 1) {
        restart(); // across the point where the next piece joins
        return;
    }
    m_next += added - removed; // the part taken stays as it was
}

std::unique_ptr<CapturedDocument> DocumentCapture::take()
{
    if (!m_complete)
        return nullptr;
    auto captured = std::move(m_captured);
    restart();
    return captured;
}
