#!/usr/bin/env python3
"""Draws Setup's artwork and writes it as the files the resource script compiles in:

    side.bmp   bitmap 200: 120 x 260, 8 bits per pixel, 256-colour palette; a desktop
               computer, two compact discs and two floppy disks on a teal ground
    icon.bmp   bitmap 201: 32 x 32, 4 bits per pixel, RLE4; a computer with a software box
               in front of it, on cyan (0, 255, 255), which the wizard turns into the
               button-face colour
    setup.ico  the program icon: a software box with an arrow into it, 32 x 32 and 16 x 16

Usage: make_artwork.py OUTPUT_FOLDER
Everything is drawn from the shapes below, so the pictures can be remade at any time.
"""

import math
import os
import struct
import sys


class Canvas:
    """A picture of palette indices with the few shapes the artwork needs."""

    def __init__(self, width, height, fill=0):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills left..right-1, top..bottom-1."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, light, dark):
        """A one-pixel bevel: light top and left edges, dark bottom and right edges."""
        for x in range(left, right):
            self.put(x, top, light)
            self.put(x, bottom - 1, dark)
        for y in range(top, bottom):
            self.put(left, y, light)
            self.put(right - 1, y, dark)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def disc(self, cx, cy, radius, colour_at):
        """Fills a circle; colour_at(dx, dy, distance) picks each pixel's colour."""
        r = int(math.ceil(radius))
        for dy in range(-r, r + 1):
            for dx in range(-r, r + 1):
                distance = math.hypot(dx, dy)
                if distance <= radius:
                    self.put(cx + dx, cy + dy, colour_at(dx, dy, distance))


# ---------------------------------------------------------------------------------------------
# Bitmap 200: the side picture


def side_palette():
    """256 colours: a teal ramp for the ground and shading, then the objects' colours."""
    palette = []
    # 0..95: the teal ground, from light at the top to deep at the bottom.
    for i in range(96):
        t = i / 95
        palette.append((int(20 + 10 * (1 - t)), int(150 - 70 * t), int(150 - 70 * t)))
    named = {
        "black": (0, 0, 0), "white": (255, 255, 255), "shadow": (0, 60, 60),
        "case": (212, 208, 200), "case_light": (240, 238, 232), "case_dark": (128, 124, 118),
        "case_deep": (90, 88, 84), "screen": (16, 40, 120), "screen_light": (60, 110, 200),
        "window": (200, 200, 200), "window_title": (0, 0, 128), "led_green": (0, 220, 0),
        "led_amber": (255, 170, 0), "slot": (40, 40, 40), "floppy_blue": (30, 60, 150),
        "floppy_black": (30, 30, 34), "floppy_light": (80, 110, 200), "metal": (180, 184, 190),
        "metal_dark": (110, 114, 120), "label": (250, 250, 240), "label_line": (170, 170, 200),
        "cd_hole": (0, 90, 90), "cd_ring": (150, 150, 160),
    }
    names = {}
    for name, colour in named.items():
        names[name] = len(palette)
        palette.append(colour)
    # The discs' sheen: a silver ramp through the colours of a rainbow, 64 steps.
    names["cd_sheen"] = len(palette)
    for i in range(64):
        hue = i / 64 * 6
        sector, f = int(hue) % 6, hue - int(hue)
        r, g, b = [(1, f, 0), (1 - f, 1, 0), (0, 1, f), (0, 1 - f, 1), (f, 0, 1), (1, 0, 1 - f)][sector]
        palette.append(tuple(int(190 + 55 * c) for c in (r, g, b)))
    while len(palette) < 256:
        palette.append((0, 0, 0))
    return palette, names


