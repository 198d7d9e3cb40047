#!/usr/bin/env python3
"""Draws every picture the program and its working folder ship with.

Run from the repository root: python3 tools/make_pictures.py
It rewrites install/*.gif, install/backgrounds/*.gif, install/webpages/*.gif and
resources/pictures/*.png. Only the Python standard library is used.
"""
import os
import struct
import zlib

# A 5x7 bitmap font: each glyph is seven rows of five bits, most significant bit left.
FONT = {
    'A': [14, 17, 17, 31, 17, 17, 17], 'B': [30, 17, 17, 30, 17, 17, 30],
    'C': [14, 17, 16, 16, 16, 17, 14], 'D': [30, 17, 17, 17, 17, 17, 30],
    'E': [31, 16, 16, 30, 16, 16, 31], 'F': [31, 16, 16, 30, 16, 16, 16],
    'G': [14, 17, 16, 23, 17, 17, 15], 'H': [17, 17, 17, 31, 17, 17, 17],
    'I': [14, 4, 4, 4, 4, 4, 14], 'J': [7, 2, 2, 2, 2, 18, 12],
    'K': [17, 18, 20, 24, 20, 18, 17], 'L': [16, 16, 16, 16, 16, 16, 31],
    'M': [17, 27, 21, 21, 17, 17, 17], 'N': [17, 17, 25, 21, 19, 17, 17],
    'O': [14, 17, 17, 17, 17, 17, 14], 'P': [30, 17, 17, 30, 16, 16, 16],
    'Q': [14, 17, 17, 17, 21, 18, 13], 'R': [30, 17, 17, 30, 20, 18, 17],
    'S': [15, 16, 16, 14, 1, 1, 30], 'T': [31, 4, 4, 4, 4, 4, 4],
    'U': [17, 17, 17, 17, 17, 17, 14], 'V': [17, 17, 17, 17, 17, 10, 4],
    'W': [17, 17, 17, 21, 21, 21, 10], 'X': [17, 17, 10, 4, 10, 17, 17],
    'Y': [17, 17, 10, 4, 4, 4, 4], 'Z': [31, 1, 2, 4, 8, 16, 31],
    '?': [14, 17, 1, 2, 4, 0, 4], ':': [0, 12, 12, 0, 12, 12, 0],
    '+': [0, 4, 4, 31, 4, 4, 0], ' ': [0] * 7,
    '.': [0, 0, 0, 0, 0, 12, 12], '(': [2, 4, 8, 8, 8, 4, 2], ')': [8, 4, 2, 2, 2, 4, 8],
}


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1):
            self.put(x, y0, colour)
            self.put(x, y1 - 1, colour)
        for y in range(y0, y1):
            self.put(x0, y, colour)
            self.put(x1 - 1, y, colour)

    def text(self, x, y, words, colour, scale=1):
        for ch in words.upper():
            rows = FONT[ch]
            for row, bits in enumerate(rows):
                for col in range(5):
                    if bits & (16 >> col):
                        self.fill(x + col * scale, y + row * scale,
                                  x + (col + 1) * scale, y + (row + 1) * scale, colour)
            x += 6 * scale

    def text_centred(self, x0, y0, x1, y1, words, colour, scale=1):
        width = len(words) * 6 * scale - scale
        self.text(x0 + (x1 - x0 - width) // 2, y0 + (y1 - y0 - 7 * scale) // 2, words,
                  colour, scale)


def write_png(path, canvas):
    raw = b''.join(b'\x00' + bytes(c for pixel in row for c in pixel) for row in canvas.pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    header = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 2, 0, 0, 0)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                  chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_gif(path, canvas):
    palette = []
    indices = []
    for row in canvas.pixels:
        for pixel in row:
            if pixel not in palette:
                palette.append(pixel)
            indices.append(palette.index(pixel))
    assert len(palette) <= 256, path
    table = b''.join(bytes(p) for p in palette) + b'\x00\x00\x00' * (256 - len(palette))
    # LZW without a growing dictionary: a clear code before the table would need 10-bit codes
    # keeps every code 9 bits wide, which every decoder reads.
    clear, end = 256, 257
    codes = []
    for i, index in enumerate(indices):
        if i % 254 == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(end)
    bits = 0
    count = 0
    data = bytearray()
    for code in codes:
        bits |= code << count
        count += 9
        while count >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        data.append(bits & 0xFF)
    blocks = b''.join(bytes([len(data[i:i + 255])]) + bytes(data[i:i + 255])
                      for i in range(0, len(data), 255))
    with open(path, 'wb') as out:
        out.write(b'GIF89a' + struct.pack('<HHBBB', canvas.width, canvas.height, 0xF7, 0, 0))
        out.write(table)
        out.write(b',' + struct.pack('<HHHHB', 0, 0, canvas.width, canvas.height, 0))
        out.write(b'\x08' + blocks + b'\x00;')


