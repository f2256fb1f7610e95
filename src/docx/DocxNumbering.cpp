#include "docx/DocxNumbering.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxStyles.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/RtfListTable.h"
#include "rtf/RtfSymbolFonts.h"
#include "rtf/TextFormats.h"

#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

// The bullet a private-use character of a symbol font draws.
QString bulletText(const QString &text, const QString &font)
{
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xF000 && u <= 0xF0FF) {
            RtfSymbolFonts::Font f = RtfSymbolFonts::fontNamed(font);
            if (f == RtfSymbolFonts::None)
                f = RtfSymbolFonts::Symbol;
            const char16_t mapped = RtfSymbolFonts::toUnicode(f, uchar(u & 0xFF));
            out += mapped ? QChar(mapped) : QChar(0x2022);
        } else {
            out += c;
        }
    }
    return out;
}

int integer(QStringView v, int low, int high, int fallback)
{
    const auto n = DocxUnits::integer(v);
    return n ? int(qBound(qint64(low), qint64(*n), qint64(high))) : fallback;
}

} // namespace

// Where the reader is in the part's UTF-8 bytes: it tells where it is in characters, and the
// levels are asked for in order, so the bytes are counted once.
class DocxNumbering::Offsets
{
public:
    explicit Offsets(const QByteArray &bytes) : bytes_(bytes) {}

    qsizetype byteAt(qint64 characters)
    {
        while (characters_ < characters && byte_ < bytes_.size()) {
            const uchar b = uchar(bytes_[byte_]);
            const int length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            byte_ += length;
            characters_ += length == 4 ? 2 : 1;
        }
        return qMin(byte_, bytes_.size());
    }
    // Where the tag that ends just before a byte starts.
    qsizetype tagStart(qsizetype before) const { return bytes_.lastIndexOf('<', before - 1); }

private:
    const QByteArray &bytes_;
    qsizetype byte_ = 0;
    qint64 characters_ = 0;
};

void DocxNumbering::parseLevel(DocxXml &xml, Level &level, const DocxTheme &theme)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (xml.ns() != W)
            continue;
        const QStringView n = xml.name();
        if (n == u"start")
            level.start = integer(xml.val(), 0, 32767, 1);
        else if (n == u"numFmt")
            level.format = xml.val().toString();
        else if (n == u"lvlText")
            level.text = xml.val().toString();
        else if (n == u"pPr")
            level.paragraph.read(xml, theme, false);
        else if (n == u"rPr")
            level.run.read(xml, theme, false);
    }
}

// `offsets`: where the reader is in the part's bytes, when its prefixes are those of kept XML:
// the level is kept as a slice of them, and read when it is first asked for. Else it is read now,
// and kept as read.
DocxNumbering::Slot DocxNumbering::readLevel(DocxXml &xml, const DocxTheme &theme, Offsets *offsets)
{
    Slot slot;
    if (const qsizetype from = offsets ? offsets->tagStart(offsets->byteAt(xml.offset())) : -1; from >= 0) {
        xml.skip();
        slot.from = from;
        slot.to = offsets->byteAt(xml.offset());
        return slot;
    }
    slot.level = std::make_shared<Level>();
    xml.startCapture();
    parseLevel(xml, *slot.level, theme);
    slot.level->xml = xml.takeCapture();
    return slot;
}

const DocxNumbering::Level *DocxNumbering::parsed(const Slot &slot) const
{
    if (!slot.level && slot.from >= 0) {
        Slot &s = const_cast<Slot &>(slot); // the cache behind the const interface
        s.level = std::make_shared<Level>();
        s.level->xml = QString::fromUtf8(QByteArrayView(bytes_).sliced(s.from, qMax(qsizetype(0), qMin(s.to, bytes_.size()) - s.from)));
        try {
            DocxXml xml(DocxKeptXml::document(s.level->xml), part_);
            if (xml.start() && xml.nextChild(1))
                parseLevel(xml, *s.level, theme_);
        } catch (...) {
        }
    }
    return slot.level.get();
}

void DocxNumbering::read(const QByteArray &bytes, const QString &part, const DocxTheme &theme, const DocxStyles &styles)
{
    theme_ = theme;
    part_ = part;
    bytes_ = bytes;
    DocxXml xml(bytes_, part);
    if (!xml.start())
        return;
    // Levels are kept as slices of the part where it is plain UTF-8 with the kept XML's prefixes.
    Offsets offsets(bytes_);
    Offsets *slices = xml.usesKeptPrefixes() && !bytes_.startsWith("\xEF\xBB\xBF") ? &offsets : nullptr;
    const int depth = xml.depth();
    int count = 0;
    while (xml.nextChild(depth)) {
        if (++count > kMaxDefinitions)
            break;
        if (xml.isW(u"abstractNum")) {
            const int id = integer(xml.attribute(u"abstractNumId"), -1, 1 << 30, -1);
            Abstract a;
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                if (xml.isW(u"lvl")) {
                    const int ilvl = integer(xml.attribute(u"ilvl"), 0, kLevels - 1, 0);
                    a.levels[std::size_t(ilvl)] = readLevel(xml, theme, slices);
                } else if (xml.isW(u"numStyleLink")) {
                    a.styleLink = xml.val().toString();
                }
            }
            if (id >= 0 && !abstracts_.contains(id))
                abstracts_.insert(id, a);
        } else if (xml.isW(u"num")) {
            const int id = integer(xml.attribute(u"numId"), -1, 1 << 30, -1);
            Instance n;
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                if (xml.isW(u"abstractNumId")) {
                    n.abstractId = integer(xml.val(), -1, 1 << 30, -1);
                } else if (xml.isW(u"lvlOverride")) {
                    const int ilvl = integer(xml.attribute(u"ilvl"), 0, kLevels - 1, 0);
                    const int dd = xml.depth();
                    while (xml.nextChild(dd)) {
                        if (xml.isW(u"startOverride"))
                            n.starts[std::size_t(ilvl)] = integer(xml.val(), 0, 32767, 1);
                        else if (xml.isW(u"lvl"))
                            n.levels[std::size_t(ilvl)] = readLevel(xml, theme, slices);
                    }
                }
            }
            if (id > 0 && !instances_.contains(id))
                instances_.insert(id, n);
        }
    }
    // Numbering styles name the list their levels come from.
    for (const DocxStyles::Style &s : styles.styles())
        if (s.kind == DocumentStyle::Section && s.paragraph.numId)
            styleNumIds_.insert(s.id, *s.paragraph.numId);
}

