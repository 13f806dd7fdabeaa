"""The book's naming rules: documents, buttons, captions and recordings."""

import hashlib


def page_document(page):
    return "lessonbundle/lessonbundle_%d.json" % page


def _prefix(page, short):
    return short + ("0" if page < 10 else "")


def button_name(page, i):
    return "%s%d%d" % (_prefix(page, "bn"), page, i)


def sentence_number(page, i):
    return page * 10 + i if i < 10 else page * 100 + i


def caption_key(page, i):
    return "%s%d%d" % (_prefix(page, "str"), page, i)


def recording_name(page, i):
    return "%s%d%d.mp3" % (_prefix(page, "mc"), page, i)


def recording_path(page, i):
    return "epc/" + hashlib.md5(recording_name(page, i).encode("ascii")).hexdigest() + ".mp3"
