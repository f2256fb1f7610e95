#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class QXmlStreamWriter;

// The children of a properties element (w:rPr, w:pPr, w:tblPr, w:trPr, w:tcPr, w:sectPr),
// gathered from what the document says and from what was kept from the file, and written in the
// order the schema wants them. A kept element of the same name as a made one gives way to it.
class DocxPropertyList
{
public:
    enum Kind { Run, Paragraph, Table, Row, Cell, Section };

    explicit DocxPropertyList(Kind kind) : kind_(kind) {}

    // An element of the main namespace with w: attributes.
    void add(const QString &name, const QList<QPair<QString, QString>> &attributes = {});
    void addValue(const QString &name, const QString &value) { add(name, {{QStringLiteral("val"), value}}); }
    // An element written by a function (it writes the whole element).
    void addCustom(const QString &name, const std::function<void(QXmlStreamWriter &)> &write);
    // Kept elements (DocxKeptXml elements); those named like a made one are left out.
    void addKept(const QString &elementsXml);
    bool has(const QString &name) const;
    void remove(const QString &name);
    bool isEmpty() const { return entries_.isEmpty(); }

    // Writes <w:ELEMENT> and its children in order; nothing when there are none and `always` is
    // false.
    void write(QXmlStreamWriter &out, const QString &element, bool always = false) const;
    // Writes the children alone.
    void writeChildren(QXmlStreamWriter &out) const;

private:
    struct Entry
    {
        int order = 0;
        QString name;
        QList<QPair<QString, QString>> attributes;
        std::function<void(QXmlStreamWriter &)> custom;
        QString kept;
    };
    int orderOf(const QString &name) const;
    void insert(Entry &&entry);

    Kind kind_;
    QList<Entry> entries_;
};
