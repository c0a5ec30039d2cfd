#!/usr/bin/python3
"""Draws all of Kalvo's artwork: the skin in res/skin and the icons in res/icons, for displays
at 100, 125, 150 and 200 percent (96, 120, 144 and 192 dpi).

Every picture is painted by the code below at each scale, never enlarged from another: shapes
are given in 100 % pixels ("units"), painted at several times the final size and box-filtered
down, so edges come out anti-aliased; lettering is rendered at the final size with the font
size scaled, where FreeType's hinting keeps it crisp. Places and lengths the program computes
itself (a control's rectangle, a one-pixel outline) are rounded the way it rounds them, see
scaled(), so they land on the same whole pixels. Run from the repository root:

    /usr/bin/python3 tools/make_skin.py              # writes the files listed below
    /usr/bin/python3 tools/make_skin.py --preview D  # also writes contact sheets and mocks of
                                                     # the main window and the dialogs into D

It writes res/skin/<id>.bmp (100 %), res/skin/125|150|200/<id>.png, res/ScaledSkin.rc listing
those PNGs, and res/icons/<id>.ico, each with images at 16, 20, 24, 32, 40, 48 and 64 pixels.

Bitmaps are 24-bit bottom-up BI_RGB files, the PNGs 24-bit RGB. Buttons are loaded with
LR_LOADMAP3DCOLORS, which swaps three exact greys for system colours, so no picture may hold
any of them (see clean()). There is no alpha: every button and key is painted over the very
pixels of the background it is placed on, cut from our own background images.
"""
import io
import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
FONT_BOOK = FONT_DIR + "DejaVuSans.ttf"
FONT_CONDENSED_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"

# ---------------------------------------------------------------------------------------------
# Palette
PANEL = (232, 232, 232)          # the dialog colour: controls painted in it blend in
KEYPAD = (239, 235, 239)
LIST_BACKGROUND = (255, 255, 231)
SELECTION = (37, 100, 139)
PIECE_BORDER = (121, 121, 121)   # list header and scroll bar outlines
BLUE = (81, 138, 178)
BLUE_LIGHT = (104, 158, 197)
BLUE_DARK = (58, 110, 150)
BLUE_EDGE = (40, 82, 116)
BASE_TOP = (207, 214, 223)       # the window around the panels
BASE_BOTTOM = (190, 198, 209)
PANEL_EDGE = (150, 159, 170)
WELL = (176, 186, 199)           # the recess a button sits in
WELL_RIM = (134, 145, 159)
WELL_LIP = (234, 238, 243)
INK = (30, 42, 56)               # lettering on light buttons and keys
CLEAR_RED = (200, 30, 28)
WHITE = (255, 255, 255)

# LR_LOADMAP3DCOLORS replaces these with system colours wherever they occur.
MAPPED_GREYS = ((128, 128, 128), (192, 192, 192), (223, 223, 223))

# ---------------------------------------------------------------------------------------------
# Scales the artwork is drawn at: dpi, percent, and what is added to a 100 % picture's
# resource id for the PNG of that scale.
SCALES = ((96, 100, 0), (120, 125, 10000), (144, 150, 20000), (192, 200, 30000))


def scaled(v, dpi):
    """v pixels at 100 % on a display of `dpi`, rounded as the program's MulDiv(v, dpi, 96)
    does: halves up. Every picture is scaled(w) x scaled(h) of its 100 % size, and a control
    placed at (x, y, w, h) spans scaled(x) to scaled(x + w)."""
    return (v * dpi + 48) // 96


# ---------------------------------------------------------------------------------------------
# Where things go. The main window's controls are placed at fixed client pixels by
# app/MainLayout.cpp; the artwork is drawn to fit them exactly.
MAIN_SIZE = (638, 431)
CATEGORY_LIST = (13, 21, 152, 337)
UNIT_LIST = (185, 21, 152, 337)
RESULT_LIST = (375, 53, 237, 221)
STATUS_TEXT = (1, 377, 636, 19)
SOURCE_VALUE = (481, 25, 127, 21)
SOURCE_UNIT = (381, 28, 99, 21)
LEFT_PANEL = (6, 11, 359, 366)       # x0, y0, x1, y1
RIGHT_PANEL = (367, 11, 632, 366)
TITLE_BAND_BOTTOM = 50
KEYPAD_AREA = (375, 280, 627, 356)
STATUS_BAND = (370, 396)             # first row, row after the last
MAIN_BUTTONS = {                     # strip id: places (x, y) of 46 x 28 buttons
    3221: [(11, 399), (187, 399)],   # rename category, edit unit
    3222: [(64, 399), (240, 399)],
    3223: [(116, 399), (292, 399)],
    3220: [(568, 399)],
}
ABOUT_KEY = (520, 397)
KEYPAD_KEYS = {                      # bitmap id: place of its 32 x 32 key
    3301: (381, 286), 3302: (413, 286), 3303: (445, 286),
    3304: (477, 286), 3305: (509, 286), 3306: (541, 286),
    3307: (381, 318), 3308: (413, 318), 3309: (445, 318),
    3300: (477, 318), 3310: (509, 318), 3320: (541, 318),
    3340: (589, 286), 3330: (589, 318),
}
DIALOG_WIDTH = 442
CATEGORY_HEIGHT, UNIT_HEIGHT, ABOUT_HEIGHT = 226, 316, 226
OK_SIZE, CANCEL_SIZE = (46, 28), (59, 28)
ABOUT_OK = (208, 173)                # the About box's OK button
ABOUT_NOTICE = (144, 26, 414, 143)   # the notice text's client rectangle


# ---------------------------------------------------------------------------------------------
# Painting at a multiple of the final size


class Grad:
    """A linear gradient: colour stops at 0..1 along `axis` between the coordinates `span`
    (units; the painted shape's own extent when None)."""

    def __init__(self, stops, axis="y", span=None):
        if not isinstance(stops[0][1], tuple):  # bare colours, evenly spaced
            step = 1.0 / (len(stops) - 1)
            stops = [(i * step, c) for i, c in enumerate(stops)]
        self.stops, self.axis, self.span = stops, axis, span

    def at(self, t):
        stops = self.stops
        if t <= stops[0][0]:
            return stops[0][1]
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                k = 0 if t1 == t0 else (t - t0) / (t1 - t0)
                return tuple(round(a + (b - a) * k) for a, b in zip(c0, c1))
        return stops[-1][1]


def mix(a, b, k):
    return tuple(round(x + (y - x) * k) for x, y in zip(a, b))


def shade(colour, amount):
    return tuple(max(0, min(255, round(c + amount))) for c in colour)


class Painter:
    """An RGB picture of w x h units (100 % pixels) shown at `dpi`: scaled(w) x scaled(h) final
    pixels, painted at `ss` times that. Coordinates are in units; whole() and `one` give the
    places and the line width that fall on whole final pixels, for edges that must be crisp or
    must meet what the program puts there. self.w and self.h are the picture's own extent.

    With coverage=True it also keeps the union of everything painted, which becomes an icon's
    transparency mask."""

    def __init__(self, w, h, base, ss=4, coverage=False, dpi=96):
        self.dpi, self.ss = dpi, ss
        self.k = dpi / 96           # final pixels per unit
        self.f = self.k * ss        # painted pixels per unit
        self.t = scaled(1, dpi)     # a one-pixel line at this scale, in final pixels
        self.one = self.t / self.k  # the same in units
        self.w, self.h = self.whole(w), self.whole(h)
        size = (scaled(w, dpi) * ss, scaled(h, dpi) * ss)
        if isinstance(base, Image.Image):
            self.img = base.convert("RGB").resize(size, Image.NEAREST)
        else:
            self.img = Image.new("RGB", size, base)
        self.cover = Image.new("L", size, 0) if coverage else None

    def whole(self, v):
        """The units of the whole final pixel that the program puts coordinate v (100 %) at."""
        return scaled(v, self.dpi) / self.k

    # --- masks, in units; (x0, y0, x1, y1) spans [x0, x1) x [y0, y1)
    def blank(self):
        return Image.new("L", self.img.size, 0)

    def _box(self, x0, y0, x1, y1):
        s = self.f
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def _pt(self, x, y):
        return (x * self.f - 0.5, y * self.f - 0.5)

    def rect(self, x0, y0, x1, y1, r=0.0):
        m = self.blank()
        d = ImageDraw.Draw(m)
        if r > 0:
            d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.f, fill=255)
        else:
            d.rectangle(self._box(x0, y0, x1, y1), fill=255)
        return m

    def ellipse(self, x0, y0, x1, y1):
        m = self.blank()
        ImageDraw.Draw(m).ellipse(self._box(x0, y0, x1, y1), fill=255)
        return m

    def circle(self, cx, cy, r):
        return self.ellipse(cx - r, cy - r, cx + r, cy + r)

    def polygon(self, points):
        m = self.blank()
        ImageDraw.Draw(m).polygon([self._pt(x, y) for x, y in points], fill=255)
        return m

    def stroke(self, points, width, closed=False):
        m = self.blank()
        pts = [self._pt(x, y) for x, y in points]
        if closed:
            pts = pts + pts[:2]
        w = max(1, round(width * self.f))
        d = ImageDraw.Draw(m)
        d.line(pts, fill=255, width=w, joint="curve")
        r = w / 2
        if not closed:  # round caps
            for x, y in (pts[0], pts[-1]):
                d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        return m

    def arc(self, x0, y0, x1, y1, start, end, width):
        m = self.blank()
        ImageDraw.Draw(m).arc(self._box(x0, y0, x1, y1), start, end, fill=255,
                              width=max(1, round(width * self.f)))
        return m

    def pie(self, x0, y0, x1, y1, start, end):
        m = self.blank()
        ImageDraw.Draw(m).pieslice(self._box(x0, y0, x1, y1), start, end, fill=255)
        return m

    # --- painting
    def _fill_image(self, fill, box):
        x0, y0, x1, y1 = box
        size = (x1 - x0, y1 - y0)
        if not isinstance(fill, Grad):
            return Image.new("RGB", size, fill)
        s = self.f
        if fill.axis == "y":
            a, b = fill.span if fill.span else (y0 / s, y1 / s)
            n, first = size[1], y0
        else:
            a, b = fill.span if fill.span else (x0 / s, x1 / s)
            n, first = size[0], x0
        line = Image.new("RGB", (1, n) if fill.axis == "y" else (n, 1))
        line.putdata([fill.at(((first + i + 0.5) / s - a) / max(1e-9, b - a)) for i in range(n)])
        return line.resize(size, Image.NEAREST)

    def paint(self, mask, fill, opacity=1.0):
        if opacity < 1.0:
            mask = mask.point(lambda v: round(v * opacity))
        box = mask.getbbox()
        if not box:
            return
        self.img.paste(self._fill_image(fill, box), box[:2], mask.crop(box))
        if self.cover is not None:
            self.cover = ImageChops.lighter(self.cover, mask)

    def shadow(self, mask, dx, dy, blur, opacity, colour=(0, 0, 0)):
        s = self.f
        m = self.blank()
        m.paste(mask, (round(dx * s), round(dy * s)))
        if blur > 0:
            m = m.filter(ImageFilter.GaussianBlur(blur * s))
        self.paint(m, colour, opacity)

    def result(self):
        return self.img.reduce(self.ss)

    def coverage(self):
        return self.cover.reduce(self.ss)


