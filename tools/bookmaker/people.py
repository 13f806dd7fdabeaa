"""The book's people: the figure maker (person) and the characters drawn with it."""

from .artbase import SKIN, SKIN_DARK, SKIN_TAN, INK, SS, WHITE, Pen, _face, darker


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
