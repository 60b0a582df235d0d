#!/usr/bin/env python3
"""Draws Tarnwhistle's own skin, "Teal Whistle", in the colours of the program's icon
and main picture: every bitmap its windows and controls are painted from (24-bit,
magenta 0xFF00FF as the transparent key) and the ini that describes them, then packs
them with skinpack into the stored form the program embeds. Every text the skin's
colours put on its pictures (captions, control captions) must keep a contrast of at
least 4.5:1 against each pixel under it, or no skin is written.

    make_skin.py OUT.bin [GLYPHS.bmp]   the packed skin, and the caption-menu glyphs
"""
import configparser
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skinpack  # noqa: E402

KEY = (0xFF, 0x00, 0xFF)
TEAL = (0x1F, 0x7A, 0x8C)
TEAL_DARK = (0x0E, 0x3E, 0x48)
TEAL_MID = (0x17, 0x5C, 0x6A)
TEAL_LIGHT = (0x5F, 0xA8, 0xB6)
PALE = (0xBF, 0xE4, 0xEA)
FACE = (0xE6, 0xEF, 0xF1)
FACE_DARK = (0xC9, 0xD9, 0xDD)
SHADOW = (0x7D, 0x96, 0x9C)
WHITE = (0xFF, 0xFF, 0xFF)
GREY = (0xA9, 0xB4, 0xB7)
GREY_TEXT = (0x8A, 0x96, 0x99)
INK = (0x1C, 0x2B, 0x2F)
CLOSE_RED = (0xC8, 0x4B, 0x3C)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Picture:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            self.fill(x0, y, x1, y + 1, mix(top, bottom, t))

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def round_corners(self, x0, y0, x1, y1, r, outline=None, corners='tlbr'):
        """Keys out the corners of the box outside a radius r, drawing the outline."""
        spots = {'t': [], 'b': []}
        for cy, row in (('t', y0), ('b', y1 - r)):
            for cx, col in (('l', x0), ('r', x1 - r)):
                if cy + cx not in ('tl', 'tr', 'bl', 'br') or cy not in corners or cx not in corners:
                    continue
                spots[cy].append((col, row, cx))
        for cy in spots:
            for col, row, cx in spots[cy]:
                ox = col + r if cx == 'l' else col - 1
                oy = row + r if cy == 't' else row - 1
                for y in range(row, row + r):
                    for x in range(col, col + r):
                        d = ((x + 0.5 - ox) ** 2 + (y + 0.5 - oy) ** 2) ** 0.5
                        if d > r:
                            self.put(x, y, KEY)
                        elif outline and d > r - 1.2:
                            self.put(x, y, outline)

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.put(x0 + x, y0 + y, other.px[y][x])

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        rows = b''
        for row in reversed(self.px):
            line = b''.join(bytes((b, g, r)) for r, g, b in row)
            rows += line + b'\0' * (stride - len(line))
        header = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(rows), 2835,
                             2835, 0, 0)
        return struct.pack('<2sIHHI', b'BM', 14 + 40 + len(rows), 0, 0, 54) + header + rows


def strip(frames):
    """Frames side by side."""
    out = Picture(sum(f.w for f in frames), max(f.h for f in frames))
    x = 0
    for f in frames:
        out.paste(f, x, 0)
        x += f.w
    return out


def stack(frames):
    """Frames one above the other."""
    out = Picture(max(f.w for f in frames), sum(f.h for f in frames))
    y = 0
    for f in frames:
        out.paste(f, 0, y)
        y += f.h
    return out


# Window frame -------------------------------------------------------------------

TITLE_H, BORDER = 26, 4


def title(active):
    top, bottom = (TEAL, TEAL_MID) if active else (FACE_DARK, SHADOW)
    p = Picture(120, TITLE_H)
    p.vgradient(0, 0, 120, TITLE_H, top, bottom)
    p.fill(0, 1, 120, 2, mix(top, WHITE, 0.45))  # a highlight under the top edge
    p.fill(0, 0, 120, 1, TEAL_DARK if active else SHADOW)
    p.fill(0, 0, 1, TITLE_H, TEAL_DARK if active else SHADOW)
    p.fill(119, 0, 120, TITLE_H, TEAL_DARK if active else SHADOW)
    p.round_corners(0, 0, 120, TITLE_H, 6, TEAL_DARK if active else SHADOW, 'tlr')
    return p


