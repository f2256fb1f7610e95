#include "rtf/HeaderFooter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/KeptRtf.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

const char *HeaderFooter::word(Kind kind)
{
    static constexpr const char *kWords[] = {"header", "headerl", "headerr", "headerf",
                                             "footer", "footerl", "footerr", "footerf"};
    return kWords[qBound(0, int(kind), kKinds - 1)];
}

int HeaderFooter::kindForPage(const QTextDocument &doc, bool header, int page)
{
    const DocumentExtras *extras = DocumentExtras::find(doc);
    if (!extras)
        return -1;
    const int all = header ? Header : Footer;
    auto has = [&](int kind) { return !extras->headerFooter(Kind(kind)).isEmpty(); };
    // A document with its own first page shows that page's (or none) on page 1.
    if (page == 1 && extras->titlePage())
        return has(all + 3) ? all + 3 : -1;
    if (extras->facingPages()) {
        const int side = page % 2 == 0 ? all + 1 : all + 2; // even pages are left pages
        if (has(side))
            return side;
    }
    for (const int kind : {all, all + 2, all + 1})
        if (has(kind))
            return kind;
    return -1;
}

std::unique_ptr<QTextDocument> HeaderFooter::document(const QTextDocument &doc, Kind kind)
{
    const DocumentExtras *extras = DocumentExtras::find(doc);
    if (!extras || extras->headerFooter(kind).isEmpty())
        return nullptr;
    auto part = std::make_unique<QTextDocument>();
    part->setDefaultFont(doc.defaultFont());
    RtfCodec::read(extras->headerFooter(kind), *part);
    return part;
}

std::unique_ptr<QTextDocument> HeaderFooter::documentForPage(const QTextDocument &doc, bool header, int page,
                                                             int pageCount)
{
    const int kind = kindForPage(doc, header, page);
    if (kind < 0)
        return nullptr;
    auto part = document(doc, Kind(kind));
    if (part)
        fillPageFields(*part, page, pageCount);
    return part;
}

namespace {

// The figure a run stands for: the page, the page count, or none.
QString figureOf(const QTextCharFormat &f, int page, int pageCount)
{
    if (f.stringProperty(TextFormats::kAutoTextProperty) == u"chpgn")
        return QString::number(page);
    const QString fields = f.stringProperty(TextFormats::kFieldsProperty);
    if (fields.isEmpty())
        return QString();
    const QList<QString> each = KeptRtf::split(fields);
    const QString name = KeptRtf::fieldInstruction(each.last()).section(u' ', 0, 0).toUpper();
    if (name == u"PAGE")
        return QString::number(page);
    if (name == u"NUMPAGES" || name == u"SECTIONPAGES")
        return QString::number(pageCount);
    return QString();
}

} // namespace

void HeaderFooter::fillPageFields(QTextDocument &part, int page, int pageCount)
{
    fillPageFields(part, [page](int) { return page; }, pageCount);
}

void HeaderFooter::fillPageFields(QTextDocument &part, const std::function<int(int position)> &pageAt, int pageCount)
{
    struct Span
    {
        int start, end;
        QString figure;
        QTextCharFormat format;
        QVariant key;
    };
    std::vector<Span> spans;
    for (QTextBlock b = part.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (!f.hasProperty(TextFormats::kFieldsProperty) && !f.hasProperty(TextFormats::kAutoTextProperty))
                continue;
            const QString figure = figureOf(f, pageAt(fragment.position()), pageCount);
            if (figure.isEmpty())
                continue;
            const QVariant key = f.hasProperty(TextFormats::kFieldsProperty) ? f.property(TextFormats::kFieldsProperty)
                                                                              : f.property(TextFormats::kAutoTextProperty);
            if (!spans.empty() && spans.back().end == fragment.position() && spans.back().key == key) {
                spans.back().end = fragment.position() + fragment.length(); // one field in several runs
                continue;
            }
            spans.push_back({fragment.position(), fragment.position() + fragment.length(), figure, f, key});
        }
    }
    QTextCursor c(&part);
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        c.setPosition(it->start);
        c.setPosition(it->end, QTextCursor::KeepAnchor);
        c.insertText(it->figure, it->format);
    }
}
