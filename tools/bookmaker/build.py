"""Turns a parsed course into the book folder the reader loads."""

import json
import math
import plistlib
import shutil
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from PIL import Image, ImageFont

from . import art, audio, captions, names, scenes, sheets, ui
from . import widgets as W

FONT_FILE = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
FONT_LICENSE = "/usr/share/doc/fonts-liberation2/copyright"

CENTRE = (320, 480)
BUTTON_H = 60
BUTTON_GAP = 10
BIG_SCALE = 1.5
SCENE_W = 600
TOP = 872      # below the title ribbon
BOTTOM = 104   # above the reader's control bar
CAPTION_MARGIN = 4  # air between a shown caption and the next button
MIN_PICTURE = 200   # less room than this in the middle puts short sentences in two columns
COLUMN_X = 160      # the two columns' centres lie this far left and right of the middle
COLUMN_W = 300      # widest button (and caption) that fits a column
LEAST_PICTURE = 100 # a page with less room than this for its picture is refused
TEXT_DARK = (45, 45, 70)

# Interface texts of String.xml: the reader's controls, the main page and the table of contents.
INTERFACE_TEXTS = {
    "main_page": "Home",
    "setmenu_set": "Settings",
    "bntext": "Tap to listen",
    "wordname": "Word list",
    "page_front": "Page",
    "page_after": "\u00bb",
}

_fonts = {}


def text_width(text, size):
    f = _fonts.get(size)
    if f is None:
        f = _fonts[size] = ImageFont.truetype(FONT_FILE, size)
    return f.getlength(text)


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


class Thing:
    """One item of a picture line: 'Tom', 'red ball', '3 apple', 'number 5'."""

    def __init__(self, spec, course):
        self.count = 1
        self.colour = None
        self.number = None
        words = spec.split()
        if spec in course.characters:
            words = [course.characters[spec].picture]
        if words[0].isdigit():
            self.count = int(words[0])
            words = words[1:]
        if words[0] in art.COLOURS and len(words) > 1:
            self.colour = words[0]
            words = words[1:]
        self.base = words[0]
        if self.base == "number":
            self.number = int(words[1])
        if self.base not in art.DRAWINGS and self.base != "number":
            raise ValueError("no drawing called '%s'" % spec)

    @property
    def frame(self):
        if self.base == "number":
            return "number_%d.png" % self.number
        if self.colour:
            return "%s_%s.png" % (self.base, self.colour)
        return self.base + ".png"

    @property
    def sheet(self):
        return "things" if self.base == "number" else art.sheet_of(self.base)

    def draw(self):
        return art.render(self.base, self.colour, self.number)


def check_fits(page, problem):
    if problem:
        raise ValueError("page %d: its sentences and captions do not fit on the page (%s); shorten some "
                         "captions or sentences" % (page.number, problem))


