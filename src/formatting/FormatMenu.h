#pragma once
#include <QObject>

class MDIForm1;

// The Format menu's Font, Paragraph, Font Color and Background Color commands.
class FormatMenu : public QObject
{
    Q_OBJECT
public:
    explicit FormatMenu(MDIForm1 &frame);

    void font_Click();
    void paragraph_Click();
    void fc_Click();
    void bc_Click();

private:
    MDIForm1 &m_frame;
};
