#include "docx/DocxStyleRtf.h"
#include "rtf/DocumentStyle.h"
#include "rtf/KeptRtf.h"
#include "rtf/TextFormats.h"

#include <QFont>
#include <QList>
#include <cmath>

namespace DocxStyleRtf {

namespace {

QString keep(const QByteArray &rtf, const QList<QString> &fonts, const QList<QColor> &colors, const QString &id)
{
    return KeptRtf::make(
        rtf,
        [&](int n) {
            KeptRtf::Font f;
            f.name = n >= 0 && n < fonts.size() ? fonts[n] : QFont().family();
            return f;
        },
        [&](int i) { return i > 0 && i <= colors.size() ? colors[i - 1] : QColor(); }, id, {});
}

int twips(double px) { return TextFormats::roundedTwips(px); }

QByteArray charWords(const QTextCharFormat &f, QList<QString> &fonts, QList<QColor> &colors)
{
    QByteArray w;
    auto color = [&](const QColor &c) {
        colors.append(c);
        return QByteArray::number(colors.size());
    };
    const QString family = TextFormats::family(f, QFont());
    fonts.append(family);
    w += "\\f" + QByteArray::number(fonts.size() - 1);
    if (f.hasProperty(QTextFormat::FontPointSize))
        w += "\\fs" + QByteArray::number(int(std::lround(f.fontPointSize() * 2)));
    if (TextFormats::isBold(f))
        w += "\\b";
    if (f.fontItalic())
        w += "\\i";
    if (TextFormats::isUnderlined(f)) {
        switch (f.underlineStyle()) {
        case QTextCharFormat::DotLine: w += "\\uld"; break;
        case QTextCharFormat::DashUnderline: w += "\\uldash"; break;
        case QTextCharFormat::DashDotLine: w += "\\uldashd"; break;
        case QTextCharFormat::DashDotDotLine: w += "\\uldashdd"; break;
        case QTextCharFormat::WaveUnderline: w += "\\ulwave"; break;
        default: w += "\\ul"; break;
        }
    }
    if (f.fontStrikeOut())
        w += "\\strike";
    if (f.fontCapitalization() == QFont::AllUppercase)
        w += "\\caps";
    else if (f.fontCapitalization() == QFont::SmallCaps)
        w += "\\scaps";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        w += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        w += "\\sub";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        w += "\\cf" + color(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        w += "\\highlight" + color(f.background().color());
    return w;
}

QByteArray paragraphWords(const QTextBlockFormat &f)
{
    QByteArray w;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        w += "\\qj";
    else if (a & Qt::AlignHCenter)
        w += "\\qc";
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        w += "\\qr";
    auto word = [&](const char *name, int value) {
        if (value != 0)
            w += QByteArray("\\") + name + QByteArray::number(value);
    };
    word("li", twips(f.leftMargin()));
    word("ri", twips(f.rightMargin()));
    word("fi", twips(f.textIndent()));
    word("sb", twips(f.topMargin()));
    w += "\\sa" + QByteArray::number(twips(f.bottomMargin()));
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (f.lineHeight() != 100)
            w += "\\sl" + QByteArray::number(int(std::lround(f.lineHeight() * 240 / 100))) + "\\slmult1";
        break;
    case QTextBlockFormat::FixedHeight: word("sl", -twips(f.lineHeight())); break;
    case QTextBlockFormat::MinimumHeight: word("sl", twips(f.lineHeight())); break;
    default: break;
    }
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        w += "\\pagebb";
    if (f.layoutDirection() == Qt::RightToLeft)
        w += "\\rtlpar";
    return w;
}

} // namespace

QString definition(const DocumentStyle &style)
{
    QByteArray rtf = "{";
    if (style.kind == DocumentStyle::Character)
        rtf += "\\*\\cs" + QByteArray::number(style.number) + "\\additive";
    else if (style.kind == DocumentStyle::Paragraph)
        rtf += "\\s" + QByteArray::number(style.number);
    else
        return QString();
    if (style.basedOn >= 0)
        rtf += "\\sbasedon" + QByteArray::number(style.basedOn);
    if (style.next >= 0)
        rtf += "\\snext" + QByteArray::number(style.next);
    QList<QString> fonts;
    QList<QColor> colors;
    if (style.kind == DocumentStyle::Paragraph)
        rtf += paragraphWords(style.blockFormat);
    rtf += charWords(style.charFormat, fonts, colors);
    rtf += ' ' + KeptRtf::text(style.name) + ";}";
    return keep(rtf, fonts, colors, QString());
}

QString field(const QString &instruction, const QString &id)
{
    return keep("{\\field{\\*\\fldinst{" + KeptRtf::text(instruction) + "}}}", {}, {}, id);
}

QString bookmark(const QString &name, bool start, const QString &id)
{
    return keep(QByteArray("{\\*\\") + (start ? "bkmkstart " : "bkmkend ") + KeptRtf::text(name) + '}', {}, {}, id);
}

QString annotation(const QString &author, const QString &initials, const QString &commentText, const QString &id)
{
    QByteArray rtf = "{\\*\\atnid " + KeptRtf::text(initials) + "}{\\*\\atnauthor " + KeptRtf::text(author) + "}\\chatn{\\*\\annotation\\pard\\plain";
    for (const QString &paragraph : commentText.split(u'\n'))
        rtf += ' ' + KeptRtf::text(paragraph) + "\\par";
    return keep(rtf + '}', {}, {}, id);
}

QString hidden(const QString &hiddenText, const QString &id)
{
    return keep("{\\v " + KeptRtf::text(hiddenText) + '}', {}, {}, id);
}

} // namespace DocxStyleRtf
