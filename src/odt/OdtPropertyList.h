#pragma once
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <utility>

// A style's formatting properties by attribute name ("fo:font-size" -> "12pt"). A style has a
// few, and a document thousands of styles: a sorted list costs a fraction of a hash.
class OdtPropertyList
{
public:
    using Item = std::pair<QString, QString>;

    // An iterator in the manner of QHash's: key() and value().
    class const_iterator
    {
    public:
        explicit const_iterator(QList<Item>::const_iterator it) : it_(it) {}
        const QString &key() const { return it_->first; }
        const QString &value() const { return it_->second; }
        const_iterator &operator++()
        {
            ++it_;
            return *this;
        }
        bool operator!=(const const_iterator &o) const { return it_ != o.it_; }
        bool operator==(const const_iterator &o) const { return it_ == o.it_; }

    private:
        QList<Item>::const_iterator it_;
    };

    const_iterator cbegin() const { return const_iterator(items_.cbegin()); }
    const_iterator cend() const { return const_iterator(items_.cend()); }
    bool isEmpty() const { return items_.isEmpty(); }
    qsizetype size() const { return items_.size(); }

    QString value(const QString &name, const QString &fallback = QString()) const
    {
        const auto it = find(name);
        return it != items_.cend() && it->first == name ? it->second : fallback;
    }
    bool contains(const QString &name) const
    {
        const auto it = find(name);
        return it != items_.cend() && it->first == name;
    }
    void insert(const QString &name, const QString &value)
    {
        const auto it = find(name);
        if (it != items_.cend() && it->first == name)
            items_[it - items_.cbegin()].second = value;
        else
            items_.insert(it - items_.cbegin(), {name, value});
    }
    void remove(const QString &name)
    {
        const auto it = find(name);
        if (it != items_.cend() && it->first == name)
            items_.remove(it - items_.cbegin());
    }
    // Builds a list in order: each name must sort after the last one appended.
    void reserve(qsizetype size) { items_.reserve(size); }
    void append(const QString &name, const QString &value) { items_.append({name, value}); }
    void squeeze() { items_.squeeze(); }
    QStringList keys() const
    {
        QStringList out;
        out.reserve(items_.size());
        for (const Item &i : items_)
            out.append(i.first);
        return out;
    }

    bool operator==(const OdtPropertyList &o) const { return items_ == o.items_; }
    friend size_t qHash(const OdtPropertyList &list, size_t seed = 0)
    {
        for (const Item &i : list.items_)
            seed = qHashMulti(seed, i.first, i.second);
        return seed;
    }

private:
    QList<Item>::const_iterator find(const QString &name) const
    {
        return std::lower_bound(items_.cbegin(), items_.cend(), name,
                                [](const Item &i, const QString &n) { return i.first < n; });
    }

    QList<Item> items_;
};
