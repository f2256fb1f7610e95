#include "app/FrameIndicators.h"
#include "platform/DropDownList.h"
#include "platform/KeyedToolbar.h"

#include <QFontInfo>

QString FrameIndicators::fontName() const { return m_fontName.text(); }
void FrameIndicators::setFontName(const QString &name) { m_fontName.setText(name); }

void FrameIndicators::showFontName(const QString &name)
{
    if (m_fontName.findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        m_fontName.setText(name);
    else
        m_fontName.setText(QFontInfo(QFont(name)).family());
}
QString FrameIndicators::fontSize() const { return m_fontSize.text(); }
void FrameIndicators::setFontSize(const QString &size) { m_fontSize.setText(size); }
void FrameIndicators::chooseFontName() { emit m_fontName.chosen(); }
void FrameIndicators::chooseFontSize() { emit m_fontSize.chosen(); }
int FrameIndicators::button(const QString &key) const { return m_buttons.state(key); }
void FrameIndicators::setButton(const QString &key, int state) { m_buttons.setState(key, state); }
