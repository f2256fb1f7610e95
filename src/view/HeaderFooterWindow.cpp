#include "view/HeaderFooterWindow.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

bool stores(const DocumentExtras *extras, std::initializer_list<HeaderFooter::Kind> kinds)
{
    if (!extras)
        return false;
    return std::any_of(kinds.begin(), kinds.end(), [extras](HeaderFooter::Kind kind) {
        return !extras->headerFooter(kind).isEmpty();
    });
}

} // namespace

HeaderFooterWindow::HeaderFooterWindow(QWidget &frame, DocumentWindow &form) : QDialog(&frame), m_form(&form)
{
    setObjectName(QStringLiteral("HeaderFooterWindow"));
    setWindowTitle(QStringLiteral("Header and Footer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true); // the document stays as the boxes show it until OK or Cancel
    buildControls();
    addFormatKeys();
    // Wide enough for a line of a page, and as tall as the boxes need to show a few lines each.
    resize(std::max(560, minimumSizeHint().width()), minimumSizeHint().height() + 2 * fontMetrics().lineSpacing());
    m_boxes[HeaderFooter::Header]->setFocus();
}

void HeaderFooterWindow::buildControls()
{
    m_pages = new QTabWidget(this);
    m_pages->setTabBarAutoHide(true); // a document with one header and footer needs no tabs
    m_pages->setDocumentMode(true);
    const DocumentExtras *extras = DocumentExtras::find(*m_form->surface->document());
    using K = HeaderFooter::Kind;
    addPage(QStringLiteral("All Pages"), HeaderFooter::Header, HeaderFooter::Footer);
    if ((extras && extras->titlePage()) || stores(extras, {K::HeaderFirst, K::FooterFirst}))
        addPage(QStringLiteral("First Page"), HeaderFooter::HeaderFirst, HeaderFooter::FooterFirst);
    if ((extras && extras->facingPages())
        || stores(extras, {K::HeaderLeft, K::FooterLeft, K::HeaderRight, K::FooterRight})) {
        addPage(QStringLiteral("Left Pages"), HeaderFooter::HeaderLeft, HeaderFooter::FooterLeft);
        addPage(QStringLiteral("Right Pages"), HeaderFooter::HeaderRight, HeaderFooter::FooterRight);
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &HeaderFooterWindow::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &HeaderFooterWindow::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_buttons);
}

void HeaderFooterWindow::addPage(const QString &title, HeaderFooter::Kind header, HeaderFooter::Kind footer)
{
    auto *page = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(page);
    addBox(*layout, QStringLiteral("Header:"), header);
    layout->addSpacing(6);
    addBox(*layout, QStringLiteral("Footer:"), footer);
    m_pages->addTab(page, title);
}

void HeaderFooterWindow::addBox(QVBoxLayout &layout, const QString &caption, HeaderFooter::Kind kind)
{
    const QTextDocument &doc = *m_form->surface->document();
    auto *box = new QTextEdit(layout.parentWidget());
    box->setObjectName(QString::fromLatin1(HeaderFooter::word(kind)));
    box->setAcceptRichText(true);
    box->setTabChangesFocus(true); // Tab moves on to the next box, as in any form
    std::unique_ptr<QTextDocument> part = HeaderFooter::document(doc, kind);
    if (!part) {
        part = std::make_unique<QTextDocument>();
        part->setDefaultFont(doc.defaultFont());
    }
    // The box's own font is the document's, so a font change of the window leaves the text alone.
    box->setFont(part->defaultFont());
    part->setParent(box); // the box owns what it shows
    box->setDocument(part.release());
    box->document()->setModified(false);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * 4 + 2 * box->frameWidth() + 8);

    auto *label = new QLabel(caption, layout.parentWidget());
    label->setBuddy(box); // assistive tools name the box by its label
    layout.addWidget(label);
    layout.addWidget(box, 1);
    m_boxes[kind] = box;
}

// Ctrl+B, Ctrl+I and Ctrl+U switch bold, italic and underline in the box that has the focus.
void HeaderFooterWindow::addFormatKeys()
{
    const auto key = [this](QKeySequence::StandardKey sequence, void (*apply)(QTextCharFormat &, const QTextCharFormat &)) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, [this, apply] {
            auto *box = qobject_cast<QTextEdit *>(focusWidget());
            if (!box)
                return;
            QTextCharFormat change;
            apply(change, box->currentCharFormat());
            box->mergeCurrentCharFormat(change);
        });
    };
    key(QKeySequence::Bold, [](QTextCharFormat &f, const QTextCharFormat &now) {
        f.setFontWeight(TextFormats::isBold(now) ? QFont::Normal : QFont::Bold);
    });
    key(QKeySequence::Italic, [](QTextCharFormat &f, const QTextCharFormat &now) { f.setFontItalic(!now.fontItalic()); });
    key(QKeySequence::Underline, [](QTextCharFormat &f, const QTextCharFormat &now) {
        f.setFontUnderline(!TextFormats::isUnderlined(now));
    });
}

void HeaderFooterWindow::accept()
{
    writeBack();
    QDialog::accept();
}

// Writes the edited boxes into the document; true when that changed it.
bool HeaderFooterWindow::writeBack()
{
    if (!m_form) // the document window went away meanwhile
        return false;
    RichTextBox &surface = *m_form->surface;
    DocumentExtras &extras = DocumentExtras::of(*surface.document());
    bool changed = false;
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        const QTextEdit *box = m_boxes[kind];
        if (!box || !box->document()->isModified())
            continue; // a box left alone keeps its header exactly as it was read
        const QByteArray before = extras.headerFooter(HeaderFooter::Kind(kind));
        extras.setHeaderFooter(HeaderFooter::Kind(kind), *box->document());
        changed = changed || extras.headerFooter(HeaderFooter::Kind(kind)) != before;
    }
    if (changed) {
        // The window is changed as an edit changes it: its flag, and a recovery copy soon.
        surface.document()->setModified(true);
        emit surface.contentChanged();
    }
    return changed;
}
