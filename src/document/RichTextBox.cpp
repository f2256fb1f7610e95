#include "document/RichTextBox.h"
#include "document/OleColor.h"
#include "document/SelectionFormat.h"
#include "files/PlainText.h"
#include "platform/Failure.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"

#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUuid>
#include <cmath>

namespace {

int alignmentCode(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return RichTextBox::Center;
    if (horizontal & Qt::AlignJustify)
        return RichTextBox::Justify;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing))
        return RichTextBox::Right;
    return RichTextBox::Left;
}

Qt::Alignment qtAlignment(int code)
{
    switch (code) {
    case RichTextBox::Left: return Qt::AlignLeft;
    case RichTextBox::Right: return Qt::AlignRight;
    case RichTextBox::Center: return Qt::AlignHCenter;
    case RichTextBox::Justify: return Qt::AlignJustify;
    }
    throw Failure(QStringLiteral("Invalid property value"));
}

int roundTwips(double twips) { return int(std::lround(twips)); }

} // namespace

RichTextBox::RichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("RichTextBox1"));
    QFont designFont(QStringLiteral("Times New Roman"));
    designFont.setPointSizeF(9.75);
    setFont(designFont);
    document()->setDefaultFont(designFont);
    setAcceptRichText(true);
    setTabChangesFocus(false);
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
}

// ---- Whole content ------------------------------------------------------------------------------

QString RichTextBox::Text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void RichTextBox::setText(const QString &text)
{
    loadPlainText(text);
}

QByteArray RichTextBox::TextRTF() const
{
    return RtfCodec::write(*document());
}

void RichTextBox::setTextRTF(const QByteArray &rtf)
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
        QTextCursor cursor(&doc);
        cursor.beginEditBlock();
        cursor.setBlockCharFormat(format);
        cursor.insertText(body, format);
        cursor.endEditBlock();
    });
    setCurrentCharFormat(format);
}

// ---- Selection ----------------------------------------------------------------------------------

QString RichTextBox::SelText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void RichTextBox::setSelText(const QString &text)
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

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, characterCount()));
    setTextCursor(cursor);
}

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelLength(int length)
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

void RichTextBox::Clear()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

// ---- Character formatting -----------------------------------------------------------------------

void RichTextBox::mergeCharacterFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        mergeCurrentCharFormat(format); // the caret's format, which typing then uses
        return;
    }
    cursor.mergeCharFormat(format);
}

std::optional<QString> RichTextBox::SelFontName() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<QString>(textCursor(), [&](const QTextCharFormat &f) {
        return TextFormats::family(f, fallback);
    });
}

void RichTextBox::setSelFontName(const QString &name)
{
    if (name.trimmed().isEmpty())
        throw Failure(QStringLiteral("Invalid property value"));
    if (SelFontName() == name)
        return;
    QTextCharFormat format;
    TextFormats::setFamily(format, name);
    mergeCharacterFormat(format);
}

std::optional<double> RichTextBox::SelFontSize() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<double>(textCursor(), [&](const QTextCharFormat &f) {
        return TextFormats::pointSize(f, fallback);
    });
}

void RichTextBox::setSelFontSize(double points)
{
    if (!(points > 0 && points <= 1638))
        throw Failure(QStringLiteral("Invalid property value"));
    if (SelFontSize() == points)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeCharacterFormat(format);
}

void RichTextBox::setSelFontSize(const QString &points)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(points.trimmed(), &ok);
    if (!ok)
        throw Failure(QStringLiteral("Type mismatch"));
    setSelFontSize(value);
}

std::optional<bool> RichTextBox::SelBold() const
{
    return SelectionFormat::character<bool>(textCursor(), TextFormats::isBold);
}

