#!/usr/bin/env python3
"""Draws the shipped skins and the two tray icons into assets/Look.

    python3 tools/make_skins.py [output folder]     (default: assets/Look)

Standard library only. Every picture is drawn from shapes with 4x4
supersampling, so a change of colour or layout is one edit here and a rerun;
the generated files are committed so that building never needs this script.

Each label of a skin is an opaque box of one colour, so the labels sit in flat
"wells" of the picture and take the well's colour as their _Color.
"""
import os
import re
import struct
import sys

SS = 4  # samples per pixel along each axis


def stored_names(namespace=None):
    """{constant: text} of the names the programs read, from
    common/stored_names.h where each is spelt once; the whole file, or one of
    its namespaces."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common", "stored_names.h")
    with open(header, encoding="utf-8") as f:
        text = f.read()
    if namespace:
        text = re.search(r"^namespace %s \{$(.*?)^\}  // namespace %s$" % (namespace, namespace), text,
                         re.M | re.S).group(1)
    return dict(re.findall(r'constexpr const char\* (\w+) = "([^"\\]*)";', text))


NAMES = stored_names()
SKIN_KEYS = stored_names("skinkey")


def rgb(h):
    h = h.lstrip("#")
    return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))


def colorref(h):
    """Windows colour 0x00BBGGRR as the decimal text look.ini holds."""
    r, g, b = rgb(h)
    return str(r | (g << 8) | (b << 16))


# ---------------------------------------------------------------- drawing ---

class Canvas:
    """RGBA canvas, straight (not premultiplied) alpha, 0..255 floats."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def blend(self, x, y, color, cover):
        if cover <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        r, g, b = color[:3]
        a = (color[3] / 255.0 if len(color) > 3 else 1.0) * min(cover, 1.0)
        p = self.px[y * self.w + x]
        da = p[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i, c in enumerate((r, g, b)):
            p[i] = (c * a + p[i] * da * (1 - a)) / oa
        p[3] = oa * 255.0

    def shape(self, inside, color, box=None):
        """Paints where inside(x, y) holds; coverage from SS x SS samples."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0) - 1), max(0, int(y0) - 1)
        x1, y1 = min(self.w, int(x1) + 2), min(self.h, int(y1) + 2)
        for y in range(y0, y1):
            for x in range(x0, x1):
                n = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            n += 1
                if n:
                    self.blend(x, y, color, n / (SS * SS))

    def rect(self, x0, y0, x1, y1, color):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, color, 1)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = tuple(a + (b - a) * t for a, b in zip(top, bottom))
            self.rect(x0, y, x1, y + 1, c)

    def rrect(self, x0, y0, x1, y1, r, color):
        self.shape(lambda x, y: in_rrect(x, y, x0, y0, x1, y1, r), color, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, color):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color, (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r, width, color):
        ri = r - width
        self.shape(lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color,
                   (cx - r, cy - r, cx + r, cy + r))

    def poly(self, pts, color):
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        self.shape(lambda x, y: in_poly(x, y, pts), color, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, xa, ya, xb, yb, width, color):
        hw = width / 2.0
        self.shape(lambda x, y: seg_dist(x, y, xa, ya, xb, yb) <= hw, color,
                   (min(xa, xb) - hw, min(ya, yb) - hw, max(xa, xb) + hw, max(ya, yb) + hw))

    def rgb_rows(self, background=(0, 0, 0)):
        """Rows of (r, g, b) bytes, top row first, composed over `background`."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                p = self.px[y * self.w + x]
                a = p[3] / 255.0
                row.append(tuple(int(round(p[i] * a + background[i] * (1 - a))) for i in range(3)))
            rows.append(row)
        return rows


def in_rrect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_poly(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return ((px - qx) ** 2 + (py - qy) ** 2) ** 0.5


# ------------------------------------------------------------------ glyphs ---
# Small pictograms beside the figures, so the skin needs no words: an arrow
# down is incoming, up is outgoing; with a bar under it, the amount moved.

def arrow(c, x, y, s, color, down, bar=False):
    """Arrow in the s x s square at (x, y)."""
    m = x + s / 2.0
    shaft = s * 0.16
    head_w = s * 0.42
    if bar:
        top, bottom = y + s * 0.02, y + s * 0.74
    else:
        top, bottom = y + s * 0.04, y + s * 0.96
    head = s * 0.42
    if down:
        pts = [(m - shaft, top), (m + shaft, top), (m + shaft, bottom - head), (m + head_w, bottom - head),
               (m, bottom), (m - head_w, bottom - head), (m - shaft, bottom - head)]
    else:
        pts = [(m - shaft, bottom), (m + shaft, bottom), (m + shaft, top + head), (m + head_w, top + head),
               (m, top), (m - head_w, top + head), (m - shaft, top + head)]
    c.poly(pts, color)
    if bar:
        c.rrect(x + s * 0.08, y + s * 0.84, x + s * 0.92, y + s, s * 0.06, color)


def clock(c, x, y, s, color):
    cx, cy, r = x + s / 2.0, y + s / 2.0, s / 2.0
    c.ring(cx, cy, r, max(1.4, s * 0.13), color)
    c.line(cx, cy, cx, cy - r * 0.6, max(1.3, s * 0.11), color)
    c.line(cx, cy, cx + r * 0.45, cy + r * 0.15, max(1.3, s * 0.11), color)


def coin(c, x, y, s, color, inner):
    cx, cy, r = x + s / 2.0, y + s / 2.0, s / 2.0
    c.circle(cx, cy, r, color)
    c.ring(cx, cy, r * 0.74, max(1.0, s * 0.07), inner)
    # a small rouble-like stroke: a stem with a bowl and a cross bar
    w = max(1.2, s * 0.1)
    c.line(cx - r * 0.18, cy - r * 0.42, cx - r * 0.18, cy + r * 0.45, w, inner)
    c.line(cx - r * 0.18, cy - r * 0.42, cx + r * 0.12, cy - r * 0.42, w, inner)
    c.line(cx + r * 0.12, cy - r * 0.42, cx + r * 0.3, cy - r * 0.22, w, inner)
    c.line(cx + r * 0.3, cy - r * 0.22, cx + r * 0.3, cy - r * 0.08, w, inner)
    c.line(cx + r * 0.3, cy - r * 0.08, cx + r * 0.12, cy + r * 0.08, w, inner)
    c.line(cx + r * 0.12, cy + r * 0.08, cx - r * 0.4, cy + r * 0.08, w, inner)
    c.line(cx - r * 0.4, cy + r * 0.25, cx + r * 0.12, cy + r * 0.25, w, inner)


def sigma(c, x, y, s, color):
    """Sum sign for running totals."""
    w = max(1.3, s * 0.12)
    c.line(x + s * 0.78, y + s * 0.1, x + s * 0.2, y + s * 0.1, w, color)
    c.line(x + s * 0.2, y + s * 0.1, x + s * 0.55, y + s * 0.5, w, color)
    c.line(x + s * 0.55, y + s * 0.5, x + s * 0.2, y + s * 0.9, w, color)
    c.line(x + s * 0.2, y + s * 0.9, x + s * 0.8, y + s * 0.9, w, color)


# ------------------------------------------------------------------- files ---

def write_bmp(path, canvas, background=(0, 0, 0)):
    """24-bit bottom-up Windows bitmap."""
    rows = canvas.rgb_rows(background)
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_image(canvas):
    """One image of an .ico: 32-bit BGRA DIB (double height) and its AND mask."""
    w, h = canvas.w, canvas.h
    xor = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = (int(round(v)) for v in canvas.px[y * w + x])
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            if canvas.px[y * w + x][3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


def write_look_ini(path, name, labels):
    """labels: {number: dict(left, top, width, height, color, font_height, font, font_color)}"""
    k = SKIN_KEYS
    lines = ["[%s]" % NAMES["kSkinAboutSection"], "%s=Varnok Traffic Counter team" % k["Author"],
             "%s=%s" % (k["Name"], name), "", "[%s]" % NAMES["kSkinLabelsSection"]]
    for n in sorted(labels):
        l = labels[n]
        p = "%s%d" % (k["Label"], n)
        lines += ["%s%s=%d" % (p, k["Left"], l["left"]), "%s%s=%d" % (p, k["Top"], l["top"]),
                  "%s%s=%d" % (p, k["Width"], l["width"]), "%s%s=%d" % (p, k["Height"], l["height"]),
                  "%s%s=%s" % (p, k["Color"], colorref(l["color"])),
                  "%s%s=%d" % (p, k["FontHeight"], l["font_height"]), "%s%s=%s" % (p, k["FontName"], l["font"]),
                  "%s%s=%s" % (p, k["FontColor"], colorref(l["font_color"])), "%s%s=1" % (p, k["Visible"])]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))


# ------------------------------------------------------------------- skins ---

FONT = "Tahoma"  # shipped with every Windows since 2000, and with Wine


def default_skin(folder):
    """Dark slate panel, 340 x 76: speeds on top in large type, then the
    session's traffic, then online time and money."""
    c, labels = default_panel(76)
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, NAMES["kSkinPictureFileName"]), c)
    write_look_ini(os.path.join(folder, NAMES["kSkinDescriptionFileName"]),
                   "Стандартный: скорость, трафик сессии, время и деньги", labels)


