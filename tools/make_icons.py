#!/usr/bin/python3
"""Draws Kalvo's icons into res/icons as classic ICO files (32x32 and 16x16, 24-bit + mask).

Placeholder tiles: a rounded, shaded square in a colour of its own with a short label, so
every category icon is told apart at a glance. Run from the repository root:
    /usr/bin/python3 tools/make_icons.py
"""
import struct
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LIST_BACKGROUND = (255, 255, 231)  # icons stand on the lists' background
SCALE = 8  # drawn large, then reduced: anti-aliased edges

# id: (label, colour)
ICONS = {
    1000: ("", (214, 168, 64)),      # default: a folder
    1001: ("", (236, 214, 150)),     # pale folder
    1002: ("\u20ac", (46, 139, 87)),
    1003: ("m", (52, 101, 164)),
    1004: ("kg", (117, 80, 123)),
    1005: ("\u00b0", (204, 0, 0)),
    1006: ("l", (32, 140, 180)),
    1007: ("m\u00b2", (78, 154, 6)),
    1010: ("s", (92, 53, 102)),
    1018: ("v", (206, 92, 0)),
    1021: ("Pa", (85, 87, 83)),
    1026: ("J", (196, 160, 0)),
    1033: ("W", (164, 0, 0)),
    1037: ("N", (50, 80, 120)),
    1041: ("\u2220", (0, 120, 120)),
    1043: ("B", (40, 40, 40)),
    1049: ("Hz", (120, 50, 160)),
    1055: ("\u03c1", (140, 90, 40)),
    1056: ("Q", (20, 110, 200)),
    1059: ("lx", (220, 170, 0)),
    1068: ("Bq", (90, 140, 20)),
}


def shade(colour, amount):
    return tuple(max(0, min(255, int(c + amount))) for c in colour)


def draw_folder(size, colour):
    s = size * SCALE
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((s * 0.06, s * 0.18, s * 0.5, s * 0.4), radius=s * 0.06, fill=shade(colour, -30))
    d.rounded_rectangle((s * 0.06, s * 0.28, s * 0.94, s * 0.86), radius=s * 0.08, fill=colour,
                        outline=shade(colour, -70), width=max(1, s // 32))
    return img


def draw_tile(size, label, colour):
    s = size * SCALE
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    inset = s * 0.06
    d.rounded_rectangle((inset, inset, s - inset, s - inset), radius=s * 0.2, fill=shade(colour, -40))
    d.rounded_rectangle((inset + s * 0.04, inset + s * 0.03, s - inset - s * 0.04, s - inset - s * 0.07),
                        radius=s * 0.17, fill=colour)
    font_size = int(s * (0.58 if len(label) == 1 else 0.42))
    font = ImageFont.truetype(FONT, font_size)
    box = d.textbbox((0, 0), label, font=font)
    x = (s - (box[2] - box[0])) / 2 - box[0]
    y = (s - (box[3] - box[1])) / 2 - box[1] - s * 0.02
    d.text((x, y), label, font=font, fill=(255, 255, 255))
    return img


def render(icon_id, size):
    label, colour = ICONS[icon_id]
    img = draw_folder(size, colour) if icon_id in (1000, 1001) else draw_tile(size, label, colour)
    return img.resize((size, size), Image.LANCZOS)


def app_icon(size):
    s = size * SCALE
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    w = max(2, int(s * 0.14))
    d.arc((s * 0.1, s * 0.1, s * 0.9, s * 0.9), 200, 340, fill=(41, 98, 178), width=w)
    d.arc((s * 0.1, s * 0.1, s * 0.9, s * 0.9), 20, 160, fill=(56, 160, 70), width=w)
    d.polygon([(s * 0.78, s * 0.12), (s * 0.98, s * 0.34), (s * 0.68, s * 0.38)], fill=(41, 98, 178))
    d.polygon([(s * 0.22, s * 0.88), (s * 0.02, s * 0.66), (s * 0.32, s * 0.62)], fill=(56, 160, 70))
    return img.resize((size, size), Image.LANCZOS)


def ico_entry(img):
    """BITMAPINFOHEADER + 24-bit bottom-up XOR image + 1-bit AND mask."""
    size = img.width
    row_xor = (size * 3 + 3) & ~3
    row_and = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray()
        bits = bytearray(row_and)
        for x in range(size):
            r, g, b, a = img.getpixel((x, y))
            if a < 40:
                bits[x // 8] |= 0x80 >> (x % 8)
                row += bytes((0, 0, 0))
            else:
                # Blend the soft edge onto the background the icon is shown on.
                k = a / 255.0
                bg = LIST_BACKGROUND
                row += bytes((round(b * k + bg[2] * (1 - k)), round(g * k + bg[1] * (1 - k)),
                              round(r * k + bg[0] * (1 - k))))
        row += bytes(row_xor - len(row))
        xor += row
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images):
    entries = [ico_entry(img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for img, data in zip(images, entries):
        out += struct.pack("<BBBBHHII", img.width, img.height, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    path.write_bytes(bytes(out))


def main():
    out = Path("res/icons")
    out.mkdir(parents=True, exist_ok=True)
    write_ico(out / "999.ico", [app_icon(32), app_icon(16)])
    for icon_id in ICONS:
        write_ico(out / f"{icon_id}.ico", [render(icon_id, 32), render(icon_id, 16)])


if __name__ == "__main__":
    main()
