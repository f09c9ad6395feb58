#!/usr/bin/env python3
"""Turn the launcher's text pixel maps into .ico, .cur and .bmp files.

Usage: python3 tools/make_pictures.py SOURCE_DIR OUTPUT_DIR

Every SOURCE_DIR/NAME.pxm becomes OUTPUT_DIR/NAME.<ico|cur|bmp>. The output is
the same bytes on every run (no time stamps, maps read in sorted order).

Pixel map format (plain text, one statement per line):

    ; a comment (only outside a rows block); blank lines are ignored
    output quorvel.ico     file to write; its stem must equal the map's stem,
                           its extension picks the kind: ico, cur or bmp
    hotspot 16 16          cursor hot spot x y (cur only, required there)
    image 32 32 4          start an image: width height bits-per-pixel
                           (ico/cur: 4 or 8; bmp: 8 or 24); an ico may hold
                           several images, a cur or bmp exactly one
    colour Y #FFD800       palette entry: one non-blank character, a colour
    colour . none          'none' = transparent (ico/cur only)
    rows                   then exactly <height> lines of <width> characters,
    ...                    top row first, each character declared by colour
    end                    closes the rows block (and the image)

Palette images (4 and 8 bits) get index 0 = black, then the declared colours
in order (duplicates share an index). In a .bmp the palette ends there (the
header's colour count says how long it is); an .ico or .cur image has it padded
with black to 2**bpp entries.
Transparent pixels are written as index 0 (black) with the AND-mask bit set,
so they leave the screen untouched.
"""
import os
import re
import struct
import sys

KINDS = {"ico": (4, 8), "cur": (4, 8), "bmp": (8, 24)}
BLACK = (0, 0, 0)


class MapError(Exception):
    pass


class Image:
    def __init__(self, width, height, bpp):
        self.width, self.height, self.bpp = width, height, bpp
        self.colours = {}  # character -> (r, g, b) or None for transparent
        self.rows = []


def parse_map(path):
    """Read one pixel map; returns (output name, hotspot or None, [Image])."""
    output, hotspot, images, image, in_rows = None, None, [], None, False
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()  # the newline that ends the last line
    for number, line in enumerate(lines, 1):
        where = f"{path}:{number}"
        line = line.rstrip("\r")
        if in_rows:
            if line.strip() == "end":
                if len(image.rows) != image.height:
                    raise MapError(f"{where}: {len(image.rows)} rows, the image is {image.height} high")
                in_rows, image = False, None
                continue
            if len(line) != image.width:
                raise MapError(f"{where}: row is {len(line)} characters wide, "
                               f"the image is {image.width} wide")
            for ch in line:
                if ch not in image.colours:
                    raise MapError(f"{where}: unknown character {ch!r} (no colour line for it)")
            image.rows.append(line)
            continue
        words = line.split()
        if not words or words[0].startswith(";"):
            continue
        key, args = words[0], words[1:]
        if key == "output" and len(args) == 1 and output is None:
            output = args[0]
            kind = output.rsplit(".", 1)[-1]
            if kind not in KINDS:
                raise MapError(f"{where}: output must end in .ico, .cur or .bmp")
            stem = os.path.basename(path)[: -len(".pxm")]
            if output != f"{stem}.{kind}":
                raise MapError(f"{where}: output must be named {stem}.{kind} after the map")
        elif key == "hotspot" and len(args) == 2 and all(a.isdigit() for a in args):
            hotspot = (int(args[0]), int(args[1]))
        elif key == "image" and len(args) == 3 and all(a.isdigit() for a in args):
            if image is not None:
                raise MapError(f"{where}: previous image has no rows block")
            image = Image(*map(int, args))
            if image.width < 1 or image.height < 1:
                raise MapError(f"{where}: an image needs at least one pixel each way")
            images.append(image)
        elif key in ("colour", "rows") and image is None:
            raise MapError(f"{where}: {key} line before any image line")
        elif key == "colour" and len(args) == 2 and len(args[0]) == 1:
            if args[0] in image.colours:
                raise MapError(f"{where}: character {args[0]!r} declared twice")
            if args[1] == "none":
                image.colours[args[0]] = None
            elif re.fullmatch(r"#[0-9A-Fa-f]{6}", args[1]):
                v = int(args[1][1:], 16)
                image.colours[args[0]] = (v >> 16, (v >> 8) & 255, v & 255)
            else:
                raise MapError(f"{where}: colour must be #RRGGBB or none")
        elif key == "rows" and not args:
            in_rows = True
        else:
            raise MapError(f"{where}: cannot understand {line.strip()!r}")
    if in_rows or image is not None:
        raise MapError(f"{path}: last image is not closed with rows ... end")
    if output is None or not images:
        raise MapError(f"{path}: needs an output line and at least one image")
    kind = output.rsplit(".", 1)[-1]
    if kind != "ico" and len(images) != 1:
        raise MapError(f"{path}: a .{kind} holds exactly one image")
    if (kind == "cur") != (hotspot is not None):
        raise MapError(f"{path}: a hotspot line is required for .cur and only allowed there")
    for image in images:
        if image.bpp not in KINDS[kind]:
            allowed = " or ".join(map(str, KINDS[kind]))
            raise MapError(f"{path}: .{kind} images take {allowed} bits per pixel, not {image.bpp}")
        if kind != "bmp" and max(image.width, image.height) > 256:
            raise MapError(f"{path}: .{kind} images are at most 256 x 256 pixels")
        if kind == "bmp" and None in image.colours.values():
            raise MapError(f"{path}: a .bmp has no transparency; use a key colour instead")
        if hotspot and not (hotspot[0] < image.width and hotspot[1] < image.height):
            raise MapError(f"{path}: hotspot lies outside the image")
    return output, hotspot, images


