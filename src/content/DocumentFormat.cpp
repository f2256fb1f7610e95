#include "content/DocumentFormat.h"

#include <QStringList>

QString DocumentFormat::extensionOf(const QString &path)
{
    return path.right(3).toLower();
}

DocumentFormat::Format DocumentFormat::formatOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        return Word;
    const QString extension = extensionOf(path);
    if (extension == QLatin1String("odt"))
        return OpenDocument;
    if (extension == QLatin1String("doc") || extension == QLatin1String("rtf"))
        return RichText;
    return PlainText;
}

bool DocumentFormat::isKnown(const QString &path)
{
    static const QStringList known = {QStringLiteral("doc"), QStringLiteral("rtf"), QStringLiteral("txt"),
                                      QStringLiteral("ini"), QStringLiteral("bat"), QStringLiteral("log"),
                                      QStringLiteral("odt")};
    return known.contains(extensionOf(path)) || formatOf(path) == Word;
}
