#pragma once
#include <QString>
#include <stdexcept>

// Why a document package (zip, Word, OpenDocument) cannot be read or written, in words for the
// user ("password-protected documents cannot be opened").
class PackageError : public std::runtime_error
{
public:
    explicit PackageError(const QString &reason) : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString &reason() const { return reason_; }

private:
    QString reason_;
};
