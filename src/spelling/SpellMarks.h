#pragma once
#include "spelling/MarkPainter.h"
#include "spelling/WordRules.h"

#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <optional>

class QTextBlock;
class QTextDocument;
class QTextEdit;
class SpellChecker;

// The red wavy underlines under the misspelt words of one QTextEdit. They are drawn over what the
// editor paints and kept beside the paragraphs, never in the document or its layout: they are not
// saved, copied, printed or undone, raise no textChanged, and cost the layout nothing. What is on
// screen is checked as it is painted, the rest of the document a slice at a time when the program
// is idle; the word being typed is left alone until the caret leaves it. A child of the editor; it
// follows the editor to another document.
class SpellMarks : public QObject
{
    Q_OBJECT
public:
    SpellMarks(QTextEdit &editor, SpellChecker &checker);
    ~SpellMarks() override;

    // The marks attached to an editor, if any, and their checker (none once it is destroyed).
    static SpellMarks *of(const QTextEdit &editor);
    SpellChecker *checker() const { return m_checker; }

    // The marked word at a document position (inside it or at either end), in document
    // positions; nothing while checking is off.
    std::optional<WordRules::Span> markAt(int position);

    // True while some of the document still waits for its idle check.
    bool isChecking() const { return !m_lapDone; }
    // How long one idle slice may run; 0 leaves the text to be checked only as it is painted.
    void setSliceMilliseconds(int milliseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followDocument();
    bool isOn() const;
    void contentsChanged(int from, int removed, int added);
    void noteTyping(int from, int added);
    void caretMoved();
    void releaseTyping();
    void repaintReleased();
    void switched(bool on);
    void checkAllAgain();
    void restartLap(int position);
    void checkSlice();
    QList<WordRules::Span> freshMarks(QTextBlock block);
    QList<WordRules::Span> marksFor(const QTextBlock &block) const;

    QTextEdit &m_editor;
    QPointer<SpellChecker> m_checker; // made before the marks, and shared by every window
    QPointer<QTextDocument> m_document;
    QPointer<QWidget> m_viewport;
    int m_generation = 1; // a paragraph checked in another generation is checked again
    QTextCursor m_typing; // the caret, while the word there is being typed
    QTextCursor m_released; // a paragraph whose typed word was let go, to be painted again
    // Where the idle check looks next, and where its way around the document began. Positions,
    // not cursors: moving a cursor lays the document out as far as the cursor.
    int m_scan = 0;
    int m_lapStart = 0;
    bool m_wrapped = false;
    bool m_lapDone = true;
    bool m_painting = false;
    int m_sliceMilliseconds = 1;
    QTimer m_sliceTimer;
    QTimer m_releaseTimer;
    MarkPainter m_painter;
};
