#pragma once
#include "layout/RootFlow.h"

#include <QAbstractTextDocumentLayout>
#include <QTimer>
#include <memory>

class HitTester;
class IdleLayout;
class PictureObject;

// The screen layout of a document, at one speed whatever its length. Each paragraph is laid out on
// its own (in its QTextBlock's QTextLayout) when it is needed: when it is shown, when someone asks
// where it is, or in short slices while the program is idle; until then its height is an estimate.
// The paragraphs' heights are summed in an index, so a paragraph's place costs a few steps and an
// edit lays out only the paragraphs it touched (and the table cell holding them). What it shows is
// what Qt's own document layout shows (margins, indents, lists, tables, pictures, floats,
// directions), numbered lists as the file numbers them. It has no pages: printing lays out a copy
// of the document with Qt's layout.
//
// A view that tells it where it shows the document from (setViewTop) is kept in place when
// estimated heights above it are replaced by real ones: viewTopMoved() says where that place went.
class IncrementalLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT
    Q_PROPERTY(int cursorWidth READ cursorWidth WRITE setCursorWidth)
public:
    explicit IncrementalLayout(QTextDocument *document);
    ~IncrementalLayout() override;

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    int cursorWidth() const { return m_cursorWidth; }
    void setCursorWidth(int width);

    // Where the view shows the document from; negative when no view follows the layout.
    void setViewTop(qreal y);
    qreal viewTop() const { return m_viewTop.toReal(); }
    // Lays out at once whatever is not laid out yet.
    void layoutAll();
    bool isComplete() const { return !m_resetPending && m_root.unlaidCount() == 0; }
    // How long one idle slice may take; 0 leaves the rest to be laid out only when needed.
    void setSliceMilliseconds(int milliseconds);
    // How long an edit may spend laying out what it touched before leaving the rest for later.
    void setEditMilliseconds(int milliseconds) { m_editMilliseconds = milliseconds; }

signals:
    // Real heights replaced estimated ones above the view's top: what the view showed is now at y.
    void viewTopMoved(qreal y);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void resizeInlineObject(QTextInlineObject item, int positionInDocument, const QTextFormat &format) override;
    void drawInlineObject(QPainter *painter, const QRectF &rect, QTextInlineObject object, int positionInDocument,
                          const QTextFormat &format) override;

private:
    bool isShown() const;
    bool isBehind() const;
    int hitBelowEnd(QPointF point, const HitTester &tester, Qt::HitTestAccuracy accuracy) const;
    void prepare() const;
    void settle() const;
    void reset();
    void markFrames(const QTextBlock &block);
    void layoutEdited(int first, int last);
    // Why an item is laid out: an edit repaints it; a question or an idle slice repaints what moved
    // below it, or moves the view when it was above the view; painting repaints nothing.
    enum class Why { Edit, Query, Paint, Idle };
    // Lays an item out where needed, noting what moved.
    void ensureItem(int item, Why why) const;
    bool layoutSlice(int milliseconds);
    void scheduleReport() const;
    void report();
    void paintRoot(QPainter *painter, const PaintContext &context);

    mutable RootFlow m_root;
    PictureObject *m_pictures;
    IdleLayout *m_idle;
    int m_cursorWidth = 1;
    int m_editMilliseconds = 3;
    Fixed m_viewTop = Fixed::fromInt(-1);
    int m_scan = 0; // where the idle slices go on from
    // What changed since it was last reported: how far the view's place moved, the area to paint
    // again, whether the size changed.
    mutable Fixed m_shift;
    mutable qreal m_changedFrom = -1;
    mutable QRectF m_updateRect;
    bool m_resetPending = false; // the document changed as a whole: all is to be read again
    bool m_typing = false; // the edit being laid out added or removed text, in the paragraphs it had
    mutable QSizeF m_reportedSize;
    mutable QTimer m_reportTimer;
};
