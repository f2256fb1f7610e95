#pragma once
#include <optional>

// The keyboard's lock states, where the display server reports them (X11); nothing elsewhere.
class LockKeys
{
public:
    static std::optional<bool> capsLock();
    static std::optional<bool> numLock();
};
