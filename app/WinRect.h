#pragma once

#include <QPoint>
#include <QRect>

namespace norvale {

// A rectangle as left, top, right, bottom with right and bottom exclusive:
// a point lies inside when left <= x < right and top <= y < bottom.
struct WinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Contains(int x, int y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    bool Contains(const QPoint& p) const { return Contains(p.x(), p.y()); }
    constexpr WinRect Offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
    static WinRect FromQRect(const QRect& r) {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    friend constexpr bool operator==(const WinRect&, const WinRect&) = default;
};

} // namespace norvale
