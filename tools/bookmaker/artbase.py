"""The drawing pen, the palette and the shape helpers the drawing modules share."""

from PIL import Image, ImageDraw, ImageFont

# Every drawing is made from simple shapes at four times its size and scaled
# down, so edges are smooth and the result is the same on every run.
SS = 4  # supersampling factor

SKIN = (255, 214, 170)
SKIN_TAN = (222, 172, 125)
SKIN_DARK = (160, 106, 70)
INK = (60, 50, 60)
WHITE = (255, 255, 255)
PINK = (255, 160, 170)

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


def _face(p, cx, cy, r, happy=True):
    p.circ(cx - r * 0.38, cy - r * 0.05, r * 0.11, INK, False)
    p.circ(cx + r * 0.38, cy - r * 0.05, r * 0.11, INK, False)
    p.circ(cx - r * 0.34, cy - r * 0.09, r * 0.04, WHITE, False)
    p.circ(cx + r * 0.42, cy - r * 0.09, r * 0.04, WHITE, False)
    p.ell(cx - r * 0.62, cy + r * 0.28, r * 0.16, r * 0.1, PINK, False)
    p.ell(cx + r * 0.62, cy + r * 0.28, r * 0.16, r * 0.1, PINK, False)
    p.arc(cx, cy + r * 0.2, r * 0.3, r * 0.22, 20, 160, INK, r * 0.07)



def _legs(p, xs, y0, y1, c, w=12):
    for x in xs:
        p.rect(x - w / 2, y0, x + w / 2, y1, c, r=w / 2)
