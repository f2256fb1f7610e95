#pragma once
#include <QObject>

class IncrementalLayout;
class QTextEdit;

// Puts the incremental screen layout (IncrementalLayout) under a text edit, and keeps the edit's
// view on what the reader was reading while the real heights of paragraphs above it replace their
// estimates. A child of the edit.
class ScreenLayout : public QObject
{
    Q_OBJECT
public:
    // The edit's document gets the layout; the edit follows it from then on.
    static IncrementalLayout &install(QTextEdit &edit);

private:
    ScreenLayout(QTextEdit &edit, IncrementalLayout &layout);
    void follow(qreal y);

    QTextEdit &m_edit;
};
