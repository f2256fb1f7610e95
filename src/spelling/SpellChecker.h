#pragma once
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// The one spelling checker of a run, shared by every window: it answers whether a word is spelt
// right, offers corrections, and keeps the words the user ignores or adds. The program uses
// EnchantSpellChecker; tests may put their own in its place.
class SpellChecker : public QObject
{
    Q_OBJECT
public:
    struct Language {
        QString tag;  // as the dictionary is installed: "en_US"
        QString name; // as the user reads it: "English (United States)"
        friend bool operator==(const Language &, const Language &) = default;
    };

    explicit SpellChecker(QObject *parent = nullptr) : QObject(parent) {}

    // False when no dictionary could be loaded: nothing is marked, and the reason says why.
    virtual bool isAvailable() const = 0;
    virtual QString unavailableReason() const = 0;

    // The installed dictionaries, sorted by name; the tag of the one in use (empty when none).
    virtual QList<Language> languages() const = 0;
    virtual QString language() const = 0;
    // Switches to an installed dictionary; false (and nothing changes) when it cannot be loaded.
    virtual bool setLanguage(const QString &tag) = 0;

    virtual bool isCorrect(const QString &word) const = 0;
    // Up to `count` corrections, best first.
    virtual QStringList suggestions(const QString &word, int count) const = 0;

    // The word is right for the rest of this run.
    virtual void ignoreAll(const QString &word) = 0;
    // The word is right from now on, and after a restart. False when it could not be written to
    // the personal dictionary (it is still right for this run; dictionaryWriteFailed says why).
    virtual bool addToDictionary(const QString &word) = 0;

    // "Check Spelling as You Type", for every window at once; on unless switched off.
    bool checksAsYouType() const { return m_checksAsYouType; }
    void setChecksAsYouType(bool on);

signals:
    // A word was ignored or added, or the language changed: the marks are made again.
    void wordsChanged();
    void languageChanged(const QString &tag);
    void checksAsYouTypeChanged(bool on);
    void dictionaryWriteFailed(const QString &message);

private:
    bool m_checksAsYouType = true;
};
