#pragma once
#include <QObject>
#include <optional>

class MDIForm1;
class QAction;
class RichTextBox;

// The formatting toolbar's buttons and the Bullet Style command. The character buttons toggle on
// the selection's own state, never on their look: a mixed selection is cleared. Bullet Style does
// the opposite: a mixed selection becomes bulleted.
class FormatToolbar : public QObject
{
    Q_OBJECT
public:
    explicit FormatToolbar(MDIForm1 &frame);

    void Toolbar2_ButtonClick(QAction *button);
    void bs_Click();

private:
    using Read = std::optional<bool> (RichTextBox::*)() const;
    using Write = void (RichTextBox::*)(bool);

    void toggle(const QString &key, Read read, Write write);
    void align(const QString &key, int alignment);
    RichTextBox &surface() const;

    MDIForm1 &m_frame;
};
