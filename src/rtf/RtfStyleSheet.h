#pragma once
#include "rtf/DocumentStyle.h"
#include "rtf/RtfControlWords.h"

#include <QHash>
#include <QList>
#include <QString>
#include <vector>

// The styles of \stylesheet as the RTF reader uses them: the formatting words each style gives,
// resolved through \sbasedon. A style that is missing, or a chain of bases that loops, gives what
// could be resolved and no more.
class RtfStyleSheet
{
public:
    static constexpr int kMaxStyles = 4096;
    static constexpr int kMaxWords = 512; // formatting words of one style
    static constexpr int kMaxChain = 32;  // bases followed

    struct Word
    {
        RtfWord word;
        int value;
    };
    struct Style
    {
        int number = 0;
        DocumentStyle::Kind kind = DocumentStyle::Paragraph;
        QString name;
        int basedOn = -1;
        int next = -1;
        QList<Word> words;
        int counted = 0; // words towards kMaxWords
        QByteArray source; // the entry as read, kept (definition) once the font and colour tables are known
    };

    // Whether a word is formatting that a style can give (and a paragraph or run then takes).
    static bool isFormatting(RtfWord word);

    // The first style of a number wins; styles past kMaxStyles are ignored.
    void add(const Style &style);
    const Style *find(int number) const;
    bool isEmpty() const { return order_.empty(); }
    const std::vector<int> &numbers() const { return order_; }

    // The words of a style and its bases, the farthest base first.
    const QList<Word> &resolved(int number);

private:
    QHash<int, Style> styles_;
    std::vector<int> order_;
    QHash<int, QList<Word>> resolved_;
};