void RichTextBox::setSelBold(bool on)
{
    if (SelBold() == on)
        return;
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::SelItalic() const
{
    return SelectionFormat::character<bool>(textCursor(), [](const QTextCharFormat &f) { return f.fontItalic(); });
}

void RichTextBox::setSelItalic(bool on)
{
    if (SelItalic() == on)
        return;
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return SelectionFormat::character<bool>(textCursor(), TextFormats::isUnderlined);
}

void RichTextBox::setSelUnderline(bool on)
{
    if (SelUnderline() == on)
        return;
    QTextCharFormat format;
    format.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    mergeCharacterFormat(format);
}

std::optional<bool> RichTextBox::SelStrikeThru() const
{
    return SelectionFormat::character<bool>(textCursor(), [](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelStrikeThru(bool on)
{
    if (SelStrikeThru() == on)
        return;
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeCharacterFormat(format);
}

std::optional<quint32> RichTextBox::SelColor() const
{
    const QColor automatic = palette().color(QPalette::Text);
    return SelectionFormat::character<quint32>(textCursor(), [&](const QTextCharFormat &f) {
        const QBrush brush = f.foreground();
        return OleColor::fromQColor(brush.style() == Qt::NoBrush ? automatic : brush.color());
    });
}

void RichTextBox::setSelColor(quint32 color)
{
    if (SelColor() == color)
        return;
    QTextCharFormat format;
    format.setForeground(OleColor::toQColor(color));
    mergeCharacterFormat(format);
}

std::optional<int> RichTextBox::SelCharOffset() const
{
    const QFont fallback = document()->defaultFont();
    return SelectionFormat::character<int>(textCursor(), [&](const QTextCharFormat &f) {
        return roundTwips(TextFormats::charOffsetTwips(f, fallback));
    });
}

void RichTextBox::setSelCharOffset(int twips)
{
    if (SelCharOffset() == twips)
        return;
    // The offset is kept relative to the text's size: work it out for the selection's size, then
    // merge the offset alone.
    QTextCharFormat sized;
    sized.setFontPointSize(SelFontSize().value_or(document()->defaultFont().pointSizeF()));
    TextFormats::setCharOffsetTwips(sized, twips, document()->defaultFont());
    QTextCharFormat format;
    format.setProperty(QTextFormat::TextBaselineOffset, sized.hasProperty(QTextFormat::TextBaselineOffset)
                                                            ? sized.baselineOffset() : 0.0);
    mergeCharacterFormat(format);
}

void RichTextBox::setSelCharOffset(const QString &twips) { setSelCharOffset(twipsFromText(twips)); }

int RichTextBox::twipsFromText(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || std::abs(value) > 31680) // no measure beyond 22 inches
        throw Failure(QStringLiteral("Type mismatch"));
    return roundTwips(value);
}

// ---- Paragraph formatting -----------------------------------------------------------------------

void RichTextBox::mergeParagraphFormat(const QTextBlockFormat &format)
{
    QTextCursor cursor = textCursor();
    cursor.mergeBlockFormat(format);
}

std::optional<int> RichTextBox::SelAlignment() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return alignmentCode(b.blockFormat().alignment());
    });
}

void RichTextBox::setSelAlignment(int alignment)
{
    const Qt::Alignment qt = qtAlignment(alignment);
    if (SelAlignment() == alignment)
        return;
    QTextBlockFormat format;
    format.setAlignment(qt);
    mergeParagraphFormat(format);
}

std::optional<bool> RichTextBox::SelBullet() const
{
    return SelectionFormat::paragraph<bool>(textCursor(), [](const QTextBlock &b) { return b.textList() != nullptr; });
}

void RichTextBox::setSelBullet(bool on)
{
    if (SelBullet() == on)
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (on) {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor.createList(list);
    } else {
        const QTextBlock last = document()->findBlock(cursor.selectionEnd());
        for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
            if (block.textList()) {
                QTextBlockFormat format = block.blockFormat();
                format.setObjectIndex(-1);
                QTextCursor(block).setBlockFormat(format);
            }
            if (block == last)
                break;
        }
    }
    cursor.endEditBlock();
}

std::optional<int> RichTextBox::SelIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().leftMargin()));
    });
}

void RichTextBox::setSelIndent(int twips)
{
    if (SelIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setLeftMargin(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelIndent(const QString &twips) { setSelIndent(twipsFromText(twips)); }

std::optional<int> RichTextBox::SelRightIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().rightMargin()));
    });
}

