"""The book's animals (and the teddy, drawn as a bear)."""

from .artbase import INK, PINK, WHITE, Pen, _legs, darker, lighter


def _eyes(p, x1, x2, y, r):
    for x in (x1, x2):
        p.circ(x, y, r, INK, False)
        p.circ(x + r * 0.3, y - r * 0.3, r * 0.35, WHITE, False)


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
