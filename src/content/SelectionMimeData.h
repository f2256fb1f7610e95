#pragma once
#include <QMimeData>
#include <memory>

class QTextDocument;

// What Cut and Copy put on the clipboard: the selection as plain text, HTML and Rich Text Format,
// the last with its pictures, so that a paste into another document (ours or another program's)
// keeps them. Each form is made only when asked for.
class SelectionMimeData : public QMimeData
{
    Q_OBJECT
public:
    static const QString kRtf;

    // Takes a document of its own holding the selection and its pictures.
    explicit SelectionMimeData(std::unique_ptr<QTextDocument> selection);
    ~SelectionMimeData() override;

    // The selection, for a paste into one of our own documents.
    const QTextDocument &selection() const { return *m_selection; }

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    std::unique_ptr<QTextDocument> m_selection;
};
