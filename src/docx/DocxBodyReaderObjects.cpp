// The Word story reader's objects: drawings, pictures, text boxes, equations and alternate
// content; and the XML it keeps.
#include "docx/DocxBodyReader.h"
#include "docx/DocxDocumentBuilder.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxObjectScan.h"
#include "docx/DocxReadContext.h"
#include "docx/DocxXml.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

using namespace DocxNamespaces;

namespace {

constexpr int kMaxDisplayDepth = 4;

QString inRunElement(const QString &element)
{
    return QStringLiteral("<w:r>") + element + QStringLiteral("</w:r>");
}

} // namespace

void DocxBodyReader::keepPending(const QString &kept)
{
    if (mode_ == Mode::Display || kept.isEmpty())
        return;
    pendingKept_ += kept;
}

// An element the program does not know: kept where it stands, and its text shown.
void DocxBodyReader::keepElement(DocxXml &xml, bool inRun, const QString &id)
{
    if (mode_ == Mode::Display) {
        const QString element = DocxKeptXml::captureElement(xml);
        const QString text = DocxObjectScan::textOf(element);
        if (text.isEmpty())
            return;
        const bool open = paragraph_.open;
        paragraph_.open = true;
        showKeptText(QString(), text);
        if (!open)
            endParagraph();
        return;
    }
    const bool block = !paragraph_.open;
    const QString element = DocxKeptXml::captureElement(xml);
    const QString kept = DocxKeptXml::item(id.isEmpty() ? context_.newId() : id, inRun ? inRunElement(element) : element);
    if (block) {
        pendingBlockKept_ += kept;
        return;
    }
    const QString text = DocxObjectScan::textOf(element);
    if (text.isEmpty())
        keepPending(kept);
    else
        showKeptText(kept, text);
}

void DocxBodyReader::readObject(DocxXml &xml)
{
    const QString element = DocxKeptXml::captureElement(xml);
    const QString kept = DocxKeptXml::item(context_.newId(), inRunElement(element));
    if (!showObject(kept, element, true))
        keepPending(kept);
}

void DocxBodyReader::readAlternateContent(DocxXml &xml, bool inRun)
{
    const QString element = DocxKeptXml::captureElement(xml);
    // The fallback is what every reader understands; without one, the first choice.
    QString chosen;
    {
        DocxXml copy(DocxKeptXml::document(element).toUtf8(), xml.part());
        copy.start();
        copy.nextChild(1);
        const int depth = copy.depth();
        while (copy.nextChild(depth)) {
            if (copy.ns() != MC)
                continue;
            if (copy.name() == u"Fallback" || chosen.isEmpty())
                chosen = DocxKeptXml::captureElement(copy);
        }
    }
    if (inRun) {
        // A drawing and its fallback: shown as one object, written back whole. Without a picture
        // or text box, the text of the branch read (an emoji, a symbol) stands for it.
        const QString kept = DocxKeptXml::item(context_.newId(), inRunElement(element));
        if (showObject(kept, element, false))
            return;
        const QString text = chosen.isEmpty() ? QString() : DocxObjectScan::textOf(chosen);
        if (text.isEmpty())
            keepPending(kept);
        else
            showKeptText(kept, text);
        return;
    }
    if (chosen.isEmpty())
        return;
    // Paragraphs or runs: read as if they stood here.
    DocxXml branch(DocxKeptXml::document(chosen).toUtf8(), xml.part());
    branch.start();
    branch.nextChild(1);
    const int depth = branch.depth();
    while (branch.nextChild(depth)) {
        if (paragraph_.open)
            readInlineElement(branch);
        else
            readBlock(branch);
    }
}

void DocxBodyReader::readMath(DocxXml &xml)
{
    const QString element = DocxKeptXml::captureElement(xml);
    QString text = DocxObjectScan::textOf(element);
    text.replace(QChar(0x2028), u' ');
    if (mode_ == Mode::Display) {
        showKeptText(QString(), text);
        return;
    }
    const QString kept = DocxKeptXml::item(context_.newId(), element);
    if (text.isEmpty())
        keepPending(kept);
    else
        showKeptText(kept, text);
}

