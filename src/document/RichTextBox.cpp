#include "document/RichTextBox.h"
#include "content/DocumentFile.h"
#include "content/DocumentPictures.h"
#include "content/DocumentPrinter.h"
#include "content/OleColor.h"
#include "content/PlainText.h"
#include "content/SelectionFormat.h"
#include "content/SelectionMimeData.h"
#include "content/WholeFile.h"
#include "document/DefaultPage.h"
#include "document/ScreenLayout.h"
#include "platform/Failure.h"
#include "rtf/DocumentExtras.h"
#include "rtf/Notes.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QToolTip>
#include <QWheelEvent>
#include <array>
#include <cmath>

namespace {

constexpr std::array<int, 13> kZoomSteps{50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 300, 400};

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("RichTextBox1"));
    // A layout that lays out only what is shown or edited: typing costs the same in a document of
    // any length.
    ScreenLayout::install(*this);
    QFont startFont(QStringLiteral("Times New Roman"));
    startFont.setPointSizeF(9.75);
    setFont(startFont);
    document()->setDefaultFont(startFont);
    setAcceptRichText(true);
    setTabChangesFocus(false);
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::contentChanged);
    // Any edit, of text or of formatting, makes the selection's formats stale.
    connect(document(), &QTextDocument::contentsChange, this, [this] { m_selectionFormats.start = -1; });
}

RichTextBox::~RichTextBox()
{
    document()->documentLayout()->setPaintDevice(nullptr); // the zoom's device goes first
}

// ---- Whole content ------------------------------------------------------------------------------

QString RichTextBox::text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void RichTextBox::setText(const QString &text)
{
    loadPlainText(text);
}

QByteArray RichTextBox::rtf() const
{
    return RtfCodec::write(*document());
}

void RichTextBox::setRtf(const QByteArray &rtf)
{
    replaceContent([&](QTextDocument &doc) { RtfCodec::read(rtf, doc); });
}

int RichTextBox::characterCount() const
{
    return document()->characterCount() - 1;
}

void RichTextBox::replaceContent(const std::function<void(QTextDocument &)> &fill)
{
    QTextDocument *doc = document();
    const QFont defaultFont = doc->defaultFont();
    fill(*doc);
    doc->setDefaultFont(defaultFont);
    doc->setUndoRedoEnabled(false);
    doc->setUndoRedoEnabled(true); // loading cannot be undone
    doc->setModified(false);
    moveCursor(QTextCursor::Start);
    emit loaded();
}

void RichTextBox::loadPlainText(const QString &text)
{
    // The text takes the formatting at the caret, as typing would.
    const QTextCharFormat format = currentCharFormat();
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    replaceContent([&](QTextDocument &doc) {
        doc.setUndoRedoEnabled(false);
        doc.clear();
        // Plain text has no header, page set-up or styles: none stay from a file shown before.
        if (DocumentExtras *extras = DocumentExtras::find(doc))
            extras->clear();
        QTextCursor cursor(&doc);
        cursor.beginEditBlock();
        cursor.setBlockCharFormat(format);
        cursor.insertText(body, format);
        cursor.endEditBlock();
    });
    setCurrentCharFormat(format);
}

// ---- Selection ----------------------------------------------------------------------------------

QString RichTextBox::selectionText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void RichTextBox::setSelectionText(const QString &text)
{
    QTextCursor cursor = textCursor();
    if (text.isEmpty() && !cursor.hasSelection())
        return;
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    cursor.beginEditBlock();
    cursor.insertText(body);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

int RichTextBox::selectionStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelectionStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, characterCount()));
    setTextCursor(cursor);
}

int RichTextBox::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelectionLength(int length)
{
    if (length < 0)
        throw Failure(QStringLiteral("Invalid property value"));
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const qint64 end = std::min<qint64>(qint64(start) + length, characterCount());
    cursor.setPosition(start);
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

// The layout lays out only what an edit touched, for a few milliseconds, and the rest when it is
// shown or the program is idle: Undo and Redo of a change over a whole long document return at once.
void RichTextBox::undoEdit()
{
    undo();
}

void RichTextBox::redoEdit()
{
    redo();
}

void RichTextBox::deleteSelection()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

// ---- The whole surface --------------------------------------------------------------------------

quint32 RichTextBox::backColor() const
{
    return OleColor::fromQColor(palette().color(QPalette::Base));
}

void RichTextBox::setBackColor(quint32 color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, OleColor::toQColor(color));
    setPalette(p);
}

