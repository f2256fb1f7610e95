#include "layout/HeightIndex.h"

#include <algorithm>
#include <bit>

void HeightIndex::clear()
{
    m_heights.clear();
    m_tree.assign(1, 0);
}

void HeightIndex::assign(std::vector<int> heights)
{
    m_heights = std::move(heights);
    rebuild();
}

void HeightIndex::insert(int at, int count, Fixed height)
{
    if (count <= 0)
        return;
    m_heights.insert(m_heights.begin() + at, std::size_t(count), height.value());
    rebuild();
}

void HeightIndex::remove(int at, int count)
{
    if (count <= 0)
        return;
    m_heights.erase(m_heights.begin() + at, m_heights.begin() + at + count);
    rebuild();
}

void HeightIndex::rebuild()
{
    const std::size_t n = m_heights.size();
    m_tree.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        m_tree[i] += m_heights[i - 1];
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent] += m_tree[i];
    }
}

void HeightIndex::setHeight(int item, Fixed height)
{
    const qint64 change = qint64(height.value()) - m_heights[std::size_t(item)];
    if (change == 0)
        return;
    m_heights[std::size_t(item)] = height.value();
    for (std::size_t i = std::size_t(item) + 1; i < m_tree.size(); i += i & (~i + 1))
        m_tree[i] += change;
}

Fixed HeightIndex::start(int item) const
{
    qint64 sum = 0;
    for (std::size_t i = std::size_t(item); i > 0; i -= i & (~i + 1))
        sum += m_tree[i];
    return Fixed::fromFixed(int(std::clamp<qint64>(sum, 0, Fixed::max().value())));
}

int HeightIndex::itemAt(Fixed y) const
{
    // Counts the items that end at or above y: the item after them holds it.
    const std::size_t n = m_heights.size();
    std::size_t position = 0;
    qint64 left = y.value();
    for (std::size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
        if (position + step <= n && m_tree[position + step] <= left) {
            position += step;
            left -= m_tree[position];
        }
    }
    return int(position);
}
