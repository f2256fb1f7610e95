#include "formatting/StandardToolbar.h"
#include "app/MDIForm1.h"
#include "editing/EditCommands.h"
#include "editing/PrintCommand.h"
#include "files/FileCommands.h"
#include "formatting/FormatMenu.h"
#include "platform/Failure.h"
#include "platform/KeyedToolbar.h"
#include "windows/SideWindows.h"

#include <QAction>

StandardToolbar::StandardToolbar(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
    connect(frame.Toolbar1, &KeyedToolbar::ButtonClick, this, &StandardToolbar::Toolbar1_ButtonClick);
}

void StandardToolbar::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    // A failure that escapes the command ends the click quietly; the toolbar stays usable.
    skipOnFailure([&] {
        if (key == QLatin1String("a"))
            m_frame.new_Click();
        else if (key == QLatin1String("b"))
            m_frame.fileCommands().open_Click();
        else if (key == QLatin1String("c"))
            m_frame.fileCommands().save_Click();
        else if (key == QLatin1String("d"))
            m_frame.printCommand().print_Click();
        else if (key == QLatin1String("e"))
            m_frame.sideWindows().fsm_Click();
        else if (key == QLatin1String("f"))
            m_frame.editCommands().cut_Click();
        else if (key == QLatin1String("g"))
            m_frame.editCommands().copy_Click();
        else if (key == QLatin1String("h"))
            m_frame.editCommands().paste_Click();
        else if (key == QLatin1String("j"))
            m_frame.editCommands().undo_Click();
        else if (key == QLatin1String("k"))
            m_frame.formatMenu().fc_Click();
        // "i" and the keyless separators do nothing.
    });
}
