#pragma once
#include <QRect>
#include <QWidget>

// Where a side window opens: inside the area that shows the documents, at its top right corner,
// so that it covers neither the menus nor the toolbars and leaves the start of the lines in sight.
namespace WindowPlacement {

inline void placeInTopRightOf(QWidget &window, const QRect &area)
{
    constexpr int kMargin = 16;
    window.adjustSize();
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    const int x = std::max(area.left(), area.right() - size.width() - kMargin);
    const int y = area.top() + kMargin;
    window.move(x, y);
}

} // namespace WindowPlacement
