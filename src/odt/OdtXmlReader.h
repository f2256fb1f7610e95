#pragma once
#include "odt/OdtNamespaces.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>
#include <memory>

// One part of a package (content.xml, styles.xml ...) read as a stream of XML tokens, with what a
// reader of untrusted files needs: malformed XML, entity declarations (never expanded) and nesting
// past a limit are refused with PackageError naming the part. Names are matched by namespace, so
// a file may use any prefixes; a part whose root declares the prefixes of OdtNamespaces (as every
// known writer does) is read by its prefixes, which is faster.
class OdtXmlReader
{
public:
    static constexpr int kMaxDepth = 256;

    // `byPrefixes`: the bytes are known to use the prefixes of OdtNamespaces (declared or not).
    OdtXmlReader(const QByteArray &bytes, const QString &part, bool byPrefixes = false);
    // A part read from a device as it unpacks (ZipReader::device); what goes wrong there is
    // refused with the device's reason.
    OdtXmlReader(QIODevice *device, const QString &part);
    // A fragment kept by copyElement(), with the namespaces of OdtNamespaces declared around it.
    static OdtXmlReader fragment(const QString &xml, const QString &part);
    // Bytes of a part whose prefixes are those of OdtNamespaces (OdtPartIndex), read the same way.
    static OdtXmlReader slice(QByteArrayView bytes, const QString &part);

    // The next start element, end element or text; false at the end of the part.
    bool next();
    bool isStart() const { return type_ == QXmlStreamReader::StartElement; }
    bool isEnd() const { return type_ == QXmlStreamReader::EndElement; }
    bool isText() const { return type_ == QXmlStreamReader::Characters; }
    int depth() const { return depth_; }

    // The current element is this one.
    bool is(OdtNamespaces::Ns ns, QLatin1StringView name) const
    {
        return ns_ == ns && xml_->name() == name;
    }
    OdtNamespaces::Ns ns() const { return ns_; }
    QStringView name() const { return xml_->name(); }
    QStringView text() const { return xml_->text(); }
    QString attribute(OdtNamespaces::Ns ns, QLatin1StringView name) const;
    bool hasAttribute(OdtNamespaces::Ns ns, QLatin1StringView name) const;
    // Const, so that a loop over it reads the reader's list instead of copying it whole.
    const QXmlStreamAttributes attributes() const { return xml_->attributes(); }
    // An attribute's name as the writer spells it ("fo:font-size"); empty for unknown namespaces.
    QString qualified(const QXmlStreamAttribute &a) const;
    OdtNamespaces::Ns nsOf(const QXmlStreamAttribute &a) const;

    // Reads on past the end of the current element (the start of which was just read).
    void skipElement();
    // The text of the current element and its children, to its end.
    QString elementText();
    // The current element and everything in it as XML, its prefixes those of OdtNamespaces (and
    // namespaces of other names declared on it), read on to its end.
    QString copyElement();

    // Whether the root start tag at the head of these bytes declares the prefixes of OdtNamespaces
    // and no others for them.
    static bool declaresStandardPrefixes(QByteArrayView head);

private:
    OdtXmlReader(const QString &xml, const QString &part);
    void readByPrefixes();
    [[noreturn]] void refuse(const QString &reason) const;

    std::unique_ptr<QXmlStreamReader> xml_;
    QString part_;
    QIODevice *device_ = nullptr;
    QXmlStreamReader::TokenType type_ = QXmlStreamReader::NoToken;
    OdtNamespaces::Ns ns_ = OdtNamespaces::Other;
    int depth_ = 0;
    bool prefixed_ = false; // names matched by their prefixes, namespaces not processed
    QHash<QString, QString> rootDeclarations_; // prefix -> namespace, when read by prefixes
};