def palette_of(image, path, padded):
    palette = [BLACK]
    for rgb in image.colours.values():
        if rgb is not None and rgb not in palette:
            palette.append(rgb)
    if len(palette) > 1 << image.bpp:
        raise MapError(f"{path}: {image.width}x{image.height} image has {len(palette)} colours "
                       f"(black included), too many for "
                       f"{image.bpp} bits per pixel (at most {1 << image.bpp})")
    return (palette + [BLACK] * ((1 << image.bpp) - len(palette))) if padded else palette


def pack_rows(rows, bpp):
    """Pack rows of values (top row first) bottom-up, each row padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        if bpp == 24:  # values are (r, g, b), stored blue first
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
        elif bpp == 8:
            data = bytes(row)
        else:  # 1 or 4 bits: leftmost pixel in the high bits
            bits = "".join(format(v, f"0{bpp}b") for v in row)
            bits += "0" * (-len(bits) % 8)
            data = int(bits, 2).to_bytes(len(bits) // 8, "big")
        out += data + bytes(-len(data) % 4)
    return bytes(out)


def dib(image, path, with_mask):
    """BITMAPINFOHEADER + palette + pixel bits (+ AND mask for icons/cursors)."""
    palette = palette_of(image, path, padded=with_mask) if image.bpp <= 8 else []
    if palette:
        index = {ch: 0 if rgb is None else palette.index(rgb) for ch, rgb in image.colours.items()}
        pixels = pack_rows([[index[ch] for ch in row] for row in image.rows], image.bpp)
    else:
        pixels = pack_rows([[image.colours[ch] for ch in row] for row in image.rows], 24)
    mask = b""
    if with_mask:
        mask = pack_rows([[1 if image.colours[ch] is None else 0 for ch in row] for row in image.rows], 1)
    height = image.height * 2 if with_mask else image.height
    used = 0 if with_mask else len(palette)  # 0: the full 2**bpp entries, or none
    header = struct.pack("<IiiHHIIiiII", 40, image.width, height, 1, image.bpp, 0,
                         len(pixels) + len(mask), 0, 0, used, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + pixels + mask


def build(path):
    output, hotspot, images = parse_map(path)
    kind = output.rsplit(".", 1)[-1]
    if kind == "bmp":
        body = dib(images[0], path, with_mask=False)
        offset = 14 + 40 + 4 * struct.unpack_from("<I", body, 32)[0]  # after the palette
        return output, struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, offset) + body
    blobs = [dib(image, path, with_mask=True) for image in images]
    out = struct.pack("<HHH", 0, 1 if kind == "ico" else 2, len(images))
    offset = 6 + 16 * len(images)
    for image, blob in zip(images, blobs):
        colour_count = 1 << image.bpp if image.bpp < 8 else 0
        a, b = hotspot if kind == "cur" else (1, image.bpp)  # planes/bit count or hot spot
        out += struct.pack("<BBBBHHII", image.width % 256, image.height % 256, colour_count, 0,
                           a, b, len(blob), offset)
        offset += len(blob)
    return output, out + b"".join(blobs)


def main(argv):
    if len(argv) != 3:
        print("usage: make_pictures.py SOURCE_DIR OUTPUT_DIR", file=sys.stderr)
        return 2
    source, target = argv[1], argv[2]
    try:
        maps = sorted(n for n in os.listdir(source) if n.endswith(".pxm"))
        if not maps:
            raise MapError(f"no .pxm pixel maps in {source}")
        built = [build(os.path.join(source, name)) for name in maps]
        os.makedirs(target, exist_ok=True)
        for name, data in built:
            with open(os.path.join(target, name), "wb") as f:
                f.write(data)
    except (MapError, OSError, UnicodeDecodeError) as error:
        print(f"make_pictures: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
