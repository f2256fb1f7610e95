#include "rtf/DocumentExtras.h"
#include "rtf/RtfWriter.h"

#include <QTextDocument>

DocumentExtras *DocumentExtras::find(const QTextDocument &doc)
{
    return doc.findChild<DocumentExtras *>(QString(), Qt::FindDirectChildrenOnly);
}

DocumentExtras &DocumentExtras::of(QTextDocument &doc)
{
    if (DocumentExtras *extras = find(doc))
        return *extras;
    return *new DocumentExtras(&doc);
}

void DocumentExtras::copy(const QTextDocument &from, QTextDocument &to)
{
    const DocumentExtras *source = find(from);
    if (!source) {
        if (DocumentExtras *target = find(to))
            target->clear();
        return;
    }
    DocumentExtras &target = of(to);
    target.pageSetup_ = source->pageSetup_;
    target.headersFooters_ = source->headersFooters_;
    target.titlePage_ = source->titlePage_;
    target.facingPages_ = source->facingPages_;
    target.noteSettings_ = source->noteSettings_;
    target.styles_ = source->styles_;
    target.info_ = source->info_;
    target.keptHead_ = source->keptHead_;
    target.formatKept_ = source->formatKept_;
}

DocumentExtras::DocumentExtras(QTextDocument *doc) : QObject(doc) {}

void DocumentExtras::clear()
{
    pageSetup_.reset();
    headersFooters_ = {};
    titlePage_ = facingPages_ = false;
    noteSettings_.reset();
    styles_.clear();
    info_ = DocumentInfo();
    keptHead_.clear();
    formatKept_.clear();
}

bool DocumentExtras::isEmpty() const
{
    for (const QByteArray &part : headersFooters_)
        if (!part.isEmpty())
            return false;
    return !pageSetup_ && !titlePage_ && !facingPages_ && !noteSettings_ && styles_.isEmpty() && info_.isEmpty()
        && keptHead_.isEmpty() && formatKept_.isEmpty();
}

void DocumentExtras::setFormatKept(const QString &format, const QVariant &kept)
{
    if (!kept.isValid() || (kept.typeId() == QMetaType::QByteArray && kept.toByteArray().isEmpty()))
        formatKept_.remove(format);
    else
        formatKept_.insert(format, kept);
}

void DocumentExtras::setHeaderFooter(HeaderFooter::Kind kind, const QTextDocument &content)
{
    // Written with this document's styles, so its paragraphs keep theirs.
    headersFooters_[kind] = content.isEmpty() ? QByteArray() : RtfWriter(content, RtfWriter::Part, this).write();
}

const DocumentStyle *DocumentExtras::style(const QString &name, DocumentStyle::Kind kind) const
{
    for (const DocumentStyle &s : styles_)
        if (s.kind == kind && s.name == name)
            return &s;
    return nullptr;
}
