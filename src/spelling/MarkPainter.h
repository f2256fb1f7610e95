#pragma once
#include "spelling/WordRules.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QPointF>
#include <functional>

class QPainter;
class QRect;
class QTextBlock;
class QTextEdit;
class QTextFragment;

// Draws red wavy underlines, the way Qt draws a spell-check underline, under words of a QTextEdit,
// over what the editor has painted in its viewport.
class MarkPainter
{
public:
    using Marks = std::function<QList<WordRules::Span>(const QTextBlock &)>;

    explicit MarkPainter(QTextEdit &editor) : m_editor(editor) {}

    // Paints, in the viewport, the marks of the paragraphs that meet `area` (viewport
    // coordinates); `marksOf` gives a paragraph's marks, in positions of the paragraph.
    void paint(const QRect &area, const Marks &marksOf);
    // The document's formats were replaced (a document was loaded): what was learnt of them goes.
    void forgetFormats() { m_waves.clear(); }
    // Where the editor's content starts, as its own painting places it.
    QPointF scrollOffset() const;

private:
    struct Wave {
        QBrush brush;
        qreal height = 0; // how far under the baseline it reaches
    };

    QTextBlock firstBlockFrom(qreal y) const;
    void paintBlock(QPainter &painter, const QTextBlock &block, QPointF origin, const QList<WordRules::Span> &marks,
                    const QRect &area);
    const Wave &waveFor(const QTextFragment &fragment);
    static QBrush waveBrush(qreal maxRadius, qreal penWidth);

    QTextEdit &m_editor;
    QHash<int, Wave> m_waves; // by the document's character format index
    QFont m_wavesFont;        // the document's default font the waves were measured with
};
