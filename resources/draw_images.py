#!/usr/bin/env python3
"""Draw Fotolark's toolbar strip and window icon from the pixel grids below.

Writes toolbar.bmp and fotolark.ico beside this script, and preview PNGs to
/tmp/fotolark_art/ (previews are for eyes only and stay out of the repo).
Standard library only, so any Python 3 can rebuild the art.

Each picture is a grid of characters; KEY maps a character to a colour and a
picture may override entries for its own shades. '.' is the mask colour.
"""

import os
import struct
import sys
import zlib

# The toolbar's image list treats this exact colour as transparent.
MASK = (192, 192, 192)

KEY = {
    '.': MASK,
    'k': (0, 0, 0),
    'K': (96, 96, 96),
    'L': (150, 150, 150),
    'l': (212, 212, 212),
    'w': (255, 255, 255),
    'r': (230, 30, 30),
    'R': (128, 0, 0),
    'o': (255, 150, 0),
    'O': (190, 96, 0),
    'y': (255, 230, 40),
    'Y': (176, 136, 0),
    'p': (255, 248, 200),
    'e': (40, 200, 40),
    'G': (0, 120, 0),
    'b': (40, 90, 240),
    'B': (0, 0, 140),
    's': (140, 200, 255),
    'c': (0, 200, 220),
    'C': (0, 120, 140),
    'm': (180, 90, 210),
    'M': (96, 24, 128),
    'n': (140, 80, 20),
    'N': (222, 170, 100),
}


# A blank page with a folded corner; several pictures draw on top of it.
PAGE = """
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwwwwwwwklk...
..kwwwwwwwkllk..
..kwwwwwwwkkkkk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kwwwwwwwwwwwk.
..kkkkkkkkkkkkk.
"""