def default_panel(H):
    """The Default skin's picture at height H, and its labels."""
    W = 340
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 0, W, H, rgb("#34404e") + (255,), rgb("#1e252e") + (255,))
    c.rect(0, 0, W, 1, rgb("#56667a") + (255,))       # top light edge
    c.rect(0, H - 1, W, H, rgb("#0c1015") + (255,))   # bottom dark edge
    c.rect(0, 0, 1, H, rgb("#0c1015") + (200,))
    c.rect(W - 1, 0, W, H, rgb("#0c1015") + (200,))
    well = "#10161d"
    labels = {}
    green, orange = "#5ee27a", "#ffab4a"
    rows = [
        # (top, height, font height, (left glyph, label, text colour), (right glyph, label, text colour))
        (5, 24, -17, ("in", 4, green), ("out", 5, orange)),
        (32, 19, -13, ("in_sum", 1, "#c9f2d2"), ("out_sum", 2, "#ffe2c2")),
        (53, 19, -13, ("time", 11, "#a9ccff"), ("money", 3, "#ffe08a")),
    ]
    cols = [(8, 30, 166), (174, 196, 332)]  # glyph x, well left, well right
    for top, h, fh, *cells in rows:
        for (gx, wl, wr), (glyph, num, fcol) in zip(cols, cells):
            # inset well: dark rim above, light rim below, flat centre
            c.rrect(wl - 1, top - 1, wr + 1, top + h + 1, 4, rgb("#0a0e13") + (255,))
            c.rrect(wl, top, wr + 1, top + h + 1, 4, rgb("#3f4b5a") + (255,))
            c.rrect(wl, top, wr, top + h, 4, rgb(well) + (255,))
            s = 14 if h > 20 else 12
            gy = top + (h - s) / 2.0
            gc = {"in": green, "in_sum": green, "out": orange, "out_sum": orange,
                  "time": "#7fb0ff", "money": "#f3c846"}[glyph]
            if glyph in ("in", "out", "in_sum", "out_sum"):
                arrow(c, gx + (16 - s) / 2.0, gy, s, rgb(gc) + (255,), glyph.startswith("in"), glyph.endswith("sum"))
            elif glyph == "time":
                clock(c, gx + 2, gy, s, rgb(gc) + (255,))
            else:
                coin(c, gx + 2, gy, s, rgb(gc) + (255,), rgb("#5a4300") + (255,))
            pad = 2 if h > 20 else 1
            labels[num] = dict(left=wl + 4, top=top + pad, width=wr - wl - 8, height=h - 2 * pad,
                               color=well, font_height=fh, font=FONT, font_color=fcol)
    return c, labels


