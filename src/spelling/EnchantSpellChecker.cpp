#include "spelling/EnchantSpellChecker.h"

#include "spelling/LanguageNames.h"
#include "spelling/WordRules.h"

#include <QStandardPaths>
#include <enchant.h>

namespace {

constexpr qsizetype kMostRemembered = 200000; // answers kept before the memory starts again

// "Teh" for "teh": a word at the start of a sentence is right when its lower-case form is.
QString withLowerFirst(const QString &word)
{
    QString lower = word;
    if (!lower.isEmpty())
        lower[0] = lower[0].toLower();
    return lower;
}

// In the set as it is, or with a capital first letter when the set holds it in lower case.
template <typename Words>
bool holds(const Words &words, const QString &word)
{
    return words.contains(word) || (word.at(0).isUpper() && words.contains(withLowerFirst(word)));
}

} // namespace

struct EnchantSpellChecker::Engine {
    EnchantBroker *broker = nullptr;
    EnchantDict *dict = nullptr;

    ~Engine()
    {
        if (dict)
            enchant_broker_free_dict(broker, dict);
        if (broker)
            enchant_broker_free(broker);
    }
};

EnchantSpellChecker::EnchantSpellChecker(const QString &personalDictionaryPath, const QString &systemLocale,
                                         QObject *parent)
    : SpellChecker(parent), m_engine(std::make_unique<Engine>()), m_personal(personalDictionaryPath)
{
    m_engine->broker = enchant_broker_init();
    if (!m_engine->broker) {
        m_reason = QStringLiteral("The spelling checker could not be started");
        return;
    }
    enchant_broker_set_ordering(m_engine->broker, "*", "hunspell,nuspell,aspell,hspell");
    const QStringList tags = installedTags();
    m_languages = LanguageNames::named(tags);
    if (tags.isEmpty()) {
        m_reason = QStringLiteral("No spelling dictionary is installed");
        return;
    }
    QStringList order = tags;
    order.move(order.indexOf(LanguageNames::defaultTag(tags, systemLocale)), 0);
    for (const QString &tag : std::as_const(order))
        if (load(tag))
            return;
    m_reason = QStringLiteral("No spelling dictionary could be loaded");
}

EnchantSpellChecker::~EnchantSpellChecker() = default;

QString EnchantSpellChecker::defaultPersonalDictionaryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/personal-dictionary.txt");
}

QStringList EnchantSpellChecker::installedTags() const
{
    QStringList tags;
    enchant_broker_list_dicts(
        m_engine->broker,
        [](const char *const tag, const char *const, const char *const, const char *const, void *data) {
            auto *list = static_cast<QStringList *>(data);
            const QString name = QString::fromUtf8(tag);
            if (!list->contains(name))
                list->append(name);
        },
        &tags);
    return tags;
}

bool EnchantSpellChecker::load(const QString &tag)
{
    EnchantDict *dict = enchant_broker_request_dict(m_engine->broker, tag.toUtf8().constData());
    if (!dict)
        return false;
    if (m_engine->dict)
        enchant_broker_free_dict(m_engine->broker, m_engine->dict);
    m_engine->dict = dict;
    m_language = tag;
    m_reason.clear();
    m_known.clear();
    // The dictionary's own suggestions then know the personal words too.
    for (const QString &word : m_personal.words()) {
        const QByteArray utf8 = word.toUtf8();
        enchant_dict_add_to_session(dict, utf8.constData(), utf8.size());
    }
    return true;
}

bool EnchantSpellChecker::isAvailable() const
{
    return m_engine->dict != nullptr;
}

bool EnchantSpellChecker::setLanguage(const QString &tag)
{
    if (tag == m_language && isAvailable())
        return true;
    const bool installed = std::any_of(m_languages.cbegin(), m_languages.cend(),
                                       [&](const Language &language) { return language.tag == tag; });
    if (!installed || !load(tag))
        return false;
    emit languageChanged(tag);
    emit wordsChanged();
    return true;
}

bool EnchantSpellChecker::isCorrect(const QString &word) const
{
    const QString key = WordRules::normalized(word);
    if (!isAvailable() || key.isEmpty() || holds(m_ignored, key) || holds(m_personal, key))
        return true;
    if (const auto known = m_known.constFind(key); known != m_known.cend())
        return *known;
    const QByteArray utf8 = key.toUtf8();
    const bool correct = enchant_dict_check(m_engine->dict, utf8.constData(), utf8.size()) == 0;
    if (m_known.size() >= kMostRemembered)
        m_known.clear();
    m_known.insert(key, correct);
    return correct;
}

QStringList EnchantSpellChecker::suggestions(const QString &word, int count) const
{
    const QString key = WordRules::normalized(word);
    if (!isAvailable() || key.isEmpty() || count <= 0)
        return {};
    const QByteArray utf8 = key.toUtf8();
    size_t found = 0;
    char **list = enchant_dict_suggest(m_engine->dict, utf8.constData(), utf8.size(), &found);
    const bool typographic = word.contains(QChar(0x2019));
    QStringList out;
    for (size_t i = 0; i < found && out.size() < count; ++i) {
        QString suggestion = QString::fromUtf8(list[i]);
        if (typographic)
            suggestion.replace(u'\'', QChar(0x2019)); // written the way the document writes it
        if (suggestion != word && !out.contains(suggestion))
            out.append(suggestion);
    }
    if (list)
        enchant_dict_free_string_list(m_engine->dict, list);
    return out;
}

void EnchantSpellChecker::ignoreAll(const QString &word)
{
    const QString key = WordRules::normalized(word);
    if (key.isEmpty() || m_ignored.contains(key))
        return;
    m_ignored.insert(key);
    emit wordsChanged();
}

bool EnchantSpellChecker::addToDictionary(const QString &word)
{
    const QString key = WordRules::normalized(word);
    if (key.isEmpty())
        return false;
    const bool written = m_personal.add(key);
    if (m_engine->dict) {
        const QByteArray utf8 = key.toUtf8();
        enchant_dict_add_to_session(m_engine->dict, utf8.constData(), utf8.size());
    }
    emit wordsChanged();
    if (!written)
        emit dictionaryWriteFailed(QStringLiteral("\"%1\" could not be kept in the personal dictionary %2: %3")
                                       .arg(key, m_personal.path(), m_personal.errorString()));
    return written;
}
