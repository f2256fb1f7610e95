#include "windows/Nameplate.h"
#include "platform/Icons.h"

#include <QPainter>

void Nameplate::draw(QPainter &p, const QPoint &topLeft, int titlePixels, int width, const QString &subtitle)
{
    const int x = topLeft.x(), y = topLeft.y();
    p.drawPixmap(x, y, Icons::application().pixmap(64, 64));
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(titlePixels);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(46, 110, 190));
    p.drawText(QRect(x + 80, y - 4, width - 80, titlePixels + 10), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Scrivlo"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(14);
    p.setFont(small);
    p.setPen(QColor(70, 70, 80));
    p.drawText(QRect(x + 82, y + titlePixels + 8, width - 82, 24), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    p.fillRect(QRect(x - 8, y + titlePixels + 44, width + 8, 2), QColor(46, 110, 190));
}
