// The Word story writer's objects: kept XML, bookmarks, pictures and note references.
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxNotesWriter.h"
#include "docx/DocxPackageWriter.h"
#include "docx/DocxStoryWriter.h"
#include "docx/DocxUnits.h"
#include "docx/DocxWriteContext.h"
#include "rtf/KeptRtf.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>
#include <QXmlStreamWriter>
#include <cmath>

using namespace DocxNamespaces;

namespace {

const QString &w()
{
    static const QString ns = uri(W);
    return ns;
}

struct MediaKind
{
    const char *type;
    const char *extension;
    const char *contentType;
};

constexpr MediaKind kMedia[] = {
    {"png", "png", "image/png"},       {"jpeg", "jpeg", "image/jpeg"}, {"jpg", "jpeg", "image/jpeg"},
    {"gif", "gif", "image/gif"},       {"bmp", "bmp", "image/bmp"},    {"emf", "emf", "image/x-emf"},
    {"wmf", "wmf", "image/x-wmf"},     {"tiff", "tiff", "image/tiff"}, {"pict", "pct", "image/pict"},
    {"svg", "svg", "image/svg+xml"},
};

const MediaKind *mediaKind(const QString &type)
{
    for (const MediaKind &k : kMedia)
        if (type == QLatin1String(k.type))
            return &k;
    return nullptr;
}

QString detect(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QString::fromLatin1(QImageReader::imageFormat(&buffer));
}

} // namespace

void DocxStoryWriter::writeKept(const QString &kept)
{
    if (kept.isEmpty())
        return;
    const bool main = part_ == context_.mainPart;
    const QString r = uri(R);
    for (const DocxKeptXml::Item &item : DocxKeptXml::items(kept)) {
        if (!item.id.isEmpty() && context_.keptWritten.contains(item.id))
            continue;
        const bool written = DocxKeptXml::write(
            out_, item.xml,
            [&](const QString &, QStringView element, const QString &, QStringView attribute, const QString &value) {
                if (element == u"docPr" && attribute == u"id")
                    return QString::number(context_.nextDrawingId++);
                return value;
            },
            [&](const QString &ns, QStringView, const QString &value) {
                // Relationships reach only the main part's kept ones.
                return ns != r || (main && context_.keptRelationshipIds.contains(value));
            });
        if (written && !item.id.isEmpty())
            context_.keptWritten.insert(item.id);
        if (written && main)
            noteNamedRelationships(item.xml);
    }
}

// The kept relationships kept XML names, which the package must then have.
void DocxStoryWriter::noteNamedRelationships(const QString &xml)
{
    if (!xml.contains(u"r:"))
        return;
    for (const QString &id : std::as_const(context_.keptRelationshipIds))
        if (xml.contains(u'"' + id + u'"'))
            context_.namedRelationships.insert(id);
}

void DocxStoryWriter::writeKeptRtf(const QString &keptRtf)
{
    if (keptRtf.isEmpty())
        return;
    for (const QString &part : KeptRtf::split(keptRtf)) {
        const KeptRtf::Parts parts = KeptRtf::parse(part);
        if (!parts.id.isEmpty()) {
            // Written already, or as the Word XML it was read from (which has the same id).
            if (context_.keptWritten.contains(parts.id))
                continue;
            context_.keptWritten.insert(parts.id);
        }
        writeBookmarks(KeptRtf::bookmarks(parts.content));
        if (const QString hidden = KeptRtf::hiddenText(parts.content); !hidden.isEmpty())
            writeHiddenRun(hidden);
        for (const KeptRtf::Annotation &comment : KeptRtf::annotations(parts.content))
            writeCommentReference(comment);
    }
}

void DocxStoryWriter::writeBookmarks(const QList<KeptRtf::Bookmark> &bookmarks)
{
    for (const KeptRtf::Bookmark &b : bookmarks) {
        if (b.start) {
            if (bookmarkIds_.contains(b.name))
                continue;
            const int id = context_.nextBookmarkId++;
            bookmarkIds_.insert(b.name, id);
            out_.writeEmptyElement(w(), QStringLiteral("bookmarkStart"));
            out_.writeAttribute(w(), QStringLiteral("id"), QString::number(id));
            out_.writeAttribute(w(), QStringLiteral("name"), b.name);
        } else if (bookmarkIds_.contains(b.name)) {
            out_.writeEmptyElement(w(), QStringLiteral("bookmarkEnd"));
            out_.writeAttribute(w(), QStringLiteral("id"), QString::number(bookmarkIds_.take(b.name)));
        }
    }
}