// Shows an object: its picture (in the text, or floating beside it), or the text of its text
// boxes, which then stands for the kept object. False when there is nothing to show.
bool DocxBodyReader::showObject(const QString &keptItem, const QString &elementXml, bool drawingOfItsOwn)
{
    const DocxObjectScan scan = DocxObjectScan::scan(elementXml, part_);
    if (!scan.textBoxes.isEmpty()) {
        if (context_.displayDepth >= kMaxDisplayDepth) {
            showKeptText(keptItem, DocxObjectScan::textOf(elementXml));
            return true;
        }
        bool shown = false;
        for (const QString &box : scan.textBoxes) {
            const auto doc = readDisplay(box);
            if (doc->characterCount() <= 1 && doc->toPlainText().isEmpty())
                continue;
            if (shown)
                showKeptText(keptItem, QString(QChar(0x2028)));
            showKept(keptItem, *doc);
            shown = true;
        }
        return shown;
    }
    if (scan.pictures != 1 || scan.other)
        return false;
    // A picture that is missing, or linked from outside (never fetched), is kept, not shown.
    const DocxPackage::Relationship *r = context_.package.relationship(part_, scan.picture);
    if (!r || r->external || scan.linked)
        return false;
    const QTextImageFormat image = pictures_.image(r->target, scan.size);
    if (!image.isValid())
        return false;
    if (mode_ == Mode::Display) {
        addMark(QString(QChar::ObjectReplacementCharacter), image);
        return true;
    }
    if (scan.placement == DocxObjectScan::Inline || !drawingOfItsOwn) {
        QTextCharFormat f = currentFormat();
        f.merge(image);
        QTextImageFormat merged = f.toImageFormat();
        if (drawingOfItsOwn)
            merged.setProperty(DocxFormats::kDrawingProperty, elementXml);
        else
            merged.setProperty(DocxFormats::kShownOnlyProperty, keptItem);
        addMark(QString(QChar::ObjectReplacementCharacter), merged);
        return true;
    }
    Float f;
    f.image = image;
    if (scan.placement == DocxObjectScan::Beside) {
        f.frame.setPosition(scan.right ? QTextFrameFormat::FloatRight : QTextFrameFormat::FloatLeft);
        scan.right ? f.frame.setLeftMargin(TextFormats::twipsToPixels(180)) : f.frame.setRightMargin(TextFormats::twipsToPixels(180));
    } else {
        f.frame.setPosition(QTextFrameFormat::InFlow);
    }
    f.frame.setWidth(image.width());
    f.frame.setBorder(0);
    f.frame.setPadding(0);
    f.frame.setProperty(DocxFormats::kDrawingProperty, elementXml);
    paragraph_.floats.push_back(f);
    return true;
}

std::unique_ptr<QTextDocument> DocxBodyReader::readDisplay(const QString &textBoxXml)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(context_.documentFont);
    doc->setUndoRedoEnabled(false);
    doc->setLayoutEnabled(false);
    DocxXml xml(DocxKeptXml::document(textBoxXml).toUtf8(), part_);
    if (xml.start() && xml.nextChild(1)) {
        ++context_.displayDepth;
        DocxDocumentBuilder builder(*doc);
        DocxBodyReader reader(context_, builder, part_, Mode::Display);
        reader.read(xml);
        --context_.displayDepth;
    }
    return doc;
}

// The text (and pictures) of a document made of a kept object, shown in its place.
void DocxBodyReader::showKept(const QString &kept, const QTextDocument &shown)
{
    for (QTextBlock b = shown.begin(); b.isValid(); b = b.next()) {
        if (b != shown.begin())
            showKeptText(kept, QString(QChar(0x2028)));
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                QTextImageFormat image = format.toImageFormat();
                const QVariant resource = shown.resource(QTextDocument::ImageResource, QUrl(image.name()));
                const QString name = image.name() + QStringLiteral("-shown");
                builder_.addResource(QTextDocument::ImageResource, QUrl(name), resource);
                image.setName(name);
                format = image;
            }
            if (!kept.isEmpty())
                format.setProperty(DocxFormats::kShownOnlyProperty, kept);
            addMark(fragment.text(), format);
        }
    }
}

void DocxBodyReader::showKeptText(const QString &kept, const QString &text)
{
    if (text.isEmpty())
        return;
    QTextCharFormat f = currentFormat();
    if (!kept.isEmpty())
        f.setProperty(DocxFormats::kShownOnlyProperty, kept);
    if (!paragraph_.runs.empty() && paragraph_.runs.back().format == f && pendingKept_.isEmpty()
        && pendingKeptRtf_.isEmpty()) {
        paragraph_.runs.back().text += text;
        return;
    }
    addMark(text, f);
}