void RichTextBox::setHeight(double twips)
{
    if (!(twips >= 0))
        throw Failure(QStringLiteral("Invalid property value"));
    resize(width(), int(TextFormats::twipsToPixels(twips)));
}

void RichTextBox::setWidth(double twips)
{
    if (!(twips >= 0))
        throw Failure(QStringLiteral("Invalid property value"));
    resize(int(TextFormats::twipsToPixels(twips)), height());
}

// ---- Files and printing -------------------------------------------------------------------------

void RichTextBox::loadFile(const QString &path, int type)
{
    if (type != RichText && type != PlainText)
        throw Failure(QStringLiteral("Invalid file type"));
    const DocumentFile file = DocumentFile::read(path);
    m_loadedFileEndedEarly = false;
    if (type == RichText && file.isRich())
        replaceContent([&](QTextDocument &doc) { m_loadedFileEndedEarly = file.readInto(doc).endedEarly; });
    else
        loadPlainText(file.text());
}

void RichTextBox::saveFile(const QString &path) const
{
    WholeFile::write(path, RtfCodec::write(*document(), DefaultPage::forPrinting()));
}

DocumentPrinter::Result RichTextBox::printSelection(QPrinter &printer, PrintProgress *progress) const
{
    // A copy is laid out on the pages, so that printing does not disturb the editor.
    const std::unique_ptr<QTextDocument> copy = DocumentPictures::extract(textCursor());
    DocumentExtras::copy(*document(), *copy); // page set-up, headers and footers
    DocumentPrinter::Job job;
    job.progress = progress;
    if (!printer.outputFileName().isEmpty() && !DocumentPrinter::paintsPreview(printer)) {
        const QString path = QFileInfo(printer.outputFileName()).absoluteFilePath();
        return DocumentPrinter::printToPdfFile(*copy, path, printer.pageLayout(), printer.resolution(), job);
    }
    job.abort = [&printer] { return printer.abort(); };
    return DocumentPrinter::print(*copy, printer, printer.printerName(), job);
}

void RichTextBox::insertPicture(const QImage &image, const QByteArray &original, const QString &type)
{
    if (image.isNull())
        throw Failure(QStringLiteral("Invalid picture"));
    const QString name = DocumentPictures::freshName();
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(currentCharFormat()); // the look of the text around it
    format.clearProperty(TextFormats::kImageTypeProperty);
    format.clearProperty(TextFormats::kImageNativeSizeProperty);
    format.setName(name);
    const QSizeF size = DocumentPictures::fitToPage(image.size());
    format.setWidth(size.width());
    format.setHeight(size.height());
    if (!original.isEmpty() && !type.isEmpty()) {
        document()->addResource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(QUrl(name)), original);
        format.setProperty(TextFormats::kImageTypeProperty, type);
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertImage(format);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void RichTextBox::insertRichText(QByteArrayView rtf)
{
    QTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    RtfCodec::read(rtf, pasted);
    // The pictures come along under names of their own.
    DocumentPictures::giveFreshNames(pasted);
    insertDocumentPart(pasted);
}

void RichTextBox::insertDocumentPart(const QTextDocument &part)
{
    DocumentPictures::copy(part, *document(), DocumentPictures::names(part));
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&part));
    cursor.endEditBlock();
    setTextCursor(cursor);
}

// ---- Events -------------------------------------------------------------------------------------

bool RichTextBox::event(QEvent *e)
{
    // Del and Ctrl+letter (Ctrl+Shift+letter too) belong to the frame's menu accelerators, even
    // while typing here.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(e);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const bool ctrl = mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
        const bool ctrlLetter = ctrl && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
        const bool plainDelete = mods == Qt::NoModifier && key->key() == Qt::Key_Delete;
        if (ctrlLetter || plainDelete) {
            e->ignore();
            return false;
        }
    }
    return QTextEdit::event(e);
}