// Hidden text another format kept: a run of its own that Word does not show.
void DocxStoryWriter::writeHiddenRun(const QString &text)
{
    out_.writeStartElement(w(), QStringLiteral("r"));
    out_.writeStartElement(w(), QStringLiteral("rPr"));
    out_.writeEmptyElement(w(), QStringLiteral("vanish"));
    out_.writeEndElement();
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\t' && text[i] != QChar::LineSeparator)
            continue;
        if (i > from) {
            out_.writeStartElement(w(), QStringLiteral("t"));
            out_.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
            out_.writeCharacters(text.sliced(from, i - from));
            out_.writeEndElement();
        }
        if (i < text.size())
            out_.writeEmptyElement(w(), text[i] == u'\t' ? QStringLiteral("tab") : QStringLiteral("br"));
        from = i + 1;
    }
    out_.writeEndElement();
}

// A comment another format kept: its mark here, its text in the comments part. Word has comments
// in the document's body only.
void DocxStoryWriter::writeCommentReference(const KeptRtf::Annotation &comment)
{
    if (part_ != context_.mainPart)
        return;
    const int id = context_.nextCommentId++;
    context_.comments.append({id, comment});
    out_.writeStartElement(w(), QStringLiteral("r"));
    out_.writeEmptyElement(w(), QStringLiteral("commentReference"));
    out_.writeAttribute(w(), QStringLiteral("id"), QString::number(id));
    out_.writeEndElement();
}

// The picture's part and a relationship to it from this story's part.
QString DocxStoryWriter::imageRelationship(const QTextImageFormat &image, QSizeF &size)
{
    const QUrl url(image.name());
    QByteArray bytes = story_.resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray();
    QString type = image.stringProperty(TextFormats::kImageTypeProperty);
    if (bytes.isEmpty()) {
        const QVariant resource = story_.resource(QTextDocument::ImageResource, url);
        QImage picture;
        if (resource.typeId() == QMetaType::QByteArray) {
            bytes = resource.toByteArray();
            type = detect(bytes);
        } else if (resource.canConvert<QImage>()) {
            picture = resource.value<QImage>();
        } else if (resource.canConvert<QPixmap>()) {
            picture = resource.value<QPixmap>().toImage();
        }
        if (bytes.isEmpty() || !mediaKind(type)) {
            if (picture.isNull() && !bytes.isEmpty())
                picture.loadFromData(bytes);
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (picture.isNull())
                picture = QImage(1, 1, QImage::Format_ARGB32);
            picture.save(&buffer, "PNG");
            type = QStringLiteral("png");
            if (size.isEmpty())
                size = picture.size();
        }
    }
    const MediaKind *kind = mediaKind(type);
    if (!kind) {
        type = detect(bytes);
        kind = mediaKind(type);
    }
    if (!kind)
        kind = &kMedia[0];
    if (size.isEmpty())
        size = QSizeF(96, 96);
    const QString media = context_.package.addMedia(bytes, QLatin1String(kind->extension), QLatin1String(kind->contentType));
    auto found = mediaRelationships_.constFind(media);
    if (found == mediaRelationships_.cend())
        found = mediaRelationships_.insert(media, context_.package.addRelationship(part_, QStringLiteral("image"), media));
    return *found;
}

void DocxStoryWriter::writeImage(const QTextImageFormat &image, const QString &paragraphStyle)
{
    QSizeF size(image.width(), image.height());
    const QString relationship = imageRelationship(image, size);
    out_.writeStartElement(w(), QStringLiteral("r"));
    QTextCharFormat plain = image;
    writeRunProperties(plain, -1, paragraphStyle);
    writeDrawing(relationship, size, image.stringProperty(DocxFormats::kDrawingProperty), nullptr);
    out_.writeEndElement();
}

void DocxStoryWriter::writeFloat(const QTextFrame *frame)
{
    const QTextBlock first = frame->begin().currentBlock();
    if (!first.isValid() || first.begin() == first.end())
        return;
    const QTextCharFormat f = first.begin().fragment().charFormat();
    if (!f.isImageFormat())
        return;
    const QTextImageFormat image = f.toImageFormat();
    QSizeF size(image.width(), image.height());
    const QString relationship = imageRelationship(image, size);
    out_.writeStartElement(w(), QStringLiteral("r"));
    writeDrawing(relationship, size, frame->frameFormat().stringProperty(DocxFormats::kDrawingProperty), frame);
    out_.writeEndElement();
}

