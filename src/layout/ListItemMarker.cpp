#include "layout/ListItemMarker.h"
#include "layout/LayoutSettings.h"
#include "rtf/ListMarkers.h"
#include "rtf/TextFormats.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>

namespace {

bool isBullet(int style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

bool isShape(const QTextListFormat &format)
{
    return isBullet(format.style()) && !format.hasProperty(TextFormats::kListNumberTemplateProperty);
}

} // namespace

QString ListItemMarker::text(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list || isShape(list->format()))
        return QString();
    QString text = ListMarkers::text(block);
    // A right-to-left item reads its number's suffix first, as Qt numbers such items.
    const QTextListFormat format = list->format();
    if (block.textDirection() == Qt::RightToLeft && !format.hasProperty(TextFormats::kListNumberTemplateProperty)) {
        const QString prefix = format.numberPrefix();
        const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".");
        if (text.size() >= prefix.size() + suffix.size() && text.startsWith(prefix) && text.endsWith(suffix))
            text = suffix + text.mid(prefix.size(), text.size() - prefix.size() - suffix.size()) + prefix;
    }
    return text;
}

void ListItemMarker::paint(QPainter *painter, const QTextBlock &block, QPointF offset,
                           const QAbstractTextDocumentLayout::PaintContext &context, const LayoutSettings &settings,
                           const QTextCharFormat *selection)
{
    const QTextList *list = block.textList();
    const QTextLayout *layout = block.layout();
    if (!list || layout->lineCount() == 0)
        return;
    const QTextListFormat listFormat = list->format();
    const bool shape = isShape(listFormat);
    const QString text = ListItemMarker::text(block);
    if (!shape && text.isEmpty())
        return;

    // In the look of the item's paragraph mark, as Qt's layout draws its markers.
    const QTextCharFormat charFormat = block.charFormat();
    QFont font = charFormat.font();
    if (settings.device)
        font = QFont(font, settings.device);
    const QFontMetrics metrics(font);
    QSizeF size;
    if (shape) {
        size.setWidth(metrics.lineSpacing() / 3);
        size.setHeight(size.width());
    } else {
        size = QSizeF(metrics.horizontalAdvance(text), metrics.height());
    }

    // Beside the first line's text, a space away from it.
    const Qt::LayoutDirection direction = block.textDirection();
    QPointF position = (offset + layout->position()).toPoint();
    const QRectF textRect = layout->lineAt(0).naturalTextRect();
    position += textRect.topLeft().toPoint();
    if (direction == Qt::RightToLeft)
        position.rx() += textRect.width();
    QRectF rect(position, size);
    qreal across = metrics.horizontalAdvance(QLatin1Char(' '));
    if (direction == Qt::LeftToRight)
        across = -across - size.width();
    rect.translate(across, (metrics.height() / 2) - (size.height() / 2));

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (selection) {
        painter->setPen(QPen(selection->foreground(), 0));
        painter->fillRect(rect, selection->background());
    } else {
        QBrush foreground = charFormat.foreground();
        if (foreground == Qt::NoBrush)
            foreground = context.palette.text();
        painter->setPen(QPen(foreground, 0));
    }
    if (!shape) {
        QTextLayout marker(text, font, settings.device);
        marker.setCacheEnabled(true);
        QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setTextDirection(direction);
        marker.setTextOption(option);
        marker.beginLayout();
        QTextLine line = marker.createLine();
        if (line.isValid())
            line.setLeadingIncluded(true);
        marker.endLayout();
        marker.draw(painter, QPointF(rect.left(), position.y()));
    } else {
        // Bullets take the text colour of the view, as in Qt's layout.
        const QBrush text = context.palette.brush(QPalette::Text);
        if (listFormat.style() == QTextListFormat::ListSquare) {
            painter->fillRect(rect, text);
        } else if (listFormat.style() == QTextListFormat::ListCircle) {
            painter->setPen(QPen(text, 0));
            painter->drawEllipse(rect.translated(0.5, 0.5)); // on whole pixels, sharper
        } else {
            painter->setBrush(text);
            painter->setPen(Qt::NoPen);
            painter->drawEllipse(rect);
        }
    }
    painter->restore();
}
