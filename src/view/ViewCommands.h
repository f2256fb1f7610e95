#pragma once
#include "platform/SingleWindow.h"
#include "view/HeaderFooterWindow.h"
#include "view/WordCountWindow.h"

#include <QObject>

class Workspace;

// View > "Zoom In", "Zoom Out", "Normal Size" for the active document window, "Word Count..." and
// "Header and Footer...".
class ViewCommands : public QObject
{
    Q_OBJECT
public:
    explicit ViewCommands(Workspace &workspace);

    void zoomIn();
    void zoomOut();
    void zoomNormal();
    void showWordCount();
    void showHeaderFooter();

    WordCountWindow *wordCountWindow() const { return m_wordCount.get(); }
    HeaderFooterWindow *headerFooterWindow() const { return m_headerFooter.get(); }

private:
    void zoomBy(int steps);

    Workspace &m_workspace;
    SingleWindow<WordCountWindow> m_wordCount;
    SingleWindow<HeaderFooterWindow> m_headerFooter;
};
