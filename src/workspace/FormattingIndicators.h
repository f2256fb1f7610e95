#pragma once
#include <QString>

// The frame's formatting indicators as the commands see them: the font name and size boxes and
// the formatting toolbar's buttons (state 1 pressed, 0 released, by the buttons' keys "a".."h").
// Writing a box chooses the entry with that text, and the box applies it to the selection as it
// does when the user changes it; a text that is not one of its entries is refused with Failure.
class FormattingIndicators
{
public:
    virtual ~FormattingIndicators() = default;

    virtual QString fontName() const = 0;
    virtual void setFontName(const QString &name) = 0;
    // Writes a configured or saved font name: a font that is not installed shows as the family
    // the system draws in its place, so the box names the font the text is seen in.
    virtual void showFontName(const QString &name) = 0;
    virtual QString fontSize() const = 0;
    virtual void setFontSize(const QString &size) = 0;
    // As if the user chose the entry the box shows.
    virtual void chooseFontName() = 0;
    virtual void chooseFontSize() = 0;

    // Throw Failure for a key the toolbar does not have.
    virtual int button(const QString &key) const = 0;
    virtual void setButton(const QString &key, int state) = 0;
};