def draw_side():
    width, height = 120, 260
    palette, c = side_palette()
    canvas = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            canvas.pixels[y][x] = min(95, y * 96 // height)

    def shadow(left, top, right, bottom):
        canvas.rect(left + 3, top + 3, right + 3, bottom + 3, c["shadow"])

    # The monitor on the desk, left.
    shadow(8, 34, 78, 92)
    canvas.rect(8, 34, 78, 92, c["case"])
    canvas.frame(8, 34, 78, 92, c["case_light"], c["case_dark"])
    canvas.rect(14, 40, 72, 84, c["screen"])
    canvas.frame(13, 39, 73, 85, c["case_dark"], c["case_light"])
    # A small window on the screen, and a light sweep across the glass.
    canvas.rect(22, 48, 56, 70, c["window"])
    canvas.rect(22, 48, 56, 52, c["window_title"])
    for row in range(3):
        canvas.line(26, 56 + 4 * row, 50 - 6 * row, 56 + 4 * row, c["case_dark"])
    canvas.line(60, 42, 70, 52, c["screen_light"])
    canvas.line(62, 42, 70, 50, c["screen_light"])
    canvas.put(70, 88, c["led_green"])
    # Its stand.
    canvas.rect(34, 92, 52, 98, c["case_dark"])
    shadow(26, 98, 60, 102)
    canvas.rect(26, 98, 60, 102, c["case"])
    canvas.frame(26, 98, 60, 102, c["case_light"], c["case_dark"])

    # The tower, right.
    shadow(84, 26, 112, 124)
    canvas.rect(84, 26, 112, 124, c["case"])
    canvas.frame(84, 26, 112, 124, c["case_light"], c["case_dark"])
    for top in (32, 42):  # two drive bays
        canvas.rect(88, top, 108, top + 7, c["case_light"])
        canvas.frame(88, top, 108, top + 7, c["case_dark"], c["case_light"])
        canvas.rect(91, top + 3, 105, top + 4, c["slot"])
    canvas.rect(88, 54, 108, 62, c["case_light"])  # the floppy drive
    canvas.frame(88, 54, 108, 62, c["case_dark"], c["case_light"])
    canvas.rect(92, 57, 104, 59, c["slot"])
    for y in range(70, 110, 4):  # the vents
        canvas.line(90, y, 106, y, c["case_dark"])
    canvas.rect(96, 114, 100, 118, c["case_deep"])  # the power button
    canvas.put(104, 116, c["led_green"])
    canvas.put(106, 116, c["led_amber"])

    # The keyboard in front of both.
    shadow(10, 108, 80, 122)
    canvas.rect(10, 108, 80, 122, c["case"])
    canvas.frame(10, 108, 80, 122, c["case_light"], c["case_dark"])
    for row in range(3):
        for key in range(11):
            canvas.rect(13 + 6 * key, 111 + 3 * row, 17 + 6 * key, 113 + 3 * row, c["case_light"])

    # Two compact discs, the second overlapping the first.
    def cd_colour(dx, dy, distance):
        if distance <= 3.5:
            return c["cd_hole"]
        if distance <= 7:
            return c["cd_ring"]
        if distance >= 21:
            return c["metal_dark"]
        angle = (math.atan2(dy, dx) + math.pi) / (2 * math.pi)
        return c["cd_sheen"] + int(angle * 2 * 64 + distance) % 64

    for cx, cy in ((36, 160), (72, 178)):
        canvas.disc(cx + 3, cy + 3, 22, lambda dx, dy, d: c["shadow"])
        canvas.disc(cx, cy, 22, cd_colour)

    # Two floppy disks.
    def floppy(left, top):
        size = 34
        shadow(left, top, left + size, top + size)
        canvas.rect(left, top, left + size, top + size, c["floppy_blue"])
        canvas.frame(left, top, left + size, top + size, c["floppy_light"], c["floppy_black"])
        canvas.rect(left + 8, top, left + 26, top + 12, c["metal"])  # the shutter
        canvas.rect(left + 19, top + 2, left + 23, top + 10, c["metal_dark"])
        canvas.rect(left + 5, top + 16, left + 29, top + size - 1, c["label"])
        for y in range(top + 20, top + size - 3, 4):
            canvas.line(left + 8, y, left + 26, y, c["label_line"])
        canvas.put(left + 2, top + size - 3, c["floppy_black"])  # the write-protect notch

    floppy(12, 206)
    floppy(62, 216)
    return canvas, palette


def write_bmp_8bit(path, canvas, palette):
    """An uncompressed bottom-up 8-bit BMP with a 256-entry palette."""
    stride = (canvas.width + 3) & ~3
    bits = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytes(canvas.pixels[y])
        bits += row + b"\0" * (stride - canvas.width)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    write_bmp(path, info + colours, bits)


def write_bmp(path, header_and_palette, bits):
    offset = 14 + len(header_and_palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(file_header + header_and_palette + bits)


# ---------------------------------------------------------------------------------------------
# Bitmap 201: the page icon

# The sixteen colours of the standard Windows palette; 14 is the cyan key colour.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, CYAN, WHITE = range(16)


def draw_icon():
    canvas = Canvas(32, 32, CYAN)
    # The monitor, at the back.
    canvas.rect(4, 2, 28, 20, SILVER)
    canvas.frame(4, 2, 28, 20, WHITE, GREY)
    canvas.rect(7, 5, 25, 16, NAVY)
    canvas.frame(6, 4, 26, 17, GREY, WHITE)
    canvas.line(17, 6, 23, 12, BLUE)
    canvas.put(24, 18, LIME)
    canvas.rect(13, 20, 19, 22, GREY)
    canvas.rect(8, 22, 24, 24, SILVER)
    canvas.frame(8, 22, 24, 24, WHITE, GREY)
    # The software box, in front and to the left: front face, top and side.
    canvas.rect(2, 17, 16, 31, RED)
    canvas.frame(2, 17, 16, 31, YELLOW, MAROON)
    for i in range(4):  # the top face, slanting back
        canvas.line(3 + i, 16 - i, 17 + i, 16 - i, YELLOW if i % 2 else OLIVE)
    for i in range(4):  # the side face
        canvas.line(16 + i, 16 - i, 16 + i, 30 - i, MAROON)
    canvas.rect(5, 20, 13, 28, WHITE)  # the label with a disc on it
    canvas.disc(9, 24, 3, lambda dx, dy, d: BLACK if d < 1 else SILVER if d < 2.6 else GREY)
    canvas.frame(1, 16, 17, 32, BLACK, BLACK)
    return canvas


def encode_rle4(canvas):
    """BI_RLE4, encoded runs only: each run is a count and one byte holding the colour twice.
    Rows go bottom-up, each ends with the end-of-line code; the bitmap with end-of-bitmap."""
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = canvas.pixels[y]
        x = 0
        while x < canvas.width:
            run = 1
            while x + run < canvas.width and row[x + run] == row[x] and run < 255:
                run += 1
            data += bytes((run, (row[x] << 4) | row[x]))
            x += run
        data += b"\x00\x00"
    data[-2:] = b"\x00\x01"
    return bytes(data)


def write_bmp_rle4(path, canvas, palette):
    bits = encode_rle4(canvas)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 2, len(bits), 2835, 2835, 16, 0)
    write_bmp(path, info + colours, bits)


# ---------------------------------------------------------------------------------------------
# The program icon


def draw_program_icon(size):
    """An open software box with a green arrow pointing into it, as RGBA rows."""
    s = size / 32
    clear = None
    rgba = [[clear] * size for _ in range(size)]

    def fill(points, colour):
        # Scan-fills a convex polygon given in 32-pixel units.
        pts = [(x * s, y * s) for x, y in points]
        for py in range(size):
            for px in range(size):
                cx, cy = px + 0.5, py + 0.5
                inside = True
                for i in range(len(pts)):
                    (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                    if (x1 - x0) * (cy - y0) - (y1 - y0) * (cx - x0) < 0:
                        inside = False
                        break
                if inside:
                    rgba[py][px] = colour

    outline = (40, 24, 8)
    fill([(3, 13), (21, 13), (21, 30), (3, 30)], outline)  # front face with its outline
    fill([(4, 14), (20, 14), (20, 29), (4, 29)], (222, 150, 60))
    fill([(21, 13), (29, 8), (29, 25), (21, 30)], outline)  # side face
    fill([(21, 14), (28, 10), (28, 24), (21, 28)], (176, 108, 36))
    fill([(3, 13), (11, 8), (29, 8), (21, 13)], (120, 74, 24))  # the open top, dark inside
    fill([(3, 13), (0, 7), (8, 3), (11, 8)], (240, 180, 90))  # the flaps
    fill([(21, 13), (29, 8), (31, 3), (24, 7)], (200, 130, 50))
    fill([(7, 18), (17, 18), (17, 25), (7, 25)], (250, 246, 230))  # the label
    fill([(8, 21), (16, 21), (16, 22), (8, 22)], (60, 90, 170))
    fill([(13, 0), (19, 0), (19, 6), (13, 6)], (20, 120, 30))  # the arrow into the box
    fill([(14, 1), (18, 1), (18, 7), (14, 7)], (60, 200, 70))
    fill([(10, 6), (22, 6), (16, 12)], (20, 120, 30))
    fill([(12, 7), (20, 7), (16, 11)], (60, 200, 70))
    return rgba


def icon_image(size):
    """One ICO entry: a 32-bit DIB (double height), then the 1-bit AND mask."""
    rgba = draw_program_icon(size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            pixel = rgba[y][x]
            if pixel is None:
                colour += b"\0\0\0\0"
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = pixel
                colour += bytes((b, g, r, 255))
        mask += row_mask
    return info + colour + mask


def write_ico(path, sizes):
    images = [icon_image(size) for size in sizes]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(header + entries + b"".join(images))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_artwork.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    side, palette = draw_side()
    write_bmp_8bit(os.path.join(folder, "side.bmp"), side, palette)
    write_bmp_rle4(os.path.join(folder, "icon.bmp"), draw_icon(), VGA)
    write_ico(os.path.join(folder, "setup.ico"), [32, 16])


if __name__ == "__main__":
    main()
