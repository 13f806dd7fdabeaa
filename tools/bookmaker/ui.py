"""The reader's own images (control bar, sentence buttons, caption background,
main page figure) and the settings overlay document with its images.
"""

import json
import math

from . import art
from . import widgets as W
from .art import Pen, darker, lighter, WHITE

BLUE = (66, 133, 244)
CREAM = (255, 252, 240)
SUN = (255, 222, 110)
NAVY = (40, 60, 120)


# The natural size of the sentence button texture. The reader makes a caption as wide as this
# (times the button's scale), however wide the page stretches the button.
SENTENCE_BUTTON = (300, 60)


def sentence_button(pressed, w=SENTENCE_BUTTON[0], h=SENTENCE_BUTTON[1]):
    p = Pen(w, h)
    fill = SUN if pressed else CREAM
    edge = (235, 150, 40) if pressed else (150, 180, 225)
    p.rect(2, 4, w - 2, h - 1, darker(edge, 0.9), r=18, outline=False)  # soft shadow / depth
    p.ow = 2.5
    p.rect(2, 1, w - 2, h - 5, fill, r=18, outline=edge)
    p.rect(14, 6, w - 14, 14, lighter(fill, 0.6), r=4, outline=False)
    return p.done()


def word_button(pressed, w=270, h=56):
    p = Pen(w, h)
    fill = SUN if pressed else WHITE
    p.rect(2, 4, w - 2, h - 1, (190, 200, 225), r=14, outline=False)
    p.rect(2, 1, w - 2, h - 5, fill, r=14, outline=(120, 140, 200))
    p.rect(6, 5, 60, h - 9, (232, 238, 252) if not pressed else (255, 236, 170), r=10, outline=False)
    return p.done()


def ribbon():
    p = Pen(600, 72)
    p.rect(0, 4, 600, 72, (215, 215, 215), r=30, outline=False)
    p.rect(0, 0, 600, 66, WHITE, r=30, outline=False)
    p.circ(564, 33, 22, (235, 235, 235), False)
    return p.done()


def sheet_frames():
    return [
        ("btn_sentence_n.png", sentence_button(False)),
        ("btn_sentence_p.png", sentence_button(True)),
        ("btn_word_n.png", word_button(False)),
        ("btn_word_p.png", word_button(True)),
        ("ribbon.png", ribbon()),
    ]


def arrow_button(forward, pressed):
    # The arrow sits at the outer end so the middle of the bar stays free for the first caption text.
    w, h = 120, 72
    p = Pen(w, h)
    cx = w - 30 if forward else 30
    c = (255, 160, 40) if pressed else BLUE
    p.circ(cx, 38, 27, darker(c, 0.8), False)
    p.circ(cx, 35, 27, c, False)
    d = 1 if forward else -1
    p.poly([(cx - 8 * d, 22), (cx + 12 * d, 35), (cx - 8 * d, 48)], WHITE, False)
    return p.done()


def play_button(pause):
    w, h = 120, 80
    p = Pen(w, h)
    c = (234, 67, 53) if pause else (52, 168, 83)
    p.circ(60, 43, 34, darker(c, 0.8), False)
    p.circ(60, 40, 34, c, False)
    if pause:
        p.rect(46, 26, 56, 54, WHITE, r=3, outline=False)
        p.rect(64, 26, 74, 54, WHITE, r=3, outline=False)
    else:
        p.poly([(50, 22), (78, 40), (50, 58)], WHITE, False)
    return p.done()


def caption_back():
    p = Pen(48, 48)
    p.rect(1, 1, 47, 47, (255, 255, 236), r=14, outline=(240, 190, 80))
    return p.done()


def walker():
    img = art.draw_tom()
    return img.resize((60, 88), resample=art.Image.LANCZOS)


def drag_hint():
    p = Pen(240, 120, bg=(255, 250, 235, 255))
    p.rect(4, 4, 236, 116, (255, 250, 235), r=20, outline=(240, 190, 80))
    for d in (-1, 1):
        y = 60 + d * 32
        p.poly([(120, y + d * 18), (100, y), (140, y)], (66, 133, 244), False)
    p.line([(120, 40), (120, 80)], (66, 133, 244), 8)
    p.text(190, 60, "drag", 24, (90, 90, 110))
    p.text(50, 60, "list", 24, (90, 90, 110))
    return p.done().convert("RGB")


