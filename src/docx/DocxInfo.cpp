#include "docx/DocxInfo.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxPackage.h"
#include "docx/DocxXml.h"

#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

struct CoreName
{
    Ns ns;
    const char16_t *name;
    const char *word;
    bool date;
};

constexpr CoreName kCore[] = {
    {DC, u"title", "title", false},          {DC, u"subject", "subject", false},
    {DC, u"creator", "author", false},       {CP, u"keywords", "keywords", false},
    {DC, u"description", "doccomm", false},  {CP, u"lastModifiedBy", "operator", false},
    {CP, u"category", "category", false},    {DCTerms, u"created", "creatim", true},
    {DCTerms, u"modified", "revtim", true},  {CP, u"lastPrinted", "printim", true},
};

constexpr struct
{
    const char16_t *name;
    const char *word;
} kApp[] = {{u"Company", "company"}, {u"Manager", "manager"}};

constexpr int kMaxText = 65536;

} // namespace

DocumentInfo DocxInfo::read(const DocxPackage &package)
{
    DocumentInfo info;
    const QString core = package.target(QString(), u"core-properties");
    if (!core.isEmpty()) {
        DocxXml xml(package.read(core), core);
        if (xml.start()) {
            const int depth = xml.depth();
            while (xml.nextChild(depth)) {
                for (const CoreName &c : kCore) {
                    if (xml.ns() != c.ns || xml.name() != QStringView(c.name))
                        continue;
                    const QString text = xml.text().trimmed().left(kMaxText);
                    if (text.isEmpty())
                        break;
                    if (c.date) {
                        const QDateTime t = QDateTime::fromString(text, Qt::ISODate);
                        if (t.isValid())
                            info.dates.insert(QLatin1String(c.word), t);
                    } else {
                        info.texts.insert(QLatin1String(c.word), text);
                    }
                    break;
                }
            }
        }
    }
    const QString app = package.target(QString(), u"extended-properties");
    if (!app.isEmpty()) {
        DocxXml xml(package.read(app), app);
        if (xml.start()) {
            const int depth = xml.depth();
            while (xml.nextChild(depth)) {
                for (const auto &a : kApp) {
                    if (xml.name() == QStringView(a.name)) {
                        const QString text = xml.text().trimmed().left(kMaxText);
                        if (!text.isEmpty())
                            info.texts.insert(QLatin1String(a.word), text);
                    }
                }
            }
        }
    }
    return info;
}

QByteArray DocxInfo::coreXml(const DocumentInfo &info)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeNamespace(uri(CP), QStringLiteral("cp"));
    w.writeNamespace(uri(DC), QStringLiteral("dc"));
    w.writeNamespace(uri(DCTerms), QStringLiteral("dcterms"));
    w.writeNamespace(uri(XSI), QStringLiteral("xsi"));
    w.writeStartElement(uri(CP), QStringLiteral("coreProperties"));
    for (const CoreName &c : kCore) {
        const QString word = QLatin1String(c.word);
        if (c.date) {
            const QDateTime t = info.dates.value(word);
            if (!t.isValid())
                continue;
            w.writeStartElement(uri(c.ns), QString::fromUtf16(c.name));
            w.writeAttribute(uri(XSI), QStringLiteral("type"), QStringLiteral("dcterms:W3CDTF"));
            w.writeCharacters(t.toUTC().toString(Qt::ISODate));
            w.writeEndElement();
        } else if (info.texts.contains(word)) {
            w.writeTextElement(uri(c.ns), QString::fromUtf16(c.name), info.texts.value(word));
        }
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray DocxInfo::appXml(const DocumentInfo &info)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeDefaultNamespace(uri(EP));
    w.writeStartElement(uri(EP), QStringLiteral("Properties"));
    w.writeTextElement(uri(EP), QStringLiteral("Application"), QStringLiteral("Scrivlo"));
    for (const auto &a : kApp)
        if (info.texts.contains(QLatin1String(a.word)))
            w.writeTextElement(uri(EP), QString::fromUtf16(a.name), info.texts.value(QLatin1String(a.word)));
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}
