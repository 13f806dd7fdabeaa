"""Backgrounds of the page pictures: a place drawn in flat colours.

Each returns an RGBA image of the asked size and the height of its ground line
(pixels from the top) on which people and things stand.
"""

import math

from .art import Pen, darker, lighter, WHITE

SKY = (170, 218, 255)
GRASS = (140, 205, 100)


def _sky(p, w, h, top=SKY, bottom=(215, 238, 255)):
    steps = 24
    for i in range(steps):
        t = i / (steps - 1)
        c = tuple(int(top[k] + (bottom[k] - top[k]) * t) for k in range(3))
        p.rect(0, h * i / steps, w, h * (i + 1) / steps + 1, c, outline=False)


def _hills(p, w, h, ground, c):
    p.ell(w * 0.2, ground + 10, w * 0.45, h * 0.16, lighter(c, 0.2), False)
    p.ell(w * 0.85, ground + 14, w * 0.4, h * 0.13, lighter(c, 0.1), False)
    p.rect(0, ground, w, h, c, outline=False)


def _cloud(p, x, y, s):
    for dx, dy, r in [(-0.9, 0.1, 0.55), (0, -0.25, 0.8), (0.9, 0.1, 0.55)]:
        p.circ(x + dx * s, y + dy * s, r * s, WHITE, False)
    p.rect(x - 1.3 * s, y, x + 1.3 * s, y + 0.5 * s, WHITE, r=0.25 * s, outline=False)


def _wall(p, w, h, ground, wall, floor):
    p.rect(0, 0, w, ground, wall, outline=False)
    for x in range(0, w, 40):
        p.rect(x, 0, x + 20, ground, lighter(wall, 0.18), outline=False)
    p.rect(0, ground, w, h, floor, outline=False)
    p.rect(0, ground - 8, w, ground, darker(wall, 0.85), outline=False)


def _window(p, x, y, ww, wh, sky=SKY):
    o, p.ow = p.ow, 6
    p.rect(x, y, x + ww, y + wh, sky, r=6, outline=WHITE)
    p.ow = o
    p.line([(x + ww / 2, y), (x + ww / 2, y + wh)], WHITE, 5)
    p.line([(x, y + wh / 2), (x + ww, y + wh / 2)], WHITE, 5)


def park(w, h):
    p = Pen(w, h)
    g = int(h * 0.7)
    _sky(p, w, h)
    _cloud(p, w * 0.25, h * 0.18, h * 0.07)
    _cloud(p, w * 0.72, h * 0.12, h * 0.05)
    _hills(p, w, h, g, GRASS)
    p.ell(w * 0.5, h * 0.93, w * 0.3, h * 0.05, (225, 200, 150), False)
    return p.done(), g


def garden(w, h):
    p = Pen(w, h)
    g = int(h * 0.72)
    _sky(p, w, h)
    _cloud(p, w * 0.8, h * 0.16, h * 0.06)
    p.rect(0, g - h * 0.14, w, g, (250, 245, 235), outline=False)
    for x in range(6, w, 28):
        p.rect(x, g - h * 0.18, x + 16, g, (255, 250, 240), r=4, outline=(215, 200, 180))
    p.rect(0, g, w, h, GRASS, outline=False)
    return p.done(), g


def zoo(w, h):
    p = Pen(w, h)
    g = int(h * 0.72)
    _sky(p, w, h, (255, 225, 170), (255, 245, 215))
    _cloud(p, w * 0.3, h * 0.15, h * 0.05)
    _hills(p, w, h, g, (200, 190, 110))
    for x in range(0, w + 1, 36):
        p.rect(x, g - h * 0.12, x + 8, g + 6, (150, 110, 70), r=3, outline=False)
    p.rect(0, g - h * 0.1, w, g - h * 0.08, (150, 110, 70), outline=False)
    return p.done(), g


