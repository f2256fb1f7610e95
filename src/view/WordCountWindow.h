#pragma once
#include "content/WordCounter.h"

#include <QWidget>

class QLabel;

// The "Word Count" window: words, characters with and without spaces, and paragraphs, of the
// document and of its selection, as they stood when it was opened.
class WordCountWindow : public QWidget
{
    Q_OBJECT
public:
    explicit WordCountWindow(QWidget &frame);

    void showCounts(const WordCounter::Counts &document, const WordCounter::Counts &selection);
    // The figure shown in a row ("words", "characters", "charactersNoSpaces", "paragraphs") of a
    // column ("document", "selection").
    QString figure(const QString &column, const QString &row) const;

private:
    void buildControls();
    void setColumn(const QString &column, const WordCounter::Counts &counts);
};
