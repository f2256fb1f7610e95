#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace {

using Drawing = std::function<void(QPainter &)>;

const QColor ink(40, 40, 48);
const QColor paper(255, 255, 255);
const QColor accent(46, 110, 190);

void page(QPainter &p)
{
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(10.5, 1.5);
    path.lineTo(13.5, 4.5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawPath(path);
}

void letter(QPainter &p, const QString &text, bool bold, bool italic)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(0, -1, 16, 15), Qt::AlignCenter, text);
}

void lines(QPainter &p, const std::vector<std::pair<int, int>> &spans)
{
    p.setPen(QPen(ink, 1.5));
    int y = 3;
    for (const auto &[from, to] : spans) {
        p.drawLine(QPointF(from, y + 0.5), QPointF(to, y + 0.5));
        y += 3;
    }
}

const std::map<QString, Drawing> &drawings()
{
    static const std::map<QString, Drawing> all = {
        {QStringLiteral("format-text-bold"), [](QPainter &p) { letter(p, QStringLiteral("B"), true, false); }},
        {QStringLiteral("format-text-italic"), [](QPainter &p) { letter(p, QStringLiteral("I"), false, true); }},
        {QStringLiteral("format-text-underline"), [](QPainter &p) {
             letter(p, QStringLiteral("U"), false, false);
             p.setPen(QPen(ink, 1.2));
             p.drawLine(QPointF(3.5, 14.5), QPointF(12.5, 14.5));
         }},
        {QStringLiteral("format-text-strikethrough"), [](QPainter &p) {
             letter(p, QStringLiteral("S"), false, false);
             p.setPen(QPen(QColor(200, 40, 40), 1.4));
             p.drawLine(QPointF(2, 7.5), QPointF(14, 7.5));
         }},
        {QStringLiteral("format-justify-left"), [](QPainter &p) { lines(p, {{2, 14}, {2, 10}, {2, 14}, {2, 9}}); }},
        {QStringLiteral("format-justify-center"), [](QPainter &p) { lines(p, {{2, 14}, {4, 12}, {2, 14}, {5, 11}}); }},
        {QStringLiteral("format-justify-right"), [](QPainter &p) { lines(p, {{2, 14}, {6, 14}, {2, 14}, {7, 14}}); }},
        {QStringLiteral("format-list-unordered"), [](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(ink);
             for (int y : {3, 8, 13})
                 p.drawEllipse(QPointF(3, y), 1.5, 1.5);
             p.setPen(QPen(ink, 1.5));
             for (int y : {3, 8, 13})
                 p.drawLine(QPointF(6, y), QPointF(14, y));
         }},
        {QStringLiteral("document-new"), [](QPainter &p) {
             page(p);
             p.setPen(QPen(ink, 1));
             p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
             p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
         }},
        {QStringLiteral("document-open"), [](QPainter &p) {
             p.setPen(QPen(ink, 1));
             p.setBrush(QColor(240, 200, 90));
             p.drawRect(QRectF(1.5, 4.5, 12, 9));
             p.setBrush(QColor(250, 220, 120));
             QPolygonF flap({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)});
             p.drawPolygon(flap);
         }},
        {QStringLiteral("document-save"), [](QPainter &p) {
             p.setPen(QPen(ink, 1));
             p.setBrush(accent);
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(paper);
             p.drawRect(QRectF(4.5, 1.5, 7, 5));
             p.drawRect(QRectF(3.5, 9.5, 9, 5));
         }},
        {QStringLiteral("document-print"), [](QPainter &p) {
             p.setPen(QPen(ink, 1));
             p.setBrush(paper);
             p.drawRect(QRectF(4.5, 1.5, 7, 5));
             p.setBrush(QColor(180, 180, 190));
             p.drawRect(QRectF(1.5, 6.5, 13, 6));
             p.setBrush(paper);
             p.drawRect(QRectF(4.5, 10.5, 7, 4));
         }},
        {QStringLiteral("view-fullscreen"), [](QPainter &p) {
             p.setPen(QPen(ink, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(2, 2, 12, 12));
             p.setBrush(ink);
             p.drawPolygon(QPolygonF({QPointF(4, 4), QPointF(8, 4), QPointF(4, 8)}));
             p.drawPolygon(QPolygonF({QPointF(12, 12), QPointF(8, 12), QPointF(12, 8)}));
         }},
        {QStringLiteral("edit-cut"), [](QPainter &p) {
             p.setPen(QPen(ink, 1.3));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(4, 1), QPointF(10, 10));
             p.drawLine(QPointF(12, 1), QPointF(6, 10));
             p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
             p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
         }},
        {QStringLiteral("edit-copy"), [](QPainter &p) {
             p.setPen(QPen(ink, 1));
             p.setBrush(paper);
             p.drawRect(QRectF(1.5, 1.5, 8, 10));
             p.drawRect(QRectF(6.5, 4.5, 8, 10));
         }},
        {QStringLiteral("edit-paste"), [](QPainter &p) {
             p.setPen(QPen(ink, 1));
             p.setBrush(QColor(190, 140, 80));
             p.drawRect(QRectF(2.5, 2.5, 10, 12));
             p.setBrush(QColor(200, 200, 210));
             p.drawRect(QRectF(5.5, 1.5, 4, 2));
             p.setBrush(paper);
             p.drawRect(QRectF(7.5, 6.5, 7, 8));
         }},
        {QStringLiteral("edit-undo"), [](QPainter &p) {
             p.setPen(QPen(ink, 1.6));
             p.setBrush(Qt::NoBrush);
             QPainterPath arc;
             arc.moveTo(4, 7);
             arc.cubicTo(6, 3, 14, 3, 13, 10);
             p.drawPath(arc);
             p.setBrush(ink);
             p.setPen(Qt::NoPen);
             p.drawPolygon(QPolygonF({QPointF(1, 5), QPointF(7, 5), QPointF(3, 11)}));
         }},
        {QStringLiteral("format-text-color"), [](QPainter &p) {
             letter(p, QStringLiteral("A"), true, false);
             p.fillRect(QRectF(2, 13, 12, 3), QColor(210, 30, 30));
         }},
        {QStringLiteral("scrivlo"), [](QPainter &p) {
             page(p);
             p.setPen(QPen(accent, 1.5));
             p.drawLine(QPointF(5, 6), QPointF(11, 6));
             p.drawLine(QPointF(5, 9), QPointF(11, 9));
             p.drawLine(QPointF(5, 12), QPointF(9, 12));
         }},
    };
    return all;
}

QPixmap render(const Drawing &drawing, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    drawing(p);
    return pixmap;
}

} // namespace

QIcon Icons::drawn(const QString &themeName)
{
    const auto found = drawings().find(themeName);
    if (found == drawings().end())
        return QIcon();
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(found->second, size));
    return icon;
}

QIcon Icons::get(const QString &themeName)
{
    return QIcon::fromTheme(themeName, drawn(themeName));
}

QIcon Icons::application()
{
    return drawn(QStringLiteral("scrivlo"));
}
