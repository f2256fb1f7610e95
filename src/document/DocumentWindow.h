#pragma once
#include "platform/CommonDialog.h"

#include <QWidget>

class Dialogs;
class DocumentSaving;
class RichTextBox;

// The document window: one document in one rich-text surface, with its changed flag `doc` and
// the save prompt when it is asked to close. Its surface reports clicks, keys and changes through
// its own signals; whoever shows the window follows them.
class DocumentWindow : public QWidget
{
    Q_OBJECT
public:
    DocumentWindow(Dialogs &dialogs, DocumentSaving &saving, QWidget *parent = nullptr);

    // -1: changed since it was created, loaded or saved; 0: unchanged.
    qint16 doc = 0;
    RichTextBox *surface;
    CommonDialog saveAsDialog; // used by saveDocumentAs only

    // The window's own save operations, used by its close prompt. True when a file was written.
    bool saveDocument();
    bool saveDocumentAs();
    // Called once the document has been written to its file: the window is unchanged, and says so.
    void documentSaved();

    Dialogs &dialogs() const { return m_dialogs; }

signals:
    void saved();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void initialise();
    void fitSurface();
    bool askToSave(); // true: Cancel, the window stays open
    void markChanged();

    Dialogs &m_dialogs;
    DocumentSaving &m_saving;
};