def graph_skin(folder):
    """The Default skin's labels in a panel 44 pixels taller, with the
    speed graph of the last minute in a well under them: incoming in the
    green of the incoming arrow, outgoing in the orange of the outgoing one."""
    c, labels = default_panel(120)
    well, rim = "#10161d", 4
    box = dict(left=8, top=78, width=324, height=36)
    x0, y0 = box["left"], box["top"]
    x1, y1 = x0 + box["width"], y0 + box["height"]
    c.rrect(x0 - 2, y0 - 2, x1 + 2, y1 + 2, rim, rgb("#0a0e13") + (255,))
    c.rrect(x0 - 1, y0 - 1, x1 + 2, y1 + 2, rim, rgb("#3f4b5a") + (255,))
    c.rrect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, rim, rgb(well) + (255,))
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, NAMES["kSkinPictureFileName"]), c)
    path = os.path.join(folder, NAMES["kSkinDescriptionFileName"])
    write_look_ini(path, "График: скорость за последнюю минуту под цифрами", labels)
    k = SKIN_KEYS
    keys = [(k["GraphVisible"], "1"), (k["GraphLeft"], box["left"]), (k["GraphTop"], box["top"]),
            (k["GraphWidth"], box["width"]), (k["GraphHeight"], box["height"]), (k["GraphColor"], colorref(well)),
            (k["GraphInColor"], colorref("#5ee27a")), (k["GraphOutColor"], colorref("#ffab4a")),
            (k["GraphSeconds"], 60)]
    with open(path, "ab") as f:
        f.write("".join("%s=%s\r\n" % kv for kv in keys).encode("cp1251"))


