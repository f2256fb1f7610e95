#include "platform/CommonDialog.h"
#include "platform/Failure.h"

#include <QFileInfo>

bool CommonDialog::showOpen(QWidget *parent) { return showFile(Dialogs::FileMode::Open, parent); }
bool CommonDialog::showSave(QWidget *parent) { return showFile(Dialogs::FileMode::Save, parent); }

bool CommonDialog::showFile(Dialogs::FileMode mode, QWidget *parent)
{
    const std::optional<QString> chosen = m_dialogs->file({mode, dialogTitle, filter, flags, fileName}, parent);
    if (!chosen)
        return cancelled();
    fileName = *chosen;
    fileTitle = QFileInfo(*chosen).fileName();
    return true;
}

bool CommonDialog::showColor(QWidget *parent)
{
    const std::optional<QColor> chosen = m_dialogs->color({dialogTitle, color, flags}, parent);
    if (!chosen)
        return cancelled();
    color = *chosen;
    return true;
}

bool CommonDialog::showPrinter(QPrinter &printer, QWidget *parent)
{
    if (!m_dialogs->print({dialogTitle, flags, &printer}, parent))
        return cancelled();
    return true;
}

bool CommonDialog::cancelled()
{
    if (cancelError)
        throw Failure(QStringLiteral("Cancel was selected."));
    return false;
}