def cut(a, b):
    """Mask a without mask b."""
    return ImageChops.subtract(a, b)


def both(a, b):
    return ImageChops.multiply(a, b)


def fade(p, mask, y0, y1, a0, a1):
    """Mask scaled by an opacity running from a0 at y0 to a1 at y1 (units)."""
    ramp = p._fill_image(Grad([(0, (round(a0 * 255),) * 3), (1, (round(a1 * 255),) * 3)],
                              span=(y0, y1)), (0, 0) + p.img.size).convert("L")
    return ImageChops.multiply(mask, ramp)


def font(size, face=FONT_BOLD):
    return ImageFont.truetype(face, size)


def letter(img, p, text, size, centre, colour, emboss=None, shift=0, on_caps=False):
    """Draws text in bold of `size` (at 100 %) onto img, the finished picture of painter p, at
    final size with its inked box centred on `centre` (units; or, on_caps, centred between
    the baseline and the capital height, so words with and without ascenders sit alike). An
    emboss colour adds a highlight one line below, as if the letters were pressed into the
    surface; `shift` moves the text right and down by whole lines, for a pressed button."""
    fnt = font(scaled(size, p.dpi))
    d = ImageDraw.Draw(img)
    l, t, r, b = d.textbbox((0, 0), text, font=fnt)
    if on_caps:
        _, t, _, b = d.textbbox((0, 0), "H", font=fnt)
    x = round(centre[0] * p.k - (l + r) / 2) + shift * p.t
    y = round(centre[1] * p.k - (t + b) / 2) + shift * p.t
    if emboss:
        colour_e, offset = emboss if isinstance(emboss[0], tuple) else (emboss, 1)
        d.text((x, y + offset * p.t), text, font=fnt, fill=colour_e)
    d.text((x, y), text, font=fnt, fill=colour)


def clean(img):
    """Moves any pixel that is exactly one of the mapped greys one step off it."""
    swap = {c: (c[0], c[1], c[2] + 1) for c in MAPPED_GREYS}
    data = list(img.getdata())
    if any(px in swap for px in data):
        img.putdata([swap.get(px, px) for px in data])
    return img


# ---------------------------------------------------------------------------------------------
# File writers


def png_bytes(img):
    """A 24-bit RGB PNG with no time or text chunks, so the same picture gives the same bytes."""
    out = io.BytesIO()
    img.convert("RGB").save(out, "PNG", optimize=True)
    return out.getvalue()


def bmp_bytes(img):
    """A 24-bit, bottom-up, uncompressed Windows bitmap file."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    raw = img.tobytes("raw", "BGR", stride, -1)  # rows bottom-up, each padded to 4 bytes
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(raw), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(raw), 0, 0, 14 + len(info))
    return head + info + raw


def _mask_rows(opaque):
    """1-bit AND mask, bottom-up: set bits are transparent."""
    size = opaque.width
    row_bytes = ((size + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(row_bytes)
        for x in range(size):
            if not opaque.getpixel((x, y)):
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def ico_entry_24(rgb, opaque):
    size = rgb.width
    black = Image.new("RGB", rgb.size, (0, 0, 0))
    xor_img = Image.composite(rgb, black, opaque.point(lambda v: 255 if v else 0))
    stride = (size * 3 + 3) & ~3
    xor = xor_img.tobytes("raw", "BGR", stride, -1)
    mask = _mask_rows(opaque)
    head = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return head + xor + mask


def ico_entry_8(rgb, opaque):
    """256-colour entry: 255 colours quantised from the picture, the last slot black for the
    transparent pixels."""
    size = rgb.width
    quant = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quant.getpalette()[: 255 * 3]
    palette += [0] * (255 * 3 - len(palette)) + [0, 0, 0]
    indices = bytearray()
    stride = (size + 3) & ~3
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            row[x] = quant.getpixel((x, y)) if opaque.getpixel((x, y)) else 255
        indices += row
    quad = b"".join(bytes((palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0)) for i in range(256))
    mask = _mask_rows(opaque)
    head = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(indices) + len(mask), 0, 0, 256, 0)
    return head + quad + bytes(indices) + mask


def ico_bytes(entries):
    """entries: (size, bits, data) per image."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, bits, data in entries:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    return bytes(out)


# ---------------------------------------------------------------------------------------------
# Pieces shared by the backgrounds


def panel(p, box, radius=7):
    """A raised panel over the 100 % box (x0, y0, x1, y1), its outline on whole pixels."""
    x0, y0, x1, y1 = (p.whole(v) for v in box)
    o = p.one
    outer = p.rect(x0, y0, x1, y1, radius)
    p.shadow(outer, 0, 1.5, 2.2, 0.30)
    p.paint(outer, PANEL_EDGE)
    p.paint(p.rect(x0 + o, y0 + o, x1 - o, y1 - o, radius - o), PANEL)
    # a lit top edge and a faintly shaded bottom edge, inside the outline
    p.paint(p.rect(x0 + radius, y0 + o, x1 - radius, y0 + 2 * o), (249, 249, 250))
    p.paint(p.rect(x0 + radius, y1 - 2 * o, x1 - radius, y1 - o), (220, 221, 224))


def sunken(p, box):
    """A one-line frame just outside a control's box (x0, y0, x1, y1; units on whole pixels):
    shaded above and to the left, lit below and to the right."""
    x0, y0, x1, y1 = box
    o = p.one
    dark, darker, light = (146, 154, 165), (120, 128, 140), (252, 252, 253)
    p.paint(p.rect(x0 - o, y0 - o, x1 + o, y0), darker)
    p.paint(p.rect(x0 - o, y0 - o, x0, y1 + o), dark)
    p.paint(p.rect(x1, y0 - o, x1 + o, y1 + o), dark)
    p.paint(p.rect(x0 - o, y1, x1 + o, y1 + o), dark)
    p.paint(p.rect(x0 - o, y1 + o, x1 + 2 * o, y1 + 2 * o), light)
    p.paint(p.rect(x1 + o, y0 - o, x1 + 2 * o, y1 + 2 * o), light)


def well(p, x, y, w, h):
    """The recess under a button of w x h at (x, y); flat WELL under the button itself. It is
    laid out from the button's whole-pixel place, so every well of a size comes out the same
    and one strip fits them all."""
    x0, y0 = p.whole(x), p.whole(y)
    x1, y1 = x0 + p.whole(w), y0 + p.whole(h)
    o = p.one
    p.paint(p.rect(x0 - 2 * o, y0 - o, x1 + 2 * o, y1 + 3 * o, 7), WELL_LIP)
    p.paint(p.rect(x0 - 2 * o, y0 - 2 * o, x1 + 2 * o, y1 + 2 * o, 7), WELL_RIM)
    p.paint(p.rect(x0 - o, y0 - o, x1 + o, y1 + o, 7 - o), shade(WELL, -14))
    p.paint(p.rect(x0 - o, y0, x1 + o, y1 + o, 7 - o), WELL)


def round_well(p, cx, cy, r):
    o = p.one
    p.paint(p.circle(cx, cy + 0.8 * o, r), WELL_LIP)
    p.paint(p.circle(cx, cy, r), WELL_RIM)
    p.paint(p.circle(cx, cy, r - o), shade(WELL, -14))
    p.paint(p.circle(cx, cy + 0.7 * o, r - 1.3 * o), WELL)


def band(p, x0, y0, x1, y1, mask=None):
    """The blue band between whole-pixel rows y0 and y1: lit top edge, a gloss step, a dark
    bottom edge."""
    m = p.rect(x0, y0, x1, y1)
    if mask is not None:
        m = both(m, mask)
    p.paint(m, Grad([(0, BLUE_LIGHT), (0.45, (90, 147, 187)), (0.46, (82, 139, 179)),
                     (1, BLUE_DARK)], span=(y0, y1)))
    p.paint(both(m, p.rect(x0, y0, x1, y0 + p.one)), (142, 188, 218))
    p.paint(both(m, p.rect(x0, y1 - p.one, x1, y1)), BLUE_EDGE)


def footer(p, ok_y):
    """A dialog's footer, from 13 pixels above its OK button at ok_y to the bottom. Its shading
    is measured from its top, so every dialog's OK button sits on the same pixels. Returns the
    footer's top."""
    top = p.whole(ok_y) - p.whole(13)
    p.paint(p.rect(0, top, p.w, p.h), Grad([(226, 229, 234), (209, 214, 221)],
                                           span=(top, top + p.whole(66))))
    p.paint(p.rect(0, top, p.w, top + p.one), (196, 201, 209))
    p.paint(p.rect(0, top + p.one, p.w, top + 2 * p.one), (248, 249, 250))
    return top


def base(p, top=BASE_TOP, bottom=BASE_BOTTOM):
    p.paint(p.rect(0, 0, p.w, p.h), Grad([top, bottom], span=(0, p.h)))


# ---------------------------------------------------------------------------------------------
# Backgrounds


def main_background(dpi):
    w, h = MAIN_SIZE
    p = Painter(w, h, BASE_TOP, ss=4, dpi=dpi)
    at, o = p.whole, p.one
    base(p)
    p.paint(p.rect(0, 0, p.w, o), (226, 231, 237))

    panel(p, LEFT_PANEL)
    panel(p, RIGHT_PANEL)

    # the right panel's title band: the panel's own rounded top, cut off above the results
    x0, y0, x1, y1 = (at(v) for v in RIGHT_PANEL)
    title = at(TITLE_BAND_BOTTOM)
    inner = p.rect(x0 + o, y0 + o, x1 - o, y1 - o, 7 - o)
    band(p, x0 + o, y0 + o, x1 - o, title, inner)
    p.paint(p.rect(x0 + o, title, x1 - o, title + o), (247, 247, 248))

    # bezel of the source value field
    x, y, fw, fh = SOURCE_VALUE
    x0, y0, x1, y1 = at(x), at(y), at(x + fw), at(y + fh)
    p.paint(p.rect(x0 - o, y0 - o, x1 + 2 * o, y1 + 2 * o, 2), (150, 190, 218))  # lit below, right
    p.paint(p.rect(x0 - 2 * o, y0 - 2 * o, x1 + o, y1 + o, 2), (34, 70, 98))
    p.paint(p.rect(x0 - o, y0 - o, x1 + o, y1 + o), (44, 84, 114))
    p.paint(p.rect(x0, y0, x1, y1), LIST_BACKGROUND)

    for x, y, lw, lh in (CATEGORY_LIST, UNIT_LIST, RESULT_LIST):
        box = (at(x), at(y), at(x + lw) + at(14), at(y + lh))  # the list and its bar to the right
        sunken(p, box)
        p.paint(p.rect(*box), LIST_BACKGROUND)

    # keypad
    kx0, ky0, kx1, ky1 = (at(v) for v in KEYPAD_AREA)
    p.paint(p.rect(kx0, ky0 + o, kx1, ky1 + o, 6), (250, 250, 251))
    p.paint(p.rect(kx0, ky0, kx1, ky1, 6), (198, 194, 204))
    p.paint(p.rect(kx0 + o, ky0 + o, kx1 - o, ky1 - o, 6 - o), (226, 222, 229))
    p.paint(p.rect(kx0 + o, ky0 + 2 * o, kx1 - o, ky1 - o, 6 - o), KEYPAD)
    # etched divider between the digits and the editing keys
    x, y0, y1 = at(580), at(291), at(345)
    p.paint(p.rect(x, y0, x + o, y1), (212, 207, 216))
    p.paint(p.rect(x + o, y0, x + 2 * o, y1), (252, 251, 252))

    # status band across the window
    s0, s1 = (at(v) for v in STATUS_BAND)
    p.paint(p.rect(0, s0 - o, p.w, s0), (228, 233, 239))
    band(p, 0, s0, p.w, s1)

    # bottom row: wells
    for places in MAIN_BUTTONS.values():
        for bx, by in places:
            well(p, bx, by, 46, 28)
    round_well(p, at(ABOUT_KEY[0]) + 16, at(ABOUT_KEY[1]) + 16, 17.2)

    img = p.result()
    # an engraved wordmark in the free part of the bottom row
    letter(img, p, "Kalvo", 15, (429, 413), (156, 167, 181), emboss=(226, 231, 238))
    return clean(img)