INK = (32, 48, 64)
PAPER = (248, 246, 240)
ACCENT = (0, 128, 0)
HIGHLIGHT = (255, 214, 102)
GREY = (150, 150, 150)

MENU_AREAS = [  # COORDS of the editor page's image map and the captions drawn in them
    ((15, 11, 97, 33), 'ADD PICTURE'), ((15, 37, 97, 56), 'ADD TEXT'),
    ((15, 64, 97, 83), 'COLOUR'), ((15, 88, 97, 107), 'BACKGROUND'),
    ((15, 114, 97, 134), 'PAGE LENGTH'), ((15, 140, 97, 160), 'CANCEL')]
MENU_STATES = ['image_on.gif', 'text_on.gif', 'color_on.gif', 'bkimage_on.gif',
               'length_on.gif', 'cancel_on.gif']


def add_menu(highlighted):
    canvas = Canvas(112, 170, PAPER)
    canvas.frame(0, 0, 112, 170, INK)
    canvas.frame(1, 1, 111, 169, ACCENT)
    for number, ((x0, y0, x1, y1), caption) in enumerate(MENU_AREAS):
        background = HIGHLIGHT if number == highlighted else (232, 240, 232)
        canvas.fill(x0, y0, x1 + 1, y1 + 1, background)
        canvas.frame(x0, y0, x1 + 1, y1 + 1, ACCENT)
        canvas.text_centred(x0, y0, x1 + 1, y1 + 1, caption, INK)
    canvas.fill(4, 4, 12, 12, ACCENT)
    return canvas


def grid(spacing):
    canvas = Canvas(spacing, spacing, (255, 255, 255))
    for i in range(spacing):
        canvas.put(i, 0, (200, 214, 230))
        canvas.put(0, i, (200, 214, 230))
    return canvas


def pattern(size, paint):
    canvas = Canvas(size, size, (255, 255, 255))
    for y in range(size):
        for x in range(size):
            canvas.put(x, y, paint(x, y))
    return canvas


