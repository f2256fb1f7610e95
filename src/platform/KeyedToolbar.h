#pragma once
#include <QHash>
#include <QToolBar>
#include <functional>
#include <vector>

// One entry of a keyed toolbar, as a table row: a button with its key, tooltip, freedesktop icon
// name, whether it is a check button, and what clicking it runs. A row without a tooltip is a
// separator (found by its key, when it has one).
struct ToolbarButton
{
    const char *key;
    const char *toolTip = nullptr;
    const char *icon = nullptr;
    bool check = false;
    std::function<void()> handler;

    static ToolbarButton separator(const char *key = "") { return {key, nullptr, nullptr, false, {}}; }
};

// A toolbar whose buttons are found by a one-letter key (the action's objectName). Check buttons
// have a state: 1 pressed, 0 released. Clicking a check button flips its look before the click
// is reported through buttonClicked.
class KeyedToolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit KeyedToolbar(const QString &name, QWidget *parent = nullptr);

    // Adds the rows in order.
    void addButtons(const std::vector<ToolbarButton> &rows);
    QAction *addButton(const QString &key, const QString &toolTip, const QIcon &icon, bool check);
    QAction *addKeyedSeparator(const QString &key = QString());
    // The button with that key; throws Failure when there is none.
    QAction *button(const QString &key) const;
    int state(const QString &key) const;
    void setState(const QString &key, int state);
    // Runs what the button's row says its click does; a separator or a row without one does nothing.
    void runHandler(const QAction *button) const;

signals:
    void buttonClicked(QAction *button);

private:
    QHash<QString, std::function<void()>> m_handlers;
};
