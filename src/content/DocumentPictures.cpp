#include "content/DocumentPictures.h"
#include "content/PageGeometry.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QUuid>

namespace {

// The resources of the picture named `name`: what is shown, and the bytes it was read from.
struct PictureResource {
    int type;
    QUrl url;
};

QList<PictureResource> resourcesOf(const QString &name)
{
    const QUrl url(name);
    return {{QTextDocument::ImageResource, url},
            {TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)}};
}

struct PictureRun {
    int position;
    int length;
    QTextImageFormat format;
};

QList<PictureRun> pictureRuns(const QTextDocument &doc)
{
    QList<PictureRun> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                runs.append({fragment.position(), fragment.length(), format.toImageFormat()});
        }
    }
    return runs;
}

} // namespace

QSet<QString> DocumentPictures::names(const QTextDocument &doc)
{
    QSet<QString> result;
    for (const PictureRun &run : pictureRuns(doc))
        result.insert(run.format.name());
    return result;
}

void DocumentPictures::copy(const QTextDocument &from, QTextDocument &to, const QSet<QString> &pictures)
{
    for (const QString &name : pictures) {
        for (const PictureResource &resource : resourcesOf(name)) {
            const QVariant data = from.resource(resource.type, resource.url);
            if (data.isValid())
                to.addResource(resource.type, resource.url, data);
        }
    }
}

void DocumentPictures::giveFreshNames(QTextDocument &doc)
{
    QHash<QString, QString> renamed;
    QTextCursor cursor(&doc);
    for (const PictureRun &run : pictureRuns(doc)) {
        const QString old = run.format.name();
        if (!renamed.contains(old)) {
            const QString name = freshName();
            const QList<PictureResource> from = resourcesOf(old), to = resourcesOf(name);
            for (qsizetype i = 0; i < from.size(); ++i) {
                const QVariant data = doc.resource(from[i].type, from[i].url);
                if (data.isValid())
                    doc.addResource(to[i].type, to[i].url, data);
            }
            renamed.insert(old, name);
        }
        QTextImageFormat format = run.format;
        format.setName(renamed.value(old));
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

std::unique_ptr<QTextDocument> DocumentPictures::extract(const QTextCursor &cursor)
{
    const QTextDocument &source = *cursor.document();
    auto part = std::make_unique<QTextDocument>();
    part->setDefaultFont(source.defaultFont());
    part->setIndentWidth(source.indentWidth());
    part->setUndoRedoEnabled(false);
    const QTextDocumentFragment fragment = cursor.hasSelection() ? cursor.selection() : QTextDocumentFragment(&source);
    QTextCursor(part.get()).insertFragment(fragment);
    copy(source, *part, names(*part));
    return part;
}

QString DocumentPictures::freshName()
{
    return QStringLiteral("picture:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QSizeF DocumentPictures::fitToPage(QSizeF natural)
{
    const QSizeF page = PageGeometry::smallestTextArea();
    if (natural.isEmpty() || (natural.width() <= page.width() && natural.height() <= page.height()))
        return natural;
    return natural.scaled(page, Qt::KeepAspectRatio);
}
