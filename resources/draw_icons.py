#!/usr/bin/env python3
"""Draws Sorvane's artwork and writes it as .ico files next to this script.

Standard library only; output is byte-for-byte deterministic.
  sorvane.ico        program icon, 16/32/48 px, 32-bit with alpha
  sorvane_small.ico  the same mark at 16 px (small class icon)
  sorvane_dark.ico   the mark drawn dark, 16/32/48 px: the tray icon on a
                     light taskbar
  logo.ico           150x34 mark + word "Sorvane", for a dark blue backdrop
"""
import math
import os
import struct

SS = 4  # supersampling factor per axis


class Canvas:
    """Premultiplied RGBA float canvas with "over" compositing."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def paint(self, cov, color):
        """cov: {(x, y): coverage 0..1}; color: (r, g, b, a) or fn(x, y)."""
        for (x, y), c in cov.items():
            if not (0 <= x < self.w and 0 <= y < self.h) or c <= 0:
                continue
            r, g, b, a = color(x, y) if callable(color) else color
            a *= c
            p = self.px[y * self.w + x]
            k = 1.0 - a
            p[0] = r * a + p[0] * k
            p[1] = g * a + p[1] * k
            p[2] = b * a + p[2] * k
            p[3] = a + p[3] * k

    def bgra(self):
        """Straight-alpha BGRA rows, top row first."""
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a < 1 / 512:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, int(v / a * 255 + 0.5)) for v in (b, g, r))
                row.append(min(255, int(a * 255 + 0.5)))
            rows.append(bytes(row))
        return rows


def coverage(inside, x0, y0, x1, y1):
    """Supersampled coverage of predicate inside(x, y) over a pixel bbox."""
    cov = {}
    offs = [(i + 0.5) / SS for i in range(SS)]
    for py in range(math.floor(y0), math.ceil(y1)):
        for px in range(math.floor(x0), math.ceil(x1)):
            n = sum(inside(px + dx, py + dy) for dy in offs for dx in offs)
            if n:
                cov[(px, py)] = n / (SS * SS)
    return cov


def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return coverage(inside, x0, y0, x1, y1)


def hexc(s, a=1.0):
    return tuple(int(s[i:i + 2], 16) / 255 for i in (1, 3, 5)) + (a,)


def vgrad(top, bottom, y0, y1):
    def color(x, y):
        t = min(1.0, max(0.0, (y + 0.5 - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return color


def draw_mark(cv, n, ox=0, oy=0):
    """The mark: rounded blue square holding a 2x2 grid of window tiles,
    one picked out in amber. Laid out on a 16-unit grid so that every edge
    lands on a whole pixel at 16, 32 and 48 px."""
    g = n / 16
    x0, y0, x1, y1 = ox + g, oy + g, ox + n - g, oy + n - g
    cv.paint(rrect(x0, y0, x1, y1, 3 * g),
             vgrad(hexc("#3470dc"), hexc("#163c94"), y0, y1))
    if n >= 32:  # faint inner rim keeps the edge readable on dark backdrops
        rim = rrect(x0, y0, x1, y1, 3 * g)
        inner = rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 3 * g - 1)
        cv.paint({k: max(0.0, v - inner.get(k, 0)) for k, v in rim.items()},
                 (1, 1, 1, 0.18))
    tr = 0.6 if n < 32 else g * 0.8
    for row in range(2):
        for col in range(2):
            tx, ty = ox + (3 + 6 * col) * g, oy + (3 + 6 * row) * g
            lit = (row, col) == (0, 1)
            body = hexc("#ffb22e") if lit else hexc("#eef3fb")
            cv.paint(rrect(tx, ty, tx + 4 * g, ty + 4 * g, tr), body)
            if n >= 32:  # title bar, so the tiles read as little windows
                bar = hexc("#e07800") if lit else hexc("#9fb6dc")
                cov = rrect(tx, ty, tx + 4 * g, ty + 4 * g, tr)
                cv.paint({k: v for k, v in cov.items() if k[1] < ty + g}, bar)


def ring(x0, y0, x1, y1, r, w):
    """Coverage of a rounded rectangle's outline, `w` wide, inside its edge."""
    outer = rrect(x0, y0, x1, y1, r)
    inner = rrect(x0 + w, y0 + w, x1 - w, y1 - w, max(0.0, r - w))
    return {k: max(0.0, v - inner.get(k, 0)) for k, v in outer.items()}


def draw_dark_mark(cv, n):
    """The mark for a light taskbar: the same square and 2x2 tiles drawn as
    dark ink on the ground, the square as an outline one grid unit wide, the
    picked tile in a deeper amber that holds 3:1 against near-white."""
    g = n / 16
    x0, y0, x1, y1 = g, g, n - g, n - g
    ink = vgrad(hexc("#24488f"), hexc("#0f2559"), y0, y1)
    cv.paint(ring(x0, y0, x1, y1, 3 * g, g), ink)
    tr = 0.6 if n < 32 else g * 0.8
    for row in range(2):
        for col in range(2):
            tx, ty = (3 + 6 * col) * g, (3 + 6 * row) * g
            lit = (row, col) == (0, 1)
            cov = rrect(tx, ty, tx + 4 * g, ty + 4 * g, tr)
            if n < 32:
                cv.paint(cov, hexc("#c96400") if lit else ink)
                continue
            # body a shade lighter than its title bar, as on the light tiles
            cv.paint(cov, hexc("#d46d00") if lit else hexc("#2f5cb8"))
            bar = hexc("#8a3f00") if lit else hexc("#0f2559")
            cv.paint({k: v for k, v in cov.items() if k[1] < ty + g}, bar)


