#include "platform/Icons.h"

QIcon Icons::get(const QString &themeName)
{
    return QIcon::fromTheme(themeName, QIcon(QStringLiteral(":/icons/%1.svg").arg(themeName)));
}

QIcon Icons::application()
{
    return QIcon(QStringLiteral(":/scrivlo.svg"));
}
