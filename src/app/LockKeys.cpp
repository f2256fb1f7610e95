#include "app/LockKeys.h"

#include <QGuiApplication>
#include <cstring>

#ifdef SCRIVLO_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace {

std::optional<bool> namedIndicator(const char *name)
{
#ifdef SCRIVLO_HAVE_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Atom atom = XInternAtom(display, name, False);
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
#else
    Q_UNUSED(name);
    return std::nullopt;
#endif
}

} // namespace

std::optional<bool> LockKeys::capsLock() { return namedIndicator("Caps Lock"); }
std::optional<bool> LockKeys::numLock() { return namedIndicator("Num Lock"); }
