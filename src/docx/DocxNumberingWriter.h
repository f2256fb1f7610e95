#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextListFormat>
#include <array>
#include <optional>

class QTextBlock;
class QTextList;

// The numbering part a Word package is written with, made from the document's lists as their
// paragraphs are written: one abstract list per list group (TextFormats::kListGroupProperty,
// or per QTextList without one), one instance for it, and another instance wherever a level
// must start at a number Word would not count to by itself.
class DocxNumberingWriter
{
public:
    struct Item
    {
        int numId = 0;
        int level = 0;
    };
    // The instance and level of a list paragraph; asked in document order.
    Item item(const QTextBlock &block);
    bool isEmpty() const { return groups_.isEmpty(); }
    QByteArray xml() const;

private:
    struct Level
    {
        const QTextList *list = nullptr; // the list the level counts in now
        int next = 0;                    // the number its next item gets from Word
        bool reset = true;               // a higher level's item came since: it starts again
    };
    struct Group
    {
        int abstractId = 0;
        int numId = 0;
        std::array<std::optional<QTextListFormat>, 9> formats; // the first list of each level
        std::array<Level, 9> levels;
    };
    struct Instance
    {
        int numId = 0;
        int abstractId = 0;
        int level = -1;      // the level it starts anew, -1 for none
        int start = 1;
    };

    static int startOf(const QTextListFormat &f);
    static int levelOf(const QTextList *list);

    QList<Group> groups_;
    QHash<QString, int> groupIndex_;
    QList<Instance> instances_;
    QHash<const QTextList *, int> written_; // items written of each list
};
