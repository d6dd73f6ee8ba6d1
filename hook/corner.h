// Which pointer positions count as being in a corner of the primary screen.
#pragma once

// The corners as the settings store them ("Corner") and the hook is given them.
enum ScreenCorner : unsigned { kCornerTopLeft = 1, kCornerTopRight = 2, kCornerBottomLeft = 3, kCornerBottomRight = 4 };

// A stored corner as it counts: any value but the first three is the bottom right.
constexpr unsigned CornerOrBottomRight(unsigned corner)
{
    return corner >= kCornerTopLeft && corner <= kCornerBottomLeft ? corner : kCornerBottomRight;
}

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
    case kCornerTopLeft: return left && top;
    case kCornerTopRight: return right && top;
    case kCornerBottomLeft: return left && bottom;
    default: return right && bottom;
    }
}
