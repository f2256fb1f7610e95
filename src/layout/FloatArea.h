#pragma once
#include "layout/Fixed.h"

#include <QList>

class QTextFrame;

// The frames that float at the left or right of a flow, and what they leave of its width at a
// given height: lines and tables beside a float keep clear of it.
class FloatArea
{
public:
    struct Float
    {
        QTextFrame *frame = nullptr;
        Fixed x, y, width, height;
        bool left = true;
    };

    bool isEmpty() const { return m_floats.isEmpty(); }
    const QList<Float> &floats() const { return m_floats; }
    void clear() { m_floats.clear(); }
    void add(const Float &f) { m_floats.append(f); }
    // Drops the floats from this frame on, as a relayout from there places them again.
    void removeFrom(QTextFrame *frame);

    // The edges left between `left` and `right` at height y.
    void margins(Fixed y, Fixed *left, Fixed *right) const;
    // The first height from y where `width` fits between the floats (within `left` and `right`).
    Fixed firstFit(Fixed y, Fixed width, Fixed left, Fixed right) const;

private:
    QList<Float> m_floats;
};
