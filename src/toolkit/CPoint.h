// A point in view coordinates (pixels, x to the right, y downward).
#pragma once

namespace orv {

struct CPoint {
    int x = 0;
    int y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}

    constexpr CPoint& offset(int dx, int dy)
    {
        x += dx;
        y += dy;
        return *this;
    }
    constexpr bool operator==(const CPoint&) const = default;
};

}  // namespace orv