// A picture: its kept drawing with the picture's new relationship and size, or one made anew
// (in the text, or anchored for a floating frame).
void DocxStoryWriter::writeDrawing(const QString &relationship, QSizeF size, const QString &keptDrawing,
                                   const QTextFrame *anchored)
{
    const qint64 cx = qMax<qint64>(1, std::llround(size.width() * DocxUnits::kEmuPerPixel));
    const qint64 cy = qMax<qint64>(1, std::llround(size.height() * DocxUnits::kEmuPerPixel));
    const QString r = uri(R);
    if (!keptDrawing.isEmpty()) {
        QSet<QString> named;
        const bool written = DocxKeptXml::write(
            out_, keptDrawing,
            [&](const QString &, QStringView element, const QString &ns, QStringView attribute, const QString &value) {
                if ((element == u"blip" && ns == r && attribute == u"embed")
                    || (element == u"imagedata" && ns == r && attribute == u"id"))
                    return relationship;
                if (ns == r)
                    named.insert(value); // a link on the picture ...
                if (element == u"blip" && ns == r && attribute == u"link")
                    return QString();
                if (element == u"docPr" && attribute == u"id")
                    return QString::number(context_.nextDrawingId++);
                if ((element == u"extent" || element == u"ext") && (attribute == u"cx" || attribute == u"cy")) {
                    const qint64 now = attribute == u"cx" ? cx : cy;
                    const qint64 was = value.toLongLong();
                    return std::llabs(was - now) < qint64(DocxUnits::kEmuPerPixel) ? value : QString::number(now);
                }
                return value;
            },
            [&](const QString &ns, QStringView name, const QString &value) {
                return ns != r || name == u"embed" || name == u"link" || name == u"id"
                    || (part_ == context_.mainPart && context_.keptRelationshipIds.contains(value));
            });
        if (written) {
            if (part_ == context_.mainPart)
                for (const QString &id : std::as_const(named))
                    if (context_.keptRelationshipIds.contains(id))
                        context_.namedRelationships.insert(id);
            return;
        }
    }
    const QString wp = uri(WP), a = uri(A), pic = uri(Pic);
    const int id = context_.nextDrawingId++;
    out_.writeStartElement(w(), QStringLiteral("drawing"));
    if (anchored) {
        const QTextFrameFormat::Position position = anchored->frameFormat().position();
        out_.writeStartElement(wp, QStringLiteral("anchor"));
        for (const char *d : {"distT", "distB"})
            out_.writeAttribute(QLatin1String(d), QStringLiteral("0"));
        for (const char *d : {"distL", "distR"})
            out_.writeAttribute(QLatin1String(d), QStringLiteral("114300"));
        out_.writeAttribute(QStringLiteral("simplePos"), QStringLiteral("0"));
        out_.writeAttribute(QStringLiteral("relativeHeight"), QString::number(id));
        out_.writeAttribute(QStringLiteral("behindDoc"), QStringLiteral("0"));
        out_.writeAttribute(QStringLiteral("locked"), QStringLiteral("0"));
        out_.writeAttribute(QStringLiteral("layoutInCell"), QStringLiteral("1"));
        out_.writeAttribute(QStringLiteral("allowOverlap"), QStringLiteral("1"));
        out_.writeEmptyElement(wp, QStringLiteral("simplePos"));
        out_.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        out_.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        out_.writeStartElement(wp, QStringLiteral("positionH"));
        out_.writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("column"));
        out_.writeTextElement(wp, QStringLiteral("align"), position == QTextFrameFormat::FloatRight ? QStringLiteral("right")
                                                         : position == QTextFrameFormat::FloatLeft  ? QStringLiteral("left")
                                                                                                    : QStringLiteral("center"));
        out_.writeEndElement();
        out_.writeStartElement(wp, QStringLiteral("positionV"));
        out_.writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("paragraph"));
        out_.writeTextElement(wp, QStringLiteral("posOffset"), QStringLiteral("0"));
        out_.writeEndElement();
    } else {
        out_.writeStartElement(wp, QStringLiteral("inline"));
        for (const char *d : {"distT", "distB", "distL", "distR"})
            out_.writeAttribute(QLatin1String(d), QStringLiteral("0"));
    }
    out_.writeEmptyElement(wp, QStringLiteral("extent"));
    out_.writeAttribute(QStringLiteral("cx"), QString::number(cx));
    out_.writeAttribute(QStringLiteral("cy"), QString::number(cy));
    if (anchored) {
        if (anchored->frameFormat().position() == QTextFrameFormat::InFlow) {
            out_.writeEmptyElement(wp, QStringLiteral("wrapTopAndBottom"));
        } else {
            out_.writeEmptyElement(wp, QStringLiteral("wrapSquare"));
            out_.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("bothSides"));
        }
    }
    out_.writeEmptyElement(wp, QStringLiteral("docPr"));
    out_.writeAttribute(QStringLiteral("id"), QString::number(id));
    out_.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    out_.writeStartElement(a, QStringLiteral("graphic"));
    out_.writeStartElement(a, QStringLiteral("graphicData"));
    out_.writeAttribute(QStringLiteral("uri"), pic);
    out_.writeStartElement(pic, QStringLiteral("pic"));
    out_.writeStartElement(pic, QStringLiteral("nvPicPr"));
    out_.writeEmptyElement(pic, QStringLiteral("cNvPr"));
    out_.writeAttribute(QStringLiteral("id"), QString::number(id));
    out_.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    out_.writeEmptyElement(pic, QStringLiteral("cNvPicPr"));
    out_.writeEndElement();
    out_.writeStartElement(pic, QStringLiteral("blipFill"));
    out_.writeEmptyElement(a, QStringLiteral("blip"));
    out_.writeAttribute(r, QStringLiteral("embed"), relationship);
    out_.writeStartElement(a, QStringLiteral("stretch"));
    out_.writeEmptyElement(a, QStringLiteral("fillRect"));
    out_.writeEndElement();
    out_.writeEndElement();
    out_.writeStartElement(pic, QStringLiteral("spPr"));
    out_.writeStartElement(a, QStringLiteral("xfrm"));
    out_.writeEmptyElement(a, QStringLiteral("off"));
    out_.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    out_.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    out_.writeEmptyElement(a, QStringLiteral("ext"));
    out_.writeAttribute(QStringLiteral("cx"), QString::number(cx));
    out_.writeAttribute(QStringLiteral("cy"), QString::number(cy));
    out_.writeEndElement();
    out_.writeStartElement(a, QStringLiteral("prstGeom"));
    out_.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    out_.writeEmptyElement(a, QStringLiteral("avLst"));
    out_.writeEndElement();
    out_.writeEndElement();
    out_.writeEndElement(); // pic
    out_.writeEndElement(); // graphicData
    out_.writeEndElement(); // graphic
    out_.writeEndElement(); // inline or anchor
    out_.writeEndElement(); // drawing
}

