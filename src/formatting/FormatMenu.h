#pragma once
#include "formatting/FontDialog.h"
#include "formatting/ParagraphDialog.h"
#include "platform/SingleWindow.h"

#include <QObject>

class Workspace;

// The Format menu's Font, Paragraph, Font Color and Background Color commands.
class FormatMenu : public QObject
{
    Q_OBJECT
public:
    explicit FormatMenu(Workspace &workspace);

    void showFontDialog();
    void showParagraphDialog();
    void chooseFontColour(); // also the standard toolbar's text-colour button
    void chooseBackColour();

    // The open dialogs, or nullptr.
    FontDialog *fontDialog() const { return m_fontDialog.get(); }
    ParagraphDialog *paragraphDialog() const { return m_paragraphDialog.get(); }

private:
    Workspace &m_workspace;
    SingleWindow<FontDialog> m_fontDialog;
    SingleWindow<ParagraphDialog> m_paragraphDialog;
};
