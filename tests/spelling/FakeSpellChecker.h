#pragma once
#include "spelling/SpellChecker.h"

#include <QSet>

// A checker for tests: the words it is told are wrong, every other word is right. It counts the
// words it is asked about, and can play a system without dictionaries.
class FakeSpellChecker : public SpellChecker
{
public:
    QSet<QString> wrong;
    bool available = true;
    mutable int asked = 0;

    bool isAvailable() const override { return available; }
    QString unavailableReason() const override
    {
        return available ? QString() : QStringLiteral("No spelling dictionary is installed");
    }
    QList<Language> languages() const override { return {}; }
    QString language() const override { return {}; }
    bool setLanguage(const QString &) override { return false; }
    bool isCorrect(const QString &word) const override
    {
        ++asked;
        return !wrong.contains(word);
    }
    QStringList suggestions(const QString &, int) const override { return {}; }
    void ignoreAll(const QString &word) override
    {
        wrong.remove(word);
        emit wordsChanged();
    }
    bool addToDictionary(const QString &word) override
    {
        ignoreAll(word);
        return true;
    }
};
