#pragma once
#include <QDateTime>
#include <QMap>
#include <QString>

// The document information of RTF \info: texts and dates, by their RTF word ("title", "subject",
// "author", "manager", "company", "operator", "category", "keywords", "comment", "doccomm",
// "hlinkbase"; "creatim", "revtim", "printim", "buptim").
struct DocumentInfo
{
    QMap<QString, QString> texts;
    QMap<QString, QDateTime> dates;

    bool operator==(const DocumentInfo &) const = default;
    bool isEmpty() const { return texts.isEmpty() && dates.isEmpty(); }

    QString title() const { return texts.value(QStringLiteral("title")); }
    QString subject() const { return texts.value(QStringLiteral("subject")); }
    QString author() const { return texts.value(QStringLiteral("author")); }
    QString company() const { return texts.value(QStringLiteral("company")); }
    QDateTime created() const { return dates.value(QStringLiteral("creatim")); }
    QDateTime revised() const { return dates.value(QStringLiteral("revtim")); }
};