def side(active, height=30):
    edge, inner = (TEAL_DARK, TEAL_MID) if active else (SHADOW, FACE_DARK)
    p = Picture(BORDER, height, inner)
    p.fill(0, 0, 1, height, edge)
    p.fill(BORDER - 1, 0, BORDER, height, mix(inner, WHITE, 0.3))
    return p


def bottom(active):
    edge, inner = (TEAL_DARK, TEAL_MID) if active else (SHADOW, FACE_DARK)
    p = Picture(60, BORDER, inner)
    p.fill(0, BORDER - 1, 60, BORDER, edge)
    p.fill(0, 0, 1, BORDER, edge)
    p.fill(59, 0, 60, BORDER, edge)
    p.fill(1, 0, 59, 1, mix(inner, WHITE, 0.3))
    p.round_corners(0, 0, 60, BORDER, 3, edge, 'blr')
    return p


def glyph_box(size, state, base, glyph):
    """A caption button: 1 normal, 2 pressed, 3 hot, 4 inactive window."""
    face = {1: base, 2: mix(base, TEAL_DARK, 0.55), 3: mix(base, WHITE, 0.35),
            4: mix(FACE_DARK, SHADOW, 0.3)}[state]
    p = Picture(size, size)
    p.vgradient(0, 0, size, size, mix(face, WHITE, 0.25), face)
    p.frame(0, 0, size, size, mix(face, TEAL_DARK, 0.6))
    p.round_corners(0, 0, size, size, 3, mix(face, TEAL_DARK, 0.6))
    glyph(p, WHITE if state != 4 else FACE)
    return p


def g_close(p, c):
    for i in range(5, p.w - 5):
        for d in (0, 1):
            p.put(i + d, i, c)
            p.put(p.w - 1 - i - d, i, c)


def g_max(p, c):
    p.frame(5, 5, p.w - 5, p.h - 5, c)
    p.fill(5, 6, p.w - 5, 7, c)


def g_restore(p, c):
    p.frame(7, 5, p.w - 5, p.h - 7, c)
    p.fill(5, 7, p.w - 7, p.h - 5, mix(c, c, 0))
    p.frame(5, 8, p.w - 7, p.h - 5, c)


def g_min(p, c):
    p.fill(5, p.h - 7, p.w - 5, p.h - 5, c)


def caption_button(base, glyph):
    return strip([glyph_box(18, s, base, glyph) for s in (1, 2, 3, 4)])


def system_menu_button():
    """The system-menu button: a small whistle on the title."""
    p = Picture(16, 16)
    for y in range(16):
        for x in range(16):
            body = (x - 6) ** 2 + (y - 9) ** 2 <= 16
            pipe = 6 <= x <= 14 and 5 <= y <= 8
            hole = (x - 6) ** 2 + (y - 9) ** 2 <= 2
            if (body or pipe) and not hole:
                p.put(x, y, WHITE)
    return p


# Controls -----------------------------------------------------------------------

def push_button(state):
    """1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default."""
    top, low, edge = {1: (WHITE, PALE, TEAL), 2: (PALE, TEAL_LIGHT, TEAL_DARK),
                      3: (FACE, FACE_DARK, GREY), 4: (WHITE, mix(PALE, WHITE, 0.4), TEAL_LIGHT),
                      5: (WHITE, PALE, TEAL_DARK)}[state]
    p = Picture(40, 24)
    p.vgradient(1, 1, 39, 23, top, low)
    p.frame(0, 0, 40, 24, edge)
    if state == 5:
        p.frame(1, 1, 39, 23, TEAL_LIGHT)
    p.round_corners(0, 0, 40, 24, 4, edge)
    return p


