#pragma once
#include <QToolBar>

// A toolbar whose buttons are found by a one-letter key (the action's objectName). Check buttons
// have a state: 1 pressed, 0 released. Clicking a check button flips its look before the click
// is reported through ButtonClick.
class KeyedToolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit KeyedToolbar(const QString &name, QWidget *parent = nullptr);

    QAction *addButton(const QString &key, const QString &toolTip, const QIcon &icon, bool check);
    QAction *addKeyedSeparator(const QString &key = QString());
    // The button with that key; throws Failure when there is none.
    QAction *button(const QString &key) const;
    int Value(const QString &key) const;
    void setValue(const QString &key, int state);

signals:
    void ButtonClick(QAction *button);
};
