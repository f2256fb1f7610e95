#pragma once
class Workspace;

// What the font name and size boxes do: whatever they show is applied to the selection of the active
// document, when the box changes, when an entry is chosen and when a key is typed in it. A key
// first re-applies the entry shown before it; the entry it then moves to is applied as a change.
class FontBoxes
{
public:
    explicit FontBoxes(Workspace &workspace);

    void fontNameChanged();
    void fontNameChosen();
    void fontNameKeyPress(int keyAscii);
    void fontSizeChanged();
    void fontSizeChosen();
    void fontSizeKeyPress(int keyAscii);

private:
    void applyFontName();
    void applyFontSize();

    Workspace &m_workspace;
};