def dialog_background(height, ok_y, pictogram, dpi):
    """A dialog: one calm panel in the dialog colour with a blue strip along the top, and a
    footer holding the OK and Cancel wells; a pictogram at the footer's left."""
    p = Painter(DIALOG_WIDTH, height, PANEL, ss=4, dpi=dpi)
    band(p, 0, 0, p.w, p.whole(6))
    top = footer(p, ok_y)
    well(p, 268, ok_y, *OK_SIZE)
    well(p, 343, ok_y, *CANCEL_SIZE)
    draw_pictogram(p, pictogram, 16, top + (p.h - top - 36) / 2 + 1, 36)
    return clean(p.result())


def about_background(dpi):
    p = Painter(DIALOG_WIDTH, ABOUT_HEIGHT, PANEL, ss=4, dpi=dpi)
    at, o = p.whole, p.one
    band(p, 0, 0, p.w, at(6))
    footer(p, ABOUT_OK[1])

    # the sunken frame around the notice
    x0, y0, x1, y1 = ABOUT_NOTICE
    fx0, fy0, fx1, fy1 = at(x0 - 8), at(y0 - 9), at(x1 + 8), at(y1 + 8)
    p.paint(p.rect(fx0, fy0, fx1 + o, fy1 + o, 5), (252, 252, 253))
    p.paint(p.rect(fx0, fy0, fx1, fy1, 5), (164, 170, 179))
    p.paint(p.rect(fx0 + o, fy0 + o, fx1 - o, fy1 - o, 5 - o), (218, 219, 222))
    p.paint(p.rect(fx0 + o, fy0 + 2 * o, fx1 - o, fy1 - o, 5 - o), PANEL)

    numbers = tape_measure(p, at(8), at(18))
    well(p, *ABOUT_OK, *OK_SIZE)
    draw_symbol(p, 394, 172, 40)
    img = p.result()
    for text, centre in numbers:
        letter(img, p, text, 8, centre, (200, 24, 16))
    return clean(img)


def tape_measure(p, ox, oy):
    """A tape measure seen from the side: a yellow case in a rubber grip, and its blade drawn
    out to the right. Returns the blade's numbers and their places, for lettering at final
    size."""
    def r(x0, y0, x1, y1, rad=0):
        return p.rect(ox + x0, oy + y0, ox + x1, oy + y1, rad)

    # the shadow the whole thing casts on the panel
    p.shadow(p.ellipse(ox + 0, oy + 96, ox + 128, oy + 110), 0, 0, 3, 0.20)
    # belt clip behind the case
    clip = r(0, 42, 8, 88, 3)
    p.paint(clip, Grad([(112, 120, 132), (230, 234, 240), (150, 158, 170)], axis="x", span=(ox, ox + 8)))
    # blade, running out of the case's mouth
    by0, by1 = 86, 101
    blade = r(50, by0, 123, by1, 1)
    p.shadow(blade, 0, 1.5, 1.5, 0.30)
    p.paint(blade, Grad([(255, 238, 150), (250, 218, 80), (232, 190, 50)], span=(oy + by0, oy + by1)))
    p.paint(r(50, by0, 123, by0 + 1), (255, 250, 214))
    p.paint(r(50, by1 - 1, 123, by1), (176, 132, 20))
    first = 71.5
    for i in range(0, 40):
        x = first + i * 2.0
        if x > 121:
            break
        length = 6 if i % 10 == 0 else 4 if i % 5 == 0 else 2.5
        p.paint(p.rect(ox + x, oy + by0 + 1, ox + x + 0.7, oy + by0 + 1 + length), (44, 36, 16))
    # the hook at the blade's end
    hook = r(121, by0 - 5, 126, by1 + 1, 1)
    p.paint(hook, Grad([(236, 240, 244), (150, 158, 168)], axis="x", span=(ox + 121, ox + 126)))
    p.paint(r(121, by0 - 5, 122, by1 + 1), (250, 251, 252))
    p.paint(r(125.2, by0 - 5, 126, by1 + 1), (110, 118, 128))

    # case: rubber grip, yellow body
    case = r(4, 30, 76, 102, 22)
    p.shadow(case, 1.5, 2.5, 3, 0.35)
    p.paint(case, Grad([(74, 78, 88), (34, 36, 42)], span=(oy + 30, oy + 102)))
    body = r(8, 34, 72, 98, 18)
    p.paint(body, Grad([(255, 218, 76), (248, 184, 24), (220, 146, 12)], span=(oy + 34, oy + 98)))
    shine = both(body, p.ellipse(ox + 10, oy + 32, ox + 70, oy + 70))
    p.paint(fade(p, shine, oy + 34, oy + 66, 0.5, 0.0), (255, 255, 255))
    # the mouth the blade comes out of
    p.paint(r(72, by0 - 2, 77, by1 + 1, 1), (24, 26, 30))
    # the round side plate with its spindle
    cx, cy = ox + 40, oy + 66
    p.paint(p.circle(cx, cy + 1, 23), (255, 236, 150))
    p.paint(p.circle(cx, cy, 23), (160, 104, 6))
    p.paint(p.circle(cx, cy, 21.8), Grad([(232, 166, 18), (255, 214, 78)], span=(cy - 22, cy + 22)))
    p.paint(p.circle(cx, cy, 15.5), (214, 150, 14), 0.5)
    p.paint(p.circle(cx, cy, 14.5), Grad([(255, 214, 78), (236, 170, 20)], span=(cy - 15, cy + 15)))
    p.paint(p.circle(cx, cy, 7.5), Grad([(250, 251, 252), (140, 148, 158)], span=(cy - 7.5, cy + 7.5)))
    p.paint(p.circle(cx, cy, 6.3), Grad([(156, 164, 174), (238, 240, 244)], span=(cy - 6.3, cy + 6.3)))
    p.paint(p.circle(cx, cy, 2.3), (66, 72, 82))
    # lock slider on top of the case
    p.paint(r(38, 23, 60, 33, 3), Grad([(236, 66, 44), (156, 22, 14)], span=(oy + 23, oy + 33)))
    p.paint(r(41, 24, 57, 25), (255, 160, 140))
    return [(str(n), (ox + first + n * 20 - 6, oy + by0 + 10)) for n in (1, 2)]


# ---------------------------------------------------------------------------------------------
# Buttons and keys


def frames(background, dpi, x, y, w, h):
    """The background under a control the program places at (x, y) with w x h (100 %)."""
    x0, y0 = scaled(x, dpi), scaled(y, dpi)
    return background.crop((x0, y0, x0 + scaled(w, dpi), y0 + scaled(h, dpi)))


def strip_frame(crop, size, word, state, dpi):
    p = Painter(*size, crop, ss=8, dpi=dpi)
    w, h, o = p.w, p.h, p.one
    outer = p.rect(0, 0, w, h, 5.5)
    if state == "pressed":
        p.paint(outer, (70, 84, 102))
        p.paint(p.rect(o, o, w - o, h - o, 5.5 - o),
                Grad([(178, 190, 204), (204, 213, 224), (214, 222, 231)]))
        p.paint(p.rect(o, o, w - o, 3 * o, 5.5 - o), (150, 163, 180), opacity=0.6)
    else:
        lit = state == "hovered"
        p.paint(outer, (58, 116, 166) if lit else (94, 108, 126))
        body = p.rect(o, o, w - o, h - o, 5.5 - o)
        if lit:
            colours = [(0, (252, 254, 255)), (0.48, (226, 239, 251)), (0.5, (200, 224, 246)),
                       (1, (232, 246, 255))]
        else:
            colours = [(0, (254, 254, 255)), (0.48, (234, 238, 243)), (0.5, (216, 223, 231)),
                       (1, (238, 242, 247))]
        p.paint(body, Grad(colours, span=(o, h - o)))
        p.paint(cut(body, p.rect(2 * o, 2 * o, w - 2 * o, h - 2 * o, 5.5 - 2 * o)), WHITE,
                opacity=0.55)
    img = p.result()
    pressed = state == "pressed"
    emboss = (214, 222, 231) if pressed else WHITE
    letter(img, p, word, 11, (w / 2, h / 2), INK, emboss=emboss, shift=int(pressed), on_caps=True)
    return img


def button_strip(background, dpi, place, size, word):
    """Normal, pressed and hovered side by side, each painted over the background at place."""
    crop = frames(background, dpi, *place, *size)
    out = Image.new("RGB", (crop.width * 3, crop.height))
    for i, state in enumerate(("normal", "pressed", "hovered")):
        out.paste(strip_frame(crop, size, word, state, dpi), (i * crop.width, 0))
    return clean(out)


def round_key_frame(crop, symbol, state, dpi):
    p = Painter(32, 32, crop, ss=8, dpi=dpi)
    cx, cy, r = 16, 15.6, 14.6
    o = p.one
    pressed = state == "pressed"
    lit = state == "hovered"
    if not pressed:
        p.shadow(p.circle(cx, cy, r), 0, 1.2, 0.9, 0.42)
    rim = (76, 134, 182) if lit else (104, 114, 128)
    p.paint(p.circle(cx, cy, r), (84, 96, 112) if pressed else rim)
    body = p.circle(cx, cy, r - o)
    if pressed:
        p.paint(body, Grad([(186, 196, 208), (214, 221, 230), (230, 235, 241)], span=(cy - r, cy + r)))
        p.paint(cut(body, p.circle(cx, cy + 1.3, r - o)), (150, 162, 178), opacity=0.7)
    else:
        top, bottom = ((248, 252, 255), (198, 222, 244)) if lit else ((250, 251, 253), (206, 213, 223))
        p.paint(body, Grad([top, mix(top, bottom, 0.45), bottom], span=(cy - r, cy + r)))
        # the light bounced into the lower rim and the gloss over the upper half
        glow = cut(body, p.circle(cx, cy - 2.2, r - 2))
        p.paint(fade(p, glow, cy, cy + r, 0.0, 0.9), (255, 255, 255))
        gloss = p.ellipse(cx - r + 3.2, cy - r + 1.6, cx + r - 3.2, cy + 1.0)
        p.paint(fade(p, gloss, cy - r + 1.6, cy + 1, 0.95, 0.15), (255, 255, 255))
    shift = o if pressed else 0  # the same whole pixels as the lettering's
    colour = CLEAR_RED if symbol == "C" else (34, 92, 146) if symbol == "?" else INK
    if symbol == ".":
        p.paint(p.circle(cx + shift, cy + 4.2 + shift, 2.3), colour)
    elif symbol == "back":
        sx, sy = cx + shift - 0.5, cy + shift
        p.paint(p.polygon([(sx - 8, sy), (sx - 1.5, sy - 6.2), (sx - 1.5, sy + 6.2)]), colour)
        p.paint(p.rect(sx - 2, sy - 2.1, sx + 8, sy + 2.1, 0.8), colour)
    img = p.result()
    if symbol not in (".", "back"):
        size = 16 if symbol not in ("\u00b1",) else 17
        letter(img, p, symbol, size, (cx + 0.5 / p.k, cy), colour, emboss=(WHITE, 1),
               shift=int(pressed))
    return img