# --- stroke font: just the letters of "Sorvane" ------------------------------
# Units are pixels; y points up from the baseline. XH = x-height, CAP = cap
# height, SW = stroke width. Each glyph: (advance, clip top, list of polylines).
XH, CAP, SW = 14.0, 20.0, 3.0
H = SW / 2


def arc(cx, cy, rx, ry, a0, a1, steps=40):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]


def _glyphs():
    rb = (XH - SW) / 2  # radius of the round bowls (centre-line)
    o = lambda cx, rx: arc(cx, XH / 2, rx, rb, 0, 360, 64)
    arch = arc(H + 4.3, XH - H - 4.3, 4.3, 4.3, 180, 0)
    r1, r2 = 4.1, 4.4  # upper/lower bowls of S; r1 + r2 = (CAP - SW) / 2
    return {
        "S": (13.6, CAP, [arc(6.8, CAP - H - r1, 5.0, r1, 28, 270) +
                          arc(6.8, H + r2, 5.3, r2, 90, -152)]),
        "o": (12.8, XH, [o(6.4, 4.9)]),
        "r": (9.4, XH, [[(H, -2), (H, XH + 2)],
                        arc(H + 4.6, XH - H - 4.6, 4.6, 4.6, 180, 62)]),
        "v": (12.2, XH, [[(H - 0.6, XH + 2), (6.1, H - 0.2),
                          (12.2 - H + 0.6, XH + 2)]]),
        "a": (12.4, XH, [o(5.6, 4.3), [(12.4 - H, -2), (12.4 - H, XH + 2)]]),
        "n": (11.6, XH, [[(H, -2), (H, XH + 2)],
                         arch + [(H + 8.6, -2)]]),
        "e": (12.6, XH, [[(H, XH / 2), (12.6 - H, XH / 2)] +
                         arc(6.3, XH / 2, 4.8, rb, 0, 318, 56)]),
    }


def seg_dist2(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1)
    t = min(1.0, max(0.0, t))
    ex, ey = ax + dx * t - px, ay + dy * t - py
    return ex * ex + ey * ey


def text_coverage(word, x, baseline, spacing=2.6):
    glyphs, cov = _glyphs(), {}
    for ch in word:
        adv, top, lines = glyphs[ch]
        segs = [(x + a[0], baseline - a[1], x + b[0], baseline - b[1])
                for pl in lines for a, b in zip(pl, pl[1:])]
        ytop = baseline - top

        def inside(px, py, segs=segs, ytop=ytop):
            return ytop <= py <= baseline and any(
                seg_dist2(px, py, *s) <= H * H for s in segs)
        for k, v in coverage(inside, x - 1, ytop, x + adv + 1, baseline).items():
            cov[k] = min(1.0, cov.get(k, 0) + v)
        x += adv + spacing
    return cov


def blur(cov, dx, dy):
    """Shift by (dx, dy) and soften with a small 3x3 kernel."""
    out = {}
    for (x, y), v in cov.items():
        for ky in (-1, 0, 1):
            for kx in (-1, 0, 1):
                w = (4 if kx == ky == 0 else 2 if kx == 0 or ky == 0 else 1) / 16
                k = (x + dx + kx, y + dy + ky)
                out[k] = out.get(k, 0) + v * w
    return out


# --- ICO writer --------------------------------------------------------------
def ico_bytes(canvases):
    head = struct.pack("<HHH", 0, 1, len(canvases))
    offset, entries, blobs = 6 + 16 * len(canvases), b"", b""
    for cv in canvases:
        rows = cv.bgra()
        mask_stride = ((cv.w + 31) // 32) * 4
        xor, mask = b"", b""
        for row in reversed(rows):  # bottom-up
            xor += row
            bits = bytearray(mask_stride)
            for x in range(cv.w):
                if row[4 * x + 3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        img = struct.pack("<IiiHHIIiiII", 40, cv.w, 2 * cv.h, 1, 32, 0,
                          len(xor) + len(mask), 0, 0, 0, 0) + xor + mask
        entries += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0,
                               1, 32, len(img), offset)
        blobs += img
        offset += len(img)
    return head + entries + blobs


def icon(n):
    cv = Canvas(n, n)
    draw_mark(cv, n)
    return cv


def dark_icon(n):
    cv = Canvas(n, n)
    draw_dark_mark(cv, n)
    return cv


def logo():
    cv = Canvas(150, 34)
    draw_mark(cv, 32, 1, 1)
    ink = text_coverage("Sorvane", 40.0, 27.0)
    cv.paint(blur(ink, 1, 1), (0.0, 0.02, 0.08, 0.55))
    cv.paint(ink, vgrad(hexc("#ffffff"), hexc("#dce6f5"), 7, 27))
    return cv


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = {"sorvane.ico": [icon(16), icon(32), icon(48)],
           "sorvane_small.ico": [icon(16)],
           "sorvane_dark.ico": [dark_icon(16), dark_icon(32), dark_icon(48)],
           "logo.ico": [logo()]}
    for name, canvases in out.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(ico_bytes(canvases))


if __name__ == "__main__":
    main()
