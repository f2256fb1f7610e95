#pragma once
#include <QStringList>

// The font families offered to the user, each once by its plain name. The font database lists a
// family that several foundries supply once per foundry, as "Family [Foundry]"; any of them is
// what a plain "Family" gets, so the foundry means nothing to the user.
class FontFamilies
{
public:
    // The screen's families: no private ones, no duplicates, in the database's order.
    static QStringList screen();
    // The names without their foundries, each once (the first spelling of a name seen, ignoring
    // case, as font matching does).
    static QStringList plain(const QStringList &families);
    // "C059 [UKWN]" gives "C059"; a name without a foundry comes back as it is.
    static QString plainName(const QString &family);
};
