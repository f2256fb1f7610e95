#include "platform/FontFamilies.h"

#include <QFontDatabase>
#include <QSet>

QStringList FontFamilies::screen()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families())
        if (!family.isEmpty() && !QFontDatabase::isPrivateFamily(family))
            families << family;
    return plain(families);
}

QStringList FontFamilies::plain(const QStringList &families)
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &family : families) {
        const QString name = plainName(family);
        if (!name.isEmpty() && !seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names << name;
        }
    }
    return names;
}

QString FontFamilies::plainName(const QString &family)
{
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    return open > 0 ? family.left(open).trimmed() : family;
}
