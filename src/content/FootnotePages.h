#pragma once
#include <QList>
#include <QSizeF>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;
class QTextDocument;
class QTextFrame;

// Footnotes printed at the foot of the page their mark is on, under a short line. Works on a
// document laid out for printing in pages of one size (PagedDocument's copy): page after page, the
// notes whose marks fall on the page are measured, and the body is made to start a new page
// before the first line that would run into their space (a paragraph cut there goes on as a
// paragraph of its own; a table or frame moves whole when it starts on the page). Breaks only
// ever push text to later pages, so one pass over the pages places every note.
//
// Notes taller than the page below its first line are cut at the page's bottom margin. A line of
// a table that began on an earlier page cannot be moved: the notes go below the page's text then,
// cut at the bottom margin as far as they do not fit.
class FootnotePages
{
public:
    // `page`: the size of a page's body in the layout's units; `pointSize`: one point in them.
    FootnotePages(QTextDocument &doc, QSizeF page, double pointSize, QPaintDevice &device);
    ~FootnotePages();

    bool isEmpty() const { return m_pages.isEmpty(); }
    // Where the notes of a page (from 0) begin, from the top of its body: the height left to the
    // body. The page's height when it has no notes.
    double notesTop(int page) const;
    // Draws the notes of a page with the painter at the top left of the page's body.
    void draw(QPainter &painter, int page) const;

private:
    struct Note;
    struct Line {
        QTextBlock block;
        int index = -1;
        QRectF rect;
    };
    struct PageNotes {
        int page = 0;
        double top = 0;
        QList<std::shared_ptr<Note>> notes;
    };

    void place(QList<std::shared_ptr<Note>> &notes);
    int pageOf(int position) const;
    QRectF lineRect(const QTextBlock &block, int index) const;
    std::optional<Line> firstLine(double pageTop) const;
    std::optional<Line> overflowingLine(const Line &first, double pageTop,
                                        const QList<std::shared_ptr<Note>> &notes) const;
    double lastLineBottom(const Line &from, double pageTop) const;
    bool breakBefore(const Line &line, double pageTop);
    bool breakBeforeFrame(QTextFrame &frame, double pageTop);
    const PageNotes *notesOf(int page) const;

    QTextDocument &m_doc;
    QSizeF m_page;
    double m_point;
    QList<PageNotes> m_pages; // in the order of their pages
};
