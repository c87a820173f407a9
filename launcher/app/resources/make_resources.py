#!/usr/bin/env python3
"""Writes the launcher's own resource files: two 32x32 cursors (hot spot at 0,0), the click
sound (PCM WAVE, mono, 22 050 Hz, 16 bit, 66 816 data bytes) and the program icon, each as PNG
for the Qt program and as .cur / .ico for the Windows program's resources.
Run it from this folder; the outputs are committed beside it."""
import math
import struct
import zlib

SIZE = 32


def write_png(path, pixels, size):
    rows = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def write_icon_file(path, pixels, size, kind, hot_spot=(0, 0)):
    """A one-image .ico (kind 1) or .cur (kind 2) file: 32-bit BGRA rows bottom-up, then the
    1-bit AND mask (set where the pixel is transparent)."""
    xor = b"".join(bytes((px[2], px[1], px[0], px[3])) for row in reversed(pixels) for px in row)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + xor + bytes(mask)
    planes_or_x, bits_or_y = (1, 32) if kind == 1 else hot_spot
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes_or_x, bits_or_y,
                        len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, kind, 1) + entry + image)


def inside(polygon, x, y):
    result = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def cursor(polygon, fill):
    """Polygon filled with fill and outlined in black, on a transparent ground."""
    clear = (0, 0, 0, 0)
    grid = [[clear] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside(polygon, x + 0.5, y + 0.5):
                grid[y][x] = fill + (255,)
    outline = [[grid[y][x] for x in range(SIZE)] for y in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if grid[y][x][3] == 0:
                continue
            edge = any(not (0 <= x + dx < SIZE and 0 <= y + dy < SIZE)
                       or grid[y + dy][x + dx][3] == 0
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                outline[y][x] = (0, 0, 0, 255)
    outline[0][0] = (0, 0, 0, 255)  # the hot spot: the pointer's tip is always drawn
    return outline


ARROW = [(0, 0), (0, 17), (4, 13), (7, 20), (10, 19), (7, 12), (12, 12)]
# A pointing hand seen from the side, its fingertip at the top-left pixel.
HAND = [(0, 0), (3, 0), (9, 6), (16, 7), (22, 9), (24, 13), (24, 19), (19, 24), (12, 24),
        (8, 20), (5, 15), (4, 11), (6, 8), (0, 3)]


def click_wave(path):
    rate, data_bytes = 22050, 66816
    samples = data_bytes // 2
    frames = []
    for n in range(samples):
        t = n / rate
        # A short wooden tick: two damped partials, then silence to the end of the clip.
        level = math.exp(-t * 90) * (0.6 * math.sin(2 * math.pi * 1800 * t)
                                     + 0.3 * math.sin(2 * math.pi * 3100 * t))
        frames.append(struct.pack("<h", int(max(-1.0, min(1.0, level)) * 32767)))
    data = b"".join(frames)
    assert len(data) == data_bytes
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def icon(path):
    size = 64
    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - 31.5, y - 31.5
            r = math.hypot(dx, dy)
            if r > 30:
                row.append((0, 0, 0, 0))
            elif r > 27:
                row.append((30, 40, 90, 255))
            elif abs(dx) < 5 and -18 < dy < 6 or abs(dy - 12) < 5 and abs(dx) < 12 - (dy - 12):
                row.append((250, 250, 250, 255))  # a downward arrow: the update
            else:
                row.append((60, 110, 200, 255))
        grid.append(row)
    write_png(path, grid, size)
    write_icon_file(path[:-4] + ".ico", grid, size, 1)


if __name__ == "__main__":
    for name, polygon, fill in (("Cursor_Arrow", ARROW, (255, 255, 255)),
                                ("Cursor_Hand", HAND, (255, 224, 180))):
        pixels = cursor(polygon, fill)
        write_png(name + ".png", pixels, SIZE)
        write_icon_file(name + ".cur", pixels, SIZE, 2)
    click_wave("Sound_Click.wav")
    icon("MorvoPatcher.png")