bool RichTextBox::viewportEvent(QEvent *e)
{
    if (e->type() != QEvent::ToolTip)
        return QTextEdit::viewportEvent(e);
    const auto *help = static_cast<QHelpEvent *>(e);
    QString note = noteTextAt(help->pos());
    if (note.isEmpty())
        return QTextEdit::viewportEvent(e);
    // A note of pages would not fit on the screen: its beginning says what it is.
    constexpr int kLongest = 1000;
    if (note.size() > kLongest)
        note = note.left(note.at(kLongest - 1).isHighSurrogate() ? kLongest - 1 : kLongest).trimmed() + QChar(0x2026);
    // As rich text of a set width, so that a long note wraps at some sixty characters instead of
    // crossing the screen (or being squeezed into a narrow column).
    const QFontMetrics metrics(QToolTip::font());
    const int width = std::min(metrics.horizontalAdvance(note) + 8, metrics.averageCharWidth() * 60);
    const QString wrapped = QStringLiteral("<table width=\"%1\"><tr><td style=\"white-space:pre-wrap\">%2</td></tr></table>")
                                .arg(width)
                                .arg(note.toHtmlEscaped());
    // It goes as the mouse moves off the mark.
    const QRect around = QRect(help->pos(), QSize(1, 1)).adjusted(-4, -4, 4, 4);
    QToolTip::showText(help->globalPos(), wrapped, viewport(), around);
    return true;
}

QString RichTextBox::noteTextAt(const QPoint &viewportPosition) const
{
    const QPointF inDocument = viewportPosition + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // Only a point on a character counts, not one beside the text or past the end of a line.
    const int position = document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (position < 0)
        return QString();
    const QTextBlock block = document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.contains(position))
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (!format.hasProperty(TextFormats::kNoteProperty))
            return QString();
        return Notes::plainText(format, fragment.text());
    }
    return QString();
}

void RichTextBox::keyPressEvent(QKeyEvent *e)
{
    emit keyDown(keyCodeOf(*e), shiftStateOf(e->modifiers()));
    if (endsList(*e)) {
        endListAtCaret();
        return;
    }
    if (isPlainReturn(*e) && textCursor().block().length() == 1) {
        newParagraphAtCaret();
        return;
    }
    if (e->key() == Qt::Key_Insert && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        toggleOverwrite();
        return;
    }
    if (!startsWord(*e)) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    // Typed characters join the undo step before them; the first letter of a word, typed in an
    // edit block of its own, starts a new one. So Undo takes back one word at a time. (The block
    // begins at the caret, where Undo then leaves it.)
    QTextCursor block = textCursor();
    block.beginEditBlock();
    QTextEdit::keyPressEvent(e);
    block.endEditBlock();
}

