#!/usr/bin/env python3
"""Draws QUELT's five icons and writes them as .ico files, or lays the
shipped .ico files out on a contact sheet (PNG).

    draw_icons.py write DIR              writes DIR/icon1.ico .. icon5.ico
    draw_icons.py check DIR              exit 1 unless DIR holds what write makes
    draw_icons.py sheet DIR OUT.png [--zoom N]
                                         16, 32 and 48 px on light and dark

Every shape is a signed distance field sampled at the pixel centres, which
gives antialiased edges without any imaging library; the output depends on
nothing but this file, so the icons are reproducible byte for byte.
Each .ico holds one 48x48 image, 32 bits per pixel with alpha.
"""

import math
import os
import struct
import sys
import zlib

SIZE = 48
ICON_COUNT = 5

# --- distance fields (pixels; negative inside) -------------------------------


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def ellipse(cx, cy, rx, ry):
    def field(x, y):
        px, py = (x - cx) / rx, (y - cy) / ry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px / rx, py / ry)
        return k0 * (k0 - 1) / k1 if k1 > 0 else -min(rx, ry)
    return field


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def field(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - radius
    return field


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def stroke(points, width):
    """A polyline of the given width with round joins and caps."""
    pairs = list(zip(points, points[1:]))
    return lambda x, y: min(segment_distance(x, y, *a, *b) for a, b in pairs) - width / 2


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def field(x, y):
        distance = min(segment_distance(x, y, *a, *b) for a, b in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -distance if inside else distance
    return field


def grown(field, amount):
    return lambda x, y: field(x, y) - amount


def union(*fields):
    return lambda x, y: min(f(x, y) for f in fields)


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


# --- colours -----------------------------------------------------------------


def rgb(text, alpha=1.0):
    return tuple(int(text[i:i + 2], 16) / 255 for i in (0, 2, 4)) + (alpha,)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def flat(colour):
    return lambda x, y: colour


def linear(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r)


# --- canvas ------------------------------------------------------------------


class Canvas:
    """Premultiplied RGBA floats, painted layer over layer."""

    def __init__(self, size=SIZE):
        self.size = size
        self.pixels = [(0.0, 0.0, 0.0, 0.0)] * (size * size)

    def paint(self, field, paint):
        for y in range(self.size):
            for x in range(self.size):
                px, py = x + 0.5, y + 0.5
                coverage = max(0.0, min(1.0, 0.5 - field(px, py)))
                if coverage == 0.0:
                    continue
                r, g, b, a = paint(px, py)
                a *= coverage
                i = y * self.size + x
                dr, dg, db, da = self.pixels[i]
                keep = 1 - a
                self.pixels[i] = (r * a + dr * keep, g * a + dg * keep, b * a + db * keep,
                                  a + da * keep)

    def rgba_bytes(self):
        """Straight (not premultiplied) 8-bit RGBA, top row first."""
        out = bytearray()
        for r, g, b, a in self.pixels:
            if a <= 0:
                out += b'\0\0\0\0'
                continue
            out += bytes(round(min(1.0, c / a) * 255) for c in (r, g, b))
            out.append(round(a * 255))
        return bytes(out)


# --- the pictures --------------------------------------------------------------

WHITE = rgb('FFFFFF')
BLUE_LIGHT = rgb('4FB3FF')
BLUE = rgb('1E7BE0')
BLUE_DARK = rgb('0A3D91')
NAVY = rgb('0B2A66')
OUTLINE = rgb('0A0A0A')


def draw_rune(canvas):
    """ICON1: the Bluetooth rune, white on a dark-blue upright oval."""
    oval = ellipse(24, 24, 17, 22.5)
    canvas.paint(grown(oval, 1.2), flat(rgb('E8EEF8')))
    canvas.paint(oval, linear(24, 2, rgb('2A5DB8'), 24, 46, NAVY))
    rune = [(15.5, 16.5), (31.5, 31), (23, 38.5), (23, 9.5), (31.5, 17), (15.5, 31.5)]
    canvas.paint(stroke(rune, 3.6), flat(WHITE))


def draw_mast(canvas):
    """ICON2: a dark conical radio mast, a blue light at its tip and two
    blue rings around the tip."""
    tip = (24, 16)
    for radius in (7.5, 12.5):
        canvas.paint(grown(ring(*tip, radius, 3.2), 0.9), flat(rgb('FFFFFF', 0.85)))
        canvas.paint(ring(*tip, radius, 3.2), flat(BLUE))
    mast = polygon([(24, 16), (34.5, 46), (13.5, 46)])
    canvas.paint(grown(mast, 1.3), flat(rgb('E6E6E6')))
    canvas.paint(mast, linear(16, 30, rgb('4A4F57'), 32, 30, rgb('1C1F24')))
    for y in (26, 35):  # cross braces of the lattice, lighter than the mast
        half = (y - 16) * 10.5 / 30
        canvas.paint(intersect(stroke([(24 - half, y), (24 + half, y)], 1.4), mast),
                     flat(rgb('7A808A')))
    canvas.paint(grown(circle(*tip, 4.2), 1.0), flat(WHITE))
    canvas.paint(circle(*tip, 4.2), radial(22.8, 14.8, 5.5, rgb('BFE6FF'), BLUE))


def draw_handheld(canvas):
    """ICON3: a silver handheld computer, blue screen, buttons below it."""
    body = rounded_rect(11, 2.5, 37, 45.5, 5)
    canvas.paint(grown(body, 1.2), flat(rgb('3A3F47')))
    canvas.paint(body, linear(11, 2, rgb('F4F6F8'), 37, 46, rgb('9AA2AC')))
    screen = rounded_rect(15, 7, 33, 30, 1.5)
    canvas.paint(grown(screen, 1.0), flat(rgb('4A525C')))
    canvas.paint(screen, linear(15, 7, rgb('6CC4FF'), 33, 30, rgb('0E4FB5')))
    canvas.paint(intersect(polygon([(15, 7), (33, 7), (15, 22)]), screen),
                 flat(rgb('FFFFFF', 0.22)))
    for x in (17, 31):
        canvas.paint(circle(x, 37.5, 2.6), flat(rgb('2F6FD0')))
    canvas.paint(circle(24, 37.5, 3.8), flat(rgb('3A3F47')))
    canvas.paint(circle(24, 37.5, 2.8), radial(23.3, 36.8, 3.5, rgb('E8ECF0'), rgb('8F97A1')))


def draw_cross(canvas):
    """ICON4: a glossy red disc with a white cross."""
    disc = circle(24, 24, 21)
    canvas.paint(grown(disc, 1.3), flat(rgb('6E0A0A')))
    canvas.paint(disc, radial(18, 15, 30, rgb('FF6B5E'), rgb('A8100C')))
    cross = union(stroke([(15.5, 15.5), (32.5, 32.5)], 6.2), stroke([(32.5, 15.5), (15.5, 32.5)], 6.2))
    canvas.paint(cross, flat(WHITE))
    gloss = intersect(ellipse(24, 13, 15, 9), disc)
    canvas.paint(gloss, linear(24, 4, rgb('FFFFFF', 0.55), 24, 20, rgb('FFFFFF', 0.0)))


def draw_arrow(canvas):
    """ICON5: a thick blue arrow with a black outline, to the upper right."""
    shape = [(-19, -5.5), (1, -5.5), (1, -14.5), (19.5, 0), (1, 14.5), (1, 5.5), (-19, 5.5)]
    c, s = math.cos(-math.pi / 4), math.sin(-math.pi / 4)
    turned = [(24 + x * c - y * s, 24 + x * s + y * c) for x, y in shape]
    arrow = polygon(turned)
    canvas.paint(grown(arrow, 3.2), flat(rgb('FFFFFF', 0.9)))
    canvas.paint(grown(arrow, 2.2), flat(OUTLINE))
    canvas.paint(arrow, linear(10, 38, rgb('1758C9'), 38, 10, rgb('52B6FF')))


PICTURES = (draw_rune, draw_mast, draw_handheld, draw_cross, draw_arrow)

# --- files -------------------------------------------------------------------


def ico_bytes(rgba, size=SIZE):
    """One 32-bit image: BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    rows = [rgba[y * size * 4:(y + 1) * size * 4] for y in range(size)]
    xor = bytearray()
    for row in reversed(rows):
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def read_ico(path):
    """The straight RGBA pixels (top row first) of the single image."""
    data = open(path, 'rb').read()
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    if kind != 1 or count != 1:
        raise ValueError('%s: expected one icon image' % path)
    width, _, _, _, _, bits, _, offset = struct.unpack_from('<BBBBHHII', data, 6)
    size = width or 256
    header_size, = struct.unpack_from('<I', data, offset)
    if bits != 32:
        raise ValueError('%s: expected 32 bits per pixel' % path)
    pixels = data[offset + header_size:offset + header_size + size * size * 4]
    rows = [pixels[y * size * 4:(y + 1) * size * 4] for y in range(size)]
    out = bytearray()
    for row in reversed(rows):
        for i in range(0, len(row), 4):
            b, g, r, a = row[i:i + 4]
            out += bytes((r, g, b, a))
    return size, bytes(out)


def png_bytes(width, height, rgba):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack(
            '>I', zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_file_name(number):
    return 'icon%d.ico' % number


def draw_all():
    images = []
    for picture in PICTURES:
        canvas = Canvas()
        picture(canvas)
        images.append(ico_bytes(canvas.rgba_bytes()))
    return images


# --- contact sheet -------------------------------------------------------------


def scaled(size, rgba, target):
    """Area-average resampling in premultiplied alpha, as a host shrinks an icon."""
    scale = size / target
    out = bytearray()
    for ty in range(target):
        for tx in range(target):
            sums = [0.0] * 4
            y0, y1 = ty * scale, (ty + 1) * scale
            x0, x1 = tx * scale, (tx + 1) * scale
            for sy in range(int(y0), min(size, math.ceil(y1))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(size, math.ceil(x1))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    i = (sy * size + sx) * 4
                    a = rgba[i + 3] / 255 * w
                    for k in range(3):
                        sums[k] += rgba[i + k] / 255 * a
                    sums[3] += a
            area = scale * scale
            alpha = sums[3] / area
            colour = [sums[k] / sums[3] if sums[3] > 0 else 0 for k in range(3)]
            out += bytes(round(c * 255) for c in colour) + bytes((round(alpha * 255),))
    return bytes(out)


def contact_sheet(directory, zoom=1):
    sizes = (16, 32, 48)
    backgrounds = ((0xF4, 0xF4, 0xF4), (0x20, 0x22, 0x26))
    gap = 8
    cell = max(sizes) + gap
    width = gap + len(backgrounds) * len(sizes) * cell
    height = gap + ICON_COUNT * cell
    half = width // 2
    sheet = [[backgrounds[0] if x < half else backgrounds[1] for x in range(width)]
             for _ in range(height)]
    for number in range(1, ICON_COUNT + 1):
        size, rgba = read_ico(os.path.join(directory, icon_file_name(number)))
        for b, background in enumerate(backgrounds):
            for s, target in enumerate(sizes):
                image = scaled(size, rgba, target)
                left = gap + (b * len(sizes) + s) * cell
                top = gap + (number - 1) * cell
                for y in range(target):
                    for x in range(target):
                        i = (y * target + x) * 4
                        a = image[i + 3] / 255
                        sheet[top + y][left + x] = tuple(
                            round(image[i + k] * a + background[k] * (1 - a)) for k in range(3))
    # Zoom by repeating pixels and rows, so small sizes can be inspected.
    zoomed = bytearray()
    for y in range(height):
        line = bytearray()
        for pixel in sheet[y]:
            line += (bytes(pixel) + b'\xff') * zoom
        zoomed += bytes(line) * zoom
    return png_bytes(width * zoom, height * zoom, bytes(zoomed))


def main(argv):
    if len(argv) >= 2 and argv[0] == 'write':
        os.makedirs(argv[1], exist_ok=True)
        for number, data in enumerate(draw_all(), 1):
            with open(os.path.join(argv[1], icon_file_name(number)), 'wb') as f:
                f.write(data)
        return 0
    if len(argv) >= 2 and argv[0] == 'check':
        stale = [icon_file_name(n) for n, data in enumerate(draw_all(), 1)
                 if open(os.path.join(argv[1], icon_file_name(n)), 'rb').read() != data]
        for name in stale:
            print('%s differs from what draw_icons.py draws' % name, file=sys.stderr)
        return 1 if stale else 0
    if len(argv) >= 3 and argv[0] == 'sheet':
        zoom = int(argv[4]) if len(argv) >= 5 and argv[3] == '--zoom' else 1
        with open(argv[2], 'wb') as f:
            f.write(contact_sheet(argv[1], zoom))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
