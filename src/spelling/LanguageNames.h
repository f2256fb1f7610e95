#pragma once
#include "spelling/SpellChecker.h"

#include <QStringList>

// How dictionaries are named for the user, and which one a first run starts with.
namespace LanguageNames {

// "en_US" -> "English (United States)", "de" -> "German"; a tag no locale knows is shown as it is.
QString displayName(const QString &tag);

// The dictionaries by name, sorted; two tags with one name are told apart by their tags.
QList<SpellChecker::Language> named(const QStringList &tags);

// The dictionary for the system's locale (the same language when the exact one is missing), then
// en_US, then the first installed; empty when none is installed.
QString defaultTag(const QStringList &installed, const QString &systemLocale);

} // namespace LanguageNames
