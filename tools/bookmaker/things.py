"""The book's things: food, school things, toys, furniture, sky and nature, clothes, numbers."""

from .artbase import INK, SKIN, SS, WHITE, Pen, _face, _legs, darker, lighter
from .people import person


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
