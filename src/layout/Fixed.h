#pragma once
#include <QtGlobal>
#include <limits>

// A length in 64ths of a pixel. Qt's text layout keeps positions in this unit and rounds each
// length into it as it goes; working in the same unit keeps our positions equal to the ones it
// would give, and keeps sums over thousands of paragraphs exact.
class Fixed
{
public:
    constexpr Fixed() = default;
    static constexpr Fixed fromFixed(int value)
    {
        Fixed f;
        f.m_value = value;
        return f;
    }
    static constexpr Fixed fromReal(qreal r) { return fromFixed(int(r * 64)); } // toward zero, as Qt rounds
    static constexpr Fixed fromInt(int i) { return fromFixed(i * 64); }
    static constexpr Fixed max() { return fromFixed(std::numeric_limits<int>::max() / 2); }

    constexpr int value() const { return m_value; }
    constexpr qreal toReal() const { return m_value / 64.0; }
    constexpr Fixed round() const { return fromFixed((m_value + 32) & -64); }
    constexpr Fixed ceil() const { return fromFixed((m_value + 63) & -64); }
    constexpr Fixed floor() const { return fromFixed(m_value & -64); }

    constexpr Fixed operator+(Fixed o) const { return fromFixed(m_value + o.m_value); }
    constexpr Fixed operator-(Fixed o) const { return fromFixed(m_value - o.m_value); }
    constexpr Fixed operator-() const { return fromFixed(-m_value); }
    constexpr Fixed operator*(int i) const { return fromFixed(m_value * i); }
    constexpr Fixed operator/(int d) const { return fromFixed(m_value / d); }
    constexpr Fixed operator*(Fixed o) const { return fromFixed(int((qint64(m_value) * o.m_value + 32) >> 6)); }
    constexpr Fixed operator/(Fixed o) const { return o.m_value ? fromFixed(int(qint64(m_value) * 64 / o.m_value)) : max(); }
    Fixed &operator+=(Fixed o) { m_value += o.m_value; return *this; }
    Fixed &operator-=(Fixed o) { m_value -= o.m_value; return *this; }

    constexpr auto operator<=>(const Fixed &) const = default;

private:
    int m_value = 0;
};
