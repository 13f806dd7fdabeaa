"""Packs drawings into sprite sheets: one PNG and one property-list file each.

Tall frames are stored turned a quarter clockwise, which packs them into fewer
rows; the property list marks them "rotated" so the reader turns them back.
"""

import plistlib

from PIL import Image

PAD = 2
SHEET_WIDTH = 1024


def pack(frames):
    """frames: list of (name, RGBA image). Returns (sheet image, plist bytes-ready dict)."""
    items = []
    for name, img in frames:
        w, h = img.size
        rotated = h > w * 1.3
        stored = img.transpose(Image.ROTATE_270) if rotated else img
        items.append((name, img.size, rotated, stored))
    # Tallest first, then by name, so the same frames always pack the same way.
    items.sort(key=lambda t: (-t[3].size[1], t[0]))
    x = y = row_h = 0
    placed = []
    for name, size, rotated, stored in items:
        sw, sh = stored.size
        if x + sw + PAD > SHEET_WIDTH:
            x, y, row_h = 0, y + row_h + PAD, 0
        placed.append((name, size, rotated, stored, x, y))
        x += sw + PAD
        row_h = max(row_h, sh)
    height = 1
    while height < y + row_h:
        height *= 2
    sheet = Image.new("RGBA", (SHEET_WIDTH, height), (0, 0, 0, 0))
    frames_dict = {}
    for name, (w, h), rotated, stored, px, py in placed:
        sheet.paste(stored, (px, py))
        frames_dict[name] = {
            "frame": "{{%d,%d},{%d,%d}}" % (px, py, w, h),
            "offset": "{0,0}",
            "rotated": rotated,
            "sourceColorRect": "{{0,0},{%d,%d}}" % (w, h),
            "sourceSize": "{%d,%d}" % (w, h),
        }
    return sheet, frames_dict


def write(folder, base, frames):
    """Writes <base>.png and <base>.plist into folder; returns the frame sizes by name."""
    sheet, frames_dict = pack(frames)
    sheet.save(folder / (base + ".png"), optimize=True)
    doc = {
        "frames": frames_dict,
        "metadata": {
            "format": 2,
            "textureFileName": base + ".png",
            "realTextureFileName": base + ".png",
            "size": "{%d,%d}" % sheet.size,
        },
    }
    (folder / (base + ".plist")).write_bytes(plistlib.dumps(doc, sort_keys=True))
    return {name: img.size for name, img in frames}