def strip_skin(folder):
    """Light one-line strip, 436 x 24: incoming and outgoing speed, online
    time and money of the session, separated by thin rules. Each cell is
    wide enough for its longest usual figure ("1023.99Kb/s", "100:00:00",
    "12345.67 руб.") in 13-pixel Tahoma."""
    W, H = 436, 24
    face = "#eef1f5"
    c = Canvas(W, H, rgb(face) + (255,))
    c.rect(0, 0, W, 1, rgb("#ffffff") + (255,))
    c.rect(0, H - 1, W, H, rgb("#9aa4b1") + (255,))
    c.rect(0, 0, 1, H, rgb("#c3cad3") + (255,))
    c.rect(W - 1, 0, W, H, rgb("#9aa4b1") + (255,))
    cells = [("in", 4, "#1d7f35", 108), ("out", 5, "#b85c00", 108), ("time", 11, "#1f4f9e", 96),
             ("money", 3, "#6b5200", 124)]
    labels = {}
    x = 0
    for i, (glyph, num, fcol, cw) in enumerate(cells):
        if i:
            c.rect(x, 4, x + 1, H - 4, rgb("#b7bfc9") + (255,))
            c.rect(x + 1, 4, x + 2, H - 4, rgb("#ffffff") + (255,))
        s = 12
        gy = (H - s) / 2.0
        if glyph in ("in", "out"):
            arrow(c, x + 7, gy, s, rgb(fcol) + (255,), glyph == "in")
        elif glyph == "time":
            clock(c, x + 7, gy, s, rgb(fcol) + (255,))
        else:
            coin(c, x + 7, gy, s, rgb("#e0b12e") + (255,), rgb("#6b5200") + (255,))
        labels[num] = dict(left=x + 22, top=5, width=cw - 26, height=16, color=face, font_height=-13,
                           font=FONT, font_color=fcol)
        x += cw
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, NAMES["kSkinPictureFileName"]), c)
    write_look_ini(os.path.join(folder, NAMES["kSkinDescriptionFileName"]), "Полоска: скорость, время и деньги в одну строку", labels)


