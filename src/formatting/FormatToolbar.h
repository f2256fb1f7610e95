#pragma once
#include <QObject>

class MDIForm1;

// The formatting toolbar's buttons and the Bullet Style command.
class FormatToolbar : public QObject
{
    Q_OBJECT
public:
    explicit FormatToolbar(MDIForm1 &frame);

    void bs_Click();

private:
    MDIForm1 &m_frame;
};
