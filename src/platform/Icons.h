#pragma once
#include <QIcon>
#include <QString>

// The program's pictures: the desktop theme's icon when it has one, else the SVG the program ships
// for that name (in its resources, under :/icons/).
class Icons
{
public:
    // Names are freedesktop icon names ("document-new", "format-text-bold", ...).
    static QIcon get(const QString &themeName);
    // The program's own icon, the SVG it installs for the desktop.
    static QIcon application();
};
