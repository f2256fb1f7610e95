#include "spelling/SpellingMenus.h"

#include "spelling/SpellChecker.h"

#include <QActionGroup>
#include <QMenu>

namespace SpellingMenus {

void addToViewMenu(QMenu &view, SpellChecker &checker)
{
    QAction *toggle = view.addAction(QStringLiteral("Check Spelling as You Type"));
    toggle->setObjectName(QStringLiteral("checkSpellingAsYouType"));
    toggle->setCheckable(true);
    if (!checker.isAvailable()) {
        toggle->setEnabled(false);
        QAction *reason = view.addAction(checker.unavailableReason());
        reason->setObjectName(QStringLiteral("spellingUnavailable"));
        reason->setEnabled(false);
        return;
    }
    toggle->setChecked(checker.checksAsYouType());
    QObject::connect(toggle, &QAction::toggled, &checker, &SpellChecker::setChecksAsYouType);
    QObject::connect(&checker, &SpellChecker::checksAsYouTypeChanged, toggle, &QAction::setChecked);

    QMenu *languages = view.addMenu(QStringLiteral("Spelling Language"));
    languages->menuAction()->setObjectName(QStringLiteral("spellingLanguage"));
    QObject::connect(languages, &QMenu::aboutToShow, languages, [languages, &checker] {
        fillLanguageMenu(*languages, checker);
    });
    fillLanguageMenu(*languages, checker);
}

void fillLanguageMenu(QMenu &languages, SpellChecker &checker)
{
    languages.clear();
    qDeleteAll(languages.findChildren<QActionGroup *>(QString(), Qt::FindDirectChildrenOnly));
    auto *group = new QActionGroup(&languages);
    for (const SpellChecker::Language &language : checker.languages()) {
        QAction *item = languages.addAction(language.name);
        item->setData(language.tag);
        item->setCheckable(true);
        item->setChecked(language.tag == checker.language());
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &checker, [&checker, tag = language.tag] {
            checker.setLanguage(tag);
        });
    }
}

} // namespace SpellingMenus
