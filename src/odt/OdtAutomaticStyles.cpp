#include "odt/OdtAutomaticStyles.h"

namespace {

QString prefixOf(const QString &family)
{
    if (family == u"paragraph")
        return QStringLiteral("P");
    if (family == u"text")
        return QStringLiteral("T");
    if (family == u"table")
        return QStringLiteral("Table");
    if (family == u"table-column")
        return QStringLiteral("Col");
    if (family == u"table-row")
        return QStringLiteral("Row");
    if (family == u"table-cell")
        return QStringLiteral("Cell");
    if (family == u"graphic")
        return QStringLiteral("fr");
    return QStringLiteral("S");
}

} // namespace

QString OdtAutomaticStyles::freshName(const QString &prefix)
{
    for (;;) {
        const QString candidate = prefix + QString::number(++counters_[prefix]);
        if (!taken_.contains(candidate)) {
            taken_.insert(candidate);
            return candidate;
        }
    }
}

QString OdtAutomaticStyles::name(const QString &family, const QString &attributes, const QString &content)
{
    const QString key = family + QChar(0x1) + attributes + QChar(0x1) + content;
    const auto found = byKey_.constFind(key);
    if (found != byKey_.cend())
        return *found;
    const QString name = freshName(prefixOf(family));
    byKey_.insert(key, name);
    xml_ += QLatin1StringView("<style:style style:name=\"") + name + QLatin1StringView("\" style:family=\"") + family
          + u'"' + attributes + u'>' + content + QLatin1StringView("</style:style>");
    return name;
}

QString OdtAutomaticStyles::add(const QString &prefix, const QString &xmlWithName, const QString &key)
{
    const QString k = prefix + QChar(0x2) + key;
    const auto found = byKey_.constFind(k);
    if (found != byKey_.cend())
        return *found;
    const QString name = freshName(prefix);
    byKey_.insert(k, name);
    xml_ += QString(xmlWithName).replace(kName, name);
    return name;
}
