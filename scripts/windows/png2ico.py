#!/usr/bin/env python3
"""Packs PNG pictures (8-bit RGBA or RGB, as Qt saves them) into one Windows
icon file, each as a 32-bit bitmap entry, which every Windows version and Wine
read. Usage: png2ico.py OUT.ico IN.png [IN.png ...]"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise SystemExit(f'{path}: not a PNG file')
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise SystemExit(f'{path}: only 8-bit RGB(A), non-interlaced PNG files are supported')
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, i = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = previous[x]
            c = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + a) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + b) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line) if channels == 4 else
                    b''.join(line[k:k + 3] + b'\xff' for k in range(0, stride, 3)))
        previous = line
    return width, height, rows


def bitmap_entry(width, height, rows):
    # BITMAPINFOHEADER with twice the height (colour bits, then the mask), rows bottom-up, BGRA.
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(b''.join(row[k + 2:k + 3] + row[k + 1:k + 2] + row[k:k + 1] + row[k + 3:k + 4]
                               for k in range(0, len(row), 4)) for row in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytes(mask_stride * height)  # transparency comes from the alpha channel
    return info + pixels + mask


def main():
    out, inputs = sys.argv[1], sys.argv[2:]
    entries = [(w, h, bitmap_entry(w, h, rows)) for w, h, rows in map(read_png, inputs)]
    offset = 6 + 16 * len(entries)
    directory, images = struct.pack('<HHH', 0, 1, len(entries)), b''
    for w, h, body in entries:
        directory += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
        images += body
    open(out, 'wb').write(directory + images)


if __name__ == '__main__':
    main()