# (name, colour overrides, layers): each layer paints its non-'.' pixels
# over the ones before, so shared shapes are drawn once. The program picks
# images by position, so the order is part of the contract.
TOOLBAR = [
    ('open folder', {'y': (255, 214, 64), 'Y': (200, 150, 24), 'p': (255, 242, 170)}, ["""
................
................
................
.kkkk...........
kpppyk..........
kyYYYYkkkkkkk...
kyYYYYYYYYYYk...
kyYYkkkkkkkkkkkk
kyYkppppppppppk.
kyYkyyyyyyyyyyk.
kykpyyyyyyyyyk..
kykyyyyyyyyyyk..
kkpyyyyyyyyyk...
kkyyyyyyyyyyk...
kkkkkkkkkkkkk...
................
"""]),
    ('floppy disk', {'b': (48, 80, 180), 'B': (20, 36, 110)}, ["""
................
.kkkkkkkkkkkkk..
.kbwwwwwwwwwbkk.
.kbwwwwwwwwwbbk.
.kbwLLLLLLLwbbk.
.kbwwwwwwwwwbbk.
.kbwLLLLLLLwbbk.
.kbwwwwwwwwwbbk.
.kbbbbbbbbbbbBk.
.kbblllllllbbBk.
.kbblKKllllbbBk.
.kbblKKllllbbBk.
.kbblKKllllbbBk.
.kbBlllllllBBBk.
.kkkkkkkkkkkkkk.
................
"""]),
    ('selection with crosshair', {}, ["""
....k...........
....k...........
....k...........
....k...........
kkkk.kkkkwkwkwkw
....k..........k
....k..........w
....k..........k
....k..........w
....w..........k
....k..........w
....w..........k
....k..........w
....w..........k
....kwkwkwkwkwkw
................
"""]),
    ('palm tree by the sea', {'N': (240, 210, 130)}, ["""
kkkkkkkkkkkkkkkk
ksssssssssssyysk
kssGGGsGGGssyysk
ksGeeeGeeeGssssk
kGeesGnGseeGsssk
kGssssnnssssGssk
kssssssnsssssssk
kssssssnnssssssk
kbbbbbbbnbbbbbbk
kcbbbbbbnbbbcbbk
kbbbcbbbnnbbbbbk
kbbbbbbbbnbbbbbk
kNNNNNNNNnNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kkkkkkkkkkkkkkkk
"""]),
    ('framed picture with a red sparkle', {}, ["""
................
kkkkkkkkkkkkkkk.
kNNNNNNNNNNNNnk.
kNpppppppppppnk.
kNppppRppprppnk.
kNpppprpprrrpnk.
kNpppprppprppnk.
kNppporopppppnk.
kNRrrryrrrRppnk.
kNppporopppppnk.
kNpppprppppppnk.
kNpppprppppppnk.
kNppppRppppppnk.
kNpppppppppppnk.
knnnnnnnnnnnnnk.
kkkkkkkkkkkkkkk.
"""]),
    ('framed landscape', {}, ["""
................
kkkkkkkkkkkkkkk.
kNNNNNNNNNNNNnk.
kNsssssssssssnk.
kNssssssssyysnk.
kNssssssssyysnk.
kNsssssssssssnk.
kNsssssssssssnk.
kNsssssssGGssnk.
kNsseessGGGGsnk.
kNseeeeGGGGGGnk.
kNeeeeeeeGGGGnk.
kNeeeeeeeeeGGnk.
kNeeeeeeeeeeenk.
knnnnnnnnnnnnnk.
kkkkkkkkkkkkkkk.
"""]),
    ('document with circular arrows', {}, [PAGE, """
................
................
................
................
................
......bbbbb.....
.....bb...bb....
....bb.....b....
....b....bbbbb..
..........bbb...
....bbb....b....
...bbbbb.....b..
.....b.....bb...
.....bb...bb....
......bbbbb.....
................
"""]),
    ('coloured shapes', {}, ["""
................
...kkkk.........
..krrrrk........
.krwrrrrkkkkkkk.
.krrrrrrkssssBk.
.krrrrrrksbbbBk.
.krrrrrRksbbbBk.
..krrrRkksbbbBk.
...kkkk.ksbbbBk.
.......kekbbbBk.
......keeekkkkk.
.....keeeeek....
....keeeeeeek...
...keeeeeeeeek..
..kkkkkkkkkkkkk.
................
"""]),
    ('document with picture and pen', {}, [PAGE, """
................
................
................
................
................
....KKKKKKKKK...
....KssssssyK...
....KsssGsssK...
....KsGGeGsGK...
....KGeeeeeeK...
....KKKKKKKKK...
................
....KKKKK.......
................
....KKK.........
................
""", """
................
................
................
................
................
................
................
................
..............kk
.............kbk
............kbk.
...........kbk..
..........kbk...
.........kLk....
.........kk.....
................
"""]),
    ('film strip', {}, ["""
................
................
kkkkkkkkkkkkkkkk
kllkkllkkllkkllk
kkkkkkkkkkkkkkkk
krrrrkeeeekbbbbk
kroorkeyyekbssbk
kroorkeyyekbssbk
kroorkeyyekbssbk
kroorkeyyekbssbk
krrrrkeeeekbbbbk
kkkkkkkkkkkkkkkk
kllkkllkkllkkllk
kkkkkkkkkkkkkkkk
................
................
"""]),
    ('window showing a picture', {}, ["""
................
kkkkkkkkkkkkkkkk
kBBBBBBBBBBBlllk
kBwwwwBBBBBBlklk
kkkkkkkkkkkkkkkk
klllllllllllllLk
klKKKKKKKKKKKlLk
klKssssssyysKlLk
klKssssssyysKlLk
klKsssGGssssKlLk
klKssGeeGsGGKlLk
klKsGeeeeGeeKlLk
klKGeeeeeeeeKlLk
klKKKKKKKKKKKlLk
kLLLLLLLLLLLLLLk
kkkkkkkkkkkkkkkk
"""]),
    ('brushes and pencils in a glass', {}, ["""
...kk...........
..krrk......k...
..knnk.....kNk..
..knnk..k..kNk..
..kLLk.kNk.kbk..
..kLLk.kNk.kbk..
..krrk.kyk.kbk..
..krrk.kyk.kbk..
..KKKKKKKKKKKK..
..KwrrsyssbssK..
..KwrrsyssbssK..
..KwssssssssK...
..KwssssssssK...
..KwssssssssK...
..KsssssssssK...
...KKKKKKKKKK...
"""]),
    ('plug and cable', {}, ["""
....kk..kk......
....Lk..Lk......
....Lk..Lk......
..kkkkkkkkkk....
..kyoooooooOk...
..kooooooooOk...
..kooooooooOk...
...kooooooOk....
....kooooOk.....
.....kbbbk......
.....kbbk.......
.....kbbk.......
.....kbbkkkkk...
......kbbbbbbk..
.......kkkkkbbk.
...........kbk..
"""]),
    ('stack of photographs', {}, ["""
.....kkkkkkkkkkk
.....kwwwwwwwwwk
.....kwssssssslk
.....kwssssssslk
.....kwssssssslk
.....kwwwwwwwwwk
.....kkkkkkkkkkk
................
................
................
................
................
................
................
................
................
""", """
................
................
................
...kkkkkkkkkkk..
...kwwwwwwwwwk..
...kwoooooooyk..
...kwoooooooyk..
...kwoooooooyk..
...kwoooooooyk..
...kwwwwwwwwwk..
...kkkkkkkkkkk..
................
................
................
................
................
""", """
................
................
................
................
................
................
kkkkkkkkkkk.....
kwwwwwwwwwk.....
kwssssyyswk.....
kwsssssssswk....
kwssGGsssswk....
kwsGeeGsGwk.....
kwGeeeeGewk.....
kwwwwwwwwwk.....
kkkkkkkkkkk.....
................
"""]),
    ('dark figure with arrows', {}, ["""
................
......kkkk......
.....kKKKKk.....
.....kKKKKk.....
.....kKKKKk.....
......kkkk......
.....kKKKKk.....
..b.kKKKKKKk.b..
.bb.kKKKKKKk.bb.
bbbbkKKKKKKkbbbb
.bb.kKKKKKKk.bb.
..b.kKKKKKKk.b..
....kKKKKKKk....
.....kKkkKk.....
.....kKkkKk.....
.....kkk.kkk....
"""]),
    ('text document', {}, [PAGE, """
................
................
....KKKKK.......
................
....KKKKKK......
................
....KKKKKKKKK...
................
....KKKKKKKK....
................
....KKKKKKKKK...
................
....KKKKKK......
................
................
................
"""]),
    ('tree diagram', {}, ["""
................
.....kkkkk......
.....kyyyk......
.....kkkkk......
.......k........
...kkkkkkkkk....
...k.......k....
.kkkkk...kkkkk..
.kbbbk...kbbbk..
.kkkkk...kkkkk..
...k.......k....
...k.......k....
.kkkkk...kkkkk..
.keeek...keeek..
.kkkkk...kkkkk..
................
"""]),
    ('open envelope with a letter', {}, ["""
................
.......kk.......
......kNNk......
.....kNNNNk.....
....kNNNNNNk....
...kNNNNNNNNk...
..kNNNNNNNNNNk..
.kNNNNNNNNNNNNk.
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kNNNNNNNNNNNNNNk
kkkkkkkkkkkkkkkk
""", """
................
................
................
...kkkkkkkkkk...
...kwwwwwwwwk...
...kwBBBBBBwk...
...kwwwwwwwwk...
...kwBBBBBwwk...
...kwwwwwwwwk...
...kwBBBBBBwk...
...kwwwwwwwwk...
................
................
................
................
................
""", """
................
................
................
................
................
................
................
................
kk............kk
kpkk........kkpk
kpppkk....kkpppk
kpppppkkkkpppppk
kppppppppppppppk
kppppppppppppppk
kppppppppppppppk
kkkkkkkkkkkkkkkk
"""]),
    ('two overlapping windows', {}, ["""
kkkkkkkkkkk.....
kLLLLLLLLLk.....
kkkkkkkkkkk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kkkkkkkkkkk.....
................
................
................
................
................
................
""", """
................
................
................
................
................
.....kkkkkkkkkkk
.....kBBBBBBBBBk
.....kkkkkkkkkkk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kkkkkkkkkkk
"""]),
    ('document with a W', {}, [PAGE, """
................
................
................
................
................
................
...bb.......bb..
...bb...b...bb..
....bb.bbb.bb...
....bb.bbb.bb...
.....bbb.bbb....
.....bb...bb....
................
....KKKKKKKKK...
................
................
"""]),
    ('printer', {}, ["""
................
....kkkkkkkk....
....kwwwwwwk....
....kwKKKKwk....
....kwwwwwwk....
..kkkwKKKKwkkk..
.kllkwwwwwwkLLk.
kwwwwwwwwwwwwwLk
kllllllllllllLLk
klllllllllleeLLk
kLkkkkkkkkkkkLLk
kLLLLLLLLLLLLLLk
kkkkkkkkkkkkkkkk
................
................
................
"""]),
    ('clipboard with a document', {}, ["""
......kkkk......
..kkkkkLLkkkkk..
.knnnkLwwLknnnk.
.knnkkkkkkkknnk.
.knkwwwwwwwwknk.
.knkwKKKKKwwknk.
.knkwwwwwwwwknk.
.knkwKKKKKKwknk.
.knkwwwwwwwwknk.
.knkwKKKKwwwknk.
.knkwwwwwwwwknk.
.knkwKKKKKwwknk.
.knkwwwwwwwwknk.
.knkkkkkkkkkknk.
.knnnnnnnnnnnnk.
.kkkkkkkkkkkkkk.
"""]),
    ('purple book with a question mark', {}, ["""
................
..kkkkkkkkkkkk..
.kMmmmmmmmmmmk..
.kMmmmwwwwmmmk..
.kMmmwwmmwwmmk..
.kMmmmmmmwwmmk..
.kMmmmmmwwmmmk..
.kMmmmmwwmmmmk..
.kMmmmmwwmmmmk..
.kMmmmmmmmmmmk..
.kMmmmmwwmmmmk..
.kMmmmmwwmmmmk..
.kMkkkkkkkkkkkk.
.kMwwwwwwwwwwwk.
..kkkkkkkkkkkkk.
................
"""]),
]

