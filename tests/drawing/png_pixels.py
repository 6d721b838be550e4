"""Reads the pixels of a PNG file with the standard library only (zlib for the image data)."""

import struct
import zlib


class Image:
    """An 8-bit RGB or RGBA picture; pixel(x, y) gives (r, g, b) with y counted from the top."""

    def __init__(self, width, height, channels, rows):
        self.width = width
        self.height = height
        self.channels = channels
        self.rows = rows

    def pixel(self, x, y):
        at = x * self.channels
        row = self.rows[y]
        return row[at], row[at + 1], row[at + 2]

    def colour(self, x, y):
        """The pixel as "#rrggbb"."""
        return "#%02x%02x%02x" % self.pixel(x, y)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(data, width, height, channels):
    stride = width * channels
    rows = []
    previous = bytearray(stride)
    at = 0
    for _ in range(height):
        kind = data[at]
        line = bytearray(data[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                upper_left = previous[i - channels] if i >= channels else 0
                line[i] = (line[i] + _paeth(left, up, upper_left)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown PNG filter %d" % kind)
        rows.append(line)
        previous = line
    return rows


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s is no PNG file" % path)
    at = 8
    compressed = b""
    width = height = channels = None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunk = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
            if depth != 8 or colour_type not in (2, 6) or interlace != 0:
                raise ValueError("only 8-bit RGB or RGBA PNG without interlacing is read")
            channels = 3 if colour_type == 2 else 4
        elif kind == b"IDAT":
            compressed += chunk
        elif kind == b"IEND":
            break
    return Image(width, height, channels, _unfilter(zlib.decompress(compressed), width, height, channels))