def check_box(checked, enabled, mixed=False):
    edge, face, ink = (TEAL, WHITE, TEAL_DARK) if enabled else (GREY, FACE, GREY_TEXT)
    p = Picture(13, 13, face)
    p.frame(0, 0, 13, 13, edge)
    p.fill(1, 1, 12, 2, mix(face, edge, 0.25))
    if mixed:
        p.fill(3, 3, 10, 10, mix(ink, face, 0.4))
    elif checked:
        for x, y in ((3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)):
            p.fill(x, y, x + 1, y + 2, ink)
    return p


def radio_button(checked, enabled):
    """A ring smoothed against the face colour, the dot inside when checked."""
    edge, face, ink = (TEAL, WHITE, TEAL_DARK) if enabled else (GREY, FACE, GREY_TEXT)
    p = Picture(13, 13)
    n = 4
    for y in range(13):
        for x in range(13):
            cover = ring = dot = 0
            for sy in range(n):
                for sx in range(n):
                    d = ((x + (sx + 0.5) / n - 6.5) ** 2 + (y + (sy + 0.5) / n - 6.5) ** 2) ** 0.5
                    cover += d <= 6.3
                    ring += 5.1 < d <= 6.3
                    dot += checked and d <= 2.8
            if cover * 2 < n * n:
                continue
            c = mix(face, ink, dot / (n * n))
            p.put(x, y, mix(c, edge, ring / cover) if cover else c)
    return p


def arrow(p, direction, c, cx, cy):
    """A small filled triangle pointing left, right, up or down."""
    for i in range(4):
        for j in range(-i, i + 1):
            if direction == 'up':
                p.put(cx + j, cy - 2 + i, c)
            elif direction == 'down':
                p.put(cx + j, cy + 1 - i, c)
            elif direction == 'left':
                p.put(cx - 2 + i, cy + j, c)
            else:
                p.put(cx + 1 - i, cy + j, c)


def scroll_arrow(direction, state):
    """1 normal, 2 pressed, 3 hot, 4 disabled."""
    face = {1: PALE, 2: TEAL_LIGHT, 3: mix(PALE, WHITE, 0.5), 4: FACE}[state]
    p = Picture(17, 17, face)
    p.frame(0, 0, 17, 17, TEAL_LIGHT if state != 4 else FACE_DARK)
    arrow(p, direction, TEAL_DARK if state != 4 else GREY, 8, 8)
    return p


def scroll_arrows():
    frames = [scroll_arrow(d, s) for d in ('left', 'right', 'up', 'down') for s in (1, 2, 3, 4)]
    frames += [scroll_arrow('down', 1)] * 7  # the strip has 23 frames
    return strip(frames)


def track(vertical):
    """1 normal, 2 pressed, 3 disabled, 4 hot."""
    frames = []
    for face in (FACE_DARK, mix(FACE_DARK, TEAL_LIGHT, 0.4), FACE, FACE_DARK):
        p = Picture(17 if vertical else 32, 32 if vertical else 17, face)
        if vertical:
            p.fill(0, 0, 1, 32, mix(face, SHADOW, 0.5))
        else:
            p.fill(0, 0, 32, 1, mix(face, SHADOW, 0.5))
        frames.append(p)
    return strip(frames)


