#pragma once
#include "docx/DocxNamespaces.h"

#include <QString>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QXmlStreamWriter;

// A streaming reader of one XML part of a Word package, with the checks an untrusted part needs:
// malformed XML, a document type (whose entities are never expanded) and nesting past kMaxDepth
// are refused with a PackageError. Elements are walked child by child:
//
//   const int depth = xml.depth();
//   while (xml.nextChild(depth)) { if (xml.is(W, u"p")) ...; }  // children not read are skipped
class DocxXml
{
public:
    static constexpr int kMaxDepth = 256;
    using Ns = DocxNamespaces::Ns;

    DocxXml(const QByteArray &bytes, const QString &part);
    DocxXml(const QString &text, const QString &part);
    DocxXml(QIODevice *device, const QString &part);

    // Moves to the document element; false when there is none.
    bool start();
    // Moves to the next child element of the element open at `parentDepth`; false when that
    // element ends (or the part does). What is left unread of the previous child is passed over.
    bool nextChild(int parentDepth);
    int depth() const { return depth_; } // of the current element, 1 for the document element
    Ns ns() const { return ns_; }
    QStringView name() const { return reader_.name(); }
    bool is(Ns ns, QStringView name) const { return ns_ == ns && reader_.name() == name; }
    bool isW(QStringView name) const { return ns_ == DocxNamespaces::W && reader_.name() == name; }

    // An attribute of the current element by its local name (in the element's own namespace or
    // none), or in a namespace; null when absent. Valid until the reader moves on.
    QStringView attribute(QStringView name) const;
    QStringView attribute(Ns ns, QStringView name) const;
    bool hasAttribute(QStringView name) const { return !attribute(name).isNull(); }
    // w:val, the value most elements carry.
    QStringView val() const { return attribute(u"val"); }
    const QXmlStreamAttributes &attributes() const { return attributes_; }
    QXmlStreamNamespaceDeclarations namespaceDeclarations() const { return reader_.namespaceDeclarations(); }

    // The text of the current element, to its end (elements inside are passed over).
    QString text();
    void appendText(QString &out);
    // Passes over the current element and all it holds.
    void skip();
    // The current element and all it holds as kept XML (DocxKeptXml), its names in the
    // transitional namespaces; the reader ends on its end.
    QString capture();
    // Keeps a copy of the current element while it is read as usual; takeCapture() gives it once
    // the element has ended. A capture may start inside another.
    void startCapture();
    QString takeCapture();

    const QString &part() const { return part_; }
    // Where the reader is in text it was given as a QString: just after the last token read.
    qsizetype offset() const { return qsizetype(reader_.characterOffset()); }
    // Whether the document element declares every prefix it uses as the kept XML does (w: for
    // the transitional main namespace ...), so that slices of the text are kept XML as they are.
    bool usesKeptPrefixes() const;
    [[noreturn]] void fail(const QString &why) const;

private:
    QXmlStreamReader::TokenType advance();
    void enter();
    void writeStart(QXmlStreamWriter &out) const;
    void forEachCopy(const std::function<void(QXmlStreamWriter &)> &write);

    QXmlStreamReader reader_;
    QString part_;
    QXmlStreamAttributes attributes_;
    int depth_ = 0;
    Ns ns_ = DocxNamespaces::Other;
    bool pending_ = false; // the current element's start was read and its content not yet
    // Copies being made (one inside another, at times): where tokens go, from the copied
    // element's depth; and for captures, where in the kept text each started.
    struct Copy
    {
        QXmlStreamWriter *out;
        int depth;
        qsizetype from;
        std::shared_ptr<QString> text;            // of a capture inside another, with
        std::shared_ptr<QXmlStreamWriter> own;    // a writer of its own
    };
    std::vector<Copy> copies_;
    std::unique_ptr<QString> keptText_; // what capture() writes into, after the kept namespaces
    std::unique_ptr<QXmlStreamWriter> kept_;
};
