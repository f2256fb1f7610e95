// The OpenDocument writer's tables, pictures and notes.
#include "odt/OdtFormats.h"
#include "odt/OdtPictures.h"
#include "odt/OdtProperties.h"
#include "odt/OdtStyleFormats.h"
#include "odt/OdtUnits.h"
#include "odt/OdtWriter.h"
#include "odt/OdtXmlText.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace {

constexpr double kTextWidth = 6.5 * 96; // pixels, for tables without fixed widths
constexpr int kMaxNoteDepth = 4;

QString esc(const QString &s)
{
    return OdtXmlText::escaped(s, true);
}

// Frame and graphic style attributes kept from the file: "frame\u0001style".
std::pair<QString, QString> splitKept(const QString &kept)
{
    const qsizetype split = kept.indexOf(QChar(0x1));
    if (split < 0)
        return {kept, QString()};
    return {kept.left(split), kept.mid(split + 1)};
}

} // namespace

void OdtWriter::writeTable(QTextTable *table)
{
    const QTextTableFormat f = table->format();
    const int rows = table->rows(), columns = table->columns();
    const QList<QTextLength> constraints = f.columnWidthConstraints();
    QList<double> widths;
    double fixed = 0;
    int variable = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength w = c < constraints.size() ? constraints[c] : QTextLength();
        double px = 0;
        if (w.type() == QTextLength::FixedLength)
            px = w.rawValue();
        else if (w.type() == QTextLength::PercentageLength)
            px = kTextWidth * w.rawValue() / 100.0;
        if (px <= 0)
            ++variable;
        fixed += qMax(0.0, px);
        widths.append(px);
    }
    const double share = variable > 0 ? qMax(24.0, (kTextWidth - fixed) / variable) : 0;
    double total = 0;
    for (double &w : widths) {
        if (w <= 0)
            w = share;
        total += w;
    }
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    OdtProperties::List props{{QStringLiteral("style:width"), OdtUnits::inches(total)},
                              {QStringLiteral("table:align"), align & Qt::AlignHCenter ? QStringLiteral("center")
                                                                : align & Qt::AlignRight ? QStringLiteral("right")
                                                                                         : QStringLiteral("left")}};
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        props.append({QStringLiteral("fo:background-color"), OdtUnits::colorText(f.background().color())});
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        props.append({QStringLiteral("fo:break-before"), QStringLiteral("page")});
    const QString tableStyle = part_->styles->name(
        QStringLiteral("table"), QString(),
        QStringLiteral("<style:table-properties") + OdtProperties::attributes(props, f.stringProperty(OdtFormats::kTableAttributesProperty))
            + QStringLiteral("/>"));
    raw(QStringLiteral("<table:table table:name=\"Table%1\" table:style-name=\"%2\">").arg(++tables_).arg(esc(tableStyle)));
    for (int c = 0; c < columns; ++c) {
        const QString column = part_->styles->name(QStringLiteral("table-column"), QString(),
                                                   QStringLiteral("<style:table-column-properties style:column-width=\"%1\"/>")
                                                       .arg(OdtUnits::inches(widths[c])));
        raw(QStringLiteral("<table:table-column table:style-name=\"%1\"/>").arg(esc(column)));
    }
    const int headerRows = qBound(0, f.headerRowCount(), rows);
    for (int r = 0; r < rows; ++r) {
        if (r == 0 && headerRows > 0)
            raw(QStringLiteral("<table:table-header-rows>"));
        QString rowStyle;
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || !cell.format().hasProperty(TextFormats::kRowHeightProperty))
                continue;
            const int height = cell.format().intProperty(TextFormats::kRowHeightProperty);
            if (height != 0)
                rowStyle = part_->styles->name(QStringLiteral("table-row"), QString(),
                                               QStringLiteral("<style:table-row-properties style:%1=\"%2\"/>")
                                                   .arg(height < 0 ? QStringLiteral("row-height") : QStringLiteral("min-row-height"),
                                                        OdtUnits::inches(TextFormats::twipsToPixels(std::abs(height)))));
            break;
        }
        raw(rowStyle.isEmpty() ? QStringLiteral("<table:table-row>")
                               : QStringLiteral("<table:table-row table:style-name=\"%1\">").arg(esc(rowStyle)));
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                raw(QStringLiteral("<table:covered-table-cell/>"));
                continue;
            }
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            const QString cellStyle = part_->styles->name(
                QStringLiteral("table-cell"), QString(),
                QStringLiteral("<style:table-cell-properties")
                    + OdtProperties::attributes(OdtProperties::cell(cf), cf.stringProperty(OdtFormats::kCellAttributesProperty))
                    + QStringLiteral("/>"));
            QString attributes = QStringLiteral(" table:style-name=\"%1\"").arg(esc(cellStyle));
            if (cell.columnSpan() > 1)
                attributes += QStringLiteral(" table:number-columns-spanned=\"%1\"").arg(cell.columnSpan());
            if (cell.rowSpan() > 1)
                attributes += QStringLiteral(" table:number-rows-spanned=\"%1\"").arg(cell.rowSpan());
            raw(QStringLiteral("<table:table-cell") + attributes + QStringLiteral(" office:value-type=\"string\">"));
            const std::vector<const QTextFrame *> floats = std::exchange(part_->floats, {});
            writeItems(cell.begin());
            closeLists(0);
            for (const QTextFrame *frame : std::exchange(part_->floats, floats)) {
                raw(QStringLiteral("<text:p>"));
                writeFloat(frame);
                raw(QStringLiteral("</text:p>"));
            }
            raw(QStringLiteral("</table:table-cell>"));
        }
        raw(QStringLiteral("</table:table-row>"));
        if (r + 1 == headerRows)
            raw(QStringLiteral("</table:table-header-rows>"));
    }
    raw(QStringLiteral("</table:table>"));
}

