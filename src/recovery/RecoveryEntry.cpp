#include "recovery/RecoveryEntry.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray RecoveryEntry::toJson() const
{
    QJsonObject object{{QStringLiteral("caption"), caption},
                       {QStringLiteral("fileName"), fileName},
                       {QStringLiteral("format"), suffixOf(format)},
                       {QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs)}};
    if (stamp) {
        object.insert(QStringLiteral("fileSize"), QString::number(stamp->size));
        object.insert(QStringLiteral("fileModified"), QString::number(stamp->modified));
    }
    return QJsonDocument(object).toJson();
}

std::optional<RecoveryEntry> RecoveryEntry::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QString format = object.value(QStringLiteral("format")).toString();
    if (!object.value(QStringLiteral("caption")).isString() || (format != QLatin1String("rtf") && format != QLatin1String("txt")))
        return std::nullopt;
    RecoveryEntry entry;
    entry.caption = object.value(QStringLiteral("caption")).toString();
    entry.fileName = object.value(QStringLiteral("fileName")).toString();
    entry.format = format == QLatin1String("txt") ? DocumentFormat::PlainText : DocumentFormat::RichText;
    entry.time = QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    bool sizeOk = false, timeOk = false;
    const qint64 size = object.value(QStringLiteral("fileSize")).toString().toLongLong(&sizeOk);
    const qint64 modified = object.value(QStringLiteral("fileModified")).toString().toLongLong(&timeOk);
    if (sizeOk && timeOk)
        entry.stamp = DiskStamp{size, modified};
    return entry;
}

QString RecoveryEntry::suffixOf(DocumentFormat::Format format)
{
    return format == DocumentFormat::PlainText ? QStringLiteral("txt") : QStringLiteral("rtf");
}
