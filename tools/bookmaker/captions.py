"""How much room a sentence's caption takes on the page, so the page layout can keep it free.

The reader shows a caption while a sentence plays, by a fixed rule: the caption label is as
wide as the button's texture (its natural size, times the button's scale, not the stretched
width the page gives the button), the text wraps to that width in Arial 22 (the book's
Liberation Sans), and label plus background go below a button in the upper half of the page
and above a button in the lower half. These functions repeat that rule in the book maker.
"""

from PIL import ImageFont

FONT_FILE = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
FONT_SIZE = 22
LINE = 26         # height of one caption line as the reader draws Liberation Sans at 22 px
PAD = 24          # the caption background is this much taller than its text (960 / 40)
LONGEST = 1600    # bytes; the reader never shows a longer caption
# Our measure and the reader's font renderer may round glyph widths differently: count a line
# as full this much early, so a caption is never given fewer lines than the reader draws.
WRAP_SLACK = 8

_font = None


def lines(text, width):
    """Lines the reader's label needs for `text` wrapped at `width` (breaks at spaces only)."""
    global _font
    if _font is None:
        _font = ImageFont.truetype(FONT_FILE, FONT_SIZE)
    count, line = 1, ""
    for word in text.split():
        candidate = line + " " + word if line else word
        if line and _font.getlength(candidate) > width - WRAP_SLACK:
            count += 1
            line = word
        else:
            line = candidate
    return count


def shown(caption):
    return bool(caption) and len(caption.encode("utf-8")) < LONGEST


def reach(caption, texture, scale, upper):
    """How far a shown caption reaches past its button's edge: below the bottom edge of a
    button in the upper half, above the top edge of one in the lower half (0 if never shown).

    texture: the (width, height) of the button's texture; scale: the button's scale.
    """
    if not shown(caption):
        return 0.0
    w, h = texture
    text = LINE * lines(caption, w * scale)
    if upper:
        # Big buttons (scale 1.4 and more) push their caption a little further down.
        below_edge = h * scale * (6 / 11 - 1 / 2) if scale >= 1.4 else 0.0
        return below_edge + text + PAD
    # Above a lower button the text starts a tenth of its height above the edge.
    return 1.1 * text + PAD
