#pragma once
#include <QHash>
#include <QSet>
#include <QString>

// The automatic styles the writer makes for one part: each distinct look once, named by its family's
// prefix and a number, none named as a style the part keeps.
class OdtAutomaticStyles
{
public:
    // `taken`: names the part's kept styles use.
    explicit OdtAutomaticStyles(const QSet<QString> &taken = {}) : taken_(taken) {}

    // The name of the style of this family with this content (the XML inside style:style) and
    // these attributes on style:style itself (parent, list style ...); made on first use.
    QString name(const QString &family, const QString &attributes, const QString &content);
    // Any other automatic element (a list style, a page layout) by its prefix: the name it gets,
    // and `xml` made with that name (kName stands for it).
    static constexpr QLatin1StringView kName{"\x01NAME\x01"};
    QString add(const QString &prefix, const QString &xmlWithName, const QString &key);
    // A name of this prefix no style has yet.
    QString freshName(const QString &prefix);
    // Adds made XML.
    void append(const QString &xml) { xml_ += xml; }
    // All styles made, as XML.
    const QString &xml() const { return xml_; }

private:

    QSet<QString> taken_;
    QHash<QString, QString> byKey_;
    QHash<QString, int> counters_;
    QString xml_;
};
