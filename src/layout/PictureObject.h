#pragma once
#include <QObject>
#include <QTextObjectInterface>

class QPixmap;
class QTextImageFormat;

// The pictures of a document (U+FFFC with a QTextImageFormat), as Qt's own document layout shows
// them: the image resource named by the format, at the format's width and height (keeping its
// proportions where only one of them is given, its own size where neither is), measured at the
// resolution of the layout's paint device.
class PictureObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit PictureObject(QObject *parent) : QObject(parent) {}

    QSizeF intrinsicSize(QTextDocument *doc, int positionInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int positionInDocument,
                    const QTextFormat &format) override;

private:
    static QPixmap pixmapOf(QTextDocument *doc, const QTextImageFormat &format);
};
