#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

// One style of a document's stylesheet (RTF \stylesheet): its number and name, what it is based
// on, and the formatting it gives, resolved through its bases. `definition` is its stylesheet entry
// as kept RTF (see KeptRtf.h), written back as it was.
struct DocumentStyle
{
    enum Kind { Paragraph, Character, Section, Table };

    int number = 0;
    Kind kind = Paragraph;
    QString name;
    int basedOn = -1; // a style number, -1 for none
    int next = -1;
    QTextCharFormat charFormat;
    QTextBlockFormat blockFormat;
    QString definition;

    bool operator==(const DocumentStyle &) const = default;

    // Each style's number and the number of the style it is based on, or -1 where following the
    // bases leads back to it: an RTF stylesheet may say so, but Word and OpenDocument files must not.
    static QHash<int, int> acyclicBases(const QList<DocumentStyle> &styles);
};
