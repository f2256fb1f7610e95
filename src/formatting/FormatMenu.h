#pragma once
#include "formatting/Form4.h"
#include "formatting/Form7.h"
#include "platform/SingleWindow.h"

#include <QObject>

class Workspace;

// The Format menu's Font, Paragraph, Font Color and Background Color commands.
class FormatMenu : public QObject
{
    Q_OBJECT
public:
    explicit FormatMenu(Workspace &workspace);

    void font_Click();
    void paragraph_Click();
    void fc_Click(); // also the standard toolbar's text-colour button
    void bc_Click();

    // The open dialogs, or nullptr.
    Form4 *fontDialog() const { return m_form4.get(); }
    Form7 *paragraphDialog() const { return m_form7.get(); }

private:
    Workspace &m_workspace;
    SingleWindow<Form4> m_form4;
    SingleWindow<Form7> m_form7;
};