void RichTextBox::setSelRightIndent(int twips)
{
    if (SelRightIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setRightMargin(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelRightIndent(const QString &twips) { setSelRightIndent(twipsFromText(twips)); }

std::optional<int> RichTextBox::SelFirstLineIndent() const
{
    return SelectionFormat::paragraph<int>(textCursor(), [](const QTextBlock &b) {
        return roundTwips(TextFormats::pixelsToTwips(b.blockFormat().textIndent()));
    });
}

void RichTextBox::setSelFirstLineIndent(int twips)
{
    if (SelFirstLineIndent() == twips)
        return;
    QTextBlockFormat format;
    format.setTextIndent(TextFormats::twipsToPixels(twips));
    mergeParagraphFormat(format);
}

void RichTextBox::setSelFirstLineIndent(const QString &twips) { setSelFirstLineIndent(twipsFromText(twips)); }

// ---- The whole surface --------------------------------------------------------------------------

quint32 RichTextBox::BackColor() const
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

void RichTextBox::LoadFile(const QString &path, int type)
{
    if (type != RichText && type != PlainText)
        throw Failure(QStringLiteral("Invalid file type"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, path.isEmpty() ? QStringLiteral("No file name") : file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
    if (type == RichText && RtfCodec::looksLikeRtf(bytes))
        setTextRTF(bytes);
    else
        loadPlainText(PlainText::decode(bytes));
}

void RichTextBox::SaveFile(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("Cannot save \"%1\": %2").arg(path, file.errorString()));
    const QByteArray rtf = TextRTF();
    if (file.write(rtf) != rtf.size() || !file.commit())
        throw Failure(QStringLiteral("Cannot save \"%1\": %2").arg(path, file.errorString()));
}

void RichTextBox::SelPrint(QPrinter &printer) const
{
    // Print a copy, so paginating does not disturb the editor; images resolve through the original.
    const QTextCursor cursor = textCursor();
    std::unique_ptr<QTextDocument> copy;
    if (cursor.hasSelection()) {
        copy = std::make_unique<QTextDocument>(document());
        copy->setDefaultFont(document()->defaultFont());
        QTextCursor(copy.get()).insertFragment(cursor.selection());
    } else {
        copy.reset(document()->clone(document()));
    }
    copy->print(&printer);
}

// ---- Events -------------------------------------------------------------------------------------

bool RichTextBox::event(QEvent *e)
{
    // Del and Ctrl+letter belong to the frame's menu accelerators, even while typing here.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(e);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        const bool ctrlLetter = mods == Qt::ControlModifier && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
        const bool plainDelete = mods == Qt::NoModifier && key->key() == Qt::Key_Delete;
        if (ctrlLetter || plainDelete) {
            e->ignore();
            return false;
        }
    }
    return QTextEdit::event(e);
}

void RichTextBox::keyPressEvent(QKeyEvent *e)
{
    emit KeyDown(keyCodeOf(*e), shiftStateOf(e->modifiers()));
    QTextEdit::keyPressEvent(e);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *e)
{
    QTextEdit::mouseReleaseEvent(e);
    emit Click();
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTextEdit::mouseDoubleClickEvent(e);
    emit DblClick();
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

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || source->hasFormat(QStringLiteral("text/rtf"))
        || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source->hasFormat(QStringLiteral("text/rtf"))) {
        QTextDocument pasted;
        pasted.setDefaultFont(document()->defaultFont());
        RtfCodec::read(source->data(QStringLiteral("text/rtf")), pasted);
        textCursor().insertFragment(QTextDocumentFragment(&pasted));
        return;
    }
    if (source->hasImage() && !source->hasText()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (image.isNull())
            return;
        const QString name = QStringLiteral("pasted-%1.png").arg(QUuid::createUuid().toString(QUuid::Id128));
        document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(image.width());
        format.setHeight(image.height());
        textCursor().insertImage(format);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}