class BookBuilder:
    def __init__(self, course, course_dir, out, with_audio=True, jobs=2, only_pages=None):
        self.course = course
        self.course_dir = Path(course_dir)
        self.out = Path(out)
        self.with_audio = with_audio
        self.jobs = jobs
        self.only_pages = only_pages
        self.frames = {}  # frame name -> (sheet, Thing)
        self.frame_sizes = {}

    # ------------------------------------------------------------ driver
    def build(self):
        out = self.out
        out.mkdir(parents=True, exist_ok=True)
        for sub in ("lessonbundle", "Images", "3age", "fonts"):
            if (out / sub).exists():
                shutil.rmtree(out / sub)
            (out / sub).mkdir()
        (out / "lessonbundle" / "pictures").mkdir()
        pages = [p for p in self.course.pages() if not self.only_pages or p.number in self.only_pages]
        self.collect_frames(pages)
        self.write_sheets()
        ui.write_images(out / "Images")
        ui.write_settings(out / "3age")
        for p in pages:
            self.write_page(p)
        self.write_tables()
        shutil.copyfile(FONT_FILE, out / "fonts" / "LiberationSans-Regular.ttf")
        shutil.copyfile(FONT_LICENSE, out / "fonts" / "LICENSE-LiberationSans.txt")
        (out / "README.txt").write_text(
            "This book is made by tools/make_book.py from tools/course/course.txt.\n"
            "Change the course file and run the tool again instead of editing these files.\n")
        if self.with_audio:
            self.write_recordings(pages)

    # ------------------------------------------------------------ sprite sheets
    def collect_frames(self, pages):
        for p in pages:
            for spec in p.picture_items:
                t = Thing(spec, self.course)
                self.frames.setdefault(t.frame, t)
            for s in p.sentences:
                if s.icon:
                    t = Thing(s.icon, self.course)
                    self.frames.setdefault(t.frame, t)

    def write_sheets(self):
        folder = self.out / "lessonbundle"
        by_sheet = {}
        for name in sorted(self.frames):
            t = self.frames[name]
            by_sheet.setdefault(t.sheet, []).append((name, t.draw()))
        for sheet_name, frames in sorted(by_sheet.items()):
            self.frame_sizes.update(sheets.write(folder, sheet_name, frames))
        self.frame_sizes.update(sheets.write(folder, "ui", ui.sheet_frames()))

    # ------------------------------------------------------------ pages
    def write_page(self, page):
        doc = W.Doc(page.legacy)
        unit_colour = page.unit.colour
        textures = ["ui.plist"]
        self.page_sheets = set()
        children = []
        animation_nodes = []

        # Title ribbon, tinted with the unit's colour.
        title_colour = (255, 255, 255) if luminance(unit_colour) < 170 else TEXT_DARK
        children.append(W.image_view(doc, "ribbon", 320, 916, "ribbon.png", W.FRAME, colour=unit_colour, z=1))
        size = 34
        while size > 20 and text_width(page.title, size) > 470:
            size -= 2
        children.append(W.label(doc, "title", 320, 916, page.title, size, title_colour, z=2))
        children.append(W.label(doc, "pagenumber", 584, 916, str(page.number), 22, title_colour, z=2))

        # Sentence buttons and the space left for the picture.
        if page.words:
            buttons, (x0, y0, w, h) = self.word_buttons(doc, page)
            # The hint heads the middle of the page; the picture fills the rest of it.
            # (Tall things, like a tree, may stand a little above the picture's top edge.)
            extra = [W.label(doc, "hint", 320, round(y0 + h - 16), "Tap a word to hear it.", 24, (120, 120, 140))]
            scene_rect = (x0, y0, w, h - 52)
        else:
            buttons, scene_rect = self.sentence_buttons(doc, page)
            extra = []

        # Picture: a place drawn as a file, with the people and things on top from sprite sheets
        # (or drawn into the file when the course asks for the picture as a background).
        scene_children, used_sheets, anim = self.picture(doc, page, scene_rect)
        children.extend(scene_children)
        children.extend(extra)
        for s in sorted(used_sheets | self.page_sheets):
            if s + ".plist" not in textures:
                textures.append(s + ".plist")
        if anim:
            animation_nodes = anim

        children.append(W.panel(doc, "sentences", CENTRE[0], CENTRE[1], 0, 0, children=buttons, z=5))
        root = W.panel(doc, "page%d" % page.number, 0, 0, 640, 960, bg=art.lighter(unit_colour, 0.88),
                       children=children)
        animation = None
        if animation_nodes:
            kind, thing = page.animation.split(None, 1)
            animation = {"actionlist": [{
                "name": "%s_%s" % (kind, thing.replace(" ", "_")),
                "loop": True,
                "unittime": 0.1,
                "actionnodelist": animation_nodes,
            }]}
        d = W.document(doc, root, textures, animation)
        path = self.out / names.page_document(page.number)
        path.write_text(json.dumps(d, indent=1, sort_keys=False, ensure_ascii=False) + "\n", encoding="utf-8")

    def sentence_buttons(self, doc, page):
        n = len(page.sentences)
        speakers = []
        for s in page.sentences:
            if s.speaker and s.speaker not in speakers:
                speakers.append(s.speaker)
        texture = ui.SENTENCE_BUTTON
        items = []
        for i, s in enumerate(page.sentences):
            scale = BIG_SCALE if page.big == i + 1 else 1.0
            font = 26
            while font > 18 and text_width(s.text, font) > 540:
                font -= 1
            w = max(180, min(600, math.ceil(text_width(s.text, font)) + 56))
            items.append(dict(index=i, sentence=s, scale=scale, font=font, w=w))

        # One column; pages whose captions leave too little room for the picture put their
        # (short) sentences in two columns instead, read left to right, row by row.
        rows = [[it] for it in items]
        ys, middle, problem = self.stack_rows(rows, texture, BUTTON_H)
        two_columns = all(it["w"] * it["scale"] <= COLUMN_W for it in items)
        if middle[1] - middle[0] < MIN_PICTURE and two_columns:
            rows = [items[k:k + 2] for k in range(0, n, 2)]
            ys, middle, problem = self.stack_rows(rows, texture, BUTTON_H)
            for row in rows:
                for c, it in enumerate(row):
                    it["x"] = -COLUMN_X if c == 0 else COLUMN_X
        else:
            for it in items:
                x = 0
                if len(speakers) >= 2 and it["sentence"].speaker in speakers[:2]:
                    shift = min(70, 310 - it["w"] * it["scale"] / 2)
                    x = -shift if it["sentence"].speaker == speakers[0] else shift
                it["x"] = x
        check_fits(page, problem)
        buttons = []
        for row, cy in zip(rows, ys):
            for it in row:
                s = it["sentence"]
                buttons.append(W.text_button(
                    doc, names.button_name(page.number, it["index"] + 1), round(it["x"]), round(cy - CENTRE[1]),
                    it["w"], BUTTON_H, s.text, "btn_sentence_n.png", "btn_sentence_p.png", W.FRAME, it["font"],
                    TEXT_DARK, scale=it["scale"] if it["scale"] != 1.0 else None, scale9=(20, 18, 260, 24)))
        low, high = middle
        h = min(460, high - low)
        mid = (low + high) / 2
        return buttons, (20, mid - h / 2, SCENE_W, h)

    def stack_rows(self, rows, texture, row_h, min_middle=LEAST_PICTURE):
        """Places rows of buttons: the first half from the top down, the rest from the bottom up.

        Each gap between two rows keeps room for the captions that open into it (the reader puts
        a caption below a button in the upper half and above one in the lower half); the space
        left in the middle, for the picture, keeps room for the captions that open into it.
        Returns each row's centre y, the (low, high) limits of the middle space and what does
        not fit (None when everything does).
        """
        def height(row):
            return max(row_h * it["scale"] for it in row)

        def down(row):
            return max(captions.reach(it["sentence"].caption, texture, it["scale"], True) for it in row)

        def up(row):
            return max(captions.reach(it["sentence"].caption, texture, it["scale"], False) for it in row)

        count = len(rows)
        upper = count // 2
        ys = [0.0] * count
        top = TOP
        for r in range(upper):
            h = height(rows[r])
            ys[r] = top - h / 2
            top -= h
            if r < upper - 1:
                top -= max(BUTTON_GAP, down(rows[r]) + CAPTION_MARGIN)
        bottom = BOTTOM
        for r in range(count - 1, upper - 1, -1):
            h = height(rows[r])
            ys[r] = bottom + h / 2
            bottom += h
            if r > upper:
                bottom += max(BUTTON_GAP, up(rows[r]) + CAPTION_MARGIN)
        # The middle must hold the caption of the last upper row and that of the first lower row.
        need = max([BUTTON_GAP] + [down(rows[upper - 1]) + CAPTION_MARGIN] * (upper > 0)
                   + [up(rows[upper]) + CAPTION_MARGIN] * (upper < count))
        problem = None
        need = max(need, min_middle + 8)
        if top - bottom < need:
            problem = "the captions and the picture need %d more pixels" % math.ceil(need - (top - bottom))
        elif any(ys[r] <= CENTRE[1] for r in range(upper)) or any(ys[r] > CENTRE[1] for r in range(upper, count)):
            # The reader would open the caption the other way, over a neighbour.
            problem = "a sentence would cross the middle of the page"
        return ys, (bottom + 4, top - 4), problem

    def word_buttons(self, doc, page):
        w, h = self.frame_sizes["btn_word_n.png"]
        items = [dict(index=i, sentence=s, scale=1.0) for i, s in enumerate(page.sentences)]
        rows = [items[k:k + 2] for k in range(0, len(items), 2)]
        # The hint line and a tree's top take 52 pixels above the picture (write_page).
        ys, middle, problem = self.stack_rows(rows, (w, h), h, LEAST_PICTURE + 52)
        check_fits(page, problem)
        buttons = []
        for row, cy in zip(rows, ys):
            for c, it in enumerate(row):
                s = it["sentence"]
                x = -145 if c == 0 else 145
                y = round(cy - CENTRE[1])
                buttons.append(W.text_button(
                    doc, names.button_name(page.number, it["index"] + 1), x, y, w, h, s.text, "btn_word_n.png",
                    "btn_word_p.png", W.FRAME, 28, (30, 50, 120), z=1))
                if s.icon:
                    t = Thing(s.icon, self.course)
                    self.page_sheets.add(t.sheet)
                    fw, fh = self.frame_sizes[t.frame]
                    sc = round(min(46 / fw, 46 / fh), 3)
                    buttons.append(W.image_view(doc, "icon%d" % (it["index"] + 1), x - 135 + 32, y, t.frame,
                                                W.FRAME, scale=(sc, sc), z=2))
        low, high = middle
        return buttons, (20, low, SCENE_W, min(460, high - low))

    def picture(self, doc, page, rect):
        x0, y0, w, h = rect
        w, h = int(w), int(h)
        img, ground = scenes.draw_place(page.picture_place, w, h)
        things = [Thing(spec, self.course) for spec in page.picture_items]
        layout = self.arrange(things, w, h, ground)
        used = set()
        children = []
        anim_nodes = []
        anim_kind, anim_thing = (page.animation.split(None, 1) + [""])[:2] if page.animation else ("", "")
        file_name = "pictures/p%d.png" % page.number
        if page.picture_as_background:
            # Everything drawn into one file, shown as the background of a panel.
            for t, fx, fy, sc, anchor in layout:
                spr = t.draw()
                spr = spr.resize((max(1, round(spr.width * sc)), max(1, round(spr.height * sc))), Image.LANCZOS)
                px = round(fx - spr.width * anchor[0])
                py = round((h - fy) - spr.height * (1 - anchor[1]))
                img.alpha_composite(spr, (max(0, min(w - spr.width, px)), max(0, min(h - spr.height, py))))
            img.save(self.out / "lessonbundle" / file_name, optimize=True)
            children.append(W.panel(doc, "picture", x0, round(y0), w, h, bg_image=(file_name, W.FILE), z=0))
            return children, used, None
        img.save(self.out / "lessonbundle" / file_name, optimize=True)
        children.append(W.image_view(doc, "picture", 320, round(y0 + h / 2), file_name, W.FILE, z=0))
        tag = 9001
        for k, (t, fx, fy, sc, anchor) in enumerate(layout):
            used.add(t.sheet)
            px, py = x0 + fx, y0 + fy
            animated = t.base == anim_thing.split()[-1] if anim_thing else False
            view = W.image_view(doc, "%s%d" % (t.base, k + 1), round(px), round(py), t.frame, W.FRAME,
                                anchor=anchor, scale=(sc, sc), z=3 + k, actiontag=tag if animated else None,
                                flip_x=(t.base in art.PEOPLE and px > 320))
            children.append(view)
            if animated:
                half = self.frame_sizes[t.frame][0] * sc / 2
                anim_nodes.append(self.timeline(anim_kind, tag, px, py, sc, k, (x0 + half, x0 + w - half)))
                tag += 1
        return children, used, anim_nodes

    def arrange(self, things, w, h, ground):
        """Places things in the picture: sky things up high, the rest on the ground line.

        Returns (thing, x, y from the bottom, scale, anchor) per copy, in drawing order.
        """
        sky, land = [], []
        for t in things:
            for _ in range(t.count):
                (sky if t.base in art.SKY else land).append(t)
        out = []
        land_slot = w / max(1, len(land))
        # Sky things go over the gaps between the people and things below them.
        gaps = [w * 0.1, w * 0.9] + [land_slot * k for k in range(1, len(land))]
        if len(sky) > len(gaps):
            gaps = [w * (i + 0.5) / len(sky) for i in range(len(sky))]
        sky_x = sorted(gaps[:len(sky)])
        for i, t in enumerate(sky):
            fw, fh = self.frame_sizes[t.frame]
            target = art.HEIGHT.get(t.base, art.DEFAULT_HEIGHT) * h * (1.6 if h < 200 else 1.0)
            room = w / (len(sky) + 1) if len(sky) > 2 else w * 0.2
            sc = round(min(target / fh, room * 1.1 / fw, 1.2, h * 0.4 / fh), 3)
            y = h * 0.84 - (i % 2) * h * 0.06
            y = min(y, h - fh * sc / 2 - 4)
            out.append((t, sky_x[i], y, sc, (0.5, 0.5)))
        for i, t in enumerate(land):
            fw, fh = self.frame_sizes[t.frame]
            target = art.HEIGHT.get(t.base, art.DEFAULT_HEIGHT) * h * (1.6 if h < 200 else 1.0)
            sc = round(min(target / fh, land_slot * 0.92 / fw, 1.3, (h * 0.9) / fh), 3)
            y = (h - ground) + (i % 2) * h * 0.03
            out.append((t, land_slot * (i + 0.5), y, sc, (0.5, 0.0)))
        return out

    def timeline(self, kind, tag, x, y, scale, k, within):
        """The frames of one animation; `within` is the picture's (left, right) for the thing's centre."""
        frames = []
        if kind == "fly":
            # Up to 220 units each way, turning back before it would leave the picture.
            left, right = max(within[0], x - 220), min(within[1], x + 220)
            for fid, fx, dy in ((0, left, 10), (30, x, 40), (60, right, 10), (90, x, -10), (120, left, 10)):
                frames.append({"frameid": fid, "positionx": round(fx), "positiony": round(y + dy)})
        elif kind == "bounce":
            for fid, dy in ((0, 0), (6, 40), (12, 0), (30, 0)):
                frames.append({"frameid": fid, "positionx": round(x), "positiony": round(y + dy)})
        elif kind == "float":
            off = (k % 3) * 4
            for fid, dy, rot in ((0, 0, -4), (20 + off, 24, 4), (40 + 2 * off, 0, -4)):
                frames.append({"frameid": fid, "positionx": round(x), "positiony": round(y + dy), "rotation": rot})
        elif kind == "spin":
            for fid, rot in ((0, 0), (40, 360)):
                frames.append({"frameid": fid, "rotation": rot})
        elif kind == "walk":
            for fid, dx in ((0, 0), (20, 60), (40, 0)):
                frames.append({"frameid": fid, "positionx": round(x + dx), "positiony": round(y)})
        elif kind == "twinkle":
            for fid, op, sc, col in ((0, 255, 1.0, 255), (10 + k * 3, 90, 1.2, 200), (20 + k * 6, 255, 1.0, 255)):
                frames.append({"frameid": fid, "opacity": op, "scalex": round(scale * sc, 3),
                               "scaley": round(scale * sc, 3), "colorr": 255, "colorg": 255, "colorb": col})
        else:
            raise ValueError("unknown animation '%s'" % kind)
        return {"ActionTag": tag, "actionframelist": frames}

    # ------------------------------------------------------------ text tables
    def write_tables(self):
        (self.out / "String.xml").write_bytes(plistlib.dumps(INTERFACE_TEXTS, sort_keys=True))
        captions = {}
        for p in self.course.pages():
            for i, s in enumerate(p.sentences, 1):
                if s.caption:
                    captions[names.caption_key(p.number, i)] = s.caption
        (self.out / "Stringstr.xml").write_bytes(plistlib.dumps(captions, sort_keys=True))

    # ------------------------------------------------------------ recordings
    def write_recordings(self, pages):
        epc = self.out / "epc"
        epc.mkdir(exist_ok=True)
        jobs = []
        for p in pages:
            for i, s in enumerate(p.sentences, 1):
                if s.recording == "none":
                    continue
                who = self.course.characters.get(s.speaker, self.course.narrator)
                override = str(self.course_dir / s.recording) if s.recording else None
                jobs.append((epc / Path(names.recording_path(p.number, i)).name, s.text, who.voice, who.pitch,
                             override))
        wanted = {j[0].name for j in jobs} | {audio.timings.path_for(j[0]).name for j in jobs}
        if not self.only_pages:
            for old in epc.iterdir():
                if old.name not in wanted:
                    old.unlink()
        with ThreadPoolExecutor(max_workers=self.jobs) as pool:
            list(pool.map(audio.make, jobs))