ICON = ({}, ["""
................................
................................
................................
............kkkkkkkk............
...........kwwwwwwwwk...........
..........kllBBBBBBllk..kkkk....
..........kllBBBBBBllk..kork....
..........kllllllllllk..krrk....
..kkkkkkkkkllllllllllkkkkkkkkk..
.kwwwwwwwwwwwwwwwwwwwwwwwwwwwwk.
.klkkkkkklllllllllllllllllllllk.
.klkwwwwkllllkkkkkklllllllllllk.
.klkwwwwkllkkLLLLLLkklllllllllk.
.kLkkkkkkKkLLLLLLLLLLkKKKKKKKKk.
.kLKKKKKKkLLLkkkkkkLLLkKKKKKKKk.
.kLKKKKKkkLLkBBBBBBkLLkkKKKKKKk.
.kLKKKKKkLLkBwwbbbbBkLLkKKKKKKk.
.kLKKKKKkLkBBwbbbbbBBkLkKKKKKKk.
.kLKKKKkLLkBbbbbbbbbBkLLkKKKKKk.
.kLKKKKkLLkBbbbbbbbbBkLLkKKKKKk.
.kLKKKKkLLkBbbbbbbbbBkLLkKKKKKk.
.kLKKKKKkLkBBbbbbbbBBkLkKKKKKKk.
.kLKKKKKkLLkBbbbbbbBkLLkKKKKKKk.
.kLKKKKKkkLLkBBBBBBkLLkkKKKKKKk.
.kLKKKKKKkLLLkkkkkkLLLkKKKKKKKk.
.kLKKKKKKKkLLLLLLLLLLkKKKKKKKKk.
.kLKKKKKKKKkkLLLLLLkkKKKKKKKKKk.
.kLKKKKKKKKKKkkkkkkKKKKKKKKKKKk.
..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..
................................
................................
................................
"""])

