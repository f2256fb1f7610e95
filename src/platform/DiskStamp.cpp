#include "platform/DiskStamp.h"

#include <QDateTime>
#include <QFileInfo>
#include <QObject>
#include <QVariant>

namespace {

// The holder's property: the path the stamp is for, its size and its time.
constexpr const char *kProperty = "diskStamp";

} // namespace

std::optional<DiskStamp> DiskStamp::of(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    return DiskStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void DiskStamp::remember(QObject &holder, const QString &path)
{
    if (const std::optional<DiskStamp> stamp = of(path))
        remember(holder, path, *stamp);
    else
        holder.setProperty(kProperty, QVariant());
}

void DiskStamp::remember(QObject &holder, const QString &path, const DiskStamp &stamp)
{
    holder.setProperty(kProperty, QVariantList{path, stamp.size, stamp.modified});
}

std::optional<DiskStamp> DiskStamp::remembered(const QObject &holder, const QString &path)
{
    const QVariantList kept = holder.property(kProperty).toList();
    if (kept.size() != 3 || path.isEmpty() || kept[0].toString() != path)
        return std::nullopt;
    return DiskStamp{kept[1].toLongLong(), kept[2].toLongLong()};
}

bool DiskStamp::changedBehind(const QObject &holder, const QString &path)
{
    const std::optional<DiskStamp> kept = remembered(holder, path);
    const std::optional<DiskStamp> now = of(path);
    return kept && now && *kept != *now;
}