def write_images(folder):
    arrow_button(False, False).save(folder / "up1.png", optimize=True)
    arrow_button(False, True).save(folder / "up2.png", optimize=True)
    arrow_button(True, False).save(folder / "next1.png", optimize=True)
    arrow_button(True, True).save(folder / "next2.png", optimize=True)
    play_button(False).save(folder / "play_btn.png", optimize=True)
    play_button(True).save(folder / "pause_btn.png", optimize=True)
    sentence_button(False).save(folder / "bnren1.png", optimize=True)
    sentence_button(True).save(folder / "bnren2.png", optimize=True)
    caption_back().save(folder / "bnchback1.png", optimize=True)
    walker().save(folder / "walker.png", optimize=True)
    drag_hint().save(folder / "drag.jpg", quality=88)


# ---------------------------------------------------------------- settings overlay

def setting_button(state, w=380, h=72):
    p = Pen(w, h)
    fill, edge = {"normal": (CREAM, (150, 180, 225)), "pressed": (SUN, (235, 150, 40)),
                  "disabled": ((200, 235, 200), (70, 160, 80))}[state]
    p.rect(2, 5, w - 2, h - 1, darker(edge, 0.9), r=22, outline=False)
    p.ow = 3
    p.rect(2, 1, w - 2, h - 6, fill, r=22, outline=edge)
    if state == "disabled":  # the chosen look: a tick on the left
        p.circ(34, 34, 16, (70, 160, 80), False)
        p.line([(26, 34), (32, 41), (43, 27)], WHITE, 4)
    return p.done()


def settings_card():
    p = Pen(560, 780)
    p.rect(0, 8, 560, 780, (60, 70, 110), r=40, outline=False)
    p.rect(0, 0, 560, 770, (245, 248, 255), r=40, outline=False)
    p.rect(0, 0, 560, 110, BLUE, r=40, outline=False)
    p.rect(0, 70, 560, 110, BLUE, outline=False)
    return p.done()


def write_settings(folder):
    setting_button("normal").save(folder / "set_btn_n.png", optimize=True)
    setting_button("pressed").save(folder / "set_btn_p.png", optimize=True)
    setting_button("disabled").save(folder / "set_btn_d.png", optimize=True)
    settings_card().save(folder / "set_card.png", optimize=True)
    doc = W.Doc(False)
    dark = (25, 24, 25)

    def button(name, x, y, text, w=380):
        scale9 = (30, 24, 320, 20) if w != 380 else None
        return W.text_button(doc, name, x, y, w, 72, text, "set_btn_n.png", "set_btn_p.png", W.FILE, 28, dark,
                             scale9=scale9, disabled="set_btn_d.png", z=2)

    children = [
        W.image_view(doc, "card", 320, 480, "set_card.png", W.FILE, z=0),
        W.label(doc, "title", 320, 815, "Settings", 40, (255, 255, 255), z=1),
        W.label(doc, "question", 320, 730, "How should the book read?", 28, NAVY, z=1),
        button("bnpres", 320, 650, "Read by touch"),
        W.label(doc, "presnote", 320, 600, "Tap a sentence to hear it.", 20, (110, 110, 130), z=1),
        button("bnaotopage", 320, 540, "Repeat this page"),
        W.label(doc, "aotopagenote", 320, 490, "Play reads this page again and again.", 20, (110, 110, 130), z=1),
        button("bnaoto", 320, 430, "Read on"),
        W.label(doc, "aotonote", 320, 380, "Play reads page after page.", 20, (110, 110, 130), z=1),
        button("bnok", 215, 290, "OK", w=190),
        button("bncancel", 425, 290, "Cancel", w=190),
        button("bnmain", 320, 180, "Main page"),
    ]
    tree = W.panel(doc, "setpanel", 0, 0, 640, 960, bg=(30, 40, 70), bg_opacity=170, children=children)
    d = W.document(doc, tree, [])
    (folder / "pageset.json").write_text(json.dumps(d, indent=1, ensure_ascii=False) + "\n", encoding="utf-8")
