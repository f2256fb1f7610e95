#pragma once
#include <QString>
#include <vector>

// The frame's menu bar as data: every item's name, caption, shortcut and starting state, in order.
struct MenuEntry {
    const char *parent;  // the name of the menu the item stands in ("" for the menu bar)
    const char *name;    // objectName of the action or menu
    const char *caption; // "-" for a separator
    const char *shortcut = ""; // several are separated by "; ", the first is shown
    bool enabled = true;
    bool checked = false;
    bool submenu = false;
    bool checkable = false;
};

class MenuTable
{
public:
    static const std::vector<MenuEntry> &entries();
};