// The package path of a picture, its bytes added to the package once.
QString OdtWriter::picturePath(const QTextImageFormat &format, QString &mediaType)
{
    const QUrl url(format.name());
    const QTextDocument *source = part_->doc;
    QByteArray bytes = source->resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray();
    if (bytes.isEmpty()) {
        const QVariant resource = source->resource(QTextDocument::ImageResource, url);
        QImage image;
        if (resource.userType() == QMetaType::QByteArray)
            bytes = resource.toByteArray();
        else if (resource.userType() == QMetaType::QImage)
            image = resource.value<QImage>();
        else if (resource.userType() == QMetaType::QPixmap)
            image = resource.value<QPixmap>().toImage();
        if (bytes.isEmpty() && !image.isNull()) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
    }
    if (bytes.isEmpty())
        return QString();
    const QString source_ = format.stringProperty(OdtPictures::kSourceProperty);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray kind = QImageReader::imageFormat(&buffer);
    QString suffix;
    if (!kind.isEmpty()) {
        mediaType = QStringLiteral("image/") + QString::fromLatin1(kind);
        suffix = kind == "jpeg" ? QStringLiteral("jpg") : QString::fromLatin1(kind);
    } else {
        mediaType = source_.section(u' ', 0, 0);
        const QString type = format.stringProperty(TextFormats::kImageTypeProperty);
        suffix = !type.isEmpty() ? type : source_.section(u' ', 1).section(u'.', -1);
        if (mediaType.isEmpty())
            mediaType = type == u"wmf" ? QStringLiteral("image/x-wmf") : type == u"emf" ? QStringLiteral("image/x-emf")
                                                                                         : QStringLiteral("application/octet-stream");
        if (suffix.isEmpty() || suffix.contains(u'/'))
            suffix = QStringLiteral("bin");
    }
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    const auto known = pictureByDigest_.constFind(digest);
    if (known != pictureByDigest_.cend())
        return *known;
    QString path = source_.section(u' ', 1);
    if (!path.startsWith(QLatin1StringView("Pictures/")) || picturePaths_.contains(path) || path.contains(u"..") || path.contains(u'"'))
        path = QStringLiteral("Pictures/%1.%2").arg(QString::fromLatin1(digest.toHex().left(24)), suffix);
    picturePaths_.insert(path);
    pictureByDigest_.insert(digest, path);
    pictures_.append({path, mediaType, bytes});
    return path;
}

