// Which pointer positions count as being in a corner of a monitor.
#pragma once

#include <windows.h>

#include <cstddef>

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

// Whether the point lies in the chosen corner of the monitor it is on (within kCornerReach of both
// edges that meet there) and the pointer is stopped there: no monitor lies just beyond that
// corner, across either edge or diagonally, where the pointer could go on. The point and the
// rectangles are in physical pixels, as the mouse hook reports the point: monitors of different
// scales meet where their physical edges do.
inline bool PointInMonitorCorner(unsigned corner, POINT point, const RECT* monitors, size_t count)
{
    auto contains = [&](int x, int y) {
        for (size_t i = 0; i < count; ++i)
            if (x >= monitors[i].left && x < monitors[i].right && y >= monitors[i].top && y < monitors[i].bottom)
                return true;
        return false;
    };
    for (size_t i = 0; i < count; ++i) {
        const RECT& m = monitors[i];
        if (!PointInCorner(corner, point.x - m.left, point.y - m.top, m.right - m.left, m.bottom - m.top)) continue;
        const unsigned chosen = CornerOrBottomRight(corner);
        const bool right = chosen == kCornerTopRight || chosen == kCornerBottomRight;
        const bool bottom = chosen == kCornerBottomLeft || chosen == kCornerBottomRight;
        const int x = right ? m.right - 1 : m.left, y = bottom ? m.bottom - 1 : m.top;
        const int beyondX = right ? x + 1 : x - 1, beyondY = bottom ? y + 1 : y - 1;
        return !contains(beyondX, y) && !contains(x, beyondY) && !contains(beyondX, beyondY);
    }
    return false;
}

// The answers of SHQueryUserNotificationState that mean a program has the whole screen to itself
// (QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE).
constexpr int kNotificationsBusy = 2, kNotificationsD3dFullScreen = 3, kNotificationsPresentation = 4;

// What the corner's full-screen rule looks at in the window in front.
struct FrontWindowFacts {
    bool shell;      // the shell's desktop (or no window at all)
    bool maximized;  // IsZoomed
    bool framed;     // a caption or a sizing border: an ordinary window, not a game's or a film's
    RECT area;       // its client area on the screen
    RECT monitor;    // the monitor that holds most of it
};

// Whether a full-screen program has the monitor whose corner was reached (`cornerMonitor`), where
// the corner keeps quiet. Presentation mode (`notificationState`, 0 when it cannot be asked) holds
// for every monitor. Otherwise only the window in front counts, and only on its own monitor: the
// system says a full-screen program runs (busy, Direct3D full screen), or its client area covers
// the whole monitor and it is not an ordinary maximized window (a maximized browser covers a
// monitor without a taskbar too). A maximized window's frame hangs over the monitor's edges; its
// client area does not cover the monitor while it has a caption.
constexpr bool IsFullScreenOnMonitor(int notificationState, const FrontWindowFacts& front, const RECT& cornerMonitor)
{
    if (notificationState == kNotificationsPresentation) return true;
    if (front.shell) return false;
    const RECT& m = cornerMonitor;
    if (front.monitor.left != m.left || front.monitor.top != m.top || front.monitor.right != m.right ||
        front.monitor.bottom != m.bottom)
        return false;
    if (notificationState == kNotificationsBusy || notificationState == kNotificationsD3dFullScreen) return true;
    if (front.maximized && front.framed) return false;
    const RECT& a = front.area;
    if (a.right <= a.left || a.bottom <= a.top) return false;
    return a.left <= m.left && a.top <= m.top && a.right >= m.right && a.bottom >= m.bottom;
}