def round_key(background, dpi, place, symbol):
    crop = frames(background, dpi, *place, 32, 32)
    out = Image.new("RGB", (crop.width * 3, crop.height))
    for i, state in enumerate(("normal", "pressed", "hovered")):
        out.paste(round_key_frame(crop, symbol, state, dpi), (i * crop.width, 0))
    return clean(out)


# ---------------------------------------------------------------------------------------------
# List header and scroll bar pieces


def header_rows(dpi=96):
    """The scaled(17) rows shared by the list header and the scroll bar's arrow buttons: an
    outline line above and below, and between them a lit upper part that steps down to a
    shaded lower part (7 and 8 rows at 100 %)."""
    t = scaled(1, dpi)
    inner = scaled(17, dpi) - 2 * t
    upper = round(inner * 7 / 15)
    lower = inner - upper
    top = Grad([(0, (254, 254, 254)), (1, (238, 239, 242))])
    bottom = Grad([(0, (225, 228, 233)), (1, (240, 242, 246))])
    rows = [PIECE_BORDER] * t
    rows += [top.at(i / (upper - 1)) for i in range(upper)]
    rows += [bottom.at(i / (lower - 1)) for i in range(lower)]
    return rows + [PIECE_BORDER] * t


def from_rows(rows):
    """A picture from its rows of colours."""
    img = Image.new("RGB", (len(rows[0]), len(rows)))
    img.putdata([c for row in rows for c in row])
    return img


def spread(colours, n):
    """n colours running evenly through the given ones, as if they were stretched to n."""
    last = len(colours) - 1
    out = []
    for i in range(n):
        u = min(max((i + 0.5) * len(colours) / n - 0.5, 0), last)
        j = min(int(u), last - 1)
        out.append(mix(colours[j], colours[j + 1], u - j))
    return out


def edge_lines(dpi):
    """(outline, lit or shaded line inside it) widths of the list pieces: one line each, but
    together no wider than two pixels at the scale, as 3 pixels at 150 % must hold both."""
    t = scaled(1, dpi)
    return t, min(t, scaled(2, dpi) - t)


def header_pieces(dpi=96):
    """The middle column (tiled one pixel column at a time, so all its columns are alike) and
    the two caps: an outline down the outer side and a lit or shaded line inside it."""
    rows = header_rows(dpi)
    t, edge = edge_lines(dpi)
    cap = scaled(2, dpi)
    rest = cap - t - edge
    mid = from_rows([[row] * t for row in rows])
    left = from_rows([[row] * cap if row == PIECE_BORDER else
                      [PIECE_BORDER] * t + [WHITE] * edge + [row] * rest for row in rows])
    right = from_rows([[row] * cap if row == PIECE_BORDER else
                       [row] * rest + [shade(row, -14)] * edge + [PIECE_BORDER] * t for row in rows])
    return mid, left, right


def arrow_piece(up, dpi=96):
    rows = header_rows(dpi)
    (t, edge), w = edge_lines(dpi), scaled(14, dpi)
    inner = w - 2 * t - 2 * edge
    body = from_rows([[row] * w if row == PIECE_BORDER else
                      [PIECE_BORDER] * t + [WHITE] * edge + [row] * inner + [shade(row, -14)] * edge
                      + [PIECE_BORDER] * t for row in rows])
    p = Painter(14, 17, body, ss=8, dpi=dpi)
    cx, cy = p.w / 2, p.h / 2
    # at least a pixel of plain header between the edge lines and the glyph, also where the
    # lines are thicker than the scale (2 pixels at 150 %)
    k = min(1.0, (cx - (t + edge + 1.2) / p.k) / 3.8)
    pts = [(-3.8, 2.0), (3.8, 2.0), (0, -2.3)] if up else [(-3.8, -2.0), (3.8, -2.0), (0, 2.3)]
    pts = [(cx + x * k, cy + y * k) for x, y in pts]
    p.paint(p.polygon([(x, y + p.one) for x, y in pts]), WHITE, opacity=0.8)
    p.paint(p.polygon(pts), (62, 68, 78))
    return clean(p.result())


TRACK_COLUMNS = [PIECE_BORDER, (212, 215, 220), (224, 226, 230), (231, 233, 236), (235, 236, 239),
                 (237, 238, 241), (238, 239, 242), (238, 239, 242), (237, 238, 241), (236, 237, 240),
                 (234, 235, 238), (231, 232, 236), (226, 228, 232), PIECE_BORDER]


def track_piece(dpi=96):
    t, w, h = scaled(1, dpi), scaled(14, dpi), scaled(200, dpi)
    border = [PIECE_BORDER] * t
    img = Image.new("RGB", (w, h))
    img.putdata((border + spread(TRACK_COLUMNS[1:-1], w - 2 * t) + border) * h)
    return img


def thumb_columns(dpi=96):
    """The header's gradient rows laid across the thumb's width, between a lit line on the
    left and a shaded one on the right."""
    rows = header_rows()[1:16]
    (t, edge), w = edge_lines(dpi), scaled(14, dpi)
    n = w - 2 * t - 2 * edge
    cols = [PIECE_BORDER] * t + [WHITE] * edge
    cols += [rows[round(i * 14 / n)] for i in range(n)]
    cols += [shade(rows[14], -14)] * edge
    return cols + [PIECE_BORDER] * t


def thumb_piece(dpi=96):
    cols = thumb_columns(dpi)
    (t, edge), w, h = edge_lines(dpi), len(cols), scaled(37, dpi)
    img = Image.new("RGB", (w, h))
    img.putdata(cols * h)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, t - 1), fill=PIECE_BORDER)
    d.rectangle((0, h - t, w - 1, h - 1), fill=PIECE_BORDER)
    d.rectangle((t, t, w - 1 - t, t + edge - 1), fill=WHITE)
    grip, x = scaled(6, dpi), (w - scaled(6, dpi)) // 2
    for i in range(3):
        y = scaled(14, dpi) + i * scaled(3, dpi)
        d.rectangle((x, y, x + grip - 1, y + t - 1), fill=(132, 138, 148))
        d.rectangle((x, y + t, x + grip - 1, y + 2 * t - 1), fill=WHITE)
    return clean(img)


def cap_pieces(dpi=96):
    cols = thumb_columns(dpi)
    t, w, h = scaled(1, dpi), len(cols), scaled(2, dpi)
    side = [PIECE_BORDER] * t
    top = from_rows([[PIECE_BORDER] * w] * t + [side + [WHITE] * (w - 2 * t) + side] * (h - t))
    bottom = from_rows([side + [shade(c, -12) for c in cols[t:w - t]] + side] * (h - t)
                       + [[PIECE_BORDER] * w] * t)
    return top, bottom


# ---------------------------------------------------------------------------------------------
# Pictograms: drawn on a 32-unit grid, at any size and place


class Pen:
    """Draws on a Painter in grid units: (0, 0)-(32, 32) maps onto the square of side `size`
    at (ox, oy), in the painter's units. Outline widths are in the painter's units too (final
    pixels at 100 %), so they grow with its scale."""

    def __init__(self, p, ox, oy, size):
        self.p, self.ox, self.oy, self.k = p, ox, oy, size / 32
        self.small = size <= 20

    def x(self, v):
        return self.ox + v * self.k

    def y(self, v):
        return self.oy + v * self.k

    def pts(self, points):
        return [(self.x(a), self.y(b)) for a, b in points]

    def w(self, units, minimum=1.0):
        return max(minimum, units * self.k)

    def grad(self, colours, y0, y1, axis="y"):
        span = (self.y(y0), self.y(y1)) if axis == "y" else (self.x(y0), self.x(y1))
        return Grad(colours, axis=axis, span=span)

    def rect_mask(self, x0, y0, x1, y1, r=0):
        return self.p.rect(self.x(x0), self.y(y0), self.x(x1), self.y(y1), r * self.k)

    def ellipse_mask(self, x0, y0, x1, y1):
        return self.p.ellipse(self.x(x0), self.y(y0), self.x(x1), self.y(y1))

    def inset(self, x0, y0, x1, y1, px):
        d = px / self.k
        return x0 + d, y0 + d, x1 - d, y1 - d

    def rrect(self, box, r, fill, outline=None, lw=1.0):
        if outline:
            self.p.paint(self.rect_mask(*box, r), outline)
            box, r = self.inset(*box, lw), max(0, r - lw / self.k)
        self.p.paint(self.rect_mask(*box, r), fill)

    def ellipse(self, box, fill, outline=None, lw=1.0):
        if outline:
            self.p.paint(self.ellipse_mask(*box), outline)
            box = self.inset(*box, lw)
        self.p.paint(self.ellipse_mask(*box), fill)

    def polygon(self, points, fill, outline=None, lw=1.0):
        self.p.paint(self.p.polygon(self.pts(points)), fill)
        if outline:
            self.p.paint(self.p.stroke(self.pts(points), lw, closed=True), outline)

    def line(self, points, width, colour, opacity=1.0):
        self.p.paint(self.p.stroke(self.pts(points), width), colour, opacity)

    def arc_mask(self, box, start, end, width):
        x0, y0, x1, y1 = box
        return self.p.arc(self.x(x0), self.y(y0), self.x(x1), self.y(y1), start, end, width)

    def pie_mask(self, box, start, end):
        x0, y0, x1, y1 = box
        return self.p.pie(self.x(x0), self.y(y0), self.x(x1), self.y(y1), start, end)

    def text(self, s, fnt_size, centre, colour):
        """Glyphs as a mask, so they can be painted at the supersampled size."""
        p = self.p
        m = p.blank()
        f = font(max(1, round(fnt_size * self.k * p.f)))
        d = ImageDraw.Draw(m)
        l, t, r, b = d.textbbox((0, 0), s, font=f)
        cx, cy = self.x(centre[0]) * p.f, self.y(centre[1]) * p.f
        d.text((cx - (l + r) / 2, cy - (t + b) / 2), s, font=f, fill=255)
        p.paint(m, colour)


def gloss(pen, box, a0=0.6, a1=0.0):
    """A soft highlight over the upper part of a shape's box."""
    x0, y0, x1, y1 = box
    m = pen.ellipse_mask(x0 + 1, y0, x1 - 1, y0 + (y1 - y0) * 0.6)
    pen.p.paint(fade(pen.p, m, pen.y(y0), pen.y(y0 + (y1 - y0) * 0.55), a0, a1), (255, 255, 255))


