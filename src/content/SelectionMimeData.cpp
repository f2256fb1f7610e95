#include "content/SelectionMimeData.h"
#include "rtf/RtfCodec.h"

#include <QTextDocument>

const QString SelectionMimeData::kRtf = QStringLiteral("text/rtf");

SelectionMimeData::SelectionMimeData(std::unique_ptr<QTextDocument> selection) : m_selection(std::move(selection))
{
}

SelectionMimeData::~SelectionMimeData() = default;

QStringList SelectionMimeData::formats() const
{
    return {kRtf, QStringLiteral("text/html"), QStringLiteral("text/plain")};
}

bool SelectionMimeData::hasFormat(const QString &mimeType) const
{
    return formats().contains(mimeType);
}

QVariant SelectionMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (mimeType == kRtf)
        return RtfCodec::write(*m_selection);
    if (mimeType == QLatin1String("text/html"))
        return m_selection->toHtml().toUtf8();
    if (mimeType == QLatin1String("text/plain")) {
        const QString text = m_selection->toPlainText();
        return type.id() == QMetaType::QByteArray ? QVariant(text.toUtf8()) : QVariant(text);
    }
    return QMimeData::retrieveData(mimeType, type);
}
