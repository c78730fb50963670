#!/usr/bin/env python3
"""Writes a binary PPM as a GIF whose palette index 0 is light grey
(192, 192, 192), which is also the background and the transparent index."""
import struct
import sys

GREY = (192, 192, 192)


def read_ppm(path):
    """Returns (width, height, list of RGB tuples) of a P6 file with maxval 255."""
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    width, height = int(fields[1]), int(fields[2])
    raw = data[pos:pos + 3 * width * height]
    return width, height, [tuple(raw[k:k + 3]) for k in range(0, len(raw), 3)]


def lzw_literal_codes(indices):
    """9-bit LZW stream of literal codes only: a clear code every 100 codes
    keeps the decoder's table from ever widening the code size."""
    clear, stop = 256, 257
    codes = []
    for k, index in enumerate(indices):
        if k % 100 == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(stop)
    bits, nbits, out = 0, 0, bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += 9
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def write_gif(path, width, height, pixels):
    """Writes the pixels with grey first in a 256-entry palette."""
    palette = [GREY]
    for colour in pixels:
        if colour not in palette:
            palette.append(colour)
    if len(palette) > 256:
        sys.exit('%s: more than 256 colours' % path)
    lookup = {colour: k for k, colour in enumerate(palette)}
    palette += [(0, 0, 0)] * (256 - len(palette))
    data = lzw_literal_codes([lookup[c] for c in pixels])
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', width, height, 0xF7, 0, 0)
    out += bytes(v for colour in palette for v in colour)
    out += b'\x21\xF9\x04\x01\x00\x00\x00\x00'  # transparent index 0
    out += b'\x2C' + struct.pack('<HHHHB', 0, 0, width, height, 0)
    out.append(8)
    for k in range(0, len(data), 255):
        chunk = data[k:k + 255]
        out.append(len(chunk))
        out += chunk
    out += b'\x00\x3B'
    open(path, 'wb').write(out)


if __name__ == '__main__':
    w, h, px = read_ppm(sys.argv[1])
    write_gif(sys.argv[2], w, h, px)
