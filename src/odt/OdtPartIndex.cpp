#include "odt/OdtPartIndex.h"
#include "odt/OdtNamespaces.h"

#include <cstring>

namespace {

constexpr int kMaxDepth = 256;

bool isNameEnd(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '/' || c == '>';
}

// The text of an attribute value with its character and entity references resolved.
QString unescaped(QByteArrayView raw)
{
    QString s = QString::fromUtf8(raw);
    if (!s.contains(u'&'))
        return s;
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'&') {
            out += s[i];
            continue;
        }
        const qsizetype semicolon = s.indexOf(u';', i);
        if (semicolon < 0) {
            out += s.mid(i);
            break;
        }
        const QStringView ref = QStringView(s).mid(i + 1, semicolon - i - 1);
        if (ref == u"amp")
            out += u'&';
        else if (ref == u"lt")
            out += u'<';
        else if (ref == u"gt")
            out += u'>';
        else if (ref == u"quot")
            out += u'"';
        else if (ref == u"apos")
            out += u'\'';
        else if (ref.startsWith(u"#x"))
            out += QChar::fromUcs4(ref.mid(2).toUInt(nullptr, 16));
        else if (ref.startsWith(u'#'))
            out += QChar::fromUcs4(ref.mid(1).toUInt());
        i = semicolon;
    }
    return out;
}

} // namespace

OdtPartIndex::OdtPartIndex(const QByteArray &bytes) : bytes_(bytes)
{
    scan();
    standard_ = root_.isValid() && declaresStandardPrefixes();
}

void OdtPartIndex::scan()
{
    const QByteArray &b = bytes_; // read only: no copy of the part is made
    std::vector<Element> open; // the elements the scan is inside, at most three levels deep
    int depth = 0;
    for (qsizetype at = b.indexOf('<'); at >= 0; at = b.indexOf('<', at)) {
        const qsizetype end = tagEnd(at);
        if (end < 0 || at + 1 >= b.size())
            break;
        const char next = b[at + 1];
        if (next == '?' || next == '!') {
            at = end;
            continue;
        }
        if (next == '/') { // an end tag
            --depth;
            if (depth < 0)
                break;
            if (depth < 3 && !open.empty()) {
                Element e = open.back();
                open.pop_back();
                e.contentEnd = at;
                e.end = end;
                if (depth == 0) {
                    root_ = e;
                    return;
                }
                if (depth == 1) {
                    tops_.append(e);
                } else {
                    children_.back().append(e);
                }
            }
            at = end;
            continue;
        }
        const bool empty = b[end - 2] == '/';
        if (depth < 3) {
            qsizetype nameEnd = at + 1;
            while (nameEnd < end && !isNameEnd(b[nameEnd]))
                ++nameEnd;
            Element e;
            e.name = b.mid(at + 1, nameEnd - at - 1);
            e.start = at;
            e.contentStart = end;
            if (depth == 1)
                children_.append(QList<Element>());
            if (empty) {
                e.contentEnd = e.end = end;
                if (depth == 0) {
                    root_ = e;
                    return;
                }
                if (depth == 1)
                    tops_.append(e);
                else
                    children_.back().append(e);
            } else {
                open.push_back(e);
            }
        }
        if (!empty && ++depth > kMaxDepth)
            break;
        at = end;
    }
    // The root did not end: the part is not indexed.
    tops_.clear();
    children_.clear();
}

qsizetype OdtPartIndex::tagEnd(qsizetype at) const
{
    const QByteArrayView b(bytes_);
    if (b.sliced(at).startsWith("<!--")) {
        const qsizetype end = bytes_.indexOf("-->", at + 4);
        return end < 0 ? -1 : end + 3;
    }
    if (b.sliced(at).startsWith("<![CDATA[")) {
        const qsizetype end = bytes_.indexOf("]]>", at + 9);
        return end < 0 ? -1 : end + 3;
    }
    if (b.sliced(at).startsWith("<?")) {
        const qsizetype end = bytes_.indexOf("?>", at + 2);
        return end < 0 ? -1 : end + 2;
    }
    // A tag: its end is the first '>' outside quotes.
    char quote = 0;
    for (qsizetype i = at + 1; i < bytes_.size(); ++i) {
        const char c = bytes_[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return -1;
}

QString OdtPartIndex::attribute(const Element &e, QByteArrayView name) const
{
    const QByteArrayView tag = QByteArrayView(bytes_).sliced(e.start, e.contentStart - e.start);
    for (qsizetype at = tag.indexOf(name); at >= 0; at = tag.indexOf(name, at + 1)) {
        const qsizetype after = at + name.size();
        const char before = at > 0 ? tag[at - 1] : '<';
        if ((before != ' ' && before != '\t' && before != '\n' && before != '\r') || after + 1 >= tag.size()
            || tag[after] != '=')
            continue;
        const char quote = tag[after + 1];
        if (quote != '"' && quote != '\'')
            continue;
        const qsizetype close = tag.indexOf(quote, after + 2);
        if (close < 0)
            return QString();
        return unescaped(tag.sliced(after + 2, close - after - 2));
    }
    return QString();
}

// Every namespace the root declares is one of OdtNamespaces under its own prefix, or a prefix of
// no namespace of theirs; and there is no default namespace.
bool OdtPartIndex::declaresStandardPrefixes() const
{
    const QByteArrayView tag = QByteArrayView(bytes_).sliced(root_.start, root_.contentStart - root_.start);
    if (tag.indexOf(" xmlns=") >= 0 || tag.indexOf("\nxmlns=") >= 0)
        return false;
    for (qsizetype at = tag.indexOf("xmlns:"); at >= 0; at = tag.indexOf("xmlns:", at + 1)) {
        const char before = at > 0 ? tag[at - 1] : 0;
        if (before != ' ' && before != '\t' && before != '\n' && before != '\r')
            continue; // inside a value ("urn:...:xmlns:office:1.0")
        const qsizetype equals = tag.indexOf('=', at);
        if (equals < 0 || equals + 1 >= tag.size())
            return false;
        const QString prefix = QString::fromUtf8(tag.sliced(at + 6, equals - at - 6));
        const char quote = tag[equals + 1];
        const qsizetype close = tag.indexOf(quote, equals + 2);
        if (close < 0)
            return false;
        const QString uri = unescaped(tag.sliced(equals + 2, close - equals - 2));
        const OdtNamespaces::Ns ns = OdtNamespaces::of(uri);
        if (ns != OdtNamespaces::Other && OdtNamespaces::prefix(ns) != prefix)
            return false;
        for (int i = 0; i < OdtNamespaces::kCount; ++i)
            if (OdtNamespaces::prefix(OdtNamespaces::Ns(i)) == prefix && ns != OdtNamespaces::Ns(i))
                return false;
    }
    return true;
}
