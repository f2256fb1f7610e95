#pragma once
#include <QList>
#include <QStringList>
#include <QString>
#include <functional>

class DocxXml;
class QXmlStreamWriter;

// Word XML that the program reads but cannot show (a comment's range, a drawing, unknown
// properties), kept on the formats of the text next to it and written back as it was when the
// document is saved as Word again.
//
// A kept value is a run of <s:k s:i="ID">...</s:k> items, each holding elements in the
// transitional namespaces under their usual prefixes (DocxNamespaces::prefix), so values made
// while reading one document can be written into any other. The id tells apart items that are
// alike; a writer writes each id once, even where an edit spread the item over several runs.
class DocxKeptXml
{
public:
    struct Item
    {
        QString id;
        QString xml; // the item's elements
    };

    // The current element of `xml` and all it holds as a kept item (the reader ends on its end).
    static QString capture(DocxXml &xml, const QString &id);
    // Several elements written by `write` into one item.
    static QString make(const QString &id, const std::function<void(QXmlStreamWriter &)> &write);
    // The elements alone, without an item around them (the content of an item).
    static QString elementsOf(const std::function<void(QXmlStreamWriter &)> &write);
    static QString captureElement(DocxXml &xml);
    // An item of elements made by elementsOf().
    static QString item(const QString &id, const QString &elements);

    static QList<Item> items(const QString &kept);
    static QString join(const QString &a, const QString &b) { return a + b; }

    // Starts the element that holds kept XML while it is made: every usual prefix declared.
    static void startWrapper(QXmlStreamWriter &w);

    // Reads the elements of kept XML back (a reader over them positioned before the first);
    // their names are in the transitional namespaces.
    static QString document(const QString &itemXml);

    // Writes an item's elements to `out`. `attribute` may change an attribute's value on the way
    // (element's namespace and name, attribute's namespace and name, value); returning a null
    // string drops the attribute. Returns false (writing nothing) when `accept` refuses one of
    // the values met, asked before anything is written.
    using AttributeHook = std::function<QString(const QString &elementNs, QStringView element, const QString &attributeNs,
                                                QStringView attribute, const QString &value)>;
    static bool write(QXmlStreamWriter &out, const QString &itemXml, const AttributeHook &attribute = {},
                      const std::function<bool(const QString &attributeNs, QStringView name, const QString &value)>
                          &accept = {});

    // The local name of each top-level element of an item, in order, with its XML.
    struct Element
    {
        QString ns;
        QString name;
        QString xml;
    };
    static QList<Element> elements(const QString &itemXml);
    // The children of each element, without the element.
    static QString childrenOf(const QString &elementsXml);
    // Elements without the children of theirs that have one of these local names.
    static QString withoutChildren(const QString &elementsXml, const QStringList &names);
};
