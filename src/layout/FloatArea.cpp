#include "layout/FloatArea.h"

#include <algorithm>

void FloatArea::removeFrom(QTextFrame *frame)
{
    const auto at = std::find_if(m_floats.begin(), m_floats.end(), [frame](const Float &f) { return f.frame == frame; });
    m_floats.erase(at, m_floats.end());
}

void FloatArea::margins(Fixed y, Fixed *left, Fixed *right) const
{
    for (const Float &f : m_floats) {
        if (f.y > y || f.y + f.height <= y)
            continue;
        if (f.left)
            *left = std::max(*left, f.x + f.width);
        else
            *right = std::min(*right, f.x);
    }
}

Fixed FloatArea::firstFit(Fixed y, Fixed width, Fixed left, Fixed right) const
{
    width = std::min(width, right - left);
    for (int guard = 0; guard <= m_floats.size(); ++guard) {
        Fixed l = left;
        Fixed r = right;
        margins(y, &l, &r);
        if (r - l >= width)
            return y;
        // Below the float that ends first among those beside this height.
        Fixed next = Fixed::max();
        for (const Float &f : m_floats)
            if (f.y <= y && f.y + f.height > y)
                next = std::min(next, f.y + f.height);
        if (next == Fixed::max())
            return y;
        y = next;
    }
    return y;
}
