#include "platform/CommonDialog.h"
#include "platform/Failure.h"

#include <QFileInfo>

bool CommonDialog::ShowOpen(QWidget *parent) { return showFile(Dialogs::FileMode::Open, parent); }
bool CommonDialog::ShowSave(QWidget *parent) { return showFile(Dialogs::FileMode::Save, parent); }

bool CommonDialog::showFile(Dialogs::FileMode mode, QWidget *parent)
{
    const std::optional<QString> chosen = m_dialogs->file({mode, DialogTitle, Filter, Flags, FileName}, parent);
    if (!chosen)
        return cancelled();
    FileName = *chosen;
    FileTitle = QFileInfo(*chosen).fileName();
    return true;
}

bool CommonDialog::ShowColor(QWidget *parent)
{
    const std::optional<QColor> chosen = m_dialogs->color({DialogTitle, Color, Flags}, parent);
    if (!chosen)
        return cancelled();
    Color = *chosen;
    return true;
}

bool CommonDialog::ShowPrinter(QPrinter &printer, QWidget *parent)
{
    if (!m_dialogs->print({DialogTitle, Flags, &printer}, parent))
        return cancelled();
    return true;
}

bool CommonDialog::cancelled()
{
    if (CancelError)
        throw Failure(QStringLiteral("Cancel was selected."));
    return false;
}