TILE = 16
IMAGE_COUNT = 23
ICON_SIZE = 32
PREVIEW_DIR = '/tmp/fotolark_art'
TOOLBAR_GREY = (240, 240, 240)


def render(name, overrides, layers, size):
    """Return rows of RGB tuples, or None where the picture is transparent."""
    key = dict(KEY)
    key.update(overrides)
    pixels = [[None] * size for _ in range(size)]
    for layer in layers:
        rows = layer.strip('\n').split('\n')
        if len(rows) != size or any(len(r) != size for r in rows):
            raise ValueError('%s: layer must be %dx%d' % (name, size, size))
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch == '.':
                    continue
                if ch not in key:
                    raise ValueError('%s: no colour for %r' % (name, ch))
                # A visible pixel in the mask colour would vanish on the toolbar.
                if key[ch] == MASK:
                    raise ValueError('%s: %r is the mask colour' % (name, ch))
                pixels[y][x] = key[ch]
    return pixels


def toolbar_strip():
    strip = [[MASK] * (TILE * len(TOOLBAR)) for _ in range(TILE)]
    for i, (name, overrides, layers) in enumerate(TOOLBAR):
        pic = render(name, overrides, layers, TILE)
        for y in range(TILE):
            for x in range(TILE):
                if pic[y][x] is not None:
                    strip[y][i * TILE + x] = pic[y][x]
    return strip


