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

    void bold_Click();          // button "a"
    void italic_Click();        // button "b"
    void underline_Click();     // button "c"
    void strikethrough_Click(); // button "d"
    void left_Click();          // button "e"
    void center_Click();        // button "f"
    void right_Click();         // button "g"
    void bs_Click();            // button "h" and the Format menu's Bullet Style

private:
    using Read = std::optional<bool> (RichTextBox::*)() const;
    using Write = void (RichTextBox::*)(bool);

    void toggle(const QString &key, Read read, Write write);
    void align(const QString &key, int alignment);
    void bullets();

    Workspace &m_workspace;
};
