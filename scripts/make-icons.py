#!/usr/bin/env python3
"""Draws the sequencer's small icons as PNG files into images/.

The icons are plain shapes so they can be regenerated anywhere without an
image editor: lamps are discs, the run actions the usual player symbols.
"""
import math
import os
import struct
import zlib

SIZE = 24
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "images")


def png(path, pixels):
    raw = b"".join(b"\x00" + bytes(sum((list(p) for p in row), [])) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def canvas():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


def hexcolour(text, alpha=255):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4)) + (alpha,)


def fill(img, inside, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if inside(x + 0.5, y + 0.5):
                img[y][x] = colour


def disc(img, cx, cy, r, colour):
    fill(img, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)


def rect(img, x0, y0, x1, y1, colour):
    fill(img, lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)


def polygon(img, points, colour):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    fill(img, inside, colour)


def line(img, x0, y0, x1, y1, width, colour):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    fill(img, inside, colour)


def lamp(colour):
    img = canvas()
    disc(img, 12, 12, 10, hexcolour("#404040"))
    disc(img, 12, 12, 8.5, hexcolour(colour))
    disc(img, 9, 9, 2.5, (255, 255, 255, 160))
    return img


def page(lines=True):
    img = canvas()
    rect(img, 4, 2, 19, 21, hexcolour("#606060"))
    rect(img, 5, 3, 18, 20, hexcolour("#FFFFFF"))
    if lines:
        for y in (7, 10, 13, 16):
            rect(img, 7, y, 16, y + 0.9, hexcolour("#3060C0"))
    return img


def folder(colour="#E0B040"):
    img = canvas()
    rect(img, 2, 6, 10, 9, hexcolour(colour))
    rect(img, 2, 8, 21, 19, hexcolour(colour))
    rect(img, 3, 10, 20, 18, hexcolour("#F0D070"))
    return img


def sequencer():
    img = canvas()
    rect(img, 2, 2, 21, 21, hexcolour("#2050A0"))
    for i, y in enumerate((6, 11, 16)):
        disc(img, 6, y + 0.5, 1.8, hexcolour(("#80FF80", "#FF4040", "#80FF80")[i]))
        rect(img, 10, y - 0.5, 19, y + 1.5, hexcolour("#FFFFFF"))
    return img


def icons():
    result = {}
    for name, colour in (("white", "#F4F4F4"), ("green", "#20D020"), ("red", "#E02020"),
                         ("yellow", "#F0E020"), ("blue", "#3070F0")):
        result["LED_%s.png" % name] = lamp(colour)

    img = canvas()
    polygon(img, [(6, 3), (20, 12), (6, 21)], hexcolour("#20A020"))
    result["ORVSequencerStart.png"] = img
    img = canvas()
    rect(img, 5, 5, 18, 18, hexcolour("#D02020"))
    result["ORVSequencerStop.png"] = img
    img = canvas()
    rect(img, 4, 4, 7, 19, hexcolour("#20A020"))
    polygon(img, [(10, 4), (21, 12), (10, 20)], hexcolour("#20A020"))
    result["ORVSequencerContinue.png"] = img
    img = canvas()
    line(img, 5, 5, 19, 19, 3.5, hexcolour("#D02020"))
    line(img, 19, 5, 5, 19, 3.5, hexcolour("#D02020"))
    result["ORVSequencerCancel.png"] = img

    result["ORVSequencerIcon.png"] = sequencer()
    img = sequencer()
    rect(img, 13, 13, 23, 23, hexcolour("#F0E020"))
    result["ORVSequencerImportSQC.png"] = img
    result["ORVSequencerFolderIcon.png"] = folder()
    result["ORVSequencerHistoryFolder.png"] = folder("#B08030")
    result["ORVSequencerReport.png"] = page()
    img = page()
    disc(img, 17, 17, 5, hexcolour("#2050A0"))
    line(img, 17, 17, 17, 14, 1.2, hexcolour("#FFFFFF"))
    line(img, 17, 17, 19, 17, 1.2, hexcolour("#FFFFFF"))
    result["ORVSequencerHistory.png"] = img
    img = page(False)
    line(img, 7, 17, 17, 7, 2.5, hexcolour("#2050A0"))
    result["ORVSequencerRename.png"] = img
    img = page()
    disc(img, 16, 16, 5, hexcolour("#808080"))
    disc(img, 16, 16, 2, hexcolour("#FFFFFF"))
    result["ORVSequencerProperties.png"] = img
    img = page(False)
    polygon(img, [(12, 20), (6, 12), (10, 12), (10, 4), (14, 4), (14, 12), (18, 12)], hexcolour("#20A020"))
    result["ORVSequencerImport.png"] = img
    img = page(False)
    polygon(img, [(12, 4), (6, 12), (10, 12), (10, 20), (14, 20), (14, 12), (18, 12)], hexcolour("#2050A0"))
    result["ORVSequencerExport.png"] = img
    img = page(False)
    line(img, 7, 7, 17, 17, 3, hexcolour("#D02020"))
    line(img, 17, 7, 7, 17, 3, hexcolour("#D02020"))
    result["DeleteSequence.png"] = img

    img = canvas()
    disc(img, 12, 12, 10, hexcolour("#3070F0"))
    line(img, 9, 9, 12, 6.5, 2.2, hexcolour("#FFFFFF"))
    line(img, 12, 6.5, 15, 9, 2.2, hexcolour("#FFFFFF"))
    line(img, 15, 9, 12, 13, 2.2, hexcolour("#FFFFFF"))
    rect(img, 11, 13, 13, 15, hexcolour("#FFFFFF"))
    disc(img, 12, 18, 1.4, hexcolour("#FFFFFF"))
    result["Ctrl_Questionmark.png"] = img
    img = canvas()
    rect(img, 3, 9, 20, 17, hexcolour("#606060"))
    rect(img, 6, 3, 17, 9, hexcolour("#FFFFFF"))
    rect(img, 6, 15, 17, 21, hexcolour("#FFFFFF"))
    result["Ctrl_Print.png"] = img
    result["Ctrl_Export.png"] = result["ORVSequencerExport.png"]
    img = canvas()
    disc(img, 12, 12, 9, hexcolour("#D08020"))
    disc(img, 12, 12, 6, (0, 0, 0, 0))
    polygon(img, [(12, 1), (18, 4), (12, 8)], hexcolour("#D08020"))
    result["Ctrl_Reset.png"] = img
    img = canvas()
    for k in range(8):
        a = k * math.pi / 4
        line(img, 12, 12, 12 + 10 * math.cos(a), 12 + 10 * math.sin(a), 3, hexcolour("#707070"))
    disc(img, 12, 12, 7, hexcolour("#909090"))
    disc(img, 12, 12, 3, (0, 0, 0, 0))
    result["Ctrl_Wheel.png"] = img
    return result


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, img in sorted(icons().items()):
        png(os.path.join(OUT, name), img)
        print(name)


if __name__ == "__main__":
    main()