def totals_skin(folder):
    """Deep blue card, 300 x 84: the session beside the running totals
    (in, out, money, time), for a user who watches a monthly quota."""
    W, H = 300, 84
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 0, W, H, rgb("#1f3b6b") + (255,), rgb("#142746") + (255,))
    c.rect(0, 0, W, 1, rgb("#4f73ad") + (255,))
    c.rect(0, H - 1, W, H, rgb("#0a1426") + (255,))
    well = "#0d1a30"
    # column heads: a bare arrow-with-bar glyph for the session, a sum sign for the totals
    arrow(c, 96, 3, 10, rgb("#8fb4ec") + (255,), True, True)
    sigma(c, 220, 3, 10, rgb("#8fb4ec") + (255,))
    rows = [("in", 1, 8, "#7de39a"), ("out", 2, 9, "#ffbe75"), ("money", 3, 10, "#ffe08a"),
            ("time", 11, 12, "#b5d2ff")]
    labels = {}
    for i, (glyph, sess, tot, fcol) in enumerate(rows):
        top = 16 + i * 17
        s = 11
        gy = top + 2
        if glyph in ("in", "out"):
            arrow(c, 10, gy, s, rgb(fcol) + (255,), glyph == "in")
        elif glyph == "time":
            clock(c, 10, gy, s, rgb(fcol) + (255,))
        else:
            coin(c, 10, gy, s, rgb("#f3c846") + (255,), rgb("#5a4300") + (255,))
        for num, (wl, wr) in ((sess, (30, 162)), (tot, (168, 292))):
            c.rrect(wl, top, wr, top + 15, 3, rgb(well) + (255,))
            labels[num] = dict(left=wl + 3, top=top, width=wr - wl - 6, height=15, color=well,
                               font_height=-12, font=FONT, font_color=fcol)
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, NAMES["kSkinPictureFileName"]), c)
    write_look_ini(os.path.join(folder, NAMES["kSkinDescriptionFileName"]), "Итоги: сессия рядом с общим трафиком", labels)


def tray_icon(size, online):
    c = Canvas(size, size)
    s = float(size)
    if online:
        c.rrect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.22, rgb("#1f8f46") + (255,))
        c.rrect(1.5, 1.5, s - 1.5, s * 0.5, s * 0.18, rgb("#3fbf6a") + (120,))
        down, up = rgb("#ffffff") + (255,), rgb("#ffffff") + (255,)
    else:
        c.rrect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.22, rgb("#5d636b") + (255,))
        down, up = rgb("#aab0b8") + (255,), rgb("#aab0b8") + (255,)
    a = s * 0.62
    arrow(c, s * 0.02, s * 0.19, a, down, True)
    arrow(c, s * 0.36, s * 0.19, a, up, False)
    if not online:
        # a red cross in the lower right corner: no connection
        r = s * 0.27
        cx, cy = s - r - 0.2, s - r - 0.2
        c.circle(cx, cy, r, rgb("#ffffff") + (255,))
        c.circle(cx, cy, r - max(1.0, s * 0.06), rgb("#d92b2b") + (255,))
        d = r * 0.45
        w = max(1.3, s * 0.09)
        c.line(cx - d, cy - d, cx + d, cy + d, w, rgb("#ffffff") + (255,))
        c.line(cx - d, cy + d, cx + d, cy - d, w, rgb("#ffffff") + (255,))
    return c


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                                             "assets", "Look")
    os.makedirs(out, exist_ok=True)
    default_skin(os.path.join(out, "Default"))
    strip_skin(os.path.join(out, "Strip"))
    totals_skin(os.path.join(out, "Totals"))
    graph_skin(os.path.join(out, "Graph"))
    write_ico(os.path.join(out, NAMES["kOnlineIconFileName"]), [tray_icon(16, True), tray_icon(32, True)])
    write_ico(os.path.join(out, NAMES["kOfflineIconFileName"]), [tray_icon(16, False), tray_icon(32, False)])
    print("skins written to", os.path.normpath(out))


if __name__ == "__main__":
    main()
