// Which pointer positions count as being in a corner of the primary screen.
#pragma once

// The pointer is in a corner when it lies within this many pixels of both edges that meet there.
constexpr int kCornerReach = 2;

constexpr bool PointInCorner(unsigned corner, int x, int y, int screenWidth, int screenHeight)
{
    if (x < 0 || y < 0 || x >= screenWidth || y >= screenHeight) return false;
    const bool left = x < kCornerReach;
    const bool right = x >= screenWidth - kCornerReach;
    const bool top = y < kCornerReach;
    const bool bottom = y >= screenHeight - kCornerReach;
    switch (corner) {
    case 1: return left && top;
    case 2: return right && top;
    case 3: return left && bottom;
    default: return right && bottom;
    }
}
