#pragma once
#include <QObject>
#include <QPointer>

class Form4;
class Form7;
class MDIForm1;

// The Format menu's Font, Paragraph, Font Color and Background Color commands.
class FormatMenu : public QObject
{
    Q_OBJECT
public:
    explicit FormatMenu(MDIForm1 &frame);
    ~FormatMenu() override;

    void font_Click();
    void paragraph_Click();
    void fc_Click(); // also the standard toolbar's text-colour button
    void bc_Click();

    // The open dialogs, or nullptr.
    Form4 *fontDialog() const;
    Form7 *paragraphDialog() const;

private:
    MDIForm1 &m_frame;
    QPointer<Form4> m_form4;
    QPointer<Form7> m_form7;
};
