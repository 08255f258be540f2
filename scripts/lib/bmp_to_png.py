"""Turns the simulator's 24-bit bottom-up BMP into a PNG, with the stdlib."""
import struct
import sys
import zlib

BMP_HEADER = struct.Struct("<2sIHHI")
INFO_HEADER = struct.Struct("<IiiHHIIiiII")
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_RGB = 2


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    kind, _, _, _, pixels_at = BMP_HEADER.unpack_from(data, 0)
    _, width, height, _, bits, compression, *_ = INFO_HEADER.unpack_from(data, BMP_HEADER.size)
    if kind != b"BM" or bits != 24 or compression != 0 or height <= 0:
        raise SystemExit("%s: not a 24-bit bottom-up BMP" % path)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        start = pixels_at + y * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def write_png(path, width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, PNG_RGB, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(PNG_SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    write_png(sys.argv[2], *read_bmp(sys.argv[1]))
