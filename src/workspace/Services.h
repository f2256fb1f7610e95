#pragma once
#include "platform/AppFolder.h"

#include <functional>

class Dialogs;
class SettingsStore;
class SpellChecker;

// What the windows need from outside; the program passes the real ones, tests their own.
struct Services {
    Dialogs &dialogs;
    SettingsStore &settings;
    AppFolder appFolder;
    // Seeds the random draws (Tip of the Day); the program uses the clock.
    std::function<quint32()> randomSeed;
    // Where recovery copies of unsaved documents are kept; empty: none are kept.
    QString recoveryFolder = {};
    // The spelling checker every window shares; none: no marks, no spelling menu items.
    SpellChecker *spellChecker = nullptr;
};
