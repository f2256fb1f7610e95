#pragma once
#include "content/DocumentFormat.h"
#include "platform/DiskStamp.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// The index of one recovery copy: the window's caption and file name, the stamp that file had when
// the window last read or wrote it, the format of the copy and when it was made.
struct RecoveryEntry
{
    QString caption;
    QString fileName;
    DocumentFormat::Format format = DocumentFormat::RichText;
    QDateTime time;
    std::optional<DiskStamp> stamp;

    QByteArray toJson() const;
    // Nothing when the bytes are not such an index.
    static std::optional<RecoveryEntry> fromJson(const QByteArray &json);
    // The suffix of the copy's document file: "rtf" or "txt".
    static QString suffixOf(DocumentFormat::Format format);
};
