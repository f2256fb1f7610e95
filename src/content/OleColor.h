#pragma once
#include <QColor>

// Colours at the surface's interface are 32-bit 0x00BBGGRR values.
namespace OleColor {
inline quint32 fromQColor(const QColor &c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}
inline QColor toQColor(quint32 v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}
} // namespace OleColor
