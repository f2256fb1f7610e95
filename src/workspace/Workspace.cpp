#include "workspace/Workspace.h"
#include "document/DocumentWindow.h"
#include "platform/CommandGuard.h"
#include "platform/Failure.h"
#include "workspace/Services.h"

#include <QAction>

DocumentWindow &Workspace::currentDocument() const
{
    DocumentWindow *form = activeDocument();
    if (!form)
        throw Failure(QStringLiteral("Object variable not set"));
    return *form;
}

RichTextBox &Workspace::activeSurface() const { return *currentDocument().surface; }

std::function<void()> Workspace::guarded(const QString &command, std::function<void()> handler)
{
    return [this, command, handler = std::move(handler)] {
        CommandGuard::run(services().dialogs, &window(), command, handler);
    };
}

void Workspace::onTriggered(const QString &name, QObject *context, std::function<void()> handler)
{
    QAction *item = menuItem(name);
    QObject::connect(item, &QAction::triggered, context, [this, item, handler = std::move(handler)] {
        const QString caption = item->text().remove(QLatin1Char('&'));
        CommandGuard::run(services().dialogs, &window(), caption, handler);
    });
}
