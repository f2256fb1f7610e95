#include "editing/PrintProgressDialog.h"

#include <QGuiApplication>
#include <QProgressDialog>

PrintProgressDialog::PrintProgressDialog(QWidget *parent) : m_parent(parent) {}

PrintProgressDialog::~PrintProgressDialog()
{
    delete m_dialog;
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
}

bool PrintProgressDialog::beforePage(int page, int pageCount)
{
    if (pageCount <= kShownAbovePages)
        return true;
    if (!m_shown)
        show(pageCount);
    if (!m_dialog || m_dialog->wasCanceled())
        return false;
    m_dialog->setLabelText(QStringLiteral("Printing page %1 of %2").arg(page).arg(pageCount));
    m_dialog->setValue(page - 1); // a modal dialog takes its clicks here
    return m_dialog && !m_dialog->wasCanceled();
}

void PrintProgressDialog::show(int pageCount)
{
    m_shown = true;
    m_dialog = new QProgressDialog(QString(), QStringLiteral("Cancel"), 0, pageCount, m_parent);
    m_dialog->setObjectName(QStringLiteral("printProgress"));
    m_dialog->setWindowTitle(QStringLiteral("Scrivlo"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    m_dialog->show();
}