bool RichTextBox::startsWord(const QKeyEvent &e) const
{
    const QString text = e.text();
    if (isReadOnly() || text.size() != 1 || !text.at(0).isPrint() || text.at(0).isSpace()
        || (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const int position = textCursor().selectionStart();
    return position == 0 || document()->characterAt(position - 1).isSpace();
}

void RichTextBox::toggleOverwrite()
{
    setOverwriteMode(!overwriteMode());
    emit overwriteChanged(overwriteMode());
}

// ---- Zoom ---------------------------------------------------------------------------------------

int RichTextBox::zoomStep(int percent, int steps)
{
    if (steps > 0) {
        const auto above = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
        return above == kZoomSteps.end() ? kZoomSteps.back() : zoomStep(*above, steps - 1);
    }
    if (steps < 0) {
        const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
        return below == kZoomSteps.begin() ? kZoomSteps.front() : zoomStep(*std::prev(below), steps + 1);
    }
    return std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
}

void RichTextBox::setZoom(int percent)
{
    percent = zoomStep(percent, 0);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    // The layout measures fonts, pictures, list indents and the page margin with its paint
    // device's resolution: a device of the screen's resolution times the zoom shows them larger,
    // while the document keeps its sizes. (Paragraph indents and spacing keep their screen size.)
    // At 100% the layout uses the screen as before.
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    if (percent == 100) {
        layout->setPaintDevice(nullptr);
    } else {
        const double dotsPerMeter = logicalDpiY() * percent / 100.0 / 0.0254;
        m_zoomDevice = QImage(1, 1, QImage::Format_RGB32);
        m_zoomDevice.setDotsPerMeterX(qRound(dotsPerMeter));
        m_zoomDevice.setDotsPerMeterY(qRound(dotsPerMeter));
        layout->setPaintDevice(&m_zoomDevice);
    }
    document()->setPageSize(document()->pageSize()); // lays it out again, changing no content
    ensureCursorVisible();
    emit zoomChanged(m_zoom);
}

void RichTextBox::wheelEvent(QWheelEvent *e)
{
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QTextEdit::wheelEvent(e);
        return;
    }
    // A notch (120) is one step; a fine wheel adds its small turns up to one.
    m_wheelTurn += e->angleDelta().y();
    const int steps = m_wheelTurn / 120;
    m_wheelTurn -= steps * 120;
    if (steps != 0)
        setZoom(zoomStep(m_zoom, steps));
    e->accept();
}

// Return on an empty bulleted paragraph ends the list.
// A paragraph taken out of its list keeps the rest of its formatting, its characters' included.
void RichTextBox::leaveList(const QTextBlock &block)
{
    if (!block.textList())
        return;
    QTextBlockFormat format = block.blockFormat();
    format.setObjectIndex(-1);
    QTextCursor(block).setBlockFormat(format);
}

bool RichTextBox::isPlainReturn(const QKeyEvent &event) const
{
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !isReadOnly() && !textCursor().hasSelection();
}

bool RichTextBox::endsList(const QKeyEvent &event) const
{
    const QTextCursor cursor = textCursor();
    return isPlainReturn(event) && cursor.currentList() && cursor.block().length() == 1;
}

// Return on an empty paragraph that is not a list item makes a new paragraph, as it does anywhere
// else. (The editor's own handling would only take the paragraph's alignment and indent away, so
// blank lines under a centred heading could not be typed.)
void RichTextBox::newParagraphAtCaret()
{
    QTextCursor cursor = textCursor();
    QTextBlockFormat format = cursor.blockFormat();
    format.clearProperty(QTextFormat::PageBreakPolicy); // the break stays before the first of them
    cursor.insertBlock(format, currentCharFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

// The paragraph leaves the list and stays where it is, as one undo step. Its character format
// stays too, so the text goes on in the font and size in use (the editor's own handling would
// put it back to the document's default font).
void RichTextBox::endListAtCaret()
{
    QTextCursor cursor = textCursor();
    const QTextCharFormat typing = currentCharFormat();
    cursor.beginEditBlock();
    leaveList(cursor.block());
    cursor.endEditBlock();
    setTextCursor(cursor);
    setCurrentCharFormat(typing);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *e)
{
    QTextEdit::mouseReleaseEvent(e);
    emit clicked();
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTextEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *e)
{
    const QPoint inDocument = e->pos() + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(inDocument));
    emit contextMenuRequested(*menu, e->pos());
    menu->exec(e->globalPos());
}

int RichTextBox::keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // same codes as the virtual keys
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int RichTextBox::shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
         | (modifiers & Qt::AltModifier ? 4 : 0);
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    return new SelectionMimeData(DocumentPictures::extract(textCursor()));
}

namespace {

// The names other programs give rich text on the clipboard.
constexpr const char *kRichTextTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

QByteArray richTextOf(const QMimeData *source)
{
    for (const char *type : kRichTextTypes) {
        const QString name = QString::fromLatin1(type);
        if (source->hasFormat(name)) {
            const QByteArray data = source->data(name);
            if (RtfCodec::looksLikeRtf(data))
                return data;
        }
    }
    return QByteArray();
}

} // namespace

namespace {

// Files dragged from a file manager are for the frame to open, not text to insert here.
bool carriesFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

} // namespace

void RichTextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesFiles(event->mimeData()))
        return event->ignore(); // passed on to the frame, which opens them
    QTextEdit::dragEnterEvent(event);
}

void RichTextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (carriesFiles(event->mimeData()))
        return event->ignore();
    QTextEdit::dragMoveEvent(event);
}

void RichTextBox::dropEvent(QDropEvent *event)
{
    if (carriesFiles(event->mimeData()))
        return event->ignore();
    QTextEdit::dropEvent(event);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    for (const char *type : kRichTextTypes)
        if (source->hasFormat(QString::fromLatin1(type)))
            return true;
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    // Our own cut or copy goes in as it is, pictures included.
    if (const auto *own = qobject_cast<const SelectionMimeData *>(source)) {
        insertDocumentPart(own->selection());
        return;
    }
    if (const QByteArray rtf = richTextOf(source); !rtf.isEmpty()) {
        insertRichText(rtf);
        return;
    }
    if (source->hasImage() && !source->hasText()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull())
            insertPicture(image);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}
