#pragma once
#include <QObject>
#include <QPointer>
#include <QTextBlock>

class QRect;
class QTextEdit;
class QWidget;

// Draws over a text edit the list markers that Qt 6.4 cannot show as the document says
// (ListMarkers): Qt draws none for those items, and this draws the right one in its place once the
// editor has painted, as the spelling marks are drawn. A child of the editor; it can go once a
// layout of the program's own draws the markers itself.
class ListMarkerPainter : public QObject
{
public:
    explicit ListMarkerPainter(QTextEdit &editor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paint(const QRect &area);
    QTextBlock firstBlockFrom(qreal y) const;

    QTextEdit &m_editor;
    QPointer<QWidget> m_viewport;
    bool m_painting = false;
};
