#!/usr/bin/env python3
"""Draws a rough picture of a book page, for authors checking a layout without the reader.

    python3 tools/preview_page.py book 12 /tmp/page12.png

It understands what the book maker writes (panels, pictures, sprite frames,
labels, text buttons, the sentence panel at the page centre) and adds the
reader's control bar. It is a preview, not the reader: fonts and details differ.
"""

import json
import os
import plistlib
import re
import sys
from pathlib import Path

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

FONT = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"


def nums(s):
    return [int(float(v)) for v in re.findall(r"-?[\d.]+", s)]


class Preview:
    def __init__(self, book, doc_path):
        self.book = Path(book)
        self.doc_path = doc_path
        self.dir = (self.book / doc_path).parent
        self.doc = json.loads((self.book / doc_path).read_text())
        self.legacy = self.doc.get("version", "0") < "0.2.5.0"
        self.frames = {}
        for t in self.doc.get("textures", []):
            pl = plistlib.loads((self.dir / t).read_bytes())
            tex = Image.open(self.dir / t).convert("RGBA") if False else Image.open(
                (self.dir / t).parent / pl["metadata"]["textureFileName"]).convert("RGBA")
            for name, f in pl["frames"].items():
                x, y, w, h = nums(f["frame"])
                if f["rotated"]:
                    img = tex.crop((x, y, x + h, y + w)).transpose(Image.ROTATE_90)
                else:
                    img = tex.crop((x, y, x + w, y + h))
                self.frames[name] = img
        self.canvas = Image.new("RGBA", (640, 960), (0, 0, 0, 255))

    def image(self, opts, key):
        if self.legacy:
            path = opts.get(key, "")
            kind = 1 if opts.get("useMergedTexture") else 0
        else:
            d = opts.get(key + "Data") or {}
            path, kind = d.get("path", ""), d.get("resourceType", 0)
        if not path:
            return None
        if kind == 1:
            return self.frames[path]
        return Image.open(self.dir / path).convert("RGBA")

    def put(self, img, x, y, ax, ay, sx=1.0, sy=1.0, colour=(255, 255, 255), flip=False):
        if flip:
            img = img.transpose(Image.FLIP_LEFT_RIGHT)
        if colour != (255, 255, 255):
            r, g, b, a = img.split()
            r = r.point(lambda v: v * colour[0] // 255)
            g = g.point(lambda v: v * colour[1] // 255)
            b = b.point(lambda v: v * colour[2] // 255)
            img = Image.merge("RGBA", (r, g, b, a))
        w, h = max(1, round(img.width * abs(sx))), max(1, round(img.height * abs(sy)))
        img = img.resize((w, h), Image.LANCZOS)
        left = round(x - w * ax)
        top = round(960 - (y + h * (1 - ay)))
        layer = Image.new("RGBA", self.canvas.size, (0, 0, 0, 0))
        layer.paste(img, (left, top))
        self.canvas.alpha_composite(layer)

    def text(self, s, x, y, size, colour):
        d = ImageDraw.Draw(self.canvas)
        d.text((x, 960 - y), s, font=ImageFont.truetype(FONT, size), fill=tuple(colour), anchor="mm")

    def walk(self, node, ox, oy, page):
        cls = node.get("classname")
        o = node.get("options", {})
        x, y = ox + o.get("x", 0), oy + o.get("y", 0)
        col = (o.get("colorR", 255), o.get("colorG", 255), o.get("colorB", 255))
        sx, sy = o.get("scaleX", 1.0), o.get("scaleY", 1.0)
        ax, ay = o.get("anchorPointX", 0.5), o.get("anchorPointY", 0.5)
        if cls == "Panel":
            w, h = o.get("width", 0), o.get("height", 0)
            if o.get("colorType") == 1:
                c = (o["bgColorR"], o["bgColorG"], o["bgColorB"], o.get("bgColorOpacity", 255))
                ImageDraw.Draw(self.canvas).rectangle([x, 960 - y - h, x + w, 960 - y], fill=c)
            bg = self.image(o, "backGroundImage")
            if bg:
                self.put(bg, x + w / 2, y + h / 2, 0.5, 0.5)
        elif cls == "ImageView":
            img = self.image(o, "fileName")
            if img:
                self.put(img, x, y, ax, ay, sx, sy, col, o.get("flipX", False))
        elif cls == "Label":
            self.text(o.get("text", ""), x, y, o.get("fontSize", 20), col)
        elif cls == "TextButton":
            w, h = o.get("width", 0), o.get("height", 0)
            if 70 <= page <= 76 or page == 0:
                img = self.image(o, "normal")
            else:
                img = Image.open(self.book / "Images" / "bnren1.png").convert("RGBA")
            if o.get("scale9Enable"):
                img = img.resize((round(w), round(h)), Image.LANCZOS)
            self.put(img, x, y, ax, ay, sx, sy)
            self.text(o.get("text", ""), x, y, round(o.get("fontSize", 20) * sx),
                      (o.get("textColorR", 255), o.get("textColorG", 255), o.get("textColorB", 255)))
        for child in node.get("children", []):
            if cls == "Panel":
                self.walk(child, x, y, page)
            else:
                self.walk(child, x, y, page)

    def render(self, page):
        self.walk(self.doc["widgetTree"], 0, 0, page)
        if page:
            img = lambda n: Image.open(self.book / "Images" / n).convert("RGBA")
            pw = img("play_btn.png").width
            ph = img("play_btn.png").height
            self.put(img("up1.png"), 320 - pw / 2, ph / 2 + 6, 0.5, 0.5)
            self.put(img("next1.png"), 320 + pw / 2, ph / 2 + 6, 0.5, 0.5)
            self.put(img("play_btn.png"), 580, 40, 0.5, 0.5)
            self.text("Home", 60, 30, 45, (0, 0, 255))
            self.text("Tap to listen", 320, 40, 22, (0, 0, 255))
        return self.canvas


def main():
    book, page, out = sys.argv[1], sys.argv[2], sys.argv[3]
    if page == "settings":
        Preview(book, "3age/pageset.json").render(0).save(out)
    else:
        Preview(book, "lessonbundle/lessonbundle_%s.json" % page).render(int(page)).save(out)


if __name__ == "__main__":
    main()
