#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Where the elements of a part stand in its bytes, found by scanning its tags without parsing it:
// so that of a large styles.xml only the styles a document uses are parsed, and kept parts are
// written back as the bytes they were. Usable only for parts whose root spells the namespaces as
// the writer does (OdtNamespaces) and declares no others' prefixes; other parts are parsed whole.
class OdtPartIndex
{
public:
    struct Element
    {
        QByteArray name;    // qualified, as written
        qsizetype start = -1; // of its start tag
        qsizetype end = -1;   // after its end tag
        qsizetype contentStart = -1; // after its start tag
        qsizetype contentEnd = -1;   // before its end tag
        bool isValid() const { return start >= 0; }
    };

    explicit OdtPartIndex(const QByteArray &bytes);

    bool usable() const { return root_.isValid() && standard_; }
    const QByteArray &data() const { return bytes_; }
    const Element &root() const { return root_; }
    // The root's children, and theirs (the levels where styles stand).
    const QList<Element> &tops() const { return tops_; }
    const QList<Element> &children(qsizetype top) const { return children_[top]; }
    // An attribute of an element's start tag, its references resolved; null when it has none.
    QString attribute(const Element &e, QByteArrayView name) const;
    QByteArrayView whole(const Element &e) const { return QByteArrayView(bytes_).sliced(e.start, e.end - e.start); }
    QByteArrayView content(const Element &e) const
    {
        return QByteArrayView(bytes_).sliced(e.contentStart, qMax<qsizetype>(0, e.contentEnd - e.contentStart));
    }

private:
    // Reads every tag once, noting the elements of the first three levels.
    void scan();
    // Past the tag, comment or instruction at `at`; -1 when it does not end.
    qsizetype tagEnd(qsizetype at) const;
    bool declaresStandardPrefixes() const;

    QByteArray bytes_;
    Element root_;
    QList<Element> tops_;
    QList<QList<Element>> children_;
    bool standard_ = false;
};
