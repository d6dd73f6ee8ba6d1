#include "overview/drawing.h"

#include "common/owners.h"
#include "common/text.h"

namespace {

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

TRIVERTEX Vertex(int x, int y, COLORREF colour)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = Channel(GetRValue(colour));
    vertex.Green = Channel(GetGValue(colour));
    vertex.Blue = Channel(GetBValue(colour));
    vertex.Alpha = 0;
    return vertex;
}

}  // namespace

bool FillGradient(HDC dc, int x1, int y1, int x2, int y2, COLORREF start, COLORREF end, int angle)
{
    if (angle < 0) return false;
    const COLORREF mean = MeanColour(start, end);
    switch (angle % 180) {
    case 0:
    case 90: {
        TRIVERTEX vertices[2] = {Vertex(x1, y1, start), Vertex(x2, y2, end)};
        GRADIENT_RECT rect{0, 1};
        return GradientFill(dc, vertices, 2, &rect, 1,
                            angle % 180 == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V) != FALSE;
    }
    case 45:
    case 135: {
        const bool mirrored = angle % 180 == 135;
        const int left = mirrored ? x2 : x1, right = mirrored ? x1 : x2;
        TRIVERTEX vertices[4] = {Vertex(left, y1, start), Vertex(right, y2, end),
                                 Vertex(left, y2, mean), Vertex(right, y1, mean)};
        GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {0, 1, 3}};
        return GradientFill(dc, vertices, 4, triangles, 2, GRADIENT_FILL_TRIANGLE) != FALSE;
    }
    default:
        return false;
    }
}

void DrawTextAt(HDC dc, HFONT font, COLORREF textColor, COLORREF backgroundColor, int x, int y,
                const wchar_t* text, int right)
{
    SelectGuard hold(dc, font);
    SetTextColor(dc, textColor);
    if (backgroundColor != kTransparent) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, backgroundColor);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    wchar_t line[256];
    const size_t length = CopyBounded(line, std::size(line), text);
    RECT room{x, y, right, y + 0x4000};
    if (right == INT_MAX)
        TextOutW(dc, x, y, line, static_cast<int>(length));
    else
        DrawTextW(dc, line, static_cast<int>(length), &room, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
