#pragma once
#include <QIcon>
#include <QString>

// The toolbar pictures: the desktop theme's icon when it has one, else our own 16-pixel drawing.
class Icons
{
public:
    // Names are freedesktop icon names ("document-new", "format-text-bold", ...).
    static QIcon get(const QString &themeName);
    // Our own drawing for the name, without looking at the theme.
    static QIcon drawn(const QString &themeName);
    static QIcon application();
};
