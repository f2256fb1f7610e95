#pragma once
#include <QObject>
#include <optional>

class RichTextBox;
class Workspace;

// The formatting toolbar's commands and the Bullet Style command. The character buttons toggle on
// the selection's own state, never on their look: a mixed selection is cleared. Bullet Style does
// the opposite: a mixed selection becomes bulleted. Each command sets its button's state.
class FormatToolbar : public QObject
{
    Q_OBJECT
public:
    explicit FormatToolbar(Workspace &workspace);

    void toggleBold(); // button "a"
    void toggleItalic(); // button "b"
    void toggleUnderline(); // button "c"
    void toggleStrikeOut(); // button "d"
    void alignLeft(); // button "e"
    void alignCenter(); // button "f"
    void alignRight(); // button "g"
    void toggleBullets(); // button "h" and the Format menu's Bullet Style

private:
    using Read = std::optional<bool> (RichTextBox::*)() const;
    using Write = void (RichTextBox::*)(bool);

    void toggle(const QString &key, Read read, Write write);
    void align(const QString &key, int alignment);
    void bullets();

    Workspace &m_workspace;
};
