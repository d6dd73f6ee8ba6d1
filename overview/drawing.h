// The drawing operations the frame, the find text and the tiles share: gradients, straight lines and
// lines of text.
#pragma once

#include <windows.h>

#include <climits>

#include "overview/palette.h"

// Gradient over a rectangle; angle (degrees, modulo 180) 0 left to right, 90 top to bottom,
// 45 top-left to bottom-right, 135 top-right to bottom-left. Other angles draw nothing (false).
bool FillGradient(HDC dc, int x1, int y1, int x2, int y2, COLORREF start, COLORREF end, int angle);

// Straight lines from each pair's first point to its second, with the pen selected in the context.
template <size_t Count>
void DrawLineSegments(HDC dc, const POINT (&lines)[Count][2])
{
    for (const auto& line : lines) {
        MoveToEx(dc, line[0].x, line[0].y, nullptr);
        LineTo(dc, line[1].x, line[1].y);
    }
}

// One line of text at (x, y), at most 255 characters, on an opaque background of the given colour
// or on none (kTransparent); a line that would pass `right` ends there in "...".
void DrawTextAt(HDC dc, HFONT font, COLORREF textColor, COLORREF backgroundColor, int x, int y,
                const wchar_t* text, int right = INT_MAX);
