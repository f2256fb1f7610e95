#include "spelling/LanguageNames.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

namespace LanguageNames {
namespace {

// "de_DE_frami" and "en-GB" alike: the language, then the territory if there is one.
QStringList partsOf(const QString &tag)
{
    QString normal = tag.section(u'.', 0, 0).section(u'@', 0, 0); // "en_US.UTF-8", "ca_ES@valencia"
    normal.replace(u'-', u'_');
    return normal.split(u'_', Qt::SkipEmptyParts);
}

QString languageOf(const QString &tag)
{
    const QStringList parts = partsOf(tag);
    return parts.isEmpty() ? QString() : parts.first().toLower();
}

} // namespace

QString displayName(const QString &tag)
{
    const QStringList parts = partsOf(tag);
    const QLocale::Language language = parts.isEmpty() ? QLocale::AnyLanguage : QLocale::codeToLanguage(parts[0]);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return tag;
    const QString name = QLocale::languageToString(language);
    if (parts.size() == 1)
        return name;
    const QLocale::Territory territory = QLocale::codeToTerritory(parts[1]);
    return QStringLiteral("%1 (%2)").arg(
        name, territory == QLocale::AnyTerritory ? parts[1] : QLocale::territoryToString(territory));
}

QList<SpellChecker::Language> named(const QStringList &tags)
{
    QList<SpellChecker::Language> out;
    QHash<QString, int> uses;
    for (const QString &tag : tags) {
        out.append({tag, displayName(tag)});
        ++uses[out.constLast().name];
    }
    for (SpellChecker::Language &language : out)
        if (uses.value(language.name) > 1 && language.name != language.tag)
            language.name += QStringLiteral(" [%1]").arg(language.tag);
    QCollator collator;
    std::sort(out.begin(), out.end(), [&](const auto &a, const auto &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return out;
}

QString defaultTag(const QStringList &installed, const QString &systemLocale)
{
    const QString system = partsOf(systemLocale).join(u'_');
    for (const QString &tag : installed)
        if (partsOf(tag).join(u'_').compare(system, Qt::CaseInsensitive) == 0)
            return tag;
    const QString language = languageOf(systemLocale);
    if (!language.isEmpty() && language != u"c") {
        for (const QString &tag : installed)
            if (languageOf(tag) == language)
                return tag;
    }
    if (installed.contains(QStringLiteral("en_US")))
        return QStringLiteral("en_US");
    return installed.value(0);
}

} // namespace LanguageNames
