#include "platform/DropDownList.h"
#include "platform/Failure.h"

#include <QKeyEvent>

DropDownList::DropDownList(const QString &name, bool sorted, QWidget *parent)
    : QComboBox(parent), m_sorted(sorted)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    setObjectName(name);
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit choiceChanged(); });
    connect(this, &QComboBox::activated, this, [this] { emit chosen(); });
}

void DropDownList::addEntry(const QString &entry)
{
    const bool wasEmpty = count() == 0;
    int at = count();
    if (m_sorted) {
        int low = 0, high = count();
        while (low < high) {
            const int mid = (low + high) / 2;
            if (m_collator.compare(itemText(mid), entry) <= 0)
                low = mid + 1;
            else
                high = mid;
        }
        at = low;
    }
    const QSignalBlocker quiet(this);
    insertItem(at, entry);
    // A list starts with no entry chosen, however its entries came in.
    if (wasEmpty)
        setCurrentIndex(-1);
}

void DropDownList::setText(const QString &text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        throw Failure(QStringLiteral("Invalid property value"));
    setCurrentIndex(index);
}

void DropDownList::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == QLatin1Char('\r')))
        emit characterTyped(typed.at(0).unicode());
    QComboBox::keyPressEvent(event);
}
