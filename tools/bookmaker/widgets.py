"""Builds widget nodes of UI documents in either option layout.

The current layout names images with resource objects ("normalData":
{"resourceType", "path"}); the old layout uses plain strings plus one
"useMergedTexture" flag per widget.
"""

FILE = 0
FRAME = 1


class Doc:
    """Hands out tags and remembers which layout the document uses."""

    def __init__(self, legacy):
        self.legacy = legacy
        self.next_tag = 1

    def tag(self):
        t = self.next_tag
        self.next_tag += 1
        return t


def common(doc, name, x, y, width=0, height=0, anchor=(0.5, 0.5), touch=False, z=0, scale=None,
           ignore_size=None, colour=(255, 255, 255), opacity=255, actiontag=None, rotation=0,
           flip_x=False):
    o = {
        "name": name,
        "tag": doc.tag(),
        "actiontag": actiontag if actiontag is not None else 0,
        "x": x,
        "y": y,
        "width": width,
        "height": height,
        "touchAble": touch,
        "visible": True,
        "ZOrder": z,
        "scaleX": scale[0] if scale else 1.0,
        "scaleY": scale[1] if scale else 1.0,
        "rotation": rotation,
        "anchorPointX": anchor[0],
        "anchorPointY": anchor[1],
        "colorR": colour[0],
        "colorG": colour[1],
        "colorB": colour[2],
        "opacity": opacity,
        "flipX": flip_x,
        "flipY": False,
    }
    if ignore_size is not None:
        o["ignoreSize"] = ignore_size
    return o


def image(doc, opts, key, path, kind):
    """Sets one image of a widget in the document's layout."""
    if doc.legacy:
        opts[key] = path
        opts["useMergedTexture"] = kind == FRAME
    else:
        opts[key + "Data"] = {"path": path, "resourceType": kind}


def node(classname, opts, children=None):
    n = {"classname": classname, "name": opts.get("name", "default"), "options": opts}
    n["children"] = children or []
    return n


def panel(doc, name, x, y, w, h, bg=None, bg_opacity=255, bg_image=None, clip=False, children=None, z=0):
    o = common(doc, name, x, y, w, h, anchor=(0, 0), z=z)
    o.update({
        "clipAble": clip,
        "backGroundScale9Enable": False,
        "colorType": 1 if bg else 0,
        "bgColorR": bg[0] if bg else 255,
        "bgColorG": bg[1] if bg else 255,
        "bgColorB": bg[2] if bg else 255,
        "bgColorOpacity": bg_opacity if bg else 0,
        "bgStartColorR": 255, "bgStartColorG": 255, "bgStartColorB": 255,
        "bgEndColorR": 255, "bgEndColorG": 255, "bgEndColorB": 255,
        "vectorX": 0.0, "vectorY": -0.5,
        "capInsetsX": 0, "capInsetsY": 0, "capInsetsWidth": 0, "capInsetsHeight": 0,
    })
    if bg_image:
        image(doc, o, "backGroundImage", bg_image[0], bg_image[1])
    return node("Panel", o, children)


def label(doc, name, x, y, text, size, colour, z=0, font="Arial"):
    o = common(doc, name, x, y, ignore_size=True, z=z, colour=colour)
    o.update({"text": text, "fontSize": size, "fontName": font, "touchScaleEnable": False})
    return node("Label", o)


def image_view(doc, name, x, y, path, kind, anchor=(0.5, 0.5), scale=None, z=0, colour=(255, 255, 255),
               actiontag=None, flip_x=False, opacity=255):
    o = common(doc, name, x, y, anchor=anchor, scale=scale, z=z, ignore_size=True, colour=colour,
               actiontag=actiontag, flip_x=flip_x, opacity=opacity)
    o["scale9Enable"] = False
    image(doc, o, "fileName", path, kind)
    return node("ImageView", o)


def text_button(doc, name, x, y, w, h, text, normal, pressed, kind, font_size, text_colour, scale=None,
                scale9=None, z=1, disabled="", opacity=255):
    """A touch-enabled button with a title. scale9: (x, y, w, h) cap insets, or None for a plain sprite."""
    o = common(doc, name, x, y, w, h, touch=True, scale=(scale, scale) if scale else None, z=z,
               ignore_size=False if scale9 else True, opacity=opacity)
    o["scale9Enable"] = bool(scale9)
    image(doc, o, "normal", normal, kind)
    image(doc, o, "pressed", pressed, kind)
    image(doc, o, "disabled", disabled, kind)
    if scale9:
        o.update({"capInsetsX": scale9[0], "capInsetsY": scale9[1], "capInsetsWidth": scale9[2],
                  "capInsetsHeight": scale9[3], "scale9Width": w, "scale9Height": h})
    o.update({"text": text, "fontSize": font_size, "fontName": "Arial",
              "textColorR": text_colour[0], "textColorG": text_colour[1], "textColorB": text_colour[2]})
    return node("TextButton", o)


def document(doc, tree, textures, animation=None):
    d = {
        "version": "0.2.4.0" if doc.legacy else "1.2.0.0",
        "designWidth": 640,
        "designHeight": 960,
        "textures": textures,
        "widgetTree": tree,
    }
    if animation:
        d["animation"] = animation
    return d