def bmp_bytes(rows):
    """24-bit bottom-up Windows BMP."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0,
                       len(data), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data),
                         0, 0, 14 + len(info))
    return header + info + bytes(data)


def ico_bytes(pixels):
    """One 8-bit palettised image with an AND mask, as Windows loads icons."""
    size = len(pixels)
    # Index 0 stays black: transparent pixels XOR black onto the screen.
    palette = [(0, 0, 0)]
    for row in pixels:
        for rgb in row:
            if rgb is not None and rgb not in palette:
                palette.append(rgb)
    if len(palette) > 256:
        raise ValueError('icon uses more than 256 colours')
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {rgb: i for i, rgb in reversed(list(enumerate(palette)))}

    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(pixels):
        xor += bytes(0 if rgb is None else index[rgb] for rgb in row)
        xor += b'\0' * ((-size) % 4)
        bits = bytearray(mask_stride)
        for x, rgb in enumerate(row):
            if rgb is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits

    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = info + pal + bytes(xor) + bytes(mask)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 8,
                        len(image), 6 + 16)
    return icondir + entry + image


def png_bytes(rows):
    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff))
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def read_bmp(data):
    magic, _, _, _, offset = struct.unpack_from('<2sIHHI', data, 0)
    hsize, width, height, planes, bits = struct.unpack_from('<IiiHH', data, 14)
    if magic != b'BM' or hsize != 40 or planes != 1 or bits != 24:
        raise ValueError('not a 24-bit BMP')
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        at = offset + (height - 1 - y) * stride
        rows.append([tuple(data[at + 3 * x + 2 - c] for c in range(3))
                     for x in range(width)])
    return rows


def read_ico(data):
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    if (reserved, kind, count) != (0, 1, 1):
        raise ValueError('not a single-image icon')
    w, h, colours, _, planes, bits, length, offset = struct.unpack_from(
        '<BBBBHHII', data, 6)
    if offset + length != len(data):
        raise ValueError('icon entry length does not match the file')
    hsize, width, height, _, bpp = struct.unpack_from('<IiiHH', data, offset)
    if (w, h, colours, bits, bpp, hsize) != (width, width, 0, 8, 8, 40) \
            or height != 2 * width:
        raise ValueError('not a 32x32 256-colour icon')
    pal_at = offset + hsize
    palette = [tuple(data[pal_at + 4 * i + 2 - c] for c in range(3))
               for i in range(256)]
    xor_at = pal_at + 1024
    xor_stride = (width + 3) & ~3
    mask_at = xor_at + xor_stride * width
    mask_stride = ((width + 31) // 32) * 4
    if mask_at + mask_stride * width != offset + length:
        raise ValueError('icon bitmap size is wrong')
    rows = []
    for y in range(width):
        src = width - 1 - y
        row = []
        for x in range(width):
            clear = data[mask_at + src * mask_stride + x // 8] & (0x80 >> (x % 8))
            row.append(None if clear else palette[data[xor_at + src * xor_stride + x]])
        rows.append(row)
    return rows


DIGITS = {
    '0': '111101101101111', '1': '010110010010111', '2': '111001111100111',
    '3': '111001111001111', '4': '101101111001001', '5': '111100111001111',
    '6': '111100111101111', '7': '111001001001001', '8': '111101111101111',
    '9': '111101111001111',
}


def on_grey(pixels, grey):
    return [[grey if p is None or p == MASK else p for p in row] for row in pixels]


def scaled(pixels, k):
    return [[p for p in row for _ in range(k)] for row in pixels for _ in range(k)]


def numbered_sheet(tiles, k, grey):
    """Tiles scaled by k, side by side with gaps and 1-based numbers above."""
    gap, label = 2 * k, 8 * k // 2
    side = TILE * k
    width = len(tiles) * (side + gap) + gap
    sheet = [[(255, 255, 255)] * width for _ in range(label + side + gap)]
    for i, tile in enumerate(tiles):
        left = gap + i * (side + gap)
        big = scaled(on_grey(tile, grey), k)
        for y in range(side):
            sheet[label + y][left:left + side] = big[y]
        dot = k // 2
        for d, ch in enumerate(str(i + 1)):
            for n, bit in enumerate(DIGITS[ch]):
                if bit == '1':
                    for yy in range(dot):
                        y = k // 2 + (n // 3) * dot + yy
                        x = left + d * 4 * dot + (n % 3) * dot
                        sheet[y][x:x + dot] = [(0, 0, 0)] * dot
    return sheet


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    if len(TOOLBAR) != IMAGE_COUNT:
        sys.exit('the image list needs %d pictures' % IMAGE_COUNT)
    strip = toolbar_strip()
    icon = render('icon', ICON[0], ICON[1], ICON_SIZE)

    bmp = bmp_bytes(strip)
    ico = ico_bytes(icon)
    # Read both files back so a layout slip fails here, not on Windows.
    if read_bmp(bmp) != strip or read_ico(ico) != icon:
        sys.exit('written images do not read back as drawn')
    with open(os.path.join(here, 'toolbar.bmp'), 'wb') as f:
        f.write(bmp)
    with open(os.path.join(here, 'fotolark.ico'), 'wb') as f:
        f.write(ico)

    os.makedirs(PREVIEW_DIR, exist_ok=True)
    tiles = [[row[i * TILE:(i + 1) * TILE] for row in strip]
             for i in range(len(TOOLBAR))]
    previews = {
        'toolbar_x1.png': on_grey(strip, TOOLBAR_GREY),
        'toolbar_x6.png': numbered_sheet(tiles, 6, TOOLBAR_GREY),
        'icon_x1.png': on_grey(icon, TOOLBAR_GREY),
        'icon_x8.png': scaled(on_grey(icon, TOOLBAR_GREY), 8),
    }
    for name, rows in previews.items():
        with open(os.path.join(PREVIEW_DIR, name), 'wb') as f:
            f.write(png_bytes(rows))


if __name__ == '__main__':
    main()
