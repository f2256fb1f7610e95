#include "odt/OdtStyleRtf.h"
#include "rtf/DocumentExtras.h"
#include "rtf/DocumentStyle.h"
#include "rtf/KeptRtf.h"
#include "rtf/TextFormats.h"

#include <QCryptographicHash>

namespace OdtStyleRtf {

namespace {

QByteArray number(long long n)
{
    return QByteArray::number(n);
}

void appendText(QByteArray &out, const QString &text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}' || c == u';')
            out += "\\'" + QByteArray::number(int(c), 16);
        else if (c >= 0x20 && c < 0x80)
            out += char(c);
        else if (c >= 0x20)
            out += "\\u" + number(c > 32767 ? int(c) - 65536 : int(c)) + '?';
    }
}

QByteArray paragraphWords(const QTextBlockFormat &f)
{
    QByteArray out;
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify)
        out += "\\qj";
    else if (align & Qt::AlignHCenter)
        out += "\\qc";
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        out += "\\qr";
    if (f.layoutDirection() == Qt::RightToLeft)
        out += "\\rtlpar";
    auto length = [&](const char *word, double px) {
        if (px != 0)
            out += QByteArray("\\") + word + number(TextFormats::roundedTwips(px));
    };
    length("li", f.leftMargin());
    length("ri", f.rightMargin());
    length("fi", f.textIndent());
    length("sb", f.topMargin());
    length("sa", f.bottomMargin());
    if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() != 100)
        out += "\\sl" + number(qRound(f.lineHeight() * 240 / 100)) + "\\slmult1";
    else if (f.lineHeightType() == QTextBlockFormat::FixedHeight)
        out += "\\sl-" + number(TextFormats::roundedTwips(f.lineHeight())) + "\\slmult0";
    else if (f.lineHeightType() == QTextBlockFormat::MinimumHeight)
        out += "\\sl" + number(TextFormats::roundedTwips(f.lineHeight())) + "\\slmult0";
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out += "\\pagebb";
    if (f.headingLevel() > 0)
        out += "\\outlinelevel" + number(qBound(0, f.headingLevel() - 1, 8));
    return out;
}

QByteArray characterWords(const QTextCharFormat &f)
{
    QByteArray out = "\\f0";
    if (f.hasProperty(QTextFormat::FontPointSize))
        out += "\\fs" + number(qRound(f.fontPointSize() * 2));
    if (TextFormats::isBold(f))
        out += "\\b";
    if (f.fontItalic())
        out += "\\i";
    if (TextFormats::isUnderlined(f))
        out += "\\ul";
    if (f.fontStrikeOut())
        out += "\\strike";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out += "\\sub";
    if (f.fontCapitalization() == QFont::AllUppercase)
        out += "\\caps";
    else if (f.fontCapitalization() == QFont::SmallCaps)
        out += "\\scaps";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        out += "\\cf1";
    return out;
}

} // namespace

QString definition(const DocumentStyle &style)
{
    const bool character = style.kind == DocumentStyle::Character;
    QByteArray rtf = character ? "{\\*\\cs" + number(style.number) + "\\additive" : "{\\s" + number(style.number);
    if (style.basedOn >= 0)
        rtf += "\\sbasedon" + number(style.basedOn);
    if (style.next >= 0)
        rtf += "\\snext" + number(style.next);
    if (!character)
        rtf += paragraphWords(style.blockFormat);
    rtf += characterWords(style.charFormat);
    rtf += ' ';
    appendText(rtf, style.name);
    rtf += ";}";
    const QString family = TextFormats::family(style.charFormat, QFont(QStringLiteral("Liberation Serif")));
    const QColor color = style.charFormat.foreground().color();
    return KeptRtf::make(
        rtf, [&](int) { return KeptRtf::Font{family, 0, 0}; },
        [&](int index) { return index == 1 ? color : QColor(); }, QString(), RtfGroupCopier());
}

QString pagesFingerprint(const DocumentExtras &extras)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (const auto &page = extras.pageSetup()) {
        for (const int v : {page->paperWidth, page->paperHeight, page->marginLeft, page->marginRight, page->marginTop,
                            page->marginBottom, page->headerDistance, page->footerDistance, int(page->landscape)})
            hash.addData(QByteArray::number(v) + ',');
    }
    hash.addData(QByteArray::number(int(extras.titlePage())) + QByteArray::number(int(extras.facingPages())));
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        hash.addData(extras.headerFooter(HeaderFooter::Kind(kind)));
        hash.addData("|");
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace OdtStyleRtf