const DocxNumbering::Abstract *DocxNumbering::abstractFor(int numId, int hops) const
{
    const auto n = instances_.constFind(numId);
    if (n == instances_.cend())
        return nullptr;
    const auto a = abstracts_.constFind(n->abstractId);
    if (a == abstracts_.cend())
        return nullptr;
    if (!a->styleLink.isEmpty() && hops < 4) {
        const int linked = styleNumIds_.value(a->styleLink, -1);
        if (linked > 0 && linked != numId)
            if (const Abstract *target = abstractFor(linked, hops + 1))
                return target;
    }
    return &*a;
}

const DocxNumbering::Level *DocxNumbering::level(int numId, int ilvl) const
{
    ilvl = qBound(0, ilvl, kLevels - 1);
    const auto n = instances_.constFind(numId);
    if (n == instances_.cend())
        return nullptr;
    if (n->levels[std::size_t(ilvl)].isDefined())
        return parsed(n->levels[std::size_t(ilvl)]);
    const Abstract *a = abstractFor(numId);
    return a ? parsed(a->levels[std::size_t(ilvl)]) : nullptr;
}

int DocxNumbering::abstractOf(int numId) const
{
    const auto n = instances_.constFind(numId);
    return n == instances_.cend() ? -1 : n->abstractId;
}

std::optional<int> DocxNumbering::startOverride(int numId, int ilvl) const
{
    const auto n = instances_.constFind(numId);
    if (n == instances_.cend())
        return std::nullopt;
    const std::size_t i = std::size_t(qBound(0, ilvl, kLevels - 1));
    if (n->starts[i])
        return n->starts[i];
    if (n->levels[i].isDefined())
        return parsed(n->levels[i])->start;
    return std::nullopt;
}

QString DocxNumbering::markerTemplate(const QTextListFormat &f, int ilvl)
{
    if (f.hasProperty(TextFormats::kListNumberTemplateProperty))
        return f.stringProperty(TextFormats::kListNumberTemplateProperty);
    switch (f.style()) {
    case QTextListFormat::ListDisc: return QStringLiteral("\u2022");
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    case QTextListFormat::ListStyleUndefined: return QString();
    default: break;
    }
    const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
    return f.numberPrefix() + u'%' + QString::number(ilvl + 1) + suffix;
}

QString DocxNumbering::signature(const QTextListFormat &f, int ilvl)
{
    return QString::number(int(f.style())) + u'|' + markerTemplate(f, ilvl);
}

QTextListFormat DocxNumbering::format(const Level &level, int ilvl)
{
    QTextListFormat f = plainFormat(level, ilvl);
    if (!level.xml.isEmpty()) {
        f.setProperty(DocxFormats::kLevelProperty, level.xml);
        f.setProperty(DocxFormats::kLevelShownProperty, signature(f, ilvl));
    }
    return f;
}

QTextListFormat DocxNumbering::plainFormat(const Level &level, int ilvl)
{
    QTextListFormat f;
    f.setIndent(ilvl + 1);
    const QString &fmt = level.format;
    QString text = level.text;
    if (fmt == u"none") {
        f.setStyle(QTextListFormat::ListStyleUndefined);
        f.setProperty(TextFormats::kListNumberTemplateProperty, text.contains(u'%') ? QString() : text);
        return f;
    }
    if (fmt == u"bullet") {
        const QString bullet = bulletText(text, level.run.font.value_or(QString()));
        f.setStyle(RtfListTable::bulletStyle(bullet));
        f.setProperty(TextFormats::kListNumberTemplateProperty, bullet);
        return f;
    }
    if (fmt == u"lowerLetter")
        f.setStyle(QTextListFormat::ListLowerAlpha);
    else if (fmt == u"upperLetter")
        f.setStyle(QTextListFormat::ListUpperAlpha);
    else if (fmt == u"lowerRoman")
        f.setStyle(QTextListFormat::ListLowerRoman);
    else if (fmt == u"upperRoman")
        f.setStyle(QTextListFormat::ListUpperRoman);
    else
        f.setStyle(QTextListFormat::ListDecimal);
    if (level.start != 1)
        TextFormats::setListStart(f, level.start);
    f.setProperty(TextFormats::kListNumberTemplateProperty, text);
    // Qt draws one number with what stands around it: the level's own number.
    const QString own = QStringLiteral("%") + QString::number(ilvl + 1);
    const qsizetype at = text.indexOf(own);
    if (at >= 0) {
        const QString before = text.left(at);
        const QString after = text.mid(at + own.size());
        if (!before.contains(u'%'))
            f.setNumberPrefix(before);
        f.setNumberSuffix(after.contains(u'%') ? QString() : after);
    } else {
        f.setNumberSuffix(QString());
    }
    return f;
}
