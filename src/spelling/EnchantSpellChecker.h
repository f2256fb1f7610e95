#pragma once
#include "spelling/PersonalDictionary.h"
#include "spelling/SpellChecker.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <memory>

// The spelling checker over Enchant 2 and the dictionaries installed on the system (Hunspell's
// first). Words the user adds go to our own personal dictionary file, not to Enchant's.
class EnchantSpellChecker final : public SpellChecker
{
    Q_OBJECT
public:
    // Reads the personal dictionary at `personalDictionaryPath` and loads the dictionary for
    // `systemLocale` (the same language, then en_US, then any, when it is not installed).
    explicit EnchantSpellChecker(const QString &personalDictionaryPath,
                                 const QString &systemLocale = QLocale::system().name(),
                                 QObject *parent = nullptr);
    ~EnchantSpellChecker() override;

    // Where the program keeps the personal dictionary: a file in the application's data folder.
    static QString defaultPersonalDictionaryPath();

    bool isAvailable() const override;
    QString unavailableReason() const override { return m_reason; }
    QList<Language> languages() const override { return m_languages; }
    QString language() const override { return m_language; }
    bool setLanguage(const QString &tag) override;
    bool isCorrect(const QString &word) const override;
    QStringList suggestions(const QString &word, int count) const override;
    void ignoreAll(const QString &word) override;
    bool addToDictionary(const QString &word) override;

private:
    struct Engine;

    QStringList installedTags() const;
    bool load(const QString &tag);

    std::unique_ptr<Engine> m_engine;
    PersonalDictionary m_personal;
    QSet<QString> m_ignored;
    QList<Language> m_languages;
    QString m_language;
    QString m_reason;
    mutable QHash<QString, bool> m_known; // the dictionary's answers, by normalised word
};