def folder(pen, back, front_top, front_bottom, line):
    pen.rrect((2, 5, 14, 12), 2, back, line)
    pen.rrect((2, 8, 30, 27), 2, back, line)
    pen.rrect((2, 12, 30, 28), 2, pen.grad([front_top, front_bottom], 12, 28), line)
    pen.p.paint(pen.rect_mask(3.5, 13.2, 28.5, 13.2 + 1 / pen.k), (255, 255, 255), 0.6)


def pic_folder(pen):
    folder(pen, (222, 164, 44), (255, 224, 124), (240, 180, 50), (150, 100, 18))


def pic_pale_folder(pen):
    folder(pen, (236, 222, 178), (253, 246, 222), (242, 228, 186), (178, 158, 108))


def pic_coin(pen):
    line = (146, 100, 10)
    face = ((255, 232, 132), (222, 162, 28))
    if not pen.small:
        pen.ellipse((9, 2, 31, 24), pen.grad([(240, 200, 90), (196, 140, 20)], 2, 24), line)
        box = (1, 8, 25, 32)
    else:
        box = (1, 1, 31, 31)
    pen.ellipse(box, pen.grad(face, box[1], box[3]), line)
    x0, y0, x1, y1 = box
    d = 3.2 if not pen.small else 4.5
    ring = cut(pen.ellipse_mask(x0 + d, y0 + d, x1 - d, y1 - d),
               pen.ellipse_mask(x0 + d + 1.2, y0 + d + 1.2, x1 - d - 1.2, y1 - d - 1.2))
    pen.p.paint(ring, (206, 146, 20))
    gloss(pen, box, 0.55)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    size = 15 if not pen.small else 19
    pen.text("\u20ac", size, (cx + 0.6, cy + 0.9), (255, 240, 180))
    pen.text("\u20ac", size, (cx, cy), (140, 92, 6))


def rotated(points, angle, centre=(16, 16)):
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    cx, cy = centre
    return [(cx + x * ca - y * sa, cy + x * sa + y * ca) for x, y in points]


def pic_ruler(pen):
    angle = -45
    half, thick = 19.5, 6.2 if not pen.small else 7.4
    body = rotated([(-half, -thick), (half, -thick), (half, thick), (-half, thick)], angle)
    pen.polygon(body, pen.grad([(255, 224, 104), (236, 178, 36)], 2, 30), (150, 104, 14), 1.0)
    step = 3.0 if not pen.small else 5.0
    n = int((2 * half - 4) / step)
    for i in range(n + 1):
        x = -half + 2.5 + i * step
        long = (i % 2 == 0) if pen.small else (i % 5 == 0)
        length = 6.5 if long else 3.8
        if pen.small:
            length = 7.5 if long else 5
        pen.line(rotated([(x, -thick + 0.4), (x, -thick + length)], angle), pen.w(0.9, 0.9), (84, 58, 8))


def pic_weight(pen):
    line = (34, 38, 46)
    pen.p.paint(pen.arc_mask((10, 2, 22, 15), 180, 360, pen.w(3.6, 1.7) + 2), line)
    pen.p.paint(pen.arc_mask((10.7, 2.7, 21.3, 14.3), 180, 360, pen.w(3.6, 1.7)),
                Grad([(150, 158, 168), (90, 98, 110)], span=(pen.y(2), pen.y(10))))
    body = [(7, 10), (25, 10), (30.5, 29.5), (1.5, 29.5)]
    pen.polygon(body, pen.grad([(130, 139, 152), (58, 64, 76)], 10, 30), line, 1.0)
    pen.p.paint(pen.p.polygon(pen.pts([(8, 11.5), (24, 11.5), (25, 15), (7, 15)])), (255, 255, 255), 0.25)
    if not pen.small:
        pen.text("kg", 10.5, (16, 21.5), (255, 255, 255))


def pic_thermometer(pen):
    line = (74, 86, 100)
    small = pen.small
    tube = (11.5, 1.5, 20.5, 25) if not small else (10.5, 1, 21.5, 24)
    pen.rrect(tube, 4.5, (250, 252, 253), line)
    bulb = (8, 18.5, 24, 31.5) if not small else (7, 17, 25, 31.5)
    pen.ellipse(bulb, line)
    pen.ellipse((bulb[0] + 1 / pen.k, bulb[1] + 1 / pen.k, bulb[2] - 1 / pen.k, bulb[3] - 1 / pen.k),
                pen.grad([(255, 110, 90), (196, 16, 16)], bulb[1], bulb[3]))
    pen.rrect((14.3, 8, 17.7, 22), 1.5, (216, 28, 24))
    pen.p.paint(pen.ellipse_mask(bulb[0] + 3, bulb[1] + 2.5, bulb[0] + 8, bulb[1] + 7), (255, 255, 255), 0.6)
    if not small:
        for y in (5, 9, 13, 17):
            pen.line([(22.5, y), (26.5 if y in (5, 13) else 25, y)], 1.0, (74, 86, 100))
        pen.line([(13.2, 4), (13.2, 18)], 1.0, (255, 255, 255), 0.9)


def pic_beaker(pen):
    line = (62, 96, 130)
    outline = [(4.5, 3), (27.5, 3), (25.5, 6), (25.5, 27), (23.5, 29.5), (8.5, 29.5), (6.5, 27),
               (6.5, 6)]
    pen.polygon(outline, (236, 245, 252), None)
    liquid = [(6.5, 14), (25.5, 14), (25.5, 27), (23.5, 29.5), (8.5, 29.5), (6.5, 27)]
    pen.polygon(liquid, pen.grad([(120, 190, 240), (36, 116, 200)], 14, 30))
    pen.p.paint(pen.rect_mask(6.5, 14, 25.5, 14 + 1.2 / pen.k), (200, 232, 255), 0.9)
    pen.p.paint(pen.p.stroke(pen.pts(outline), 1.3 if not pen.small else 1.1, closed=True), line)
    marks = (9, 14, 19, 24) if not pen.small else (10, 20)
    for y in marks:
        pen.line([(9, y), (13.5 if y in (14, 24) or pen.small else 11.5, y)], 1.0,
                 (40, 80, 120) if y < 14 else (230, 244, 255))
    pen.line([(22.5, 8), (22.5, 25)], pen.w(1.4), (255, 255, 255), 0.7)


def pic_area(pen):
    small = pen.small
    box = (2, 2, 24, 24) if not small else (1, 1, 25, 25)
    pen.rrect(box, 1, pen.grad([(166, 220, 110), (84, 164, 48)], box[1], box[3]), (44, 104, 24))
    n = 3 if not small else 2
    x0, y0, x1, y1 = box
    for i in range(1, n):
        v = x0 + (x1 - x0) * i / n
        pen.line([(v, y0 + 1.5), (v, y1 - 1.5)], 1.0, (255, 255, 255), 0.75)
        v = y0 + (y1 - y0) * i / n
        pen.line([(x0 + 1.5, v), (x1 - 1.5, v)], 1.0, (255, 255, 255), 0.75)
    ink = (56, 66, 80)
    d = 28.5 if not small else 29
    lw = 1.0
    pen.line([(x0, d), (x1, d)], lw, ink)
    pen.line([(d, y0), (d, y1)], lw, ink)
    t = 2.2 if not small else 3
    for v in (x0, x1):
        pen.line([(v, d - t), (v, d + t)], lw, ink)
        pen.line([(d - t, v), (d + t, v)], lw, ink)


def pic_clock(pen):
    pen.ellipse((1, 1, 31, 31), pen.grad([(90, 150, 210), (26, 74, 136)], 1, 31), (20, 50, 96))
    pen.ellipse((4, 4, 28, 28), pen.grad([(236, 240, 246), (255, 255, 255)], 4, 28))
    ink = (30, 36, 46)
    for i in range(12):
        if pen.small and i % 3:
            continue
        a = math.radians(i * 30)
        r0 = 9.6 if i % 3 else 8.4
        pen.line([(16 + r0 * math.sin(a), 16 - r0 * math.cos(a)),
                  (16 + 11 * math.sin(a), 16 - 11 * math.cos(a))], pen.w(1.1 if i % 3 else 1.7), ink)
    def hand(angle, length, width):
        a = math.radians(angle)
        pen.line([(16, 16), (16 + length * math.sin(a), 16 - length * math.cos(a))], width, ink)
    hand(-55, 6.5, pen.w(2.4, 1.5))    # ten past ten
    hand(60, 9.5, pen.w(1.7, 1.1))
    if not pen.small:
        hand(170, 9.5, 0.9)
    pen.ellipse((14.4, 14.4, 17.6, 17.6), (200, 30, 28))


def pic_speedometer(pen):
    pen.ellipse((1, 1, 31, 31), pen.grad([(214, 220, 228), (110, 118, 130)], 1, 31), (44, 50, 60))
    pen.ellipse((3.5, 3.5, 28.5, 28.5), pen.grad([(64, 72, 86), (28, 32, 40)], 3.5, 28.5))
    w = pen.w(3.2, 1.6)
    box = (6.5, 6.5, 25.5, 25.5)
    for start, end, colour in ((135, 230, (80, 200, 80)), (230, 300, (250, 210, 40)),
                               (300, 405, (236, 64, 40))):
        pen.p.paint(pen.arc_mask(box, start, end, w), colour)
    if not pen.small:
        for i in range(9):
            a = math.radians(135 + i * 33.75)
            pen.line([(16 + 6.3 * math.cos(a), 16 + 6.3 * math.sin(a)),
                      (16 + 8.2 * math.cos(a), 16 + 8.2 * math.sin(a))], 0.9, (255, 255, 255))
    a = math.radians(320)
    pen.line([(16, 16), (16 + 11 * math.cos(a), 16 + 11 * math.sin(a))], pen.w(2.0, 1.3), (255, 70, 50))
    pen.ellipse((13.3, 13.3, 18.7, 18.7), pen.grad([(240, 242, 246), (140, 146, 156)], 13, 19))
    if not pen.small:
        pen.rrect((11, 22.5, 21, 26.5), 1, (16, 18, 22))
        for i in range(3):
            pen.rrect((12.2 + i * 3, 23.2, 14.4 + i * 3, 25.8), 0.5, (120, 230, 120))


def pic_pressure_gauge(pen):
    small = pen.small
    # brass fitting below the dial
    pen.rrect((12.5, 25, 19.5, 31.5), 1, pen.grad([(214, 168, 60), (240, 204, 110), (170, 120, 30)], 12.5, 19.5, "x"), (110, 76, 16))
    pen.rrect((9.5, 26.5, 22.5, 29.5), 1, pen.grad([(220, 176, 70), (150, 104, 24)], 26.5, 29.5), (110, 76, 16))
    box = (2, 0.5, 30, 28.5) if not small else (1, 0, 31, 30)
    pen.ellipse(box, pen.grad([(236, 240, 245), (104, 112, 124)], box[1], box[3]), (52, 58, 70))
    inner = pen.inset(*box, 2.2 if not small else 1.6)
    pen.ellipse(inner, pen.grad([(246, 248, 250), (255, 255, 255)], inner[1], inner[3]), (150, 156, 166))
    cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    rr = (inner[2] - inner[0]) / 2
    red = pen.arc_mask((cx - rr + 2.4, cy - rr + 2.4, cx + rr - 2.4, cy + rr - 2.4), 340, 405, pen.w(2.4, 1.2))
    pen.p.paint(red, (226, 40, 30))
    ticks = 11 if not small else 5
    for i in range(ticks):
        a = math.radians(135 + i * 270 / (ticks - 1))
        r0 = rr - (3.4 if not small else 4.5)
        pen.line([(cx + r0 * math.cos(a), cy + r0 * math.sin(a)),
                  (cx + (rr - 1.4) * math.cos(a), cy + (rr - 1.4) * math.sin(a))],
                 pen.w(1.0 if i % 2 else 1.5), (40, 46, 56))
    a = math.radians(290)
    pen.line([(cx - 2.5 * math.cos(a), cy - 2.5 * math.sin(a)),
              (cx + (rr - 3) * math.cos(a), cy + (rr - 3) * math.sin(a))], pen.w(1.6, 1.2), (30, 34, 42))
    pen.ellipse((cx - 2, cy - 2, cx + 2, cy + 2), (30, 34, 42))


