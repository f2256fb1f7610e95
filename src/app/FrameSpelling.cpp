#include "app/FrameSpelling.h"
#include "document/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "spelling/SpellChecker.h"
#include "spelling/SpellMarks.h"
#include "spelling/SpellingContextMenu.h"
#include "spelling/SpellingMenus.h"

#include <QMenu>

namespace {
const QString Section = QStringLiteral("spelling");
const QString LanguageKey = QStringLiteral("language");
const QString AsYouTypeKey = QStringLiteral("as you type");
} // namespace

FrameSpelling::FrameSpelling(SpellChecker *checker, SettingsStore &settings, Dialogs &dialogs, QWidget &window)
    : m_checker(checker), m_settings(settings), m_dialogs(dialogs), m_window(window)
{
    if (!m_checker)
        return;
    restoreSettings();
    connect(m_checker, &SpellChecker::languageChanged, this,
            [this](const QString &tag) { m_settings.saveSetting(Section, LanguageKey, tag); });
    connect(m_checker, &SpellChecker::checksAsYouTypeChanged, this, [this](bool on) {
        m_settings.saveSetting(Section, AsYouTypeKey, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    // The word still counts as right for this run; the user learns it will not be kept.
    connect(m_checker, &SpellChecker::dictionaryWriteFailed, this, [this](const QString &message) {
        m_dialogs.message({message, QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                          &m_window);
    });
}

void FrameSpelling::restoreSettings()
{
    // A language no longer installed leaves the one chosen from the system's locale.
    const QString language = m_settings.setting(Section, LanguageKey, QString());
    if (!language.isEmpty() && language != m_checker->language())
        m_checker->setLanguage(language);
    m_checker->setChecksAsYouType(m_settings.setting(Section, AsYouTypeKey, QStringLiteral("1")) != QLatin1String("0"));
}

void FrameSpelling::addMenuItems(QMenu &view)
{
    if (!m_checker)
        return;
    view.addSeparator()->setObjectName(QStringLiteral("spellingSeparator"));
    SpellingMenus::addToViewMenu(view, *m_checker);
}

void FrameSpelling::follow(RichTextBox &surface)
{
    if (!m_checker)
        return;
    new SpellMarks(surface, *m_checker); // a child of the surface
    connect(&surface, &RichTextBox::contextMenuRequested, this, [&surface](QMenu &menu, const QPoint &position) {
        SpellingContextMenu::addEntries(menu, surface, position);
    });
}
