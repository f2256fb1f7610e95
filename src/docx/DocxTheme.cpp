#include "docx/DocxTheme.h"
#include "docx/DocxXml.h"

#include <functional>

using namespace DocxNamespaces;

void DocxTheme::read(const QByteArray &bytes, const QString &part)
{
    DocxXml xml(bytes, part);
    if (!xml.start())
        return;
    // a:theme/a:themeElements/a:fontScheme/a:majorFont|a:minorFont/a:latin|a:ea|a:cs
    std::function<void(int, int)> walk = [&](int depth, int which) {
        while (xml.nextChild(depth)) {
            if (xml.ns() != A) {
                continue;
            }
            const QStringView n = xml.name();
            if (n == u"themeElements" || n == u"fontScheme") {
                walk(xml.depth(), 0);
            } else if (n == u"majorFont" || n == u"minorFont") {
                walk(xml.depth(), n == u"majorFont" ? 1 : 2);
            } else if (which && (n == u"latin" || n == u"ea" || n == u"cs")) {
                const QString face = xml.attribute(u"typeface").toString();
                QString &target = n == u"latin" ? (which == 1 ? majorLatin_ : minorLatin_)
                                : n == u"ea"    ? (which == 1 ? majorEastAsia_ : minorEastAsia_)
                                                : (which == 1 ? majorBidi_ : minorBidi_);
                target = face;
            }
        }
    };
    walk(xml.depth(), 0);
}

QString DocxTheme::font(QStringView reference) const
{
    const bool major = reference.startsWith(u"major");
    if (reference.endsWith(u"EastAsia"))
        return major ? majorEastAsia_ : minorEastAsia_;
    if (reference.endsWith(u"Bidi"))
        return major ? majorBidi_ : minorBidi_;
    return major ? majorLatin_ : minorLatin_;
}