def farm(w, h):
    p = Pen(w, h)
    g = int(h * 0.7)
    _sky(p, w, h)
    _cloud(p, w * 0.2, h * 0.14, h * 0.05)
    _hills(p, w, h, g, (160, 210, 90))
    bx, bw = w * 0.74, w * 0.2
    p.rect(bx, g - h * 0.32, bx + bw, g, (200, 60, 50), r=4)
    p.poly([(bx - 8, g - h * 0.31), (bx + bw / 2, g - h * 0.46), (bx + bw + 8, g - h * 0.31)], (150, 50, 45))
    p.rect(bx + bw * 0.3, g - h * 0.16, bx + bw * 0.7, g, WHITE, r=3)
    for x in range(0, int(w * 0.6), 30):
        p.rect(x, g - h * 0.08, x + 6, g + 4, WHITE, outline=False)
    p.rect(0, g - h * 0.06, w * 0.6, g - h * 0.045, WHITE, outline=False)
    return p.done(), g


def classroom(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _wall(p, w, h, g, (255, 240, 200), (205, 170, 125))
    p.rect(w * 0.22, h * 0.1, w * 0.78, h * 0.42, (40, 90, 70), r=8, outline=(170, 120, 80))
    p.arc(w * 0.4, h * 0.26, w * 0.05, h * 0.05, 200, 340, WHITE, 2.5)
    p.text(w * 0.55, h * 0.26, "ABC 123", h * 0.07, (235, 245, 235))
    _window(p, w * 0.03, h * 0.12, w * 0.14, h * 0.26)
    _window(p, w * 0.83, h * 0.12, w * 0.14, h * 0.26)
    return p.done(), g


def home(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _wall(p, w, h, g, (255, 225, 215), (190, 150, 110))
    _window(p, w * 0.38, h * 0.1, w * 0.24, h * 0.3)
    p.rect(w * 0.06, h * 0.14, w * 0.2, h * 0.3, (255, 250, 240), r=4, outline=(170, 120, 80))
    p.circ(w * 0.13, h * 0.22, h * 0.04, (240, 150, 80), False)
    p.ell(w * 0.5, h * 0.9, w * 0.3, h * 0.06, (235, 110, 100), False)
    return p.done(), g


def kitchen(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    p.rect(0, 0, w, g, (230, 245, 240), outline=False)
    for y in range(0, g, 30):
        for x in range(0 if (y // 30) % 2 else 15, w, 30):
            p.rect(x + 2, y + 2, x + 26, y + 26, (210, 235, 228), r=3, outline=False)
    p.rect(0, g, w, h, (175, 140, 110), outline=False)
    _window(p, w * 0.4, h * 0.08, w * 0.2, h * 0.24)
    p.rect(w * 0.75, h * 0.1, w * 0.95, h * 0.32, (255, 255, 255), r=6, outline=(170, 190, 190))
    return p.done(), g


def bedroom(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _wall(p, w, h, g, (220, 225, 255), (200, 160, 120))
    _window(p, w * 0.7, h * 0.1, w * 0.2, h * 0.28)
    for i, x in enumerate((0.1, 0.2, 0.3)):
        p.circ(w * x, h * (0.16 + 0.04 * (i % 2)), h * 0.02, (255, 220, 90), False)
    p.rect(w * 0.35, h * 0.86, w * 0.65, h * 0.96, (150, 200, 255), r=10, outline=False)
    return p.done(), g


def shop(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _wall(p, w, h, g, (255, 245, 225), (180, 180, 190))
    for i in range(8):
        c = (235, 64, 52) if i % 2 == 0 else WHITE
        p.rect(w * i / 8, 0, w * (i + 1) / 8, h * 0.1, c, outline=False)
        p.circ(w * (i + 0.5) / 8, h * 0.1, w / 16, c, False)
    p.rect(w * 0.05, h * 0.3, w * 0.95, h * 0.34, (170, 120, 80), r=3, outline=False)
    p.text(w * 0.5, h * 0.22, "FRUIT & FOOD", h * 0.07, (200, 60, 50))
    p.rect(w * 0.02, g - h * 0.2, w * 0.98, g, (190, 140, 90), r=6)
    return p.done(), g


def night(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _sky(p, w, h, (30, 40, 90), (70, 70, 140))
    for i in range(30):
        x = (i * 97) % w
        y = (i * 53) % int(g * 0.9)
        p.circ(x, y, 1.6 + (i % 3) * 0.6, (255, 250, 200), False)
    p.rect(0, g, w, h, (60, 70, 110), outline=False)
    p.rect(w * 0.05, g - h * 0.2, w * 0.3, g, (90, 110, 170), r=8, outline=False)
    return p.done(), g


def rain(w, h):
    p = Pen(w, h)
    g = int(h * 0.72)
    _sky(p, w, h, (160, 170, 190), (200, 205, 215))
    _cloud(p, w * 0.25, h * 0.14, h * 0.07)
    _cloud(p, w * 0.7, h * 0.12, h * 0.08)
    for i in range(40):
        x = (i * 71) % w
        y = h * 0.25 + (i * 37) % int(h * 0.45)
        p.line([(x, y), (x - 4, y + 12)], (110, 150, 220), 2)
    _hills(p, w, h, g, (120, 180, 100))
    return p.done(), g


def snow(w, h):
    p = Pen(w, h)
    g = int(h * 0.72)
    _sky(p, w, h, (190, 210, 235), (230, 240, 250))
    for i in range(40):
        p.circ((i * 83) % w, (i * 41) % g, 3, WHITE, False)
    _hills(p, w, h, g, (245, 248, 255))
    return p.done(), g


def stage(w, h):
    p = Pen(w, h)
    g = int(h * 0.76)
    p.rect(0, 0, w, h, (120, 40, 80), outline=False)
    p.rect(w * 0.12, 0, w * 0.88, g, (255, 235, 180), outline=False)
    for i in range(6):
        p.circ(w * (0.2 + 0.12 * i), h * 0.12, h * 0.03, (255, 200, 80), False)
    for side in (0, 1):
        x0 = 0 if side == 0 else w * 0.8
        p.rect(x0, 0, x0 + w * 0.2, g, (200, 40, 60), outline=False)
        for k in range(4):
            p.line([(x0 + w * 0.03 + k * w * 0.045, 0), (x0 + w * 0.03 + k * w * 0.045, g)],
                   (170, 30, 50), 3)
    p.rect(0, 0, w, h * 0.06, (170, 30, 50), outline=False)
    p.rect(0, g, w, h, (170, 110, 70), outline=False)
    for i in range(10):
        x = w * (i + 0.5) / 10
        p.arc(x, h * 0.2, w * 0.02, h * 0.02, 0, 360, (255, 255, 255), 1)
    return p.done(), g


def party(w, h):
    p = Pen(w, h)
    g = int(h * 0.74)
    _wall(p, w, h, g, (255, 240, 250), (200, 160, 120))
    cols = [(235, 64, 52), (66, 133, 244), (251, 200, 20), (67, 176, 71), (156, 80, 182)]
    for i in range(12):
        x = w * (i + 0.5) / 12
        y = h * 0.06 + math.sin(i / 11 * math.pi) * h * 0.08
        p.poly([(x - 14, y), (x + 14, y), (x, y + 26)], cols[i % 5], False)
    p.line([(0, h * 0.06)] + [(w * (i + 0.5) / 12, h * 0.06 + math.sin(i / 11 * math.pi) * h * 0.08)
                              for i in range(12)] + [(w, h * 0.06)], (120, 120, 140), 2)
    p.text(w * 0.5, h * 0.3, "HOORAY!", h * 0.1, (240, 98, 146))
    return p.done(), g


def plain(w, h):
    p = Pen(w, h)
    g = int(h * 0.8)
    p.rect(0, 0, w, h, (255, 253, 244), r=24, outline=False)
    for i in range(14):
        x = (i * 131) % w
        y = (i * 71) % h
        p.circ(x, y, 6 + (i % 4) * 3, (255, 238, 200), False)
    p.ell(w * 0.5, g + 8, w * 0.42, h * 0.05, (245, 232, 205), False)
    return p.done(), g


PLACES = {
    "park": park, "garden": garden, "zoo": zoo, "farm": farm, "classroom": classroom, "home": home,
    "kitchen": kitchen, "bedroom": bedroom, "shop": shop, "night": night, "rain": rain, "snow": snow,
    "stage": stage, "party": party, "plain": plain,
}


def draw_place(name, w, h):
    img, ground = PLACES[name](w, h)
    # Rounded corners make the picture sit on the page like a card.
    from PIL import Image, ImageChops, ImageDraw
    mask = Image.new("L", (w * 4, h * 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w * 4 - 1, h * 4 - 1], radius=80, fill=255)
    mask = mask.resize((w, h), Image.LANCZOS)
    img.putalpha(ImageChops.multiply(img.getchannel("A"), mask))
    return img, ground
