#include "docx/DocxStyles.h"
#include "docx/DocxStyleRtf.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>

using namespace DocxNamespaces;

void DocxStyles::read(const QByteArray &bytes, const QString &part, const DocxTheme &theme)
{
    DocxXml xml(bytes, part);
    if (!xml.start())
        return;
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (xml.isW(u"docDefaults")) {
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                const bool run = xml.isW(u"rPrDefault");
                if (!run && !xml.isW(u"pPrDefault"))
                    continue;
                const int dd = xml.depth();
                while (xml.nextChild(dd)) {
                    if (run && xml.isW(u"rPr"))
                        runDefaults_.read(xml, theme, false);
                    else if (!run && xml.isW(u"pPr"))
                        paragraphDefaults_.read(xml, theme, false);
                }
            }
            continue;
        }
        if (!xml.isW(u"style") || styles_.size() >= kMaxStyles)
            continue;
        Style s;
        const QStringView type = xml.attribute(u"type");
        s.kind = type == u"character" ? DocumentStyle::Character
               : type == u"table"     ? DocumentStyle::Table
               : type == u"numbering" ? DocumentStyle::Section // not shown; kept with styles.xml
                                      : DocumentStyle::Paragraph;
        s.id = xml.attribute(u"styleId").toString();
        s.isDefault = DocxUnits::onOff(xml.attribute(u"default").isNull() ? u"0" : xml.attribute(u"default"));
        const int d = xml.depth();
        while (xml.nextChild(d)) {
            if (xml.ns() != W)
                continue;
            const QStringView n = xml.name();
            if (n == u"name")
                s.name = xml.val().toString();
            else if (n == u"basedOn")
                s.basedOn = xml.val().toString();
            else if (n == u"next")
                s.next = xml.val().toString();
            else if (n == u"pPr")
                s.paragraph.read(xml, theme, false);
            else if (n == u"rPr")
                s.run.read(xml, theme, false);
            else if (n == u"tblPr" || n == u"trPr" || n == u"tcPr")
                s.table.read(xml, false);
            else if (n == u"tblStylePr" && s.conditionals.size() < 16) {
                DocxTableConditional c;
                const QString type = xml.attribute(u"type").toString();
                const int dd = xml.depth();
                while (xml.nextChild(dd)) {
                    if (xml.isW(u"tcPr"))
                        c.cell.read(xml, false);
                    else if (xml.isW(u"rPr"))
                        c.run.read(xml, theme, false);
                }
                s.conditionals.insert(type, c);
            }
        }
        if (s.id.isEmpty() || index_.contains(s.id))
            continue;
        if (s.name.isEmpty())
            s.name = s.id;
        const int kind = int(s.kind);
        if (s.isDefault && defaults_[kind].isEmpty())
            defaults_[kind] = s.id;
        index_.insert(s.id, int(styles_.size()));
        styles_.append(s);
    }
}


void DocxStyles::completeDefaults(const QFont &documentFont)
{
    if (!runDefaults_.font || runDefaults_.font->isEmpty())
        runDefaults_.font = documentFont.family();
    if (!runDefaults_.size)
        runDefaults_.size = 10.0;
}

const DocxStyles::Style *DocxStyles::find(const QString &id) const
{
    const auto it = index_.constFind(id);
    return it == index_.cend() ? nullptr : &styles_[*it];
}

QString DocxStyles::defaultStyle(DocumentStyle::Kind kind) const
{
    return defaults_[int(kind)];
}

QList<QString> DocxStyles::chain(const QString &id) const
{
    QList<QString> ids;
    for (const Style *s = find(id); s && ids.size() < kMaxChain && !ids.contains(s->id); s = find(s->basedOn))
        ids.prepend(s->id);
    return ids;
}

const DocxParagraphProperties &DocxStyles::paragraph(const QString &id) const
{
    const auto cached = paragraphs_.constFind(id);
    if (cached != paragraphs_.cend())
        return *cached;
    DocxParagraphProperties p;
    for (const QString &step : chain(id)) {
        const Style *s = find(step);
        p.merge(s->paragraph);
        p.mark.merge(s->run);
    }
    p.style.reset();
    return *paragraphs_.insert(id, p);
}

const DocxRunProperties &DocxStyles::character(const QString &id) const
{
    const auto cached = characters_.constFind(id);
    if (cached != characters_.cend())
        return *cached;
    DocxRunProperties r;
    for (const QString &step : chain(id))
        r.merge(find(step)->run);
    r.style.reset();
    return *characters_.insert(id, r);
}

const DocxTableProperties &DocxStyles::table(const QString &id) const
{
    const auto cached = tables_.constFind(id);
    if (cached != tables_.cend())
        return *cached;
    DocxTableProperties t;
    for (const QString &step : chain(id))
        t.merge(find(step)->table);
    return *tables_.insert(id, t);
}

QHash<QString, DocxTableConditional> DocxStyles::conditionals(const QString &id) const
{
    QHash<QString, DocxTableConditional> merged;
    for (const QString &step : chain(id)) {
        const Style *s = find(step);
        for (auto it = s->conditionals.cbegin(); it != s->conditionals.cend(); ++it) {
            DocxTableConditional &c = merged[it.key()];
            c.cell.mergeCell(it->cell);
            c.run.merge(it->run);
        }
    }
    return merged;
}

const DocxRunProperties &DocxStyles::tableRun(const QString &id) const
{
    const auto cached = tableRuns_.constFind(id);
    if (cached != tableRuns_.cend())
        return *cached;
    DocxRunProperties r;
    for (const QString &step : chain(id))
        r.merge(find(step)->run);
    r.style.reset();
    return *tableRuns_.insert(id, r);
}

QList<DocumentStyle> DocxStyles::documentStyles(const QFont &documentFont) const
{
    QHash<QString, int> numbers;
    int next = 1;
    const QString defaultParagraph = defaultStyle(DocumentStyle::Paragraph);
    for (const Style &s : styles_) {
        if (s.kind == DocumentStyle::Section)
            continue;
        numbers.insert(s.id, s.id == defaultParagraph ? 0 : next++);
    }
    QList<DocumentStyle> out;
    for (const Style &s : styles_) {
        if (s.kind == DocumentStyle::Section)
            continue;
        DocumentStyle d;
        d.number = numbers.value(s.id);
        d.kind = s.kind;
        d.name = s.name;
        d.basedOn = numbers.value(s.basedOn, -1);
        d.next = numbers.value(s.next, -1);
        DocxRunProperties run = runDefaults_;
        if (s.kind == DocumentStyle::Paragraph) {
            DocxParagraphProperties para = paragraphDefaults_;
            para.merge(paragraph(s.id));
            run.merge(para.mark);
            para.apply(d.blockFormat);
            d.blockFormat.clearProperty(QTextFormat::BlockNonBreakableLines);
        } else if (s.kind == DocumentStyle::Character) {
            run.merge(character(s.id));
        }
        run.kept.clear();
        run.fonts.clear();
        if (s.kind != DocumentStyle::Table) {
            run.apply(d.charFormat, documentFont);
            if (!d.charFormat.hasProperty(QTextFormat::FontFamilies))
                TextFormats::setFamily(d.charFormat, documentFont.family());
            if (!d.charFormat.hasProperty(QTextFormat::FontPointSize))
                d.charFormat.setFontPointSize(10);
        }
        d.definition = DocxStyleRtf::definition(d);
        out.append(d);
    }
    return out;
}
