// An axis-aligned rectangle; right and bottom edges are exclusive.
#pragma once

#include <algorithm>

#include "toolkit/CPoint.h"

namespace orv {

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& origin, int width, int height)
        : left(origin.x), top(origin.y), right(origin.x + width), bottom(origin.y + height)
    {}

    constexpr int getWidth() const { return right - left; }
    constexpr int getHeight() const { return bottom - top; }
    constexpr CPoint getTopLeft() const { return {left, top}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    constexpr bool pointInside(const CPoint& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool rectOverlap(const CRect& r) const
    {
        return left < r.right && r.left < right && top < r.bottom && r.top < bottom;
    }
    constexpr CRect& offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    // Clips this rectangle to r; the result may be empty.
    constexpr CRect& bound(const CRect& r)
    {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::min(right, r.right);
        bottom = std::min(bottom, r.bottom);
        if (isEmpty()) right = left, bottom = top;
        return *this;
    }
    // Grows this rectangle to cover r as well.
    constexpr CRect& unite(const CRect& r)
    {
        if (r.isEmpty()) return *this;
        if (isEmpty()) return *this = r;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        return *this;
    }
    constexpr bool operator==(const CRect&) const = default;
};

}  // namespace orv
