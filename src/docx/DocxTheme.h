#pragma once
#include <QString>

class QByteArray;

// The fonts of a package's theme, which runs and styles name by their part ("minorHAnsi").
class DocxTheme
{
public:
    void read(const QByteArray &xml, const QString &part);
    // The family a theme font reference stands for; empty when the theme has none.
    QString font(QStringView reference) const;

private:
    QString majorLatin_, minorLatin_, majorEastAsia_, minorEastAsia_, majorBidi_, minorBidi_;
};