def thumb(vertical):
    """1 normal, 2 pressed, 3 hot."""
    frames = []
    for face in (TEAL_LIGHT, TEAL, mix(TEAL_LIGHT, WHITE, 0.3)):
        w, h = (17, 24) if vertical else (24, 17)
        p = Picture(w, h)
        p.fill(1, 1, w - 1, h - 1, face)
        p.frame(1, 1, w - 1, h - 1, TEAL_DARK)
        p.round_corners(1, 1, w - 1, h - 1, 3, TEAL_DARK)
        grip = mix(face, WHITE, 0.5)
        for k in (-3, 0, 3):
            if vertical:
                p.fill(5, h // 2 + k, w - 5, h // 2 + k + 1, grip)
            else:
                p.fill(w // 2 + k, 5, w // 2 + k + 1, h - 5, grip)
        frames.append(p)
    return strip(frames)


def tab(state):
    """1 normal, 2 selected, 3 disabled, 4 hot, 5 as normal."""
    top, low = {1: (FACE, FACE_DARK), 2: (WHITE, FACE), 3: (FACE, FACE), 4: (WHITE, PALE),
                5: (FACE, FACE_DARK)}[state]
    p = Picture(40, 22)
    p.vgradient(1, 1, 39, 22, top, low)
    p.frame(0, 0, 40, 23, TEAL if state in (2, 4) else SHADOW)
    if state == 2:
        p.fill(1, 1, 39, 3, TEAL_LIGHT)
    p.round_corners(0, 0, 40, 22, 4, TEAL if state in (2, 4) else SHADOW, 'tlr')
    return p


def page_border():
    p = Picture(24, 24, FACE)
    p.frame(0, 0, 24, 24, SHADOW)
    return p


def header(state):
    top, low = {1: (WHITE, FACE), 2: (FACE_DARK, FACE), 3: (FACE, FACE), 4: (WHITE, PALE),
                5: (WHITE, FACE)}[state]
    p = Picture(40, 20)
    p.vgradient(0, 0, 40, 20, top, low)
    p.fill(0, 19, 40, 20, TEAL_LIGHT)
    p.fill(39, 3, 40, 17, FACE_DARK)
    return p


def progress_frames():
    empty = Picture(40, 16, FACE)
    empty.frame(0, 0, 40, 16, SHADOW)
    empty.fill(1, 1, 39, 2, FACE_DARK)
    full = Picture(40, 16)
    full.vgradient(1, 1, 39, 15, TEAL_LIGHT, TEAL_MID)
    full.frame(0, 0, 40, 16, TEAL_DARK)
    full.fill(1, 1, 39, 2, mix(TEAL_LIGHT, WHITE, 0.4))
    return strip([empty, full])


def chunk():
    p = Picture(8, 10)
    p.vgradient(0, 0, 7, 10, TEAL_LIGHT, TEAL_MID)
    return p


def sunk_edge(state):
    """The combo box's edit frame: 1 normal, 2 pressed, 3 disabled, 4 hot or focused."""
    edge = {1: SHADOW, 2: TEAL_DARK, 3: GREY, 4: TEAL}[state]
    p = Picture(30, 21, WHITE if state != 3 else FACE)
    p.frame(0, 0, 30, 21, edge)
    return p


def combo_button(state):
    face = {1: PALE, 2: TEAL_LIGHT, 3: FACE, 4: mix(PALE, WHITE, 0.5)}[state]
    p = Picture(17, 21)
    p.fill(0, 1, 16, 20, face)
    p.fill(0, 1, 1, 20, mix(face, TEAL, 0.5))
    return p


def extra_images():
    """Combo arrows for the four states, then the status bar's size grip."""
    frames = []
    for c in (TEAL_DARK, WHITE, GREY, TEAL):
        p = Picture(12, 12)
        arrow(p, 'down', c, 5, 6)
        frames.append(p)
    grip = Picture(12, 12)
    for k in range(3):
        for i in range(k + 1):
            x, y = 10 - 3 * i, 10 - 3 * (k - i)
            grip.fill(x - 1, y - 1, x + 1, y + 1, SHADOW)
    frames.append(grip)
    return strip(frames)


def status_edges():
    """1 lowered, 2 raised, 3 no bevel."""
    frames = []
    for dark, light in ((SHADOW, WHITE), (WHITE, SHADOW), (FACE, FACE)):
        p = Picture(20, 20, FACE)
        p.fill(0, 0, 20, 1, dark)
        p.fill(0, 0, 1, 20, dark)
        p.fill(0, 19, 20, 20, light)
        p.fill(19, 0, 20, 20, light)
        frames.append(p)
    return strip(frames)


def menu_bar(active):
    p = Picture(40, 20)
    p.vgradient(0, 0, 40, 20, WHITE if active else FACE, FACE if active else FACE_DARK)
    p.fill(0, 19, 40, 20, FACE_DARK)
    return p


def menu_item(frame):
    """1 normal (transparent), 2 with the separator line at its bottom, 4 selected."""
    p = Picture(30, 20)
    if frame == 2:
        p.fill(4, 18, 26, 19, FACE_DARK)
        p.fill(4, 19, 26, 20, WHITE)
    if frame == 4:  # selected: white text on teal
        p.vgradient(1, 1, 29, 19, TEAL, TEAL_MID)
        p.frame(1, 1, 29, 19, TEAL_MID)
        p.round_corners(1, 1, 29, 19, 3, TEAL_MID)
    return p


def menu_background():
    p = Picture(24, 24, WHITE)
    p.frame(0, 0, 24, 24, TEAL)
    p.frame(1, 1, 23, 23, PALE)
    p.frame(2, 2, 22, 22, mix(PALE, WHITE, 0.6))
    return p


def menu_glyphs():
    """The system popup's four 16 x 16 glyphs: restore, maximize, minimize, close;
    white shows through."""
    frames = []
    for glyph in (g_restore, g_max, g_min, g_close):
        p = Picture(16, 16, WHITE)
        glyph(p, INK)
        frames.append(p)
    return strip(frames)


INI = """; Teal Whistle: Tarnwhistle's own skin, drawn by tools/make_skin.py.
[TitlebarSkin]
SkinName=Teal Whistle

[Personality]
Top=top.bmp
TopTopHeight=8
TopBotHeight=8
TopFrame=2
TopStretch=1
TopTrans=1
Left=left.bmp
LeftTopHeight=2
LeftBotHeight=2
LeftFrame=2
LeftStretch=1
LeftTrans=0
Right=right.bmp
RightTopHeight=2
RightBotHeight=2
RightFrame=2
RightStretch=1
RightTrans=0
Bottom=bottom.bmp
BottomTopHeight=6
BottomBotHeight=6
BottomFrame=2
BottomStretch=1
BottomTrans=1
TextShift=28
TextShiftVert=0
TextRightClip=80
TextAlignment=0
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=28
InActiveTextG=43
InActiveTextB=47
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=2
TileRightMenu=2

[Fonts]
FontHeight=14

[Colours]
WindowText=28 43 47
ButtonFace=230 239 241
Scrollbar=201 217 221
HilightText=255 255 255
Hilight=31 122 140
Menubar=230 239 241
Menu=255 255 255
MenuText=28 43 47
ButtonText=28 43 47
ButtonHilight=255 255 255
Buttonlight=191 228 234
ButtonShadow=125 150 156
ButtonDkShadow=14 62 72
MenuBarText=28 43 47
TitleTextActive=255 255 255
TitleTextNoActive=28 43 47

[ButtonSystemMenu]
Action=3
Align=0
Xcoord=7
Ycoord=5
frame=1
ButtonImage=sysmenu.bmp

[ButtonClose]
Action=0
Align=1
Xcoord=26
Ycoord=4
Visibility=0
frame=4
ButtonImage=close.bmp

[ButtonMaximize]
Action=1
Align=1
Xcoord=47
Ycoord=4
Visibility=6
Visibility1=2
frame=4
ButtonImage=maximize.bmp

[ButtonRestore]
Action=1
Align=1
Xcoord=47
Ycoord=4
Visibility=6
Visibility1=1
frame=4
ButtonImage=restore.bmp

[ButtonMinimize]
Action=2
Align=1
Xcoord=68
Ycoord=4
Visibility=8
frame=4
ButtonImage=minimize.bmp

[Buttons]
Bitmap=button.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1
CheckButton=check.bmp
CheckButtonFrame=5
RadioButton=radio.bmp
RadioButtonFrame=4

[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=3
Trans=1
NormalColour2=28 43 47
MouseOverColour2=23 92 106
PressedColour2=14 62 72

[Scrollbar]
Image=scrollarrows.bmp
Trans=0

[HorzScroll]
Image=hscroll.bmp
LeftWidth=2
RightWidth=2

[VertScroll]
Image=vscroll.bmp
TopHeight=2
BottomHeight=2

[HorzScrollThumb]
Image=hthumb.bmp
LeftWidth=5
RightWidth=5
TopHeight=4
BottomHeight=4
Trans=1
FrameCount=3

[VertScrollThumb]
Image=vthumb.bmp
LeftWidth=4
RightWidth=4
TopHeight=5
BottomHeight=5
Trans=1
FrameCount=3

[Headerbar]
Image=header.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2

[Progress]
Bitmap=progress.bmp
Chunk=chunk.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Style=0

[SunkEdge]
Image=sunkedge.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2

[ComboButton]
Image=combobutton.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Trans=1

[ExtraImages]
Image=extraimages.bmp
Trans=1

[StatusBarEdges]
Image=statusedges.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2

[MenuItem]
Image=menuitem.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1

[MenuBackground]
Image=menuback.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Tile=0
"""


def pictures():
    return {
        'top.bmp': stack([title(True), title(False)]),
        'left.bmp': strip([side(True), side(False)]),
        'right.bmp': strip([side(True), side(False)]),
        'bottom.bmp': stack([bottom(True), bottom(False)]),
        'sysmenu.bmp': system_menu_button(),
        'close.bmp': caption_button(CLOSE_RED, g_close),
        'maximize.bmp': caption_button(TEAL_LIGHT, g_max),
        'restore.bmp': caption_button(TEAL_LIGHT, g_restore),
        'minimize.bmp': caption_button(TEAL_LIGHT, g_min),
        'button.bmp': strip([push_button(s) for s in (1, 2, 3, 4, 5)]),
        'check.bmp': strip([check_box(False, True), check_box(True, True),
                            check_box(False, False), check_box(True, False),
                            check_box(False, True, mixed=True)]),
        'radio.bmp': strip([radio_button(False, True), radio_button(True, True),
                            radio_button(False, False), radio_button(True, False)]),
        'tabs.bmp': strip([tab(s) for s in (1, 2, 3, 4, 5)]),
        'tabborder.bmp': page_border(),
        'scrollarrows.bmp': scroll_arrows(),
        'hscroll.bmp': track(False),
        'vscroll.bmp': track(True),
        'hthumb.bmp': thumb(False),
        'vthumb.bmp': thumb(True),
        'header.bmp': strip([header(s) for s in (1, 2, 3, 4, 5)]),
        'progress.bmp': progress_frames(),
        'chunk.bmp': chunk(),
        'sunkedge.bmp': strip([sunk_edge(s) for s in (1, 2, 3, 4)]),
        'combobutton.bmp': strip([combo_button(s) for s in (1, 2, 3, 4)]),
        'extraimages.bmp': extra_images(),
        'statusedges.bmp': status_edges(),
        'menubar.bmp': stack([menu_bar(True), menu_bar(False)]),
        'menuitem.bmp': strip([menu_item(f) for f in (1, 2, 3, 4, 5)]),
        'menuback.bmp': menu_background(),
    }


# Contrast -------------------------------------------------------------------------

MIN_CONTRAST = 4.5


def luminance(c):
    def channel(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def ini_colours():
    """The text and face colours the painters take from the ini."""
    ini = configparser.ConfigParser(comment_prefixes=(';',), interpolation=None)
    ini.read_string(INI)

    def rgb(section, key):
        return tuple(int(v) for v in ini[section][key].replace(',', ' ').split())

    def channels(prefix):
        p = ini['Personality']
        return tuple(int(p[prefix + c]) for c in 'RGB')

    colours = {k: rgb('Colours', k) for k in ini['Colours']}
    colours.update({'activetext': channels('ActiveText'), 'inactivetext': channels('InActiveText')})
    colours.update({'tabs.' + k: rgb('Tabs', k) for k in ini['Tabs'] if k.endswith('colour2')})
    return colours


def text_areas():
    """(text colour key, member, frame, box in the frame, frames stacked): every place a
    painter writes text of that colour, the box being the part of the frame inside its
    margins that is stretched under the text. Disabled captions are left out, as
    inactive controls are exempt from the floor."""
    title_box = (8, 2, 112, TITLE_H)  # the stretched middle, under the top edge lines
    return [
        ('activetext', 'top.bmp', 1, title_box, True),
        ('titletextactive', 'top.bmp', 1, title_box, True),
        ('inactivetext', 'top.bmp', 2, title_box, True),
        ('titletextnoactive', 'top.bmp', 2, title_box, True),
        *[('buttontext', 'button.bmp', f, (5, 5, 35, 19), False) for f in (1, 2, 4, 5)],
        ('tabs.normalcolour2', 'tabs.bmp', 1, (5, 5, 35, 19), False),
        ('tabs.normalcolour2', 'tabs.bmp', 5, (5, 5, 35, 19), False),
        ('tabs.mouseovercolour2', 'tabs.bmp', 2, (5, 5, 35, 19), False),
        ('tabs.mouseovercolour2', 'tabs.bmp', 4, (5, 5, 35, 19), False),
        ('tabs.pressedcolour2', 'tabs.bmp', 2, (5, 5, 35, 19), False),
        *[('buttontext', 'header.bmp', f, (2, 2, 38, 18), False) for f in range(1, 6)],
        *[('menubartext', 'menubar.bmp', f, (0, 0, 40, 19), True) for f in (1, 2)],
        ('menutext', 'menuback.bmp', 1, (4, 4, 20, 20), False),
        ('hilighttext', 'menuitem.bmp', 4, (4, 4, 26, 16), False),
        ('windowtext', 'sunkedge.bmp', 1, (2, 2, 28, 19), False),
        ('windowtext', 'statusedges.bmp', 3, (2, 2, 18, 18), False),
    ]


def contrast_faults(pics):
    """Every text colour and face below the floor, as lines of text."""
    colours = ini_colours()
    faces = [('windowtext', 'buttonface'), ('buttontext', 'buttonface'), ('menutext', 'menu'),
             ('hilighttext', 'hilight'), ('menubartext', 'menubar')]
    faults = ['%s on %s: %.2f' % (t, f, contrast(colours[t], colours[f]))
              for t, f in faces if contrast(colours[t], colours[f]) < MIN_CONTRAST]
    for key, member, frame, (x0, y0, x1, y1), stacked in text_areas():
        p = pics[member]
        frames = 2 if stacked else p.w // {'button.bmp': 40, 'tabs.bmp': 40, 'header.bmp': 40,
                                           'menuback.bmp': 24, 'menuitem.bmp': 30,
                                           'sunkedge.bmp': 30, 'statusedges.bmp': 20}[member]
        fw, fh = (p.w, p.h // frames) if stacked else (p.w // frames, p.h)
        ox, oy = (0, (frame - 1) * fh) if stacked else ((frame - 1) * fw, 0)
        worst = min((contrast(colours[key], p.px[oy + y][ox + x]), (x, y))
                    for y in range(y0, y1) for x in range(x0, x1)
                    if p.px[oy + y][ox + x] != KEY)
        if worst[0] < MIN_CONTRAST:
            faults.append('%s on %s frame %d at %s: %.2f' % (key, member, frame, worst[1],
                                                             worst[0]))
    return faults


def members(pics):
    return [(name, p.bmp()) for name, p in pics.items()] + [
        ('tealwhistle.ini', INI.replace('\n', '\r\n').encode('ascii'))]


def main(argv):
    if len(argv) < 2:
        raise SystemExit(__doc__)
    pics = pictures()
    faults = contrast_faults(pics)
    if faults:
        raise SystemExit('make_skin: text below %.1f:1 contrast:\n  ' % MIN_CONTRAST +
                         '\n  '.join(faults))
    packed = skinpack.pack(skinpack.package(members(pics)))
    with open(argv[1], 'wb') as f:
        f.write(skinpack.resource(packed))
    if len(argv) > 2:
        with open(argv[2], 'wb') as f:
            f.write(menu_glyphs().bmp())


if __name__ == '__main__':
    main(sys.argv)
