#pragma once
#include <QPointer>
#include "platform/WindowDisabled.h"

#include <QWidget>
#include <optional>

class Workspace;
class RichTextBox;

// The full-screen view: the active document alone on a borderless window that covers the screen.
// The document comes in whole when it opens and goes back whole when it closes (a double-click in
// the text, Escape, or closing the window); the frame is disabled meanwhile.
class FullScreenView : public QWidget
{
    Q_OBJECT
public:
    explicit FullScreenView(Workspace &workspace);

    RichTextBox *surface;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeDocument();
    void giveDocumentBack();
    void leaveOnDoubleClick();

    Workspace &m_workspace;
    std::optional<WindowDisabled> m_frameDisabled;
    // The surface the document came from; it goes back there.
    QPointer<RichTextBox> m_source;
};