void OdtWriter::writeImage(const QTextImageFormat &format, const QString &anchor, const QString &graphic)
{
    QString mediaType;
    const QString path = picturePath(format, mediaType);
    if (path.isEmpty())
        return;
    const auto [frameKept, styleKept] = splitKept(graphic);
    OdtProperties::List style;
    if (anchor == u"as-char") {
        style = {{QStringLiteral("style:vertical-pos"), QStringLiteral("top")},
                 {QStringLiteral("style:vertical-rel"), QStringLiteral("baseline")}};
    } else {
        const QTextFrameFormat::Position position = QTextFrameFormat::Position(format.intProperty(QTextFormat::CssFloat));
        const QString wrap = position == QTextFrameFormat::FloatLeft ? QStringLiteral("right")
                           : position == QTextFrameFormat::FloatRight ? QStringLiteral("left") : QStringLiteral("none");
        const QString side = position == QTextFrameFormat::FloatLeft ? QStringLiteral("left")
                           : position == QTextFrameFormat::FloatRight ? QStringLiteral("right") : QStringLiteral("center");
        style = {{QStringLiteral("style:wrap"), wrap},
                 {QStringLiteral("style:horizontal-pos"), side},
                 {QStringLiteral("style:horizontal-rel"), QStringLiteral("paragraph")},
                 {QStringLiteral("style:vertical-pos"), QStringLiteral("top")},
                 {QStringLiteral("style:vertical-rel"), QStringLiteral("paragraph")},
                 {QStringLiteral("fo:margin-left"), QStringLiteral("0.1in")},
                 {QStringLiteral("fo:margin-right"), QStringLiteral("0.1in")}};
    }
    const QString styleName = part_->styles->name(
        QStringLiteral("graphic"), QString(),
        QStringLiteral("<style:graphic-properties") + OdtProperties::attributes(style, styleKept) + QStringLiteral("/>"));
    const double width = format.width() > 0 ? format.width() : 96, height = format.height() > 0 ? format.height() : 96;
    ++frames_;
    const OdtProperties::List frame{{QStringLiteral("draw:style-name"), styleName},
                                    {QStringLiteral("draw:name"), QStringLiteral("Image%1").arg(frames_)},
                                    {QStringLiteral("text:anchor-type"), anchor},
                                    {QStringLiteral("svg:width"), OdtUnits::inches(width)},
                                    {QStringLiteral("svg:height"), OdtUnits::inches(height)},
                                    {QStringLiteral("draw:z-index"), QStringLiteral("0")}};
    QString keptFrame = frameKept;
    keptFrame.remove(QRegularExpression(QStringLiteral("(svg:x|svg:y|draw:name)=\"[^\"]*\"")));
    if (anchor == u"as-char")
        keptFrame.remove(QRegularExpression(QStringLiteral("(svg:x|svg:y)=\"[^\"]*\"")));
    raw(QStringLiteral("<draw:frame") + OdtProperties::attributes(frame, keptFrame) + u'>');
    raw(QStringLiteral("<draw:image xlink:href=\"%1\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\" "
                       "draw:mime-type=\"%2\"/></draw:frame>")
            .arg(esc(path), esc(mediaType)));
}

// A picture floating beside the text (or on a line of its own), anchored to the paragraph it
// stands before.
void OdtWriter::writeFloat(const QTextFrame *frame)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        for (QTextBlock::iterator f = it.currentBlock().begin(); !f.atEnd(); ++f) {
            const QTextCharFormat c = f.fragment().charFormat();
            if (!c.isImageFormat())
                continue;
            QTextImageFormat image = c.toImageFormat();
            image.setProperty(QTextFormat::CssFloat, int(frame->frameFormat().position()));
            writeImage(image, QStringLiteral("paragraph"), frame->frameFormat().stringProperty(OdtFormats::kFrameAttributesProperty));
            return;
        }
    }
}

void OdtWriter::writeNote(const QTextCharFormat &mark, const QString &citation)
{
    if (noteDepth_ >= kMaxNoteDepth)
        return;
    QTextDocument note;
    note.setDefaultFont(part_->doc->defaultFont());
    RtfCodec::read(TextFormats::rtfBytes(mark.stringProperty(TextFormats::kNoteProperty)), note);
    const bool endnote = mark.intProperty(TextFormats::kNoteKindProperty) == NoteSettings::Endnote;
    const bool automatic = mark.stringProperty(TextFormats::kAutoTextProperty) == u"chftn";
    QString label;
    if (!automatic)
        label = QStringLiteral(" text:label=\"%1\"").arg(esc(citation));
    raw(QStringLiteral("<text:note text:id=\"ftn%1\" text:note-class=\"%2\"><text:note-citation%3>%4</text:note-citation><text:note-body>")
            .arg(++notes_)
            .arg(endnote ? QStringLiteral("endnote") : QStringLiteral("footnote"), label, OdtXmlText::escaped(citation, false)));
    Part part;
    part.doc = &note;
    part.styles = part_->styles;
    part.out = part_->out;
    findLists(part);
    Part *outer = std::exchange(part_, &part);
    ++noteDepth_;
    writeItems(note.rootFrame()->begin());
    closeLists(0);
    for (const QTextFrame *f : std::exchange(part.floats, {})) {
        raw(QStringLiteral("<text:p>"));
        writeFloat(f);
        raw(QStringLiteral("</text:p>"));
    }
    --noteDepth_;
    part_ = outer;
    raw(QStringLiteral("</text:note-body></text:note>"));
}
