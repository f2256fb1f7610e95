#pragma once
#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <array>

// The lists of \listtable and their uses in \listoverridetable.
class RtfListTable
{
public:
    // Characters kept before and after a list number (\leveltext counts them in one byte).
    static constexpr int kMaxNumberText = 100;

    struct Level
    {
        int numberFormat = 23; // \levelnfc: 0 decimal ... 23 bullet
        int start = 1;
        QString text;          // \leveltext as read: a length, then text with level placeholders
        int leftIndent = 0;
        int firstIndent = 0;
    };
    struct List
    {
        int id = 0;
        std::array<Level, 9> levels{};
        int levelCount = 0;
    };

    void addList(const List &list);
    void addOverride(int override, int listId);
    // The list an \lsN names, or null when the file does not define it.
    const List *listFor(int override) const;

    // The Qt list format for one level: style, number prefix and suffix, and indent level + 1.
    static QTextListFormat format(const Level &level, int levelIndex);
    // A list style for a bullet character.
    static QTextListFormat::Style bulletStyle(QStringView bullet);

private:
    QHash<int, List> lists_;
    QHash<int, int> overrides_;
};
