#pragma once
#include <QCollator>
#include <QComboBox>

// A drop-down list: the user picks one of its entries and cannot type free text. Writing a text
// that is not one of the entries is refused. A sorted list keeps its entries in the platform's
// case-insensitive text order.
class DropDownList : public QComboBox
{
    Q_OBJECT
public:
    explicit DropDownList(const QString &name, bool sorted, QWidget *parent = nullptr);

    void addEntry(const QString &entry);
    // The chosen entry's text, or empty when none is chosen.
    QString text() const { return currentIndex() < 0 ? QString() : currentText(); }
    // Chooses the entry with exactly that text; throws Failure when there is none.
    void setText(const QString &text);

signals:
    void choiceChanged(); // the chosen entry changed, by the user or by a write
    void chosen(); // the user chose an entry
    void characterTyped(int keyAscii); // a character key, before the box acts on it

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_sorted;
    QCollator m_collator;
};
