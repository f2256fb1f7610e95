#include "docx/DocxRunProperties.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxTheme.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/TextFormats.h"

#include <QTextCharFormat>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

template<typename T>
size_t hashOf(const std::optional<T> &value)
{
    return value ? qHash(*value) + 1 : 0;
}

size_t hashOf(const std::optional<QColor> &value)
{
    return value ? qHash(value->rgba64().toArgb32()) ^ qHash(int(value->spec())) ^ 1 : 0;
}

} // namespace

size_t qHash(const DocxRunProperties &p, size_t seed)
{
    return qHashMulti(seed, hashOf(p.style), hashOf(p.font), hashOf(p.size), hashOf(p.bold), hashOf(p.italic),
                      hashOf(p.caps), hashOf(p.smallCaps), hashOf(p.strike), hashOf(p.hidden), hashOf(p.underline),
                      hashOf(p.underlineKind), hashOf(p.underlineColor), hashOf(p.color), hashOf(p.highlight),
                      hashOf(p.shading), hashOf(p.script), hashOf(p.position), p.kept, p.fonts);
}

int DocxRunProperties::underlineStyle(QStringView kind)
{
    if (kind == u"none")
        return QTextCharFormat::NoUnderline;
    if (kind.startsWith(u"dotted"))
        return QTextCharFormat::DotLine;
    if (kind.startsWith(u"dotDotDash") || kind.startsWith(u"dashDotDot"))
        return QTextCharFormat::DashDotDotLine;
    if (kind.startsWith(u"dotDash") || kind.startsWith(u"dashDot"))
        return QTextCharFormat::DashDotLine;
    if (kind.startsWith(u"dash"))
        return QTextCharFormat::DashUnderline;
    if (kind.startsWith(u"wav"))
        return QTextCharFormat::WaveUnderline;
    return QTextCharFormat::SingleUnderline;
}

QString DocxRunProperties::kindOfUnderline(int style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline: return QStringLiteral("none");
    case QTextCharFormat::DotLine: return QStringLiteral("dotted");
    case QTextCharFormat::DashDotDotLine: return QStringLiteral("dotDotDash");
    case QTextCharFormat::DashDotLine: return QStringLiteral("dotDash");
    case QTextCharFormat::DashUnderline: return QStringLiteral("dash");
    case QTextCharFormat::WaveUnderline: return QStringLiteral("wave");
    default: return QStringLiteral("single");
    }
}

namespace {

QString fontOf(const DocxXml &xml, const DocxTheme &theme)
{
    for (const char16_t *name : {u"ascii", u"hAnsi"}) {
        const QStringView family = xml.attribute(QStringView(name));
        if (!family.isEmpty())
            return family.toString();
    }
    for (const char16_t *name : {u"asciiTheme", u"hAnsiTheme"}) {
        const QStringView ref = xml.attribute(QStringView(name));
        if (!ref.isEmpty()) {
            const QString family = theme.font(ref);
            if (!family.isEmpty())
                return family;
        }
    }
    return QString();
}

} // namespace