def button(caption, state, width=40, height=28):
    """One state of a picture button: U up, D down, F focused, X disabled."""
    face = {'U': (236, 240, 236), 'D': (206, 220, 206), 'F': (246, 250, 230),
            'X': (228, 228, 228)}[state]
    ink = GREY if state == 'X' else INK
    canvas = Canvas(width, height, face)
    canvas.frame(0, 0, width, height, GREY if state == 'X' else ACCENT)
    if state == 'F':
        canvas.frame(2, 2, width - 2, height - 2, HIGHLIGHT)
    shift = 1 if state == 'D' else 0
    scale = 2 if len(caption) <= 2 else 1
    canvas.text_centred(shift, shift, width + shift, height + shift, caption, ink, scale)
    return canvas


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    install = os.path.join(root, 'install')
    pictures = os.path.join(root, 'resources', 'pictures')

    write_gif(os.path.join(install, 'quillmenu_off.gif'), add_menu(-1))
    for number, name in enumerate(MENU_STATES):
        write_gif(os.path.join(install, name), add_menu(number))
    for number, spacing in ((1, 10), (2, 20), (3, 50)):
        write_gif(os.path.join(install, 'grid%d.gif' % number), grid(spacing))

    backgrounds = os.path.join(install, 'backgrounds')
    write_gif(os.path.join(backgrounds, 'paper.gif'), pattern(
        16, lambda x, y: (250 - (x * 7 + y * 3) % 9, 246 - (x * 5 + y * 11) % 7, 232)))
    write_gif(os.path.join(backgrounds, 'sky.gif'), pattern(
        32, lambda x, y: (170 + y * 2, 200 + y, 255)))
    write_gif(os.path.join(backgrounds, 'dots.gif'), pattern(
        12, lambda x, y: (220, 90, 90) if (x - 6) ** 2 + (y - 6) ** 2 < 6 else (255, 244, 244)))
    write_gif(os.path.join(backgrounds, 'stripes.gif'), pattern(
        16, lambda x, y: (214, 232, 214) if (x + y) % 16 < 8 else (244, 250, 244)))

    logo = Canvas(160, 60, PAPER)
    logo.frame(0, 0, 160, 60, ACCENT)
    logo.text_centred(0, 0, 160, 60, 'QUILLORA', ACCENT, 3)
    write_gif(os.path.join(install, 'webpages', 'quillora-logo.gif'), logo)

    captions = {'newpage': '+', 'rename': 'AB', 'pagetitle': 'T', 'ftplaunch': 'FTP',
                'help': '?', 'dialog_ok': 'OK', 'dialog_cancel': 'CANCEL',
                'dialog_center': 'CENTRE', 'dialog_edit': 'EDIT', 'dialog_delete': 'DELETE',
                'replace': 'REPLACE', 'boldbutton': 'B', 'italicbutton': 'I',
                'underlinebutton': 'U', 'colorbutton': 'A', 'cutbutton': 'CUT',
                'copybutton': 'COPY', 'pastebutton': 'PASTE', 'link': 'LINK', 'spell': 'ABC',
                'pallette': 'COLOR', 'browse': 'BROWSE', 'done': 'DONE', 'update': 'UPDATE',
                'ignore': 'IGNORE', 'dictionary': 'ADD', 'accept': 'ACCEPT',
                'decline': 'DECLINE', 'connect': 'CONNECT', 'newsession': 'NEW',
                'download': 'GET', 'back': 'BACK', 'delete': 'DELETE', 'openfolder': 'OPEN',
                'newfolder': 'MKDIR', 'upload': 'PUT', 'ftpexit': 'EXIT', 'addfont': 'FONT+'}
    for caption, text in captions.items():
        width = 40 if caption in ('newpage', 'rename', 'pagetitle', 'ftplaunch', 'help') \
            or len(text) == 1 else 64
        for state in 'UDFX':
            write_png(os.path.join(pictures, caption.upper() + state + '.png'),
                      button(text, state, width))

    for name, caption, width in (('folder_label', 'SITE:', 34), ('page_label', 'PAGE:', 34)):
        label = Canvas(width, 14, (230, 238, 230))
        label.text_centred(0, 0, width, 14, caption, INK)
        write_png(os.path.join(pictures, name + '.png'), label)

    background = Canvas(64, 64, (0, 0, 0))
    for y in range(64):
        for x in range(64):
            background.put(x, y, (214 + y // 8, 228 + y // 16, 214 + x // 16))
    write_png(os.path.join(pictures, 'window_background.png'), background)

    # A small window with a title bar saying that files are on their way.
    notice = Canvas(234, 92, (236, 240, 236))
    notice.frame(0, 0, 234, 92, ACCENT)
    notice.fill(1, 1, 233, 18, ACCENT)
    notice.text(6, 6, 'QUILLORA', (255, 255, 255))
    notice.text_centred(0, 18, 234, 92, 'TRANSFERING FILE(S)...', INK)
    write_png(os.path.join(pictures, 'upload_notice.png'), notice)

    # The program's icon: the window's at 32 pixels, the desktop's at its theme sizes.
    desktop = os.path.join(root, 'resources', 'desktop', 'icons')
    os.makedirs(desktop, exist_ok=True)
    for size in (32, 48, 128, 256):
        icon = Canvas(size, size, PAPER)
        for ring in range(max(1, size // 32)):
            icon.frame(ring, ring, size - ring, size - ring, ACCENT)
        icon.text_centred(0, 0, size, size, 'Q', ACCENT, max(3, size * 3 // 32))
        write_png(os.path.join(pictures if size == 32 else desktop,
                               'quillora.png' if size == 32 else 'quillora-%d.png' % size), icon)


if __name__ == '__main__':
    main()
