#pragma once
#include <QDeadlineTimer>
#include "layout/FloatArea.h"
#include "layout/HeightIndex.h"
#include "layout/LayoutSettings.h"

#include <QPointer>
#include <QTextBlock>
#include <vector>

class QAbstractTextDocumentLayout;
class QTextFrame;

// The document's top frame, laid out a paragraph at a time. Its items are its paragraphs and the
// frames standing in it (a table, a floating picture), a frame standing at its first paragraph's
// number; their heights are kept in a HeightIndex, so where an item starts follows from the heights
// above it without visiting them. An item not laid out yet has an estimated height, replaced by
// its real one when it is laid out: when it is shown, asked about, or in an idle slice. An edit
// lays out again only the items it touched.
class RootFlow
{
public:
    explicit RootFlow(QAbstractTextDocumentLayout &layout) : m_layout(layout) {}

    // The settings of the passes to come (resolution, page width, text options).
    void setSettings(const LayoutSettings &settings);
    const LayoutSettings &settings() const { return m_settings; }

    // Everything estimated afresh: a new document, or a new width or resolution.
    void reset();
    // The paragraphs from `first` on, `newCount` of them, took the place of `oldCount` paragraphs.
    void replace(int first, int oldCount, int newCount);
    // An item to be laid out again (a paragraph, or the frame holding one that changed).
    void invalidate(int block);
    int blockCount() const { return int(m_entries.size()); }

    // Items, by their first paragraph's number.
    int itemStart(int block) const;
    int nextItem(int item) const;
    int itemAt(Fixed y) const; // the item whose room holds height y, or the last one
    // Where Qt's layout starts looking for what is at height y: it marks a place every 2000 pixels
    // down the top frame (at the first item more than that below the last mark) and starts from
    // the last mark above y. Starting there finds the same position in the odd cases (a point
    // beside a table finds the position before it).
    int searchStart(Fixed y) const;
    Fixed itemTop(int item) const { return m_top + m_index.start(item); }
    Fixed itemHeight(int item) const { return m_index.height(item); }
    bool isLaidOut(int item) const { return m_entries[std::size_t(item)].exact; }
    bool isFrame(int item) const { return m_entries[std::size_t(item)].kind != Paragraph; }
    QTextFrame *frameAt(int item) const; // the frame standing at this item, if it is one
    // Lays the item out when it is not yet, and puts it (and its paragraph's layout) where it now
    // stands. Returns how much its height changed.
    Fixed ensure(int item);
    // Does the slow part of laying out the item ahead, for no longer than until `deadline`: the
    // cells of a table, a few at a time. Returns whether ensure() would now be quick.
    bool prepare(int item, const QDeadlineTimer &deadline);

    // The first item not laid out from `item` on (blockCount() when there is none).
    int nextUnlaid(int item) const;
    int unlaidCount() const { return m_unlaid; }

    Fixed top() const { return m_top; }
    Fixed left() const { return m_left; }
    Fixed right() const { return m_right; }
    Fixed rightEdge() const { return m_rightEdge; }
    Fixed height() const { return std::max(m_top + m_index.total(), m_floatBottom) + m_bottomEdge; }
    Fixed width() const;
    // The floating frames of the top frame placed before this item.
    FloatArea floatsBefore(int item);

private:
    enum Kind : quint8 { Paragraph, FrameStart, FrameInside };
    struct Entry
    {
        Kind kind = Paragraph;
        bool exact = false;
        bool hiddenAfterTable = false;
        int offset = 0;           // of the paragraph's layout below the item's top, in 64ths of a pixel
        int contents = 0;         // how far right its lines (or the frame) reach from the left edge, in 64ths
        float previousBottom = 0; // the bottom margin of the paragraph before, as it was laid out after it
    };

    void readEdges();
    void classify(int first, int last);
    void findFloats();
    static void forgetFrames(QTextFrame *frame);
    // The height of a paragraph not laid out yet, from its length and font size: `previousBottom`
    // is the bottom margin of the paragraph before, where one is.
    Fixed estimate(const QTextBlock &block, qreal &previousBottom) const;
    Fixed estimateFrame(int item) const;
    void setExact(int item, bool exact);
    Fixed layoutParagraph(int item, const QTextBlock &block);
    Fixed layoutFrame(int item, QTextFrame *frame);
    void placeParagraph(int item, const QTextBlock &block);
    void redoBesideFloats(int item, Fixed oldBottom);
    QTextFrame *rootChildOf(const QTextBlock &block) const;

    QAbstractTextDocumentLayout &m_layout;
    LayoutSettings m_settings;
    HeightIndex m_index;
    std::vector<Entry> m_entries;
    int m_unlaid = 0;
    Fixed m_top, m_left, m_right, m_bottomEdge, m_rightEdge;
    // The widest line or frame, from the left edge; worked out again when the widest one may have
    // narrowed or gone.
    mutable Fixed m_widest;
    mutable bool m_widestKnown = true;
    void noteContents(Entry &entry, Fixed contents);
    Fixed m_lineHeight;
    qreal m_characterWidth = 8;
    qreal m_defaultPointSize = 0;
    struct RootFloat
    {
        QPointer<QTextFrame> frame;
        int item = 0;
    };
    std::vector<RootFloat> m_floats;
    Fixed m_floatBottom; // the lowest a float reaches
    int m_dpi = -1;      // of the paint device the paragraphs were last laid out for (0: the screen's; -1: none yet)
    // What estimates read of the formats, by format index, for one pass over the paragraphs: a
    // document has few formats, shared by many paragraphs.
    struct Margins
    {
        bool known = false;
        qreal top = 0, bottom = 0, sides = 0;
    };
    mutable std::vector<Margins> m_margins; // by block format
    mutable std::vector<qreal> m_sizes;     // by character format: the font size, to the default one (0: not read)
};