void DocxRunProperties::read(DocxXml &xml, const DocxTheme &theme, bool keep)
{
    const int depth = xml.depth();
    QString keptElements;
    auto keepIt = [&] {
        if (!keep) {
            xml.skip();
            return;
        }
        keptElements += DocxKeptXml::captureElement(xml);
    };
    while (xml.nextChild(depth)) {
        if (xml.ns() != W) {
            keepIt();
            continue;
        }
        const QStringView n = xml.name();
        const QStringView v = xml.val();
        if (n == u"rStyle") {
            style = v.toString();
        } else if (n == u"rFonts") {
            const QString family = fontOf(xml, theme);
            if (!family.isEmpty())
                font = family;
            bool more = false;
            for (const QXmlStreamAttribute &a : xml.attributes())
                if (a.name() != u"ascii" && a.name() != u"hAnsi")
                    more = true;
            if (keep && more)
                fonts = DocxKeptXml::captureElement(xml);
        } else if (n == u"b") {
            bold = DocxUnits::onOff(v);
        } else if (n == u"i") {
            italic = DocxUnits::onOff(v);
        } else if (n == u"caps") {
            caps = DocxUnits::onOff(v);
        } else if (n == u"smallCaps") {
            smallCaps = DocxUnits::onOff(v);
        } else if (n == u"strike" || n == u"dstrike") {
            const bool on = DocxUnits::onOff(v);
            if (on || n == u"strike" || !strike)
                strike = on;
        } else if (n == u"vanish") {
            hidden = DocxUnits::onOff(v);
        } else if (n == u"sz") {
            if (const auto hp = DocxUnits::halfPoints(v); hp && *hp > 0)
                size = qBound(1.0, *hp / 2.0, 1638.0);
        } else if (n == u"u") {
            const QString kind = v.isNull() ? QStringLiteral("single") : v.toString();
            underline = underlineStyle(kind);
            underlineKind = kind;
            const QColor c = DocxUnits::color(xml.attribute(u"color"));
            underlineColor = c;
        } else if (n == u"color") {
            color = DocxUnits::color(v);
        } else if (n == u"highlight") {
            highlight = DocxUnits::highlightColor(v);
        } else if (n == u"shd") {
            shading = DocxUnits::color(xml.attribute(u"fill"));
        } else if (n == u"vertAlign") {
            script = v == u"superscript" ? Superscript : v == u"subscript" ? Subscript : Baseline;
        } else if (n == u"position") {
            if (const auto hp = DocxUnits::halfPoints(v))
                position = qBound(-3200.0, *hp, 3200.0);
        } else {
            keepIt();
        }
    }
    if (!keptElements.isEmpty())
        kept = keptElements;
}

void DocxRunProperties::merge(const DocxRunProperties &o)
{
    auto take = [](auto &mine, const auto &theirs) {
        if (theirs)
            mine = theirs;
    };
    take(style, o.style);
    take(font, o.font);
    take(size, o.size);
    take(bold, o.bold);
    take(italic, o.italic);
    take(caps, o.caps);
    take(smallCaps, o.smallCaps);
    take(strike, o.strike);
    take(hidden, o.hidden);
    take(underline, o.underline);
    take(underlineKind, o.underlineKind);
    take(underlineColor, o.underlineColor);
    take(color, o.color);
    take(highlight, o.highlight);
    take(shading, o.shading);
    take(script, o.script);
    take(position, o.position);
    if (!o.kept.isEmpty())
        kept = o.kept;
    if (!o.fonts.isEmpty())
        fonts = o.fonts;
}

void DocxRunProperties::apply(QTextCharFormat &f, const QFont &documentFont) const
{
    // Onto a format of its own: what is off is left unset, so that runs that look alike have
    // one format.
    if (font && !font->isEmpty())
        TextFormats::setFamily(f, *font);
    if (size)
        f.setFontPointSize(*size);
    if (bold.value_or(false))
        f.setFontWeight(QFont::Bold);
    if (italic.value_or(false))
        f.setFontItalic(true);
    if (underline && *underline != QTextCharFormat::NoUnderline) {
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(*underline));
        if (underlineKind && *underlineKind != kindOfUnderline(*underline))
            f.setProperty(DocxFormats::kUnderlineProperty, *underlineKind);
        if (underlineColor && underlineColor->isValid())
            f.setUnderlineColor(*underlineColor);
    }
    if (strike.value_or(false))
        f.setFontStrikeOut(true);
    if (caps.value_or(false))
        f.setFontCapitalization(QFont::AllUppercase);
    else if (smallCaps.value_or(false))
        f.setFontCapitalization(QFont::SmallCaps);
    if (color && color->isValid())
        f.setForeground(*color);
    const std::optional<QColor> background = highlight && highlight->isValid() ? highlight : shading;
    if (background && background->isValid())
        f.setBackground(*background);
    if (script && *script != Baseline)
        f.setVerticalAlignment(*script == Superscript ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (position && *position != 0) {
        // Raised text keeps its offset in points, whatever its size.
        TextFormats::setCharOffsetTwips(f, *position * 10.0, documentFont);
    }
    if (!kept.isEmpty())
        f.setProperty(DocxFormats::kRunPropertiesProperty, kept);
    if (!fonts.isEmpty()) {
        f.setProperty(DocxFormats::kFontsProperty, fonts);
        f.setProperty(DocxFormats::kFontFamilyProperty, font.value_or(QString()));
    }
}
