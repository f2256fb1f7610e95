#include "editing/PrinterPage.h"
#include "rtf/DocumentExtras.h"

#include <QPrinter>
#include <QTextDocument>

void PrinterPage::startFrom(QPrinter &printer, const QTextDocument &doc)
{
    const QPageLayout before = printer.pageLayout();
    if (applySetup(printer, doc)) {
        if (!m_plainLayout)
            m_plainLayout = before;
    } else if (m_plainLayout) {
        printer.setPageLayout(*m_plainLayout);
        m_plainLayout.reset();
    }
}

bool PrinterPage::applySetup(QPrinter &printer, const QTextDocument &doc)
{
    const DocumentExtras *extras = DocumentExtras::find(doc);
    if (!extras || !extras->pageSetup())
        return false;
    printer.setPageLayout(extras->pageSetup()->pageLayout());
    return true;
}
