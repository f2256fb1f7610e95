#pragma once
#include "layout/Fixed.h"

#include <vector>

// The heights of the items of a long flow (a document's paragraphs, one after another), with their
// running sums in a Fenwick tree: where an item starts, and which item lies at a given height, take
// a logarithmic number of steps. Inserting or removing items rebuilds the sums in one linear pass,
// which for tens of thousands of items is a matter of microseconds.
class HeightIndex
{
public:
    int size() const { return int(m_heights.size()); }
    void clear();
    // Replaces every item: one for each height.
    void assign(std::vector<int> heights);
    // `count` items of `height` each, placed before item `at`.
    void insert(int at, int count, Fixed height);
    void remove(int at, int count);
    void setHeight(int item, Fixed height);
    Fixed height(int item) const { return Fixed::fromFixed(m_heights[std::size_t(item)]); }
    // The sum of the heights of the items before this one.
    Fixed start(int item) const;
    Fixed total() const { return start(size()); }
    // The item whose span holds height y (items of no height hold none); size() below the last.
    int itemAt(Fixed y) const;

private:
    void rebuild();

    std::vector<int> m_heights;
    std::vector<qint64> m_tree; // m_tree[i] sums the heights of items (i - lowbit(i), i]
};
