#include "rtf/DocumentStyle.h"

#include <QHash>

int DocumentStyle::acyclicBasedOn(const QList<DocumentStyle> &styles, const DocumentStyle &style)
{
    if (style.basedOn < 0)
        return -1;
    QHash<int, int> bases;
    for (const DocumentStyle &s : styles)
        bases.insert(s.number, s.basedOn);
    int at = style.basedOn;
    for (qsizetype steps = 0; at >= 0 && steps <= styles.size(); ++steps) {
        if (at == style.number)
            return -1;
        at = bases.value(at, -1);
    }
    return at < 0 ? style.basedOn : -1; // a chain longer than the stylesheet goes round too
}
