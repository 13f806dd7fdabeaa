"""Flat, friendly drawings of the book's characters, animals and things.

Every drawing is made from simple shapes at four times its size and scaled
down, so edges are smooth and the result is the same on every run.
"""

from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor

SKIN = (255, 214, 170)
SKIN_TAN = (222, 172, 125)
SKIN_DARK = (160, 106, 70)
INK = (60, 50, 60)
WHITE = (255, 255, 255)
PINK = (255, 160, 170)

COLOURS = {
    "red": (235, 64, 52), "blue": (66, 133, 244), "yellow": (251, 200, 20),
    "green": (67, 176, 71), "orange": (255, 140, 30), "purple": (156, 80, 182),
    "pink": (255, 128, 171), "brown": (141, 96, 62), "white": (245, 245, 245),
    "black": (60, 60, 60), "grey": (150, 150, 160),
}

FONT_BOLD = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"


def darker(c, f=0.62):
    return tuple(int(v * f) for v in c[:3])


def lighter(c, f=0.45):
    return tuple(int(v + (255 - v) * f) for v in c[:3])


class Pen:
    """A canvas with shape helpers in unscaled pixel coordinates (y down)."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), bg)
        self.d = ImageDraw.Draw(self.img)
        self.ow = 2.5  # outline width

    def _b(self, x0, y0, x1, y1):
        return [round(x0 * SS), round(y0 * SS), round(x1 * SS), round(y1 * SS)]

    def _ol(self, fill, outline):
        if outline is False or outline is None:
            return None, 0
        if outline is True:
            outline = darker(fill)
        return outline, round(self.ow * SS)

    def ell(self, cx, cy, rx, ry, fill, outline=True):
        o, w = self._ol(fill, outline)
        self.d.ellipse(self._b(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill, outline=o, width=w)

    def circ(self, cx, cy, r, fill, outline=True):
        self.ell(cx, cy, r, r, fill, outline)

    def rect(self, x0, y0, x1, y1, fill, r=0, outline=True):
        o, w = self._ol(fill, outline)
        self.d.rounded_rectangle(self._b(x0, y0, x1, y1), radius=round(r * SS), fill=fill, outline=o, width=w)

    def poly(self, pts, fill, outline=True):
        o, w = self._ol(fill, outline)
        p = [(round(x * SS), round(y * SS)) for x, y in pts]
        self.d.polygon(p, fill=fill)
        if o:
            self.d.line(p + [p[0]], fill=o, width=w, joint="curve")

    def line(self, pts, fill, width):
        p = [(round(x * SS), round(y * SS)) for x, y in pts]
        self.d.line(p, fill=fill, width=round(width * SS), joint="curve")
        r = width * SS / 2
        for x, y in (p[0], p[-1]):
            self.d.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def arc(self, cx, cy, rx, ry, start, end, fill, width):
        self.d.arc(self._b(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill, width=round(width * SS))

    def pie(self, cx, cy, rx, ry, start, end, fill):
        self.d.pieslice(self._b(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill)

    def text(self, cx, cy, s, size, fill):
        f = ImageFont.truetype(FONT_BOLD, round(size * SS))
        self.d.text((round(cx * SS), round(cy * SS)), s, font=f, fill=fill, anchor="mm")

    def done(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


# ---------------------------------------------------------------- people

def _face(p, cx, cy, r, happy=True):
    p.circ(cx - r * 0.38, cy - r * 0.05, r * 0.11, INK, False)
    p.circ(cx + r * 0.38, cy - r * 0.05, r * 0.11, INK, False)
    p.circ(cx - r * 0.34, cy - r * 0.09, r * 0.04, WHITE, False)
    p.circ(cx + r * 0.42, cy - r * 0.09, r * 0.04, WHITE, False)
    p.ell(cx - r * 0.62, cy + r * 0.28, r * 0.16, r * 0.1, PINK, False)
    p.ell(cx + r * 0.62, cy + r * 0.28, r * 0.16, r * 0.1, PINK, False)
    p.arc(cx, cy + r * 0.2, r * 0.3, r * 0.22, 20, 160, INK, r * 0.07)


def person(w, h, skin, hair, style, shirt, lower, skirt=False, adult=False, baby=False,
           wave=True, glasses=False, bun=False):
    p = Pen(w, h)
    cx = w / 2
    if baby:
        hr, hy = w * 0.27, h * 0.3
    else:
        hr = w * (0.24 if adult else 0.28)
        hy = hr + 6
    body_top = hy + hr * 0.85
    body_bot = h * (0.72 if adult else 0.74) if not baby else h * 0.86
    bw = w * (0.24 if not baby else 0.27)
    shoe = (70, 60, 70)
    # legs
    if not baby:
        leg_top = body_bot - 4
        if skirt:
            p.rect(cx - bw * 0.55, leg_top, cx - bw * 0.15, h - 10, skin, r=4)
            p.rect(cx + bw * 0.15, leg_top, cx + bw * 0.55, h - 10, skin, r=4)
        else:
            p.rect(cx - bw * 0.75, leg_top - 6, cx - bw * 0.08, h - 10, lower, r=5)
            p.rect(cx + bw * 0.08, leg_top - 6, cx + bw * 0.75, h - 10, lower, r=5)
        p.ell(cx - bw * 0.5, h - 8, bw * 0.45, 6, shoe)
        p.ell(cx + bw * 0.5, h - 8, bw * 0.45, 6, shoe)
    # arms
    aw = w * 0.09
    sh_y = body_top + 10
    p.line([(cx - bw, sh_y), (cx - bw - w * 0.12, body_bot - 8)], darker(shirt, 0.8), aw)
    p.circ(cx - bw - w * 0.12, body_bot - 6, aw * 0.7, skin)
    if wave:
        p.line([(cx + bw, sh_y), (cx + bw + w * 0.16, sh_y - h * 0.14)], darker(shirt, 0.8), aw)
        p.circ(cx + bw + w * 0.16, sh_y - h * 0.14 - 4, aw * 0.75, skin)
    else:
        p.line([(cx + bw, sh_y), (cx + bw + w * 0.12, body_bot - 8)], darker(shirt, 0.8), aw)
        p.circ(cx + bw + w * 0.12, body_bot - 6, aw * 0.7, skin)
    # body
    if skirt:
        p.poly([(cx - bw, body_top), (cx + bw, body_top), (cx + bw * 1.5, body_bot + 8),
                (cx - bw * 1.5, body_bot + 8)], shirt)
    else:
        p.rect(cx - bw, body_top, cx + bw, body_bot, shirt, r=bw * 0.5)
    p.circ(cx, body_top + 4, w * 0.05, skin, False)
    # head
    if bun:
        p.circ(cx, hy - hr * 1.05, hr * 0.38, hair)
    if style == "long":
        p.rect(cx - hr * 1.08, hy - hr * 0.4, cx + hr * 1.08, hy + hr * 1.25, hair, r=hr * 0.5)
    p.circ(cx, hy, hr, skin)
    if style in ("short", "long", "bob"):
        p.pie(cx, hy, hr * 1.04, hr * 1.04, 180, 360, hair)
        p.ell(cx - hr * 0.35, hy - hr * 0.25, hr * 0.7, hr * 0.35, hair, False)
    elif style == "spiky":
        pts = []
        for i in range(9):
            a = i / 8
            x = cx - hr * 1.02 + a * hr * 2.04
            pts.append((x, hy - hr * (0.35 if i % 2 == 0 else 1.25) + (abs(a - 0.5) * hr * 0.6)))
        p.poly([(cx - hr * 1.02, hy - hr * 0.1)] + pts + [(cx + hr * 1.02, hy - hr * 0.1)], hair)
    elif style == "curl":
        p.circ(cx, hy - hr * 0.95, hr * 0.22, hair)
    if style == "bob":
        p.rect(cx - hr * 1.1, hy - hr * 0.3, cx - hr * 0.7, hy + hr * 0.6, hair, r=6)
        p.rect(cx + hr * 0.7, hy - hr * 0.3, cx + hr * 1.1, hy + hr * 0.6, hair, r=6)
    _face(p, cx, hy + hr * 0.1, hr)
    if glasses:
        p.d.ellipse(p._b(cx - hr * 0.62, hy - hr * 0.2, cx - hr * 0.14, hy + hr * 0.25), outline=INK, width=round(2 * SS))
        p.d.ellipse(p._b(cx + hr * 0.14, hy - hr * 0.2, cx + hr * 0.62, hy + hr * 0.25), outline=INK, width=round(2 * SS))
    return p.done()


def draw_tom():
    return person(130, 190, SKIN, (120, 72, 40), "spiky", (66, 133, 244), (60, 70, 110))


def draw_amy():
    return person(130, 190, SKIN_TAN, (90, 50, 30), "long", (240, 98, 146), None, skirt=True)


def draw_ben():
    return person(100, 110, SKIN, (200, 150, 80), "curl", (255, 220, 90), None, baby=True, wave=False)


def draw_mum():
    return person(140, 240, SKIN, (170, 90, 40), "bob", (52, 168, 83), (80, 70, 100), skirt=True, adult=True)


def draw_dad():
    return person(150, 250, SKIN, (100, 60, 35), "short", (255, 140, 30), (70, 80, 120), adult=True,
                  wave=False, glasses=True)


def draw_grandma():
    return person(140, 225, SKIN, (215, 215, 225), "short", (156, 80, 182), (90, 80, 90), skirt=True,
                  adult=True, glasses=True, bun=True, wave=False)


def draw_missbell():
    return person(140, 240, SKIN_DARK, (40, 30, 30), "short", (0, 150, 136), (60, 60, 80), skirt=True,
                  adult=True, bun=True)


def draw_mrlee():
    return person(150, 245, SKIN_TAN, (30, 30, 40), "short", WHITE, (90, 90, 110), adult=True, wave=False)


# ---------------------------------------------------------------- animals

def _eyes(p, x1, x2, y, r):
    for x in (x1, x2):
        p.circ(x, y, r, INK, False)
        p.circ(x + r * 0.3, y - r * 0.3, r * 0.35, WHITE, False)


def _legs(p, xs, y0, y1, c, w=12):
    for x in xs:
        p.rect(x - w / 2, y0, x + w / 2, y1, c, r=w / 2)


def draw_cat(c=(245, 245, 245)):
    p = Pen(150, 130)
    p.line([(118, 95), (140, 70), (138, 48)], darker(c, 0.85), 9)
    p.ell(85, 90, 45, 28, c)
    _legs(p, [55, 72, 100, 116], 95, 122, c)
    p.poly([(22, 30), (30, 2), (48, 22)], c)
    p.poly([(62, 22), (78, 2), (84, 32)], c)
    p.circ(52, 48, 34, c)
    _eyes(p, 40, 64, 44, 5)
    p.poly([(49, 56), (55, 56), (52, 60)], PINK, False)
    for dy in (-3, 4):
        p.line([(30, 60 + dy), (10, 58 + dy * 2)], INK, 1.2)
        p.line([(74, 60 + dy), (94, 58 + dy * 2)], INK, 1.2)
    return p.done()


def draw_dog(c=(170, 110, 60)):
    p = Pen(160, 140)
    p.line([(128, 88), (148, 62)], c, 9)
    p.ell(92, 95, 48, 30, c)
    _legs(p, [62, 78, 108, 124], 100, 132, c, 13)
    p.circ(55, 55, 36, lighter(c, 0.25))
    p.ell(24, 60, 12, 26, darker(c, 0.8))
    p.ell(86, 60, 12, 26, darker(c, 0.8))
    p.ell(55, 70, 18, 13, lighter(c, 0.55))
    p.ell(55, 63, 7, 5, INK, False)
    _eyes(p, 42, 68, 48, 5)
    p.arc(55, 74, 8, 6, 20, 160, INK, 1.5)
    return p.done()


def draw_bird(c=(66, 133, 244)):
    p = Pen(110, 90)
    p.poly([(18, 50), (2, 36), (4, 62)], darker(c, 0.85))
    p.ell(52, 52, 36, 28, c)
    p.ell(48, 54, 18, 12, lighter(c, 0.3))
    p.circ(78, 34, 20, c)
    p.poly([(94, 30), (108, 36), (94, 42)], (255, 180, 0))
    _eyes(p, 84, 84, 30, 4)
    p.line([(46, 78), (44, 88)], (255, 150, 0), 3)
    p.line([(58, 78), (60, 88)], (255, 150, 0), 3)
    return p.done()


def draw_fish(c=(255, 140, 30)):
    p = Pen(130, 90)
    p.poly([(30, 45), (4, 16), (8, 74)], darker(c, 0.9))
    p.ell(70, 45, 52, 32, c)
    p.poly([(60, 16), (80, 2), (90, 20)], darker(c, 0.9))
    p.arc(64, 45, 18, 26, 300, 60, WHITE, 3)
    _eyes(p, 100, 100, 38, 6)
    return p.done()


def draw_rabbit(c=(235, 235, 235)):
    p = Pen(110, 160)
    p.ell(38, 30, 11, 30, c)
    p.ell(38, 32, 5, 20, PINK, False)
    p.ell(68, 30, 11, 30, c)
    p.ell(68, 32, 5, 20, PINK, False)
    p.ell(55, 118, 36, 38, c)
    p.circ(55, 75, 30, c)
    p.ell(55, 122, 20, 24, WHITE, False)
    _eyes(p, 44, 66, 70, 4.5)
    p.ell(55, 84, 5, 3.5, PINK, False)
    p.ell(33, 152, 14, 7, c)
    p.ell(77, 152, 14, 7, c)
    return p.done()


def draw_duck(c=(255, 214, 40)):
    p = Pen(130, 120)
    p.ell(68, 78, 50, 30, c)
    p.poly([(112, 62), (126, 52), (118, 80)], c)
    p.ell(68, 78, 24, 14, darker(c, 0.9))
    p.circ(36, 40, 24, c)
    p.ell(12, 46, 14, 6, (255, 140, 0))
    _eyes(p, 34, 34, 34, 4)
    p.line([(60, 106), (56, 116)], (255, 140, 0), 4)
    p.line([(80, 106), (84, 116)], (255, 140, 0), 4)
    return p.done()


def draw_cow():
    c = (250, 250, 250)
    p = Pen(190, 150)
    p.line([(172, 60), (184, 100)], c, 5)
    p.rect(50, 45, 178, 112, c, r=30)
    p.ell(110, 70, 22, 16, (70, 60, 60), False)
    p.ell(150, 92, 16, 12, (70, 60, 60), False)
    _legs(p, [64, 86, 146, 166], 100, 142, c, 15)
    p.ell(112, 112, 14, 8, PINK)
    p.poly([(14, 24), (6, 6), (26, 18)], (230, 220, 190))
    p.poly([(62, 24), (70, 6), (50, 18)], (230, 220, 190))
    p.ell(38, 52, 32, 36, c)
    p.ell(38, 74, 26, 16, (255, 190, 190))
    p.circ(30, 74, 3, INK, False)
    p.circ(46, 74, 3, INK, False)
    _eyes(p, 26, 50, 44, 4.5)
    return p.done()


def draw_pig():
    c = (255, 175, 185)
    p = Pen(160, 130)
    p.arc(142, 60, 10, 10, 180, 450, darker(c, 0.8), 3)
    p.ell(92, 75, 56, 38, c)
    _legs(p, [60, 80, 110, 128], 100, 124, c, 14)
    p.poly([(30, 30), (28, 8), (48, 22)], c)
    p.poly([(70, 22), (86, 8), (84, 32)], c)
    p.circ(56, 56, 32, c)
    p.ell(56, 68, 14, 10, darker(c, 0.9))
    p.circ(51, 68, 2.5, INK, False)
    p.circ(61, 68, 2.5, INK, False)
    _eyes(p, 44, 68, 48, 4)
    return p.done()


def draw_sheep():
    p = Pen(160, 130)
    wool = (248, 248, 240)
    _legs(p, [62, 84, 108, 128], 90, 124, (70, 60, 70), 11)
    for x, y in [(60, 60), (85, 50), (110, 52), (130, 66), (118, 86), (88, 92), (60, 84)]:
        p.circ(x, y, 24, wool)
    p.ell(92, 72, 46, 26, wool, False)
    p.ell(38, 58, 22, 26, (80, 70, 80))
    p.ell(18, 52, 10, 5, (80, 70, 80))
    _eyes(p, 32, 46, 54, 3.5)
    p.circ(40, 36, 12, wool)
    return p.done()


def draw_lion():
    p = Pen(170, 150)
    body = (250, 190, 70)
    mane = (200, 110, 40)
    p.line([(140, 96), (166, 70)], body, 8)
    p.circ(166, 68, 7, mane)
    p.ell(104, 104, 52, 30, body)
    _legs(p, [70, 90, 122, 140], 110, 144, body, 15)
    for i in range(12):
        import math
        a = i * math.pi / 6
        p.circ(56 + 38 * math.cos(a), 62 + 38 * math.sin(a), 16, mane)
    p.circ(56, 62, 38, mane, False)
    p.circ(56, 64, 30, body)
    _eyes(p, 45, 67, 58, 4.5)
    p.poly([(50, 70), (62, 70), (56, 77)], (120, 70, 50), False)
    p.arc(56, 80, 8, 5, 20, 160, INK, 1.5)
    return p.done()


def draw_elephant(c=(160, 168, 190)):
    p = Pen(200, 160)
    p.rect(50, 40, 185, 125, c, r=40)
    _legs(p, [70, 98, 150, 174], 100, 152, c, 22)
    p.ell(78, 66, 36, 42, darker(c, 0.9))
    p.line([(38, 80), (26, 120), (16, 138), (26, 146)], c, 16)
    p.circ(46, 60, 32, c)
    _eyes(p, 36, 36, 52, 4.5)
    p.poly([(40, 82), (48, 96), (54, 84)], WHITE)
    return p.done()


def draw_monkey():
    c = (150, 95, 60)
    face = (240, 200, 160)
    p = Pen(140, 160)
    p.arc(100, 120, 30, 30, 270, 90, c, 7)
    p.ell(70, 118, 34, 36, c)
    p.ell(70, 124, 20, 24, face, False)
    p.line([(42, 104), (18, 74)], c, 10)
    p.line([(98, 104), (120, 80)], c, 10)
    p.ell(46, 150, 14, 8, c)
    p.ell(94, 150, 14, 8, c)
    p.circ(28, 52, 14, c)
    p.circ(28, 52, 8, face, False)
    p.circ(112, 52, 14, c)
    p.circ(112, 52, 8, face, False)
    p.circ(70, 54, 38, c)
    p.ell(62, 50, 14, 16, face, False)
    p.ell(78, 50, 14, 16, face, False)
    p.ell(70, 70, 24, 16, face, False)
    _eyes(p, 62, 78, 50, 4.5)
    p.arc(70, 70, 10, 7, 20, 160, INK, 2)
    return p.done()


def draw_giraffe():
    c = (250, 200, 80)
    spot = (190, 120, 50)
    p = Pen(140, 230)
    p.rect(44, 130, 124, 180, c, r=22)
    _legs(p, [54, 72, 100, 116], 170, 226, c, 12)
    p.poly([(52, 150), (70, 40), (88, 40), (78, 150)], c)
    for x, y in [(64, 150), (100, 150), (72, 110), (76, 80), (116, 160), (80, 54)]:
        p.ell(x, y, 8, 6, spot, False)
    p.line([(64, 20), (60, 4)], spot, 4)
    p.line([(84, 20), (88, 4)], spot, 4)
    p.ell(72, 36, 30, 20, c)
    p.ell(50, 42, 14, 10, lighter(c, 0.3))
    _eyes(p, 72, 88, 30, 4)
    return p.done()


def draw_bear(c=(140, 90, 55)):
    p = Pen(140, 160)
    p.ell(70, 110, 46, 46, c)
    p.ell(70, 116, 28, 30, lighter(c, 0.35), False)
    p.ell(34, 150, 16, 9, c)
    p.ell(106, 150, 16, 9, c)
    p.line([(30, 96), (16, 118)], c, 15)
    p.line([(110, 96), (124, 118)], c, 15)
    p.circ(36, 22, 14, c)
    p.circ(104, 22, 14, c)
    p.circ(70, 48, 38, c)
    p.ell(70, 62, 15, 11, lighter(c, 0.4))
    p.ell(70, 57, 6, 4, INK, False)
    _eyes(p, 56, 84, 42, 4.5)
    return p.done()


def draw_teddy():
    return draw_bear((205, 150, 90))


def draw_frog():
    c = (110, 190, 70)
    p = Pen(130, 100)
    p.ell(65, 66, 48, 30, c)
    p.ell(18, 90, 18, 8, c)
    p.ell(112, 90, 18, 8, c)
    p.circ(42, 32, 16, c)
    p.circ(88, 32, 16, c)
    p.circ(42, 32, 9, WHITE, False)
    p.circ(88, 32, 9, WHITE, False)
    p.circ(44, 33, 4.5, INK, False)
    p.circ(86, 33, 4.5, INK, False)
    p.arc(65, 62, 22, 12, 20, 160, darker(c), 2.5)
    p.ell(65, 78, 24, 12, lighter(c, 0.4), False)
    return p.done()


# ---------------------------------------------------------------- food

def draw_apple(c=(230, 50, 50)):
    p = Pen(100, 110)
    p.line([(50, 30), (54, 10)], (110, 70, 40), 5)
    p.ell(66, 14, 14, 7, (80, 170, 70))
    p.ell(36, 66, 30, 38, c, False)
    p.ell(64, 66, 30, 38, c, False)
    p.d.ellipse(p._b(6, 28, 94, 104), outline=darker(c), width=round(2.5 * SS))
    p.ell(32, 52, 8, 12, lighter(c, 0.5), False)
    return p.done()


def draw_banana():
    c = (255, 220, 50)
    p = Pen(130, 90)
    p.d.chord(p._b(6, -80, 124, 80), 20, 160, fill=c, outline=darker(c), width=round(2.5 * SS))
    p.d.chord(p._b(20, -60, 110, 52), 20, 160, fill=(0, 0, 0, 0))
    p.line([(10, 30), (4, 24)], (110, 80, 40), 5)
    return p.done()


def draw_orange():
    c = (255, 150, 30)
    p = Pen(100, 100)
    p.circ(50, 54, 42, c)
    for x, y in [(34, 44), (60, 40), (48, 70), (70, 62), (30, 66)]:
        p.circ(x, y, 2, darker(c, 0.85), False)
    p.ell(58, 12, 12, 6, (80, 170, 70))
    return p.done()


def draw_grapes():
    c = (150, 80, 180)
    p = Pen(100, 120)
    p.line([(50, 20), (50, 4)], (110, 70, 40), 4)
    p.ell(66, 14, 14, 6, (80, 170, 70))
    for row, n in enumerate([4, 3, 3, 2, 1]):
        for i in range(n):
            x = 50 + (i - (n - 1) / 2) * 20
            p.circ(x, 32 + row * 18, 11, c)
    return p.done()


def draw_bread():
    c = (225, 165, 90)
    p = Pen(120, 100)
    p.circ(36, 40, 28, c)
    p.circ(84, 40, 28, c)
    p.rect(12, 40, 108, 92, c, r=8)
    p.rect(16, 40, 104, 88, (250, 225, 170), r=6, outline=False)
    p.circ(40, 44, 22, (250, 225, 170), False)
    p.circ(80, 44, 22, (250, 225, 170), False)
    return p.done()


def draw_egg():
    p = Pen(90, 110)
    p.ell(45, 58, 34, 44, (252, 248, 236))
    p.ell(36, 42, 8, 12, WHITE, False)
    return p.done()


def draw_milk():
    p = Pen(80, 130)
    p.poly([(14, 40), (40, 14), (66, 40)], (120, 180, 255))
    p.rect(14, 40, 66, 124, WHITE, r=4)
    p.rect(14, 62, 66, 98, (120, 180, 255), outline=False)
    p.text(40, 80, "MILK", 12, WHITE)
    p.rect(34, 4, 46, 16, (66, 133, 244), r=2)
    return p.done()


def draw_juice():
    p = Pen(90, 120)
    p.poly([(14, 20), (76, 20), (68, 114), (22, 114)], (255, 255, 255, 200))
    p.poly([(18, 44), (72, 44), (68, 110), (22, 110)], (255, 160, 30), False)
    p.line([(56, 2), (48, 70)], (240, 80, 120), 5)
    p.circ(70, 26, 12, (255, 150, 30))
    return p.done()


def draw_water():
    p = Pen(70, 130)
    c = (150, 210, 255)
    p.rect(24, 6, 46, 22, (66, 133, 244), r=3)
    p.rect(12, 20, 58, 124, (235, 245, 255), r=14)
    p.rect(15, 50, 55, 120, c, r=11, outline=False)
    return p.done()


def draw_rice():
    p = Pen(120, 90)
    for x, y in [(40, 34), (60, 26), (80, 34), (50, 40), (70, 40)]:
        p.circ(x, y, 16, (250, 250, 245))
    p.d.chord(p._b(10, -10, 110, 86), 0, 180, fill=(66, 133, 244), outline=darker((66, 133, 244)), width=10)
    p.rect(44, 80, 76, 88, (50, 100, 200), r=3)
    return p.done()


def draw_cheese():
    c = (255, 210, 60)
    p = Pen(120, 90)
    p.poly([(8, 70), (100, 22), (112, 70)], c)
    p.rect(8, 70, 112, 84, darker(c, 0.9), outline=True)
    for x, y, r in [(70, 52, 8), (96, 58, 5), (44, 62, 5)]:
        p.circ(x, y, r, darker(c, 0.85), False)
    return p.done()


def draw_cookie():
    c = (210, 150, 80)
    p = Pen(100, 100)
    p.circ(50, 50, 42, c)
    for x, y in [(34, 36), (60, 30), (50, 56), (72, 60), (30, 66), (62, 76)]:
        p.circ(x, y, 5, (90, 55, 35), False)
    return p.done()


def draw_carrot():
    c = (255, 130, 30)
    p = Pen(80, 140)
    for dx in (-12, 0, 12):
        p.ell(40 + dx, 18, 7, 16, (80, 170, 70))
    p.poly([(20, 34), (60, 34), (42, 134), (38, 134)], c)
    for y in (60, 84, 106):
        p.line([(30, y), (38, y)], darker(c), 2)
    return p.done()


def draw_sandwich():
    p = Pen(130, 100)
    bread = (240, 200, 130)
    p.poly([(10, 80), (65, 16), (120, 80)], bread)
    p.line([(14, 78), (116, 78)], (90, 180, 70), 6)
    p.line([(18, 86), (112, 86)], (240, 90, 80), 5)
    p.rect(10, 88, 120, 96, bread, r=3)
    return p.done()


def draw_cake():
    p = Pen(140, 130)
    p.rect(16, 60, 124, 122, (250, 170, 190), r=10)
    p.rect(16, 56, 124, 76, WHITE, r=10)
    for x in (30, 50, 70, 90, 110):
        p.circ(x, 76, 6, WHITE, False)
    for x in (40, 70, 100):
        p.rect(x - 4, 26, x + 4, 58, (120, 180, 255), r=2)
        p.ell(x, 18, 5, 9, (255, 190, 40))
    p.ell(70, 100, 10, 8, (235, 64, 52))
    return p.done()


# ---------------------------------------------------------------- things

def draw_pen():
    p = Pen(40, 140)
    c = (66, 133, 244)
    p.rect(12, 8, 28, 100, c, r=6)
    p.rect(24, 14, 32, 50, darker(c, 0.8), r=2)
    p.poly([(12, 100), (28, 100), (20, 130)], (230, 230, 230))
    p.circ(20, 128, 2.5, INK, False)
    return p.done()


def draw_pencil():
    p = Pen(40, 150)
    c = (255, 200, 40)
    p.rect(10, 4, 30, 18, (255, 150, 170), r=4)
    p.rect(10, 16, 30, 22, (180, 180, 190), outline=False)
    p.rect(10, 22, 30, 112, c)
    p.poly([(10, 112), (30, 112), (20, 144)], (240, 210, 160))
    p.poly([(16, 132), (24, 132), (20, 144)], INK, False)
    return p.done()


def draw_book(c=(235, 64, 52)):
    p = Pen(130, 110)
    p.poly([(10, 20), (65, 30), (120, 20), (120, 96), (65, 106), (10, 96)], c)
    p.poly([(18, 22), (63, 31), (63, 98), (18, 88)], WHITE)
    p.poly([(67, 31), (112, 22), (112, 88), (67, 98)], WHITE)
    for y in (44, 56, 68):
        p.line([(26, y), (54, y + 5)], (190, 190, 200), 2)
        p.line([(76, y + 5), (104, y)], (190, 190, 200), 2)
    return p.done()


def draw_bag():
    c = (235, 64, 52)
    p = Pen(120, 130)
    p.arc(60, 30, 24, 22, 180, 360, darker(c), 7)
    p.rect(14, 28, 106, 124, c, r=18)
    p.rect(14, 28, 106, 70, darker(c, 0.85), r=18)
    p.rect(52, 62, 68, 78, (255, 210, 60), r=3)
    return p.done()


def draw_ruler():
    p = Pen(170, 50)
    c = (255, 215, 80)
    p.rect(6, 8, 164, 42, c, r=4)
    for i in range(16):
        x = 14 + i * 9.5
        p.line([(x, 10), (x, 18 if i % 2 else 24)], darker(c, 0.5), 1.5)
    return p.done()


def draw_ball(c=(235, 64, 52)):
    p = Pen(100, 100)
    p.circ(50, 50, 44, c)
    p.arc(50, 50, 44, 18, 0, 180, WHITE, 5)
    p.ell(34, 30, 10, 7, lighter(c, 0.6), False)
    return p.done()


def draw_balloon(c=(235, 64, 52)):
    p = Pen(80, 170)
    p.line([(40, 96), (34, 130), (44, 165)], (120, 120, 130), 1.5)
    p.ell(40, 50, 34, 44, c)
    p.poly([(34, 92), (46, 92), (40, 100)], c)
    p.ell(28, 34, 7, 12, lighter(c, 0.6), False)
    return p.done()


def draw_kite(c=(66, 133, 244)):
    p = Pen(120, 180)
    p.line([(60, 110), (50, 140), (70, 160), (56, 176)], INK, 1.5)
    for y in (140, 160):
        p.poly([(50, y - 6), (62, y), (50, y + 6)], (235, 64, 52), False)
    p.poly([(60, 6), (110, 50), (60, 110), (10, 50)], c)
    p.poly([(60, 6), (110, 50), (60, 50)], (251, 200, 20), False)
    p.poly([(60, 50), (10, 50), (60, 110)], (251, 200, 20), False)
    p.line([(60, 6), (60, 110)], darker(c), 2)
    p.line([(10, 50), (110, 50)], darker(c), 2)
    return p.done()


def draw_doll():
    return person(90, 140, SKIN, (240, 200, 80), "long", (156, 80, 182), None, skirt=True, wave=False)


def draw_car(c=(66, 133, 244)):
    p = Pen(170, 100)
    p.rect(30, 18, 130, 56, c, r=16)
    p.rect(42, 24, 78, 50, (200, 230, 255), r=6, outline=False)
    p.rect(84, 24, 120, 50, (200, 230, 255), r=6, outline=False)
    p.rect(8, 46, 162, 80, c, r=14)
    p.circ(150, 60, 5, (255, 230, 120), False)
    for x in (44, 126):
        p.circ(x, 80, 16, (60, 60, 70))
        p.circ(x, 80, 6, (200, 200, 210), False)
    return p.done()


def draw_box():
    c = (220, 170, 110)
    p = Pen(140, 120)
    p.rect(12, 34, 128, 114, c, r=4)
    p.poly([(12, 34), (2, 14), (60, 14), (70, 34)], lighter(c, 0.25))
    p.poly([(70, 34), (80, 14), (138, 14), (128, 34)], lighter(c, 0.25))
    p.line([(70, 40), (70, 110)], darker(c, 0.85), 3)
    return p.done()


def draw_chair():
    c = (190, 120, 70)
    p = Pen(100, 140)
    p.rect(20, 6, 34, 80, c, r=4)
    p.rect(20, 6, 84, 24, c, r=6)
    p.rect(14, 74, 90, 88, c, r=4)
    _legs(p, [24, 80], 86, 136, c, 10)
    return p.done()


def draw_desk():
    c = (200, 140, 80)
    p = Pen(180, 120)
    p.rect(4, 20, 176, 38, c, r=4)
    _legs(p, [20, 160], 36, 116, darker(c, 0.85), 12)
    p.rect(110, 38, 162, 70, darker(c, 0.9), r=3)
    return p.done()


def draw_bed():
    p = Pen(200, 120)
    wood = (180, 110, 70)
    p.rect(6, 10, 26, 114, wood, r=6)
    p.rect(174, 50, 194, 114, wood, r=6)
    p.rect(20, 60, 180, 94, (66, 133, 244), r=8)
    p.rect(28, 44, 72, 66, WHITE, r=10)
    p.rect(80, 52, 180, 80, (120, 175, 250), r=8, outline=False)
    return p.done()


def draw_clock():
    p = Pen(110, 110)
    p.circ(55, 55, 48, (255, 120, 100))
    p.circ(55, 55, 38, WHITE)
    for i in range(12):
        import math
        a = i * math.pi / 6
        p.circ(55 + 31 * math.cos(a), 55 + 31 * math.sin(a), 2.2, INK, False)
    p.line([(55, 55), (55, 28)], INK, 4)
    p.line([(55, 55), (74, 55)], INK, 5)
    p.circ(55, 55, 4, INK, False)
    return p.done()


def draw_sun():
    import math
    p = Pen(130, 130)
    c = (255, 200, 30)
    for i in range(12):
        a = i * math.pi / 6
        p.line([(65 + 44 * math.cos(a), 65 + 44 * math.sin(a)),
                (65 + 60 * math.cos(a), 65 + 60 * math.sin(a))], (255, 170, 20), 6)
    p.circ(65, 65, 38, c)
    _face(p, 65, 66, 34)
    return p.done()


def draw_cloud(c=(255, 255, 255)):
    p = Pen(160, 100)
    for x, y, r in [(44, 60, 28), (80, 42, 36), (118, 58, 28)]:
        p.circ(x, y, r, c)
    p.rect(24, 56, 140, 88, c, r=16)
    for x, y, r in [(44, 60, 26), (80, 42, 34), (118, 58, 26)]:
        p.circ(x, y, r, c, False)
    return p.done()


def draw_rain():
    p = Pen(160, 150)
    cloud = draw_cloud((200, 210, 225))
    for x, y in [(40, 106), (72, 118), (104, 104), (128, 124), (56, 138), (92, 140)]:
        p.poly([(x, y - 12), (x + 6, y), (x - 6, y)], (66, 133, 244), False)
        p.circ(x, y + 2, 6, (66, 133, 244), False)
    img = p.done()
    img.alpha_composite(cloud, (0, 0))
    return img


def draw_snow():
    import math
    p = Pen(120, 120)
    c = (120, 180, 240)
    for i in range(6):
        a = i * math.pi / 3
        x, y = 60 + 50 * math.cos(a), 60 + 50 * math.sin(a)
        p.line([(60, 60), (x, y)], c, 6)
        for s in (-1, 1):
            bx, by = 60 + 32 * math.cos(a), 60 + 32 * math.sin(a)
            p.line([(bx, by), (bx + 14 * math.cos(a + s * 0.8), by + 14 * math.sin(a + s * 0.8))], c, 5)
    p.circ(60, 60, 9, c, False)
    return p.done()


def draw_star(c=(255, 205, 40)):
    import math
    p = Pen(110, 110)
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 50 if i % 2 == 0 else 22
        pts.append((55 + r * math.cos(a), 58 + r * math.sin(a)))
    p.poly(pts, c)
    return p.done()


def draw_moon():
    p = Pen(110, 110)
    c = (255, 230, 120)
    p.circ(55, 55, 46, c)
    p.circ(80, 40, 40, (0, 0, 0, 0), False)
    return p.done()


def draw_rainbow():
    p = Pen(240, 130)
    cols = [(235, 64, 52), (255, 140, 30), (251, 200, 20), (67, 176, 71), (66, 133, 244), (156, 80, 182)]
    for i, c in enumerate(cols):
        p.arc(120, 126, 112 - i * 12, 112 - i * 12, 180, 360, c, 12)
    return p.done()


def draw_tree():
    p = Pen(150, 200)
    p.rect(62, 110, 88, 196, (150, 100, 60), r=6)
    for x, y, r in [(75, 50, 44), (40, 90, 38), (110, 90, 38), (75, 110, 36)]:
        p.circ(x, y, r, (76, 175, 80))
    for x, y, r in [(75, 50, 42), (40, 90, 36), (110, 90, 36), (75, 110, 34)]:
        p.circ(x, y, r, (76, 175, 80), False)
    for x, y in [(56, 60), (98, 84), (70, 104)]:
        p.circ(x, y, 6, (235, 64, 52), False)
    return p.done()


def draw_flower(c=(255, 128, 171)):
    import math
    p = Pen(90, 140)
    p.line([(45, 60), (45, 136)], (76, 160, 70), 6)
    p.ell(30, 110, 14, 7, (76, 175, 80))
    for i in range(6):
        a = i * math.pi / 3
        p.circ(45 + 22 * math.cos(a), 42 + 22 * math.sin(a), 16, c)
    p.circ(45, 42, 14, (255, 210, 60))
    return p.done()


def draw_house():
    p = Pen(160, 160)
    p.rect(24, 70, 136, 156, (255, 235, 200))
    p.poly([(10, 76), (80, 10), (150, 76)], (235, 64, 52))
    p.rect(66, 104, 94, 156, (150, 100, 60), r=4)
    p.rect(36, 88, 58, 110, (150, 210, 255))
    p.rect(102, 88, 124, 110, (150, 210, 255))
    return p.done()


def draw_umbrella():
    p = Pen(150, 150)
    c = (235, 64, 52)
    p.line([(75, 40), (75, 130)], INK, 4)
    p.arc(64, 130, 11, 11, 0, 180, INK, 4)
    p.pie(75, 70, 68, 58, 180, 360, c)
    for x in (20, 52, 98, 130):
        p.circ(x, 70, 12, (0, 0, 0, 0), False)
    p.d.pieslice(p._b(7, 12, 143, 128), 180, 360, outline=darker(c), width=round(2.5 * SS))
    return p.done()


def draw_hat():
    p = Pen(140, 90)
    c = (66, 133, 244)
    p.ell(70, 70, 64, 14, c)
    p.rect(32, 12, 108, 70, c, r=18)
    p.rect(32, 50, 108, 62, (251, 200, 20), outline=False)
    return p.done()


def draw_coat():
    p = Pen(140, 150)
    c = (235, 64, 52)
    p.poly([(40, 16), (100, 16), (134, 60), (118, 72), (104, 56), (104, 144), (36, 144), (36, 56),
            (22, 72), (6, 60)], c)
    p.line([(70, 20), (70, 144)], darker(c), 3)
    for y in (50, 80, 110):
        p.circ(78, y, 4, (251, 200, 20), False)
    p.poly([(52, 16), (70, 40), (88, 16)], lighter(c, 0.4))
    return p.done()


def draw_shoes():
    p = Pen(160, 80)
    c = (156, 80, 182)
    for x in (6, 82):
        p.rect(x, 20, x + 40, 66, c, r=12)
        p.rect(x, 42, x + 72, 66, c, r=14)
        p.rect(x, 62, x + 72, 72, WHITE, r=4)
    return p.done()


def draw_number(n):
    p = Pen(100, 100)
    cols = [(235, 64, 52), (255, 140, 30), (251, 188, 5), (67, 176, 71), (0, 150, 136),
            (66, 133, 244), (63, 81, 181), (156, 39, 176), (240, 98, 146), (121, 85, 72)]
    c = cols[(n - 1) % len(cols)]
    p.circ(50, 50, 44, c)
    p.text(50, 52, str(n), 46 if n < 10 else 38, WHITE)
    return p.done()


DRAWINGS = {
    "tom": draw_tom, "amy": draw_amy, "ben": draw_ben, "mum": draw_mum, "dad": draw_dad,
    "grandma": draw_grandma, "missbell": draw_missbell, "mrlee": draw_mrlee,
    "cat": draw_cat, "dog": draw_dog, "bird": draw_bird, "fish": draw_fish, "rabbit": draw_rabbit,
    "duck": draw_duck, "cow": draw_cow, "pig": draw_pig, "sheep": draw_sheep, "lion": draw_lion,
    "elephant": draw_elephant, "monkey": draw_monkey, "giraffe": draw_giraffe, "bear": draw_bear,
    "frog": draw_frog, "teddy": draw_teddy,
    "apple": draw_apple, "banana": draw_banana, "orange": draw_orange, "grapes": draw_grapes,
    "bread": draw_bread, "egg": draw_egg, "milk": draw_milk, "juice": draw_juice, "water": draw_water,
    "rice": draw_rice, "cheese": draw_cheese, "cookie": draw_cookie, "carrot": draw_carrot,
    "sandwich": draw_sandwich, "cake": draw_cake,
    "pen": draw_pen, "pencil": draw_pencil, "book": draw_book, "bag": draw_bag, "ruler": draw_ruler,
    "ball": draw_ball, "balloon": draw_balloon, "kite": draw_kite, "doll": draw_doll, "car": draw_car,
    "box": draw_box, "chair": draw_chair, "desk": draw_desk, "bed": draw_bed, "clock": draw_clock,
    "sun": draw_sun, "cloud": draw_cloud, "rain": draw_rain, "snow": draw_snow, "star": draw_star,
    "moon": draw_moon, "rainbow": draw_rainbow, "tree": draw_tree, "flower": draw_flower,
    "house": draw_house, "umbrella": draw_umbrella, "hat": draw_hat, "coat": draw_coat,
    "shoes": draw_shoes,
}

# Things whose main colour a course may choose ("red ball", "blue balloon").
COLOURABLE = {"ball", "balloon", "kite", "car", "book", "apple", "flower", "star", "fish", "bird"}

# Which sprite sheet a drawing lives on.
PEOPLE = {"tom", "amy", "ben", "mum", "dad", "grandma", "missbell", "mrlee", "doll"}
ANIMALS = {"cat", "dog", "bird", "fish", "rabbit", "duck", "cow", "pig", "sheep", "lion", "elephant",
           "monkey", "giraffe", "bear", "frog", "teddy"}
FOOD = {"apple", "banana", "orange", "grapes", "bread", "egg", "milk", "juice", "water", "rice", "cheese",
        "cookie", "carrot", "sandwich", "cake"}

# Where a thing belongs in a scene and how tall it is, as a share of the scene height.
SKY = {"sun", "moon", "cloud", "rain", "snow", "star", "bird", "kite", "rainbow", "balloon"}
HEIGHT = {
    "tom": 0.55, "amy": 0.55, "ben": 0.3, "mum": 0.72, "dad": 0.76, "grandma": 0.68, "missbell": 0.72,
    "mrlee": 0.74, "doll": 0.3, "elephant": 0.5, "giraffe": 0.75, "cow": 0.38, "lion": 0.4, "bear": 0.42,
    "monkey": 0.42, "tree": 0.7, "house": 0.55, "bed": 0.32, "desk": 0.3, "chair": 0.34, "rainbow": 0.35,
    "sun": 0.3, "moon": 0.28, "cloud": 0.22, "rain": 0.3, "star": 0.15, "balloon": 0.4, "kite": 0.34,
}
DEFAULT_HEIGHT = 0.24


def sheet_of(base):
    if base in PEOPLE:
        return "people"
    if base in ANIMALS:
        return "animals"
    if base in FOOD:
        return "food"
    return "things"


def render(base, colour=None, number=None):
    """Draws one thing; colour is a name from COLOURS for colourable things."""
    if base == "number":
        return draw_number(number)
    fn = DRAWINGS[base]
    if colour:
        return fn(COLOURS[colour])
    return fn()