def pic_lightning(pen):
    bolt = [(20, 1), (5, 18), (14.5, 18), (9, 31), (27, 12.5), (17.5, 12.5), (23.5, 1)]
    pen.polygon(bolt, pen.grad([(255, 240, 90), (252, 176, 20)], 1, 31), (170, 96, 0), 1.2)
    pen.line([(19.8, 3), (8.5, 16.5)], 1.0, (255, 255, 220), 0.8)


def pic_plug(pen):
    for x in (10, 18.5):
        pen.rrect((x, 1, x + 3.5, 12), 1.2, pen.grad([(170, 140, 50), (255, 236, 150), (190, 150, 50)],
                                                      x, x + 3.5, "x"), (110, 86, 20))
    pen.rrect((5.5, 10, 26.5, 15), 2, pen.grad([(110, 122, 138), (70, 80, 94)], 10, 15), (28, 32, 40))
    pen.rrect((7.5, 13.5, 24.5, 24), 3, pen.grad([(96, 108, 124), (44, 50, 60)], 13.5, 24), (28, 32, 40))
    pen.rrect((12.5, 23, 19.5, 27.5), 1.5, (44, 50, 60), (28, 32, 40))
    pen.line([(16, 27), (16, 29), (19, 31.2), (24, 31.2)], pen.w(3.0, 2.0), (28, 32, 40))
    pen.p.paint(pen.rect_mask(7.5, 11, 24.5, 11 + 1 / pen.k), (255, 255, 255), 0.5)


def pic_force(pen):
    ground = (70, 60, 52)
    block = (17, 8, 30.5, 26)
    pen.rrect(block, 1.5, pen.grad([(120, 162, 210), (52, 96, 160)], block[1], block[3]), (26, 54, 96))
    pen.p.paint(pen.rect_mask(18.5, 9.2, 29, 9.2 + 1 / pen.k), (255, 255, 255), 0.5)
    pen.line([(1, 27.5), (31, 27.5)], pen.w(1.5, 1.0), ground)
    if not pen.small:
        for x in range(3, 31, 4):
            pen.line([(x, 28.5), (x - 2.5, 31)], 0.9, ground)
    arrow = [(1, 14), (8, 14), (8, 9.5), (16, 17), (8, 24.5), (8, 20), (1, 20)]
    pen.polygon(arrow, pen.grad([(255, 110, 80), (200, 30, 20)], 9.5, 24.5), (130, 20, 10), 1.0)


def pic_protractor(pen):
    small = pen.small
    cx, cy, r = 16, 22, 14.5 if not small else 15
    body = cut(pen.pie_mask((cx - r, cy - r, cx + r, cy + r), 180, 360),
               pen.pie_mask((cx - 6.5, cy - 6.5, cx + 6.5, cy + 6.5), 180, 360) if not small else pen.p.blank())
    base = pen.rect_mask(cx - r, cy, cx + r, cy + 4)
    shape = ImageChops.lighter(body, base)
    grown = shape.filter(ImageFilter.MaxFilter(2 * round(pen.p.f * 0.5) + 1))
    pen.p.paint(grown, (40, 90, 140))
    pen.p.paint(shape, pen.grad([(190, 226, 250), (130, 186, 230)], cy - r, cy + 4))
    n = 12 if not small else 4
    for i in range(n + 1):
        a = math.radians(180 + i * 180 / n)
        r0 = r - (3.5 if (i % 3 == 0 or small) else 2.0)
        pen.line([(cx + r0 * math.cos(a), cy + r0 * math.sin(a)),
                  (cx + (r - 0.6) * math.cos(a), cy + (r - 0.6) * math.sin(a))], 0.9, (30, 70, 120))
    a = math.radians(-50)
    pen.line([(cx, cy), (cx + (r + 1) * math.cos(a), cy + (r + 1) * math.sin(a))], pen.w(1.6, 1.1), (210, 36, 30))
    pen.line([(cx, cy), (cx + r + 1, cy)], pen.w(1.6, 1.1), (210, 36, 30))
    pen.ellipse((cx - 1.6, cy - 1.6, cx + 1.6, cy + 1.6), (210, 36, 30))


def pic_chip(pen):
    n = 4 if not pen.small else 3
    pin = pen.grad([(236, 238, 242), (150, 156, 166)], 0, 32)
    body = (7, 7, 25, 25)
    span = 18
    for i in range(n):
        c = 7 + span * (i + 0.5) / n
        h = 1.6 if not pen.small else 2.2
        for box in ((c - h, 2, c + h, 8), (c - h, 24, c + h, 30), (2, c - h, 8, c + h), (24, c - h, 30, c + h)):
            pen.rrect(box, 0.6, pin, (86, 92, 102))
    pen.rrect(body, 2, pen.grad([(82, 88, 102), (30, 32, 40)], 7, 25), (16, 18, 22))
    pen.ellipse((9.5, 9.5, 13, 13), (120, 128, 142))
    if not pen.small:
        pen.rrect((12, 15, 22, 22), 1, (48, 52, 62))
        pen.p.paint(pen.rect_mask(8.5, 8.2, 23.5, 8.2 + 1 / pen.k), (255, 255, 255), 0.25)


def pic_wave(pen):
    pen.rrect((1, 3, 31, 29), 3, pen.grad([(110, 118, 130), (54, 60, 70)], 3, 29), (30, 34, 40))
    screen = (3.5, 5.5, 28.5, 26.5)
    pen.rrect(screen, 1.5, pen.grad([(22, 62, 46), (8, 30, 22)], 5.5, 26.5))
    if not pen.small:
        for v in (9.75, 16, 22.25):
            pen.line([(v, 6.5), (v, 25.5)], 0.8, (60, 120, 90), 0.7)
        for v in (11, 16, 21):
            pen.line([(4.5, v), (27.5, v)], 0.8, (60, 120, 90), 0.7)
    pts = [(4.5 + i * 23 / 60, 16 - 7 * math.sin(i / 60 * 3 * math.pi)) for i in range(61)]
    pen.line(pts, pen.w(3.4, 2.2), (90, 255, 150), 0.35)
    pen.line(pts, pen.w(1.8, 1.2), (150, 255, 180))


def face_point(quad, u, v):
    (ax, ay), (bx, by), (cx, cy), (dx, dy) = quad
    top = (ax + (bx - ax) * u, ay + (by - ay) * u)
    bot = (dx + (cx - dx) * u, dy + (cy - dy) * u)
    return top[0] + (bot[0] - top[0]) * v, top[1] + (bot[1] - top[1]) * v


def pic_density(pen):
    """A block of matter packed with particles: a cube in cool blue with a lattice of dots."""
    line = (24, 58, 100)
    top = [(16, 2), (30, 9), (16, 16), (2, 9)]
    left = [(2, 9), (16, 16), (16, 31), (2, 24)]
    right = [(16, 16), (30, 9), (30, 24), (16, 31)]
    pen.polygon(left, (104, 158, 214))
    pen.polygon(right, (66, 118, 180))
    pen.polygon(top, (176, 214, 246))
    outline = [(16, 2), (30, 9), (30, 24), (16, 31), (2, 24), (2, 9)]
    pen.p.paint(pen.p.stroke(pen.pts(outline), 1.1, closed=True), line)
    pen.line([(2, 9), (16, 16), (30, 9)], 1.0, (236, 246, 255), 0.9)
    pen.line([(16, 16), (16, 31)], 1.0, (236, 246, 255), 0.6)
    n = 3 if not pen.small else 2
    r = 1.2 if not pen.small else 1.45
    steps = [(i + 0.5) / n for i in range(n)]
    for quad, colour in (((top[3], top[0], top[1], top[2]), (40, 84, 140)), (left, (20, 50, 96)),
                         (right, (14, 36, 74))):
        for u in steps:
            for v in steps:
                x, y = face_point(quad, u, v)
                pen.ellipse((x - r, y - r, x + r, y + r), colour)


def pic_tap(pen):
    chrome = (46, 56, 68)
    def metal(y0, y1):
        return pen.grad([(246, 249, 252), (190, 198, 208), (120, 130, 144)], y0, y1)
    pen.rrect((0.5, 7, 9, 14), 1, metal(7, 14), chrome)                  # pipe from the wall
    pen.rrect((14, 1, 17.5, 6), 0.5, metal(1, 6), chrome)                # stem
    pen.rrect((8, 0.5, 23.5, 3.5), 1.5, pen.grad([(240, 90, 80), (176, 26, 20)], 0.5, 3.5), (110, 16, 10))
    pen.rrect((7.5, 5, 20, 16), 3, metal(5, 16), chrome)                # body
    spout = [(18, 8), (24, 8), (27.5, 11), (28.2, 16), (23.8, 16), (23.2, 13), (18, 13)]
    pen.polygon(spout, metal(8, 16), chrome, 1.0)
    pen.rrect((23, 15.5, 29, 17.5), 0.5, (80, 90, 104))
    # the drop
    drop = [(26, 19)] + [(26 + 3.6 * math.sin(math.radians(a)), 27.4 - 3.6 * math.cos(math.radians(a)))
                         for a in range(40, 321, 10)]
    pen.polygon(drop, pen.grad([(140, 200, 255), (24, 104, 206)], 19, 31), (16, 76, 160), 1.0)
    pen.p.paint(pen.ellipse_mask(24.2, 25.3, 25.8, 28), (255, 255, 255), 0.8)


def pic_bulb(pen):
    line = (168, 118, 0)
    glass = (6.5, 1, 25.5, 20.5)
    pen.ellipse(glass, pen.grad([(255, 250, 190), (255, 214, 60)], 1, 20.5), line)
    pen.polygon([(11, 16.5), (21, 16.5), (20, 22.5), (12, 22.5)], (255, 214, 60))
    pen.line([(11.2, 17.5), (12.2, 22.5)], 1.0, line)
    pen.line([(20.8, 17.5), (19.8, 22.5)], 1.0, line)
    if not pen.small:
        pen.line([(13, 15), (14.5, 10), (16, 13), (17.5, 10), (19, 15)], 1.0, (200, 120, 0))
    gloss(pen, (8, 2.5, 18, 14), 0.7)
    base = (11.5, 22, 20.5, 28.5)
    pen.rrect(base, 1.2, pen.grad([(150, 158, 170), (236, 240, 244), (120, 128, 140)], 11.5, 20.5, "x"), (60, 66, 76))
    for y in (24.2, 26.3):
        pen.line([(12, y), (20, y)], 0.9, (70, 76, 86))
    pen.rrect((13.5, 28, 18.5, 31), 1.5, (50, 54, 62))