void DocxStoryWriter::writeNoteReference(const QTextCharFormat &format, const QString &paragraphStyle)
{
    const QString mark = format.stringProperty(TextFormats::kMarkIdProperty) + format.stringProperty(TextFormats::kNoteProperty);
    if (marksWritten_.contains(mark))
        return;
    marksWritten_.insert(mark);
    const bool own = kind_ == Kind::Note && !format.hasProperty(TextFormats::kNoteProperty);
    const bool endnote = own ? endnotes_ : format.intProperty(TextFormats::kNoteKindProperty) == NoteSettings::Endnote;
    int id = 0;
    if (!own) {
        if (!context_.notes)
            return;
        id = context_.notes->add(TextFormats::rtfBytes(format.stringProperty(TextFormats::kNoteProperty)),
                                 endnote ? NoteSettings::Endnote : NoteSettings::Footnote);
    }
    out_.writeStartElement(w(), QStringLiteral("r"));
    QTextCharFormat f = format;
    writeRunProperties(f, -1, paragraphStyle);
    if (own) {
        out_.writeEmptyElement(w(), endnote ? QStringLiteral("endnoteRef") : QStringLiteral("footnoteRef"));
    } else {
        out_.writeEmptyElement(w(), endnote ? QStringLiteral("endnoteReference") : QStringLiteral("footnoteReference"));
        if (!format.hasProperty(TextFormats::kAutoTextProperty))
            out_.writeAttribute(w(), QStringLiteral("customMarkFollows"), QStringLiteral("1"));
        out_.writeAttribute(w(), QStringLiteral("id"), QString::number(id));
    }
    out_.writeEndElement();
}
