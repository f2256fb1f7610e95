#pragma once
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableCellFormat>
#include <utility>

// Qt's formats as OpenDocument formatting properties, for the writer: each kind as an ordered
// list of attributes, with the properties the reader kept (OdtFormats.h) added back.
class OdtProperties
{
public:
    using List = QList<std::pair<QString, QString>>;

    // Text properties of a character format; with a base, only those that differ from it.
    static List text(const QTextCharFormat &f, const QTextCharFormat *base = nullptr);
    // Paragraph properties of a block format; with a base, only those that differ from it.
    // `inList` leaves out the indents, which the list style gives.
    static List paragraph(const QTextBlockFormat &f, const QTextBlockFormat *base = nullptr, bool inList = false);
    // style:tab-stops of a block format, empty when it has none.
    static QString tabStops(const QTextBlockFormat &f);
    static List cell(const QTextTableCellFormat &f);

    // The attributes as XML attribute text, with the kept ones (XML attribute text) not already
    // among them.
    static QString attributes(const List &list, const QString &kept = QString());
};
