#include "platform/KeyedToolbar.h"
#include "platform/Failure.h"
#include "platform/Icons.h"

KeyedToolbar::KeyedToolbar(const QString &name, QWidget *parent) : QToolBar(parent)
{
    setObjectName(name);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void KeyedToolbar::addButtons(const std::vector<ToolbarButton> &rows)
{
    for (const ToolbarButton &row : rows) {
        const QString key = QString::fromLatin1(row.key);
        if (!row.toolTip) {
            addKeyedSeparator(key);
            continue;
        }
        addButton(key, QString::fromUtf8(row.toolTip), Icons::get(QString::fromLatin1(row.icon)), row.check);
        if (row.handler)
            m_handlers.insert(key, row.handler);
    }
}

QAction *KeyedToolbar::addButton(const QString &key, const QString &toolTip, const QIcon &icon, bool check)
{
    QAction *action = addAction(icon, toolTip);
    action->setObjectName(key);
    action->setToolTip(toolTip);
    action->setCheckable(check);
    connect(action, &QAction::triggered, this, [this, action] { emit buttonClicked(action); });
    return action;
}

QAction *KeyedToolbar::addKeyedSeparator(const QString &key)
{
    QAction *separator = addSeparator();
    separator->setObjectName(key);
    return separator;
}

QAction *KeyedToolbar::button(const QString &key) const
{
    if (!key.isEmpty()) {
        const QList<QAction *> all = actions();
        for (QAction *action : all)
            if (action->objectName() == key)
                return action;
    }
    throw Failure(QStringLiteral("Invalid key: %1").arg(key));
}

int KeyedToolbar::state(const QString &key) const { return button(key)->isChecked() ? 1 : 0; }

void KeyedToolbar::setState(const QString &key, int state) { button(key)->setChecked(state != 0); }

void KeyedToolbar::runHandler(const QAction *button) const
{
    const auto handler = m_handlers.constFind(button->objectName());
    if (handler != m_handlers.constEnd())
        (*handler)();
}
