#pragma once
#include <QByteArray>
#include <QString>

// Files read and written whole. Reading gives all the bytes or throws Failure
// `Cannot open "path": reason`. Writing goes to a temporary file beside the target, which replaces
// the target only once all the bytes are on disk: a write that fails or is cut short leaves the
// previous file as it was, and throws Failure `Cannot save "path": reason`.
namespace WholeFile {
QByteArray read(const QString &path);
// True only when nothing at all is at the path (not when it exists but cannot be looked at).
bool isMissing(const QString &path);
void write(const QString &path, const QByteArray &bytes);
} // namespace WholeFile
