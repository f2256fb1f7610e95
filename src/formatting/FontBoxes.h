#pragma once
#include <QObject>

class MDIForm1;

// The font name and size boxes: whatever they show is applied to the selection.
class FontBoxes : public QObject
{
    Q_OBJECT
public:
    explicit FontBoxes(MDIForm1 &frame);

private:
    MDIForm1 &m_frame;
};