def pic_radiation(pen):
    pen.ellipse((1, 1, 31, 31), pen.grad([(255, 226, 60), (246, 180, 0)], 1, 31), (140, 100, 0))
    ink = (28, 28, 30)
    ro, gap = 12.2, 3.6
    blades = pen.p.blank()
    for centre in (90, 210, 330):
        blades = ImageChops.lighter(blades, pen.pie_mask((16 - ro, 16 - ro, 16 + ro, 16 + ro),
                                                         centre - 30, centre + 30))
    blades = cut(blades, pen.ellipse_mask(16 - gap, 16 - gap, 16 + gap, 16 + gap))
    pen.p.paint(blades, ink)
    pen.ellipse((16 - 2.3, 16 - 2.3, 16 + 2.3, 16 + 2.3), ink)


def arrows_symbol(pen):
    """Two arrows chasing each other round a circle: blue over the top, green underneath."""
    c, rad, w = 16, 10.0, 4.6
    half = rad + w / 2  # an arc's width grows inwards from its box
    box = (c - half, c - half, c + half, c + half)
    for start, end, colours, edge in ((200, 318, ((110, 176, 240), (28, 84, 172)), (18, 52, 112)),
                                      (20, 138, ((140, 214, 104), (34, 132, 48)), (16, 80, 26))):
        t = math.radians(end)
        px, py = c + rad * math.cos(t), c + rad * math.sin(t)
        tx, ty = -math.sin(t), math.cos(t)   # clockwise along the circle
        nx, ny = math.cos(t), math.sin(t)    # outwards
        head = [(px + nx * 5.6, py + ny * 5.6), (px + tx * 7.4, py + ty * 7.4),
                (px - nx * 5.6, py - ny * 5.6)]
        shape = ImageChops.lighter(pen.arc_mask(box, start, end + 1, w * pen.k),
                                   pen.p.polygon(pen.pts(head)))
        grown = shape.filter(ImageFilter.MaxFilter(2 * round(pen.p.f * 0.5) + 1))
        pen.p.paint(grown, edge)
        pen.p.paint(shape, pen.grad(list(colours), 4, 28))
        shine = (c - rad - 1.2, c - rad - 1.2, c + rad + 1.2, c + rad + 1.2)
        pen.p.paint(pen.arc_mask(shine, start + 6, end - 4, 0.9 * pen.k), (255, 255, 255), 0.5)


PICTOGRAMS = {
    1000: pic_folder, 1001: pic_pale_folder, 1002: pic_coin, 1003: pic_ruler, 1004: pic_weight,
    1005: pic_thermometer, 1006: pic_beaker, 1007: pic_area, 1010: pic_clock,
    1018: pic_speedometer, 1021: pic_pressure_gauge, 1026: pic_lightning, 1033: pic_plug,
    1037: pic_force, 1041: pic_protractor, 1043: pic_chip, 1049: pic_wave, 1055: pic_density,
    1056: pic_tap, 1059: pic_bulb, 1068: pic_radiation,
}
APP_ICON = 999


def draw_pictogram(p, icon_id, x, y, size):
    PICTOGRAMS[icon_id](Pen(p, x, y, size))


def draw_symbol(p, x, y, size):
    arrows_symbol(Pen(p, x, y, size))


