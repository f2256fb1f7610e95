#pragma once
#include "workspace/FormattingIndicators.h"

class DropDownList;
class KeyedToolbar;

// The frame's formatting indicators: the font name box `Combo1`, the size box `Combo2` and the
// formatting toolbar `Toolbar2`.
class FrameIndicators : public FormattingIndicators
{
public:
    FrameIndicators(DropDownList &fontName, DropDownList &fontSize, KeyedToolbar &buttons)
        : m_fontName(fontName), m_fontSize(fontSize), m_buttons(buttons)
    {
    }

    QString fontName() const override;
    void setFontName(const QString &name) override;
    void showFontName(const QString &name) override;
    QString fontSize() const override;
    void setFontSize(const QString &size) override;
    void chooseFontName() override;
    void chooseFontSize() override;
    int button(const QString &key) const override;
    void setButton(const QString &key, int state) override;

private:
    DropDownList &m_fontName;
    DropDownList &m_fontSize;
    KeyedToolbar &m_buttons;
};
