#pragma once
#include "recovery/CapturedDocument.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <memory>

class QTextDocument;

// Copies a document out of its editor a slice at a time, between the events of the interface, so
// that even a document of thousands of pages never holds the interface up for long: each slice
// copies about as much as fits in a few milliseconds. Edits made meanwhile are followed: an edit
// in the part already taken leaves that part as it was (the next copy will have the edit), an
// edit ahead of it is taken with the rest, and an edit across the point reached starts over, as
// does one the document did not report (it reports none before it has a layout, and none made
// while it reports another): the length of the document tells.
class DocumentCapture : public QObject
{
    Q_OBJECT
public:
    // Slices take about `sliceMilliseconds` each; the first one takes `firstSliceCharacters`. With
    // no time given, every slice takes that many characters.
    explicit DocumentCapture(QTextDocument &doc, int sliceMilliseconds = 12, int firstSliceCharacters = 32768,
                             QObject *parent = nullptr);

    // Takes slices from the event loop until the whole document is taken, then emits finished()
    // (or abandoned() when the document went away, or a slice failed).
    void start();
    // Takes the next slice; true once the whole document has been taken.
    bool takeSlice();
    bool isComplete() const { return m_complete; }
    // The captured document, once complete; the capture is empty afterwards.
    std::unique_ptr<CapturedDocument> take();
    int slicesTaken() const { return m_slices; }

signals:
    void finished();
    void abandoned();

private:
    void restart();
    void step();
    void contentsChange(int from, int removed, int added);
    int boundaryAtOrAfter(int position) const;
    void adaptBudget(int characters, qint64 nanoseconds);
    void noteParagraphs(int from, int to);
    void collectPictures();

    QPointer<QTextDocument> m_doc;
    std::unique_ptr<CapturedDocument> m_captured;
    QSet<QString> m_pictureNames;
    QTimer m_timer;
    int m_sliceMilliseconds;
    int m_budget;   // characters the next slice takes
    int m_next = 0; // where the part still to be taken starts
    int m_length = 0; // the document's length, as far as its reported changes tell
    int m_slices = 0;
    bool m_complete = false;
};
