#pragma once
#include "rtf/HeaderFooter.h"

#include <QDialog>
#include <QPointer>
#include <array>

class DocumentWindow;
class QDialogButtonBox;
class QTabWidget;
class QTextEdit;
class QVBoxLayout;

// The "Header and Footer" window: the headers and footers of one document window, each in a
// rich-text box that shows it as it is stored. The header and footer of all pages are always
// there; those of the first page, and of left and right pages, only when the document has them.
// OK writes back the boxes that were edited (an emptied box removes its header or footer) and
// marks the document changed; Cancel changes nothing.
class HeaderFooterWindow : public QDialog
{
    Q_OBJECT
public:
    HeaderFooterWindow(QWidget &frame, DocumentWindow &form);

    // The box of a kind, or nullptr when the window does not show that kind.
    QTextEdit *box(HeaderFooter::Kind kind) const { return m_boxes[kind]; }
    QTabWidget *pages() const { return m_pages; }
    QDialogButtonBox *buttons() const { return m_buttons; }

    void accept() override;

private:
    void buildControls();
    void addPage(const QString &title, HeaderFooter::Kind header, HeaderFooter::Kind footer);
    void addBox(QVBoxLayout &layout, const QString &caption, HeaderFooter::Kind kind);
    void addFormatKeys();
    bool writeBack();

    QPointer<DocumentWindow> m_form;
    std::array<QTextEdit *, HeaderFooter::kKinds> m_boxes{};
    QTabWidget *m_pages = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
