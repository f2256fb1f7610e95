#include "rtf/DocumentStyle.h"

QHash<int, int> DocumentStyle::acyclicBases(const QList<DocumentStyle> &styles)
{
    QHash<int, int> bases;
    for (const DocumentStyle &s : styles)
        bases.insert(s.number, s.basedOn);
    // Each walk follows the bases until it meets a style met before; where that style was met on
    // this same walk, the walk has gone round a loop, and the loop's styles lose their bases.
    QHash<int, int> walkOf;
    int walk = 0;
    for (const DocumentStyle &s : styles) {
        ++walk;
        int at = s.number;
        while (at >= 0 && bases.contains(at) && !walkOf.contains(at)) {
            walkOf.insert(at, walk);
            at = bases.value(at);
        }
        if (at < 0 || walkOf.value(at) != walk)
            continue;
        for (int cut = at, next = -1; next != at; cut = next) {
            next = bases.value(cut);
            bases[cut] = -1;
        }
    }
    return bases;
}