def icon_image(draw, size, background, dpi=96):
    """(picture blended onto `background`, opacity mask) for the icon of `size` at 100 %,
    drawn at dpi."""
    p = Painter(size, size, background, ss=256 // scaled(size, dpi), coverage=True, dpi=dpi)
    draw(Pen(p, 0, 0, size))
    rgb = p.result()
    opaque = p.coverage().point(lambda v: 255 if v >= 64 else 0)
    return clean(rgb), opaque


def icon_sizes():
    """{final size: (size at 100 %, dpi)}: the small (16) and large (32) icon at every scale.
    Where both give a size (32), the large icon's own drawing serves."""
    sizes = {}
    for size in (32, 16):
        for dpi, _, _ in SCALES:
            sizes.setdefault(scaled(size, dpi), (size, dpi))
    return sizes


def icon_file(draw, bits, background):
    entries = []
    for final, (size, dpi) in sorted(icon_sizes().items(), reverse=True):
        rgb, opaque = icon_image(draw, size, background, dpi)
        entry = ico_entry_8(rgb, opaque) if bits == 8 else ico_entry_24(rgb, opaque)
        entries.append((final, bits, entry))
    return ico_bytes(entries)


# ---------------------------------------------------------------------------------------------
# Everything


def build(dpi=96):
    """All skin pictures at dpi, by resource id (that of the 100 % bitmap)."""
    images = {}
    main = main_background(dpi)
    images[3100] = main
    category = dialog_background(CATEGORY_HEIGHT, 173, 1000, dpi)
    images[3101] = category
    images[3102] = dialog_background(UNIT_HEIGHT, 263, 1003, dpi)
    images[3103] = about_background(dpi)

    images[3200] = button_strip(category, dpi, (268, 173), OK_SIZE, "Ok")
    images[3210] = button_strip(category, dpi, (343, 173), CANCEL_SIZE, "Cancel")
    words = {3220: "Exit", 3221: "Edit", 3222: "New", 3223: "Del"}
    for strip_id, places in MAIN_BUTTONS.items():
        images[strip_id] = button_strip(main, dpi, places[0], (46, 28), words[strip_id])

    images[3224] = round_key(main, dpi, ABOUT_KEY, "?")
    legends = {3300 + d: str(d) for d in range(10)}
    legends.update({3310: ".", 3320: "\u00b1", 3330: "C", 3340: "back"})
    for key_id, place in KEYPAD_KEYS.items():
        images[key_id] = round_key(main, dpi, place, legends[key_id])

    images[3351], images[3352], images[3353] = header_pieces(dpi)
    images[3371] = arrow_piece(True, dpi)
    images[3372] = track_piece(dpi)
    images[3373] = thumb_piece(dpi)
    images[3374] = arrow_piece(False, dpi)
    images[3375], images[3376] = cap_pieces(dpi)
    return {k: clean(v) for k, v in sorted(images.items())}


def check_places(images, dpi=96):
    """Every button and key is painted over the background it sits on; a strip used in more
    than one place must find the same pixels under each of them."""
    uses = [(3200, 3101, 268, 173), (3200, 3102, 268, 263), (3200, 3103, *ABOUT_OK),
            (3210, 3101, 343, 173), (3210, 3102, 343, 263), (3224, 3100, *ABOUT_KEY)]
    uses += [(i, 3100, x, y) for i, places in MAIN_BUTTONS.items() for x, y in places]
    uses += [(i, 3100, x, y) for i, (x, y) in KEYPAD_KEYS.items()]
    under_first = {}
    for strip_id, bg_id, x, y in uses:
        strip = images[strip_id]
        fw, fh = strip.width // 3, strip.height
        x0, y0 = scaled(x, dpi), scaled(y, dpi)
        under = images[bg_id].crop((x0, y0, x0 + fw, y0 + fh))
        for i in range(3):
            for cx, cy in ((0, 0), (fw - 1, 0), (0, fh - 1), (fw - 1, fh - 1)):
                got, want = strip.getpixel((i * fw + cx, cy)), under.getpixel((cx, cy))
                assert got == want, f"{dpi} dpi: strip {strip_id} at ({x},{y}): {got} over {want}"
        first = under_first.setdefault(strip_id, under)
        assert first.tobytes() == under.tobytes(), \
            f"{dpi} dpi: strip {strip_id} finds other pixels under ({x},{y})"


def check_sizes(images, base, dpi):
    """Each picture is its 100 % size scaled, a strip three scaled frames."""
    for image_id, img in images.items():
        w, h = base[image_id].size
        frames_of = 3 if 3200 <= image_id < 3350 else 1
        want = (frames_of * scaled(w // frames_of, dpi), scaled(h, dpi))
        assert img.size == want, f"{dpi} dpi: {image_id} is {img.size}, not {want}"


def scaled_skin_rc(ids):
    """The resource script that lists the PNGs, by id."""
    lines = ["// Written by tools/make_skin.py: the skin drawn at 125, 150 and 200 percent. A",
             "// picture's id is its 100 % bitmap's id plus 10000, 20000 or 30000 in that order."]
    lines += [f'{offset + i} PNG "skin/{pct}/{i}.png"' for _, pct, offset in SCALES[1:] for i in ids]
    return "\n".join(lines) + "\n"


def write_all(root):
    """Writes every file; returns the skin pictures by dpi."""
    sets = {}
    for dpi, _, _ in SCALES:
        sets[dpi] = build(dpi)
        check_places(sets[dpi], dpi)
        check_sizes(sets[dpi], sets[96], dpi)
    skin = root / "res" / "skin"
    skin.mkdir(parents=True, exist_ok=True)
    for image_id, img in sets[96].items():
        (skin / f"{image_id}.bmp").write_bytes(bmp_bytes(img))
    for dpi, pct, _ in SCALES[1:]:
        folder_path = skin / str(pct)
        folder_path.mkdir(exist_ok=True)
        for image_id, img in sets[dpi].items():
            (folder_path / f"{image_id}.png").write_bytes(png_bytes(img))
    (root / "res" / "ScaledSkin.rc").write_text(scaled_skin_rc(sorted(sets[96])))
    icons = root / "res" / "icons"
    icons.mkdir(parents=True, exist_ok=True)
    (icons / f"{APP_ICON}.ico").write_bytes(icon_file(arrows_symbol, 8, (212, 216, 222)))
    for icon_id, draw in PICTOGRAMS.items():
        (icons / f"{icon_id}.ico").write_bytes(icon_file(draw, 24, LIST_BACKGROUND))
    return sets


# ---------------------------------------------------------------------------------------------
# Preview: contact sheets and mocks of the main window and the dialogs, for looking at the
# artwork at every scale


def sheet(images, ids, zoom):
    """The given bitmaps side by side, each at its own size and again enlarged."""
    label = font(10, FONT_BOOK)
    pictures = [(i, images[i]) for i in ids]
    width = max([1200] + [img.width * (1 + zoom) + 18 for _, img in pictures])
    rows, row, x = [], [], 0
    for image_id, img in pictures:
        w = max(img.width * (1 + zoom) + 8, 40)
        if x + w > width and row:
            rows.append(row)
            row, x = [], 0
        row.append((image_id, img))
        x += w + 12
    rows.append(row)
    heights = [max(img.height * zoom for _, img in r) + 24 for r in rows]
    out = Image.new("RGB", (width, sum(heights) + 10), (250, 250, 250))
    d = ImageDraw.Draw(out)
    y = 5
    for r, h in zip(rows, heights):
        x = 5
        for image_id, img in r:
            d.text((x, y), str(image_id), font=label, fill=(0, 0, 0))
            out.paste(img, (x, y + 14))
            if zoom > 1:
                big = img.resize((img.width * zoom, img.height * zoom), Image.NEAREST)
                out.paste(big, (x + img.width + 6, y + 14))
            x += max(img.width * (1 + zoom) + 8, 40) + 12
        y += h
    return out


def icon_sheet():
    """Every icon at 32 and 16 pixels on the list background, and enlarged four times."""
    label = font(10, FONT_BOOK)
    items = [(APP_ICON, arrows_symbol)] + list(PICTOGRAMS.items())
    cell_w, cell_h = 200, 150
    cols = 6
    out = Image.new("RGB", (cols * cell_w, (len(items) + cols - 1) // cols * cell_h), LIST_BACKGROUND)
    d = ImageDraw.Draw(out)
    for n, (icon_id, draw) in enumerate(items):
        x, y = n % cols * cell_w + 6, n // cols * cell_h + 4
        d.text((x, y), str(icon_id), font=label, fill=(0, 0, 0))
        for size, dx in ((32, 0), (16, 100)):
            rgb, opaque = icon_image(draw, size, LIST_BACKGROUND)
            out.paste(rgb, (x + dx * 2 // 5, y + 16), opaque)
            big = rgb.resize((size * 3, size * 3), Image.NEAREST)
            out.paste(big, (x + dx, y + 52), opaque.resize(big.size, Image.NEAREST))
        # on the selection colour too, where soft edges were not blended
        rgb, opaque = icon_image(draw, 16, LIST_BACKGROUND)
        out.paste(SELECTION, (x + 70, y + 14, x + 90, y + 34))
        out.paste(rgb, (x + 72, y + 16), opaque)
    return out


def scaled_icon_sheet():
    """Every icon at each of its sizes on the list background, and each enlarged twice."""
    label = font(10, FONT_BOOK)
    items = [(APP_ICON, arrows_symbol)] + list(PICTOGRAMS.items())
    sizes = sorted(icon_sizes().items())
    row_h = 2 * max(sizes)[0] + 8
    out = Image.new("RGB", (sum(3 * n + 12 for n, _ in sizes) + 60, len(items) * row_h), LIST_BACKGROUND)
    d = ImageDraw.Draw(out)
    for row, (icon_id, draw) in enumerate(items):
        x, y = 6, row * row_h + 4
        d.text((x, y), str(icon_id), font=label, fill=(0, 0, 0))
        x += 44
        for final, (size, dpi) in sizes:
            rgb, opaque = icon_image(draw, size, LIST_BACKGROUND, dpi)
            out.paste(rgb, (x, y), opaque)
            big = rgb.resize((final * 2, final * 2), Image.NEAREST)
            out.paste(big, (x + final + 4, y), opaque.resize(big.size, Image.NEAREST))
            x += 3 * final + 12
    return out


def frame_of(strip, i):
    fw = strip.width // 3
    return strip.crop((i * fw, 0, (i + 1) * fw, strip.height))


def mock_list(out, images, rect, rows, columns, selected, dpi):
    def at(v):
        return scaled(v, dpi)
    x, y, w, h = rect
    x0, y0, x1, y1 = at(x), at(y), at(x + w), at(y + h)
    text = font(at(11), FONT_BOOK)
    d = ImageDraw.Draw(out)
    head = images[3351].height
    out.paste(images[3351].resize((x1 - x0, head), Image.NEAREST), (x0, y0))
    cx = x0
    for title, cw in columns:
        out.paste(images[3352], (cx, y0))
        out.paste(images[3353], (cx + at(cw) - images[3353].width, y0))
        d.text((cx + at(5), y0 + at(2)), title, font=text, fill=(20, 20, 20))
        cx += at(cw)
    row_h = at(18)
    for i, row in enumerate(rows):
        ry = y0 + head + i * row_h
        if ry + row_h > y1:
            break
        if i == selected:
            d.rectangle((x0, ry, x1 - 1, ry + row_h - 1), fill=SELECTION)
        icon, words = row
        tx = x0 + at(4)
        if icon:
            rgb, opaque = icon_image(PICTOGRAMS[icon], 16, LIST_BACKGROUND, dpi)
            out.paste(rgb, (x0 + at(2), ry + at(1)), opaque)
            tx = x0 + at(22)
        cx = tx
        for word, (_, cw) in zip(words, columns):
            d.text((cx, ry + at(2)), word, font=text, fill=(255, 255, 255) if i == selected else (0, 0, 0))
            cx += at(cw) - (tx - x0 if cx == tx else 0)
    # the bar to the right, laid out as the program does: caps at both ends, arrows inside them
    top, up, track, thumb, down, bottom = (images[i] for i in (3375, 3371, 3372, 3373, 3374, 3376))
    out.paste(track.resize((track.width, y1 - y0), Image.NEAREST), (x1, y0))
    out.paste(top, (x1, y0))
    out.paste(up, (x1, y0 + top.height))
    out.paste(down, (x1, y1 - bottom.height - down.height))
    out.paste(bottom, (x1, y1 - bottom.height))
    out.paste(thumb, (x1, y0 + top.height + up.height - 1 + at(20)))


def mock(images, dpi=96):
    def at(v):
        return scaled(v, dpi)
    out = images[3100].copy()
    for key_id, (x, y) in KEYPAD_KEYS.items():
        state = 2 if key_id == 3305 else 1 if key_id == 3300 else 0
        out.paste(frame_of(images[key_id], state), (at(x), at(y)))
    out.paste(frame_of(images[3224], 0), (at(ABOUT_KEY[0]), at(ABOUT_KEY[1])))
    for strip_id, places in MAIN_BUTTONS.items():
        for n, (x, y) in enumerate(places):
            out.paste(frame_of(images[strip_id], 2 if (strip_id == 3222 and n == 1) else 0), (at(x), at(y)))
    categories = [(1002, "Currency"), (1003, "Length"), (1004, "Mass"), (1005, "Temperature"),
                  (1006, "Volume"), (1007, "Area"), (1010, "Time"), (1018, "Speed"),
                  (1021, "Pressure"), (1026, "Energy"), (1033, "Power"), (1037, "Force"),
                  (1041, "Angle"), (1043, "Data"), (1049, "Frequency"), (1055, "Density"),
                  (1056, "Flow"), (1059, "Light"), (1068, "Radiation")]
    mock_list(out, images, CATEGORY_LIST, [(i, [n]) for i, n in categories], [("Category", 152)], 1, dpi)
    units = ["centimetre", "foot", "inch", "kilometre", "metre", "mile", "millimetre", "yard",
             "nautical mile", "micrometre", "light year", "furlong", "chain", "rod"]
    mock_list(out, images, UNIT_LIST, [(None, [u]) for u in units], [("Unit", 152)], 2, dpi)
    results = [("2.54", "centimetre"), ("0.0833333", "foot"), ("1", "inch"), ("2.54e-05", "kilometre"),
               ("0.0254", "metre"), ("1.57828e-05", "mile"), ("25.4", "millimetre"), ("0.0277778", "yard")]
    mock_list(out, images, RESULT_LIST, [(None, list(r)) for r in results],
              [("Value", 120), ("Unit", 117)], -1, dpi)
    d = ImageDraw.Draw(out)
    x, y, w, h = SOURCE_VALUE
    d.rectangle((at(x), at(y), at(x + w) - 1, at(y + h) - 1), fill=LIST_BACKGROUND)
    lcd = font(at(13), FONT_BOOK)
    tw = d.textlength("1", font=lcd)
    d.text((at(x + w) - at(4) - tw, at(y + 2)), "1", font=lcd, fill=(0, 0, 0))
    bold = font(at(11))
    d.text((at(SOURCE_UNIT[0] + 2), at(SOURCE_UNIT[1] + 3)), "inch", font=bold, fill=(255, 255, 255))
    d.text((at(STATUS_TEXT[0] + 8), at(STATUS_TEXT[1] + 3)), "1 inch = 2.54 centimetre", font=bold,
           fill=(255, 255, 255))
    return out


def mock_dialogs(images, dpi=96):
    """The three dialogs with stand-in controls, stacked."""
    def at(v):
        return scaled(v, dpi)
    text = font(at(11), FONT_BOOK)
    line = at(1)
    height = sum(images[i].height for i in (3101, 3102, 3103))
    out = Image.new("RGB", (images[3101].width, height + at(20)), (255, 255, 255))
    y0 = 0
    for bg_id, ok_y, fields in ((3101, 173, ("Name", "Note")),
                                (3102, 263, ("Name", "Factor", "Shift", None, "Note"))):
        dlg = images[bg_id].copy()
        d = ImageDraw.Draw(dlg)
        for n, field in enumerate(fields):
            y = 20 + n * 30
            if field is None:
                d.rectangle((at(90), at(y + 4), at(102) - 1, at(y + 16) - 1), fill=(255, 255, 255),
                            outline=(90, 90, 90), width=line)
                d.text((at(108), at(y + 3)), "Is Invert", font=text, fill=(0, 0, 0))
                continue
            d.text((at(14), at(y + 3)), field + ":", font=text, fill=(0, 0, 0))
            d.rectangle((at(90), at(y), at(429) - 1, at(y + 21) - 1), fill=(255, 255, 255),
                        outline=(122, 130, 140), width=line)
        dlg.paste(frame_of(images[3200], 0), (at(268), at(ok_y)))
        dlg.paste(frame_of(images[3210], 2), (at(343), at(ok_y)))
        out.paste(dlg, (0, y0))
        y0 += dlg.height + at(10)
    about = images[3103].copy()
    d = ImageDraw.Draw(about)
    d.multiline_text((at(ABOUT_NOTICE[0]), at(ABOUT_NOTICE[1])), "Kalvo 1.00\n\nConverts a value into every unit of\n"
                     "its category at once. The catalogue of\ncategories and units is yours to extend.",
                     font=text, fill=(0, 0, 0), spacing=at(3))
    about.paste(frame_of(images[3200], 0), (at(ABOUT_OK[0]), at(ABOUT_OK[1])))
    out.paste(about, (0, y0))
    return out


def preview(sets, folder_path):
    folder_path.mkdir(parents=True, exist_ok=True)
    images = sets[96]
    sheet(images, [3100, 3101, 3102, 3103], 1).save(folder_path / "backgrounds.png")
    sheet(images, [i for i in images if 3200 <= i < 3350], 3).save(folder_path / "buttons.png")
    sheet(images, [i for i in images if i >= 3350], 6).save(folder_path / "pieces.png")
    icon_sheet().save(folder_path / "icons.png")
    scaled_icon_sheet().save(folder_path / "icons-scaled.png")
    mock(images).save(folder_path / "mock.png")
    mock_dialogs(images).save(folder_path / "dialogs.png")
    for image_id in (3100, 3101, 3102, 3103):
        images[image_id].save(folder_path / f"{image_id}.png")
    for dpi, pct, _ in SCALES[1:]:
        images = sets[dpi]
        sheet(images, [i for i in images if 3200 <= i < 3350], 3).save(folder_path / f"buttons-{pct}.png")
        sheet(images, [i for i in images if i >= 3350], 6).save(folder_path / f"pieces-{pct}.png")
        mock(images, dpi).save(folder_path / f"mock-{pct}.png")
        mock_dialogs(images, dpi).save(folder_path / f"dialogs-{pct}.png")


def main(argv):
    root = Path(__file__).resolve().parent.parent
    sets = write_all(root)
    if len(argv) > 2 and argv[1] == "--preview":
        preview(sets, Path(argv[2]))


if __name__ == "__main__":
    main(sys.argv)
