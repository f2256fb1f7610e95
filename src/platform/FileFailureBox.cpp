#include "platform/FileFailureBox.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"

void FileFailureBox::show(Dialogs &dialogs, const Failure &failure, QWidget *parent)
{
    dialogs.message({failure.message(), QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Critical, 0},
                    parent);
}
