#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// What a field shows when the file stores no result for it: SYMBOL (a character of a font, at a
// size), DATE and TIME (now, in the field's \@ picture), PAGE and NUMPAGES (1 until printing puts
// in the figures). Other fields have no value of their own.
struct FieldValue
{
    QString text;
    QString family;       // the font the text is in, when the field names one
    double pointSize = 0; // its size, when the field gives one

    static std::optional<FieldValue> of(const QString &instruction, const QDateTime &now);

    // A field instruction's words: the field's name, its arguments and its switches (\f, \@ ...),
    // quotes taken off.
    static QStringList arguments(const QString &instruction);
    // The target of a HYPERLINK instruction (with its \\l location after a '#'); empty when the
    // instruction names none or names a link that may not be followed.
    static QString hyperlinkTarget(const QString &instruction);
    // Links that may be followed from a document; script and data URLs are not.
    static bool isSafeLink(const QString &url);
    // A date and time in a field's date picture ("dddd, MMMM d, yyyy", "h:mm AM/PM").
    static QString dateText(const QDateTime &when, const QString &picture);
};
