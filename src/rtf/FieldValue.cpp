#include "rtf/FieldValue.h"
#include "rtf/RtfSymbolFonts.h"

#include <QUrl>
#include <QLocale>
#include <QStringDecoder>

namespace {

// The value after a switch (\f "Symbol"), or nothing.
QString switchValue(const QStringList &args, QStringView name)
{
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i].startsWith(u'\\') && args[i].mid(1).compare(name, Qt::CaseInsensitive) == 0)
            return args[i + 1];
    return QString();
}

bool hasSwitch(const QStringList &args, QStringView name)
{
    for (qsizetype i = 1; i < args.size(); ++i)
        if (args[i].startsWith(u'\\') && args[i].mid(1).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<FieldValue> symbol(const QStringList &args)
{
    if (args.size() < 2)
        return std::nullopt;
    bool ok = false;
    const QString number = args[1];
    const uint code = number.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? number.mid(2).toUInt(&ok, 16)
                                                                                : number.toUInt(&ok);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    FieldValue value;
    value.family = switchValue(args, u"f");
    value.pointSize = qBound(0.0, switchValue(args, u"s").toDouble(), 1638.0);
    const RtfSymbolFonts::Font font = RtfSymbolFonts::fontNamed(value.family);
    if (hasSwitch(args, u"u") || code > 0xFF) {
        const char32_t c = code;
        value.text = QString::fromUcs4(&c, 1);
    } else if (font != RtfSymbolFonts::None && RtfSymbolFonts::toUnicode(font, uchar(code))) {
        value.text = QChar(RtfSymbolFonts::toUnicode(font, uchar(code)));
    } else {
        const char byte = char(code);
        QStringDecoder cp1252("windows-1252");
        value.text = cp1252.isValid() ? cp1252.decode(QByteArrayView(&byte, 1)) : QString(QChar(char16_t(code)));
    }
    if (value.text.isEmpty() || value.text.front().unicode() < 0x20)
        return std::nullopt;
    return value;
}

QString padded(int n, int width) { return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')); }

FieldValue textValue(const QString &text)
{
    FieldValue value;
    value.text = text;
    return value;
}

} // namespace

std::optional<FieldValue> FieldValue::of(const QString &instruction, const QDateTime &now)
{
    const QStringList args = arguments(instruction);
    if (args.isEmpty())
        return std::nullopt;
    const QString name = args.first().toUpper();
    if (name == u"SYMBOL")
        return symbol(args);
    const QLocale locale;
    const QString picture = switchValue(args, u"@");
    if (name == u"DATE")
        return textValue(picture.isEmpty() ? locale.toString(now.date(), QLocale::ShortFormat) : dateText(now, picture));
    if (name == u"TIME")
        return textValue(picture.isEmpty() ? locale.toString(now.time(), QLocale::ShortFormat) : dateText(now, picture));
    if (name == u"PAGE" || name == u"NUMPAGES" || name == u"SECTIONPAGES")
        return textValue(QStringLiteral("1"));
    return std::nullopt;
}

QStringList FieldValue::arguments(const QString &instruction)
{
    QStringList args;
    const qsizetype n = instruction.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && instruction[i].isSpace())
            ++i;
        if (i >= n)
            break;
        QString arg;
        if (instruction[i] == u'"') {
            ++i;
            while (i < n && instruction[i] != u'"')
                arg += instruction[i++];
            ++i;
        } else {
            while (i < n && !instruction[i].isSpace())
                arg += instruction[i++];
        }
        args.append(arg);
    }
    return args;
}

QString FieldValue::hyperlinkTarget(const QString &instruction)
{
    const QStringList args = arguments(instruction);
    if (args.isEmpty() || args.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return QString();
    QString url, location;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(u'\\')) {
            const QString sw = a.mid(1).toLower();
            if (i + 1 < args.size() && sw == u"l")
                location = args[++i];
            else if (i + 1 < args.size() && (sw == u"o" || sw == u"t" || sw == u"m"))
                ++i;
        } else if (url.isEmpty()) {
            url = a;
        }
    }
    if (!location.isEmpty())
        url += u'#' + location;
    return isSafeLink(url) ? url : QString();
}

bool FieldValue::isSafeLink(const QString &url)
{
    const QString scheme = QUrl(url).scheme().toLower();
    return scheme != u"javascript" && scheme != u"vbscript" && scheme != u"data";
}

QString FieldValue::dateText(const QDateTime &when, const QString &picture)
{
    const QLocale locale;
    const QDate date = when.date();
    const QTime time = when.time();
    QString out;
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture[i];
        if (c == u'\'') { // quoted text as it is
            const qsizetype end = picture.indexOf(u'\'', i + 1);
            out += picture.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? picture.size() : end + 1;
            continue;
        }
        const QStringView rest = QStringView(picture).mid(i);
        if (rest.startsWith(u"AM/PM", Qt::CaseInsensitive)) {
            const QString marker = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            out += rest.front().isUpper() ? marker : marker.toLower();
            i += 5;
            continue;
        }
        if (rest.startsWith(u"A/P", Qt::CaseInsensitive)) {
            const QChar marker = time.hour() < 12 ? u'A' : u'P';
            out += rest.front().isUpper() ? marker : marker.toLower();
            i += 3;
            continue;
        }
        qsizetype run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        const int width = run >= 2 ? 2 : 1;
        switch (c.unicode()) {
        case u'M':
            out += run >= 4 ? locale.monthName(date.month()) : run == 3 ? locale.monthName(date.month(), QLocale::ShortFormat)
                                                                        : padded(date.month(), width);
            break;
        case u'd': case u'D':
            out += run >= 4 ? locale.dayName(date.dayOfWeek()) : run == 3 ? locale.dayName(date.dayOfWeek(), QLocale::ShortFormat)
                                                                          : padded(date.day(), width);
            break;
        case u'y': case u'Y':
            out += run >= 3 ? padded(date.year(), 4) : padded(date.year() % 100, 2);
            break;
        case u'h': out += padded(time.hour() % 12 == 0 ? 12 : time.hour() % 12, width); break;
        case u'H': out += padded(time.hour(), width); break;
        case u'm': out += padded(time.minute(), width); break;
        case u's': case u'S': out += padded(time.second(), width); break;
        default: out += picture.mid(i, run); break;
        }
        i += run;
    }
    return out;
}
