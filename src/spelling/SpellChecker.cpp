#include "spelling/SpellChecker.h"

void SpellChecker::setChecksAsYouType(bool on)
{
    if (on == m_checksAsYouType)
        return;
    m_checksAsYouType = on;
    emit checksAsYouTypeChanged(on);
}
