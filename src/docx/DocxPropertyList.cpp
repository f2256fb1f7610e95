#include "docx/DocxPropertyList.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxNamespaces.h"

#include <QHash>
#include <QXmlStreamWriter>
#include <algorithm>

using namespace DocxNamespaces;

namespace {

const QStringList &order(DocxPropertyList::Kind kind)
{
    static const QStringList run = QStringLiteral(
        "ins del moveFrom moveTo rStyle rFonts b bCs i iCs caps smallCaps strike dstrike outline shadow emboss imprint "
        "noProof snapToGrid vanish webHidden color spacing w kern position sz szCs highlight u effect bdr shd fitText "
        "vertAlign rtl cs em lang eastAsianLayout specVanish oMath rPrChange").split(u' ');
    static const QStringList paragraph = QStringLiteral(
        "pStyle keepNext keepLines pageBreakBefore framePr widowControl numPr suppressLineNumbers pBdr shd tabs "
        "suppressAutoHyphens kinsoku wordWrap overflowPunct topLinePunct autoSpaceDE autoSpaceDN bidi adjustRightInd "
        "snapToGrid spacing ind contextualSpacing mirrorIndents suppressOverlap jc textDirection textAlignment "
        "textboxTightWrap outlineLvl divId cnfStyle rPr sectPr pPrChange").split(u' ');
    static const QStringList table = QStringLiteral(
        "tblStyle tblpPr tblOverlap bidiVisual tblStyleRowBandSize tblStyleColBandSize tblW jc tblCellSpacing tblInd "
        "tblBorders shd tblLayout tblCellMar tblLook tblCaption tblDescription tblPrChange").split(u' ');
    static const QStringList row = QStringLiteral(
        "cnfStyle divId gridBefore gridAfter wBefore wAfter cantSplit trHeight tblHeader tblCellSpacing jc hidden ins "
        "del trPrChange").split(u' ');
    static const QStringList cell = QStringLiteral(
        "cnfStyle tcW gridSpan hMerge vMerge tcBorders shd noWrap tcMar textDirection tcFitText vAlign hideMark "
        "headers cellIns cellDel cellMerge tcPrChange").split(u' ');
    static const QStringList section = QStringLiteral(
        "headerReference footerReference footnotePr endnotePr type pgSz pgMar paperSrc pgBorders lnNumType "
        "pgNumType cols formProt vAlign noEndnote titlePg textDirection bidi rtlGutter docGrid printerSettings "
        "sectPrChange").split(u' ');
    switch (kind) {
    case DocxPropertyList::Run: return run;
    case DocxPropertyList::Paragraph: return paragraph;
    case DocxPropertyList::Table: return table;
    case DocxPropertyList::Row: return row;
    case DocxPropertyList::Cell: return cell;
    default: return section;
    }
}

} // namespace

int DocxPropertyList::orderOf(const QString &name) const
{
    const QStringList &names = order(kind_);
    const qsizetype i = names.indexOf(name);
    if (i >= 0) {
        // What changes the properties comes after everything else.
        return name.endsWith(u"Change") ? 10000 : int(i);
    }
    return 5000; // elements of other namespaces, after the main ones
}

void DocxPropertyList::add(const QString &name, const QList<QPair<QString, QString>> &attributes)
{
    Entry e;
    e.order = orderOf(name);
    e.name = name;
    e.attributes = attributes;
    insert(std::move(e));
}

void DocxPropertyList::addCustom(const QString &name, const std::function<void(QXmlStreamWriter &)> &write)
{
    Entry e;
    e.order = orderOf(name);
    e.name = name;
    e.custom = write;
    insert(std::move(e));
}

bool DocxPropertyList::has(const QString &name) const
{
    return std::any_of(entries_.cbegin(), entries_.cend(), [&](const Entry &e) { return e.name == name && e.kept.isEmpty(); });
}

void DocxPropertyList::remove(const QString &name)
{
    entries_.removeIf([&](const Entry &e) { return e.name == name; });
}

void DocxPropertyList::addKept(const QString &elementsXml)
{
    if (elementsXml.isEmpty())
        return;
    for (const DocxKeptXml::Element &element : DocxKeptXml::elements(elementsXml)) {
        const bool main = element.ns == uri(W);
        if (main && has(element.name))
            continue;
        Entry e;
        e.order = main ? orderOf(element.name) : 5000;
        e.name = element.name;
        e.kept = element.xml;
        insert(std::move(e));
    }
}

// Entries go in at their place in the schema's order (after those of the same place), so that
// writing, which a run's properties do thousands of times, has nothing to sort.
void DocxPropertyList::insert(Entry &&entry)
{
    auto at = std::upper_bound(entries_.begin(), entries_.end(), entry.order,
                               [](int order, const Entry &e) { return order < e.order; });
    entries_.insert(at, std::move(entry));
}

void DocxPropertyList::writeChildren(QXmlStreamWriter &out) const
{
    static const QString w = uri(W);
    for (const Entry &entry : entries_) {
        const Entry *e = &entry;
        if (!e->kept.isEmpty()) {
            DocxKeptXml::write(out, e->kept);
        } else if (e->custom) {
            e->custom(out);
        } else {
            out.writeEmptyElement(w, e->name);
            for (const auto &[name, value] : e->attributes)
                out.writeAttribute(w, name, value);
        }
    }
}

void DocxPropertyList::write(QXmlStreamWriter &out, const QString &element, bool always) const
{
    if (entries_.isEmpty() && !always)
        return;
    out.writeStartElement(uri(W), element);
    writeChildren(out);
    out.writeEndElement();
}
