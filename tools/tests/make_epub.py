#!/usr/bin/env python3
"""Makes an EPUB 3 read-aloud book (Media Overlays) for the importer's tests and benches.

    python3 tools/tests/make_epub.py OUT.epub --pages 3 --layout fixed
    python3 tools/tests/make_epub.py OUT.epub --pages 30 --layout fixed      # the speed bench's book
    python3 tools/tests/make_epub.py OUT.epub --layout reflow --sentences 40
    python3 tools/tests/make_epub.py OUTDIR --folder ...                     # unpacked, no zip
    ... --expect OUT.json   # also write what a reader must find (pages, ids, texts, clips)

fixed:  N pages, each an XHTML with a viewport, a picture and a few sentence spans with ids;
        the pages fall into chapters (--pages-per-chapter), each chapter ONE recording holding
        all its sentences, which the SMIL pars cut by clipBegin/clipEnd; a navigation document
        with one top entry per chapter (and an EPUB 2 NCX saying the same).
reflow: a title page without recordings and one long chapter with one recording and one SMIL.
--word-level (fixed): each word is its own span (id SENTENCE_wN) and spoken on its own, and
        each sentence is a SMIL <seq epub:textref="page#SENTENCE"> of one <par> per word, all
        cut from the chapter's recording; the expect JSON lists each sentence's words with
        their times from the sentence clip's start.

Recordings come from espeak-ng + lame (tones when espeak-ng is absent, or with --tone). Clip
times are written in every clock form a book may use unless --clock plain. Only the standard
library is used, so tests can run it with any python3.
"""

import argparse
import array
import io
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import wave
import zipfile
import zlib
import struct
from concurrent.futures import ThreadPoolExecutor

RATE = 22050  # espeak-ng's own rate; the tones use it too
GAP = 0.25  # seconds of silence between two sentences of one recording
WORD_GAP = 0.06  # between two words spoken one by one (--word-level)

SUBJECTS = ["The red fox", "A small bird", "My old dog", "The tall girl", "Our teacher", "A green frog",
            "The baker", "Little Sam", "The brown cow", "A busy bee"]
VERBS = ["runs to", "looks at", "sings near", "sits by", "walks past", "jumps over", "waits for"]
PLACES = ["the river", "the big tree", "the market", "the school gate", "the yellow house", "the hill",
          "the quiet lake", "the garden"]


def sentence(n):
    return "%s %s %s." % (SUBJECTS[n % len(SUBJECTS)], VERBS[(3 * n + n // 10) % len(VERBS)],
                          PLACES[(5 * n + n // 7) % len(PLACES)])


def clock(seconds, form):
    """Writes a time in one of the clock forms of SMIL (always to the millisecond)."""
    ms = int(round(seconds * 1000))
    s, frac = divmod(ms, 1000)
    if form == "s":
        return "%d.%03ds" % (s, frac)
    if form == "full":
        return "%02d:%02d:%02d.%03d" % (s // 3600, (s // 60) % 60, s % 60, frac)
    if form == "partial":
        return "%d:%02d.%03d" % (s // 60, s % 60, frac)
    if form == "ms":
        return "%dms" % ms
    if form == "plain":
        return "%d.%03d" % (s, frac)
    if form == "npt":
        return "npt=%d.%03ds" % (s, frac)
    raise ValueError(form)


CLOCK_FORMS = ["s", "full", "partial", "ms", "plain", "npt"]


# --- sound -------------------------------------------------------------------------------

def speak(text, tone):
    """16-bit mono samples at RATE of one sentence, its silent ends trimmed."""
    if not tone:
        with tempfile.NamedTemporaryFile(suffix=".wav") as tmp:
            subprocess.run(["espeak-ng", "-w", tmp.name, text], check=True, stdout=subprocess.DEVNULL)
            with wave.open(tmp.name, "rb") as w:
                if w.getframerate() != RATE or w.getsampwidth() != 2 or w.getnchannels() != 1:
                    raise SystemExit("make_epub: espeak-ng wrote an unexpected format")
                samples = array.array("h", w.readframes(w.getnframes()))
        if sys.byteorder != "little":
            samples.byteswap()
        # espeak-ng starts with ~160 ms and ends with up to 0.7 s of silence; keep 30 ms of each.
        loud = [i for i in range(len(samples)) if abs(samples[i]) > 300]
        if loud:
            margin = int(0.03 * RATE)
            samples = samples[max(0, loud[0] - margin):loud[-1] + margin]
        return samples
    n = int(RATE * (0.4 + 0.05 * len(text)))
    freq = 300 + 10 * (len(text) % 40)
    return array.array("h", (int(8000 * math.sin(2 * math.pi * freq * i / RATE)) for i in range(n)))


def write_mp3(samples, path):
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        data = array.array("h", samples)
        if sys.byteorder != "little":
            data.byteswap()
        w.writeframes(data.tobytes())
    # 64 kbit/s: from there up a frame has room for lame's Info header, whose encoder delay and
    # padding let decoders (libsndfile, the reader's engine) play exactly the samples written,
    # so that the clip times below hold to the sample. At 32 kbit/s the header is left out and
    # every decoder plays 1105 samples (50 ms) of lead-in first.
    subprocess.run(["lame", "--quiet", "-b", "64", "-m", "m", "-", path], input=buf.getvalue(), check=True)


def record_chapter(texts, path, tone, word_level=False):
    """One recording of all the texts, GAP apart; returns each text's (begin, end, words) in
    seconds and the recording's length (as a gapless decoder plays it: lame's delay and padding
    left out). words: with word_level, each word's (begin, end) in the recording, the words
    spoken one by one WORD_GAP apart; else empty."""
    samples = array.array("h")
    clips = []
    gap = array.array("h", bytes(2 * int(GAP * RATE)))
    word_gap = array.array("h", bytes(2 * int(WORD_GAP * RATE)))
    for i, text in enumerate(texts):
        if i:
            samples.extend(gap)
        begin = len(samples) / RATE
        words = []
        if word_level:
            for k, word in enumerate(text.split()):
                if k:
                    samples.extend(word_gap)
                wb = len(samples) / RATE
                samples.extend(speak(word, tone))
                words.append((round(wb, 3), round(len(samples) / RATE, 3)))
        else:
            samples.extend(speak(text, tone))
        clips.append((round(begin, 3), round(len(samples) / RATE, 3), words))
    samples.extend(gap)
    write_mp3(samples, path)
    return clips, len(samples) / RATE


def png(width, height, rgb):
    """A picture: a frame of one colour around a lighter middle."""
    light = bytes(min(255, c + 90) for c in rgb)
    dark = bytes(rgb)
    border = max(4, height // 10)
    edge_row = b"\0" + dark * width
    mid_row = b"\0" + dark * border + light * (width - 2 * border) + dark * border
    raw = b"".join(edge_row if y < border or y >= height - border else mid_row for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- documents ---------------------------------------------------------------------------

def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


XHTML_HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" lang="en" xml:lang="en">
<head>
<meta charset="UTF-8"/>
<title>%s</title>
%s<link rel="stylesheet" type="text/css" href="../css/book.css"/>
</head>
"""

CSS_FIXED = """html, body { margin: 0; padding: 0; width: %dpx; height: %dpx; overflow: hidden; position: relative; }
body { font-family: serif; font-size: 30px; background: #fffdf4; color: #222; }
.page { box-sizing: border-box; width: 100%%; height: 100%%; padding: 40px; }
.page img { display: block; width: 100%%; height: auto; margin-bottom: 30px; }
.page h1 { font-size: 36px; margin: 0 0 20px 0; }
.folio { position: absolute; left: 0; right: 0; bottom: 24px; margin: 0; text-align: center;
         font-size: 22px; color: #777; }
.-epub-media-overlay-active { background: #ffe680; }
"""

CSS_REFLOW = """body { font-family: serif; font-size: 1.2em; line-height: 1.5; margin: 1em; color: #222; }
h1 { font-size: 1.6em; }
.-epub-media-overlay-active { background: #ffe680; }
"""


def smil(pars, nested):
    """pars: (text_src, audio_src, begin, end, begin_form, end_form), or ("seq", textref, [pars])
    for a sentence timed word by word."""
    body = []
    count = 0

    def par_of(text_src, audio_src, b, e, fb, fe):
        nonlocal count
        count += 1
        return ('<par id="par%d"><text src="%s"/><audio src="%s" clipBegin="%s" clipEnd="%s"/></par>' %
                (count, esc(text_src), esc(audio_src), clock(b, fb), clock(e, fe)))

    for item in pars:
        if item[0] == "seq":
            words = "\n      ".join(par_of(*p) for p in item[2])
            body.append('<seq epub:textref="%s">\n      %s\n    </seq>' % (esc(item[1]), words))
        else:
            body.append(par_of(*item))
    inner = "\n    ".join(body)
    if nested:
        doc = (pars[0][1] if pars[0][0] == "seq" else pars[0][0]).split("#")[0]
        inner = '<seq id="seq1" epub:textref="%s" epub:type="bodymatter chapter">\n    %s\n  </seq>' % (
            esc(doc), inner)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<smil xmlns="http://www.w3.org/ns/SMIL" xmlns:epub="http://www.idpf.org/2007/ops" version="3.0">\n'
            '<body>\n  %s\n</body>\n</smil>\n' % inner)


def nav_xhtml(title, entries):
    items = "\n".join('    <li><a href="%s">%s</a></li>' % (esc(href), esc(label)) for label, href in entries)
    return (XHTML_HEAD % (esc(title), "") +
            '<body>\n<nav epub:type="toc" id="toc">\n  <h1>Contents</h1>\n  <ol>\n%s\n  </ol>\n</nav>\n'
            '</body>\n</html>\n' % items).replace('href="../css/book.css"', 'href="css/book.css"')


def ncx(title, entries):
    points = "\n".join(
        '  <navPoint id="np%d" playOrder="%d"><navLabel><text>%s</text></navLabel><content src="%s"/></navPoint>'
        % (i + 1, i + 1, esc(label), esc(href)) for i, (label, href) in enumerate(entries))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<ncx xmlns="http://www.daisy.org/z3986/2005/ncx/" version="2005-1">\n'
            '<head><meta name="dtb:uid" content="urn:uuid:pagly-fixture"/></head>\n'
            '<docTitle><text>%s</text></docTitle>\n<navMap>\n%s\n</navMap>\n</ncx>\n' % (esc(title), points))


def opf(title, fixed, manifest, spine, durations):
    meta = ['<dc:identifier id="uid">urn:uuid:pagly-fixture-%s</dc:identifier>' % ("fixed" if fixed else "reflow"),
            '<dc:title>%s</dc:title>' % esc(title), '<dc:language>en</dc:language>',
            '<meta property="dcterms:modified">2026-01-01T00:00:00Z</meta>',
            '<meta property="media:active-class">-epub-media-overlay-active</meta>']
    if fixed:
        meta += ['<meta property="rendition:layout">pre-paginated</meta>',
                 '<meta property="rendition:spread">none</meta>']
    total = 0.0
    for smil_id, seconds in durations:
        meta.append('<meta property="media:duration" refines="#%s">%s</meta>' % (smil_id, clock(seconds, "full")))
        total += seconds
    meta.append('<meta property="media:duration">%s</meta>' % clock(total, "full"))
    items = []
    for item in manifest:
        attrs = " ".join('%s="%s"' % (k, esc(v)) for k, v in item.items() if v)
        items.append("    <item %s/>" % attrs)
    refs = "\n".join('    <itemref idref="%s"/>' % idref for idref in spine)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="uid" '
            'prefix="rendition: http://www.idpf.org/vocab/rendition/#">\n'
            '  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">\n    %s\n  </metadata>\n'
            '  <manifest>\n%s\n  </manifest>\n  <spine toc="ncx">\n%s\n  </spine>\n</package>\n'
            % ("\n    ".join(meta), "\n".join(items), refs))


CONTAINER = """<?xml version="1.0" encoding="UTF-8"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles>
    <rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>
  </rootfiles>
</container>
"""


class Book:
    """The files of a book, by path inside it, and what a reader must find in them."""

    def __init__(self):
        self.files = {}
        self.expect = {"documents": [], "recordings": {}}

    def add(self, path, data):
        self.files[path] = data.encode("utf-8") if isinstance(data, str) else data


def colour(n):
    palette = [(200, 60, 60), (60, 140, 200), (70, 160, 90), (200, 150, 40), (140, 80, 170)]
    return palette[n % len(palette)]


def make_fixed(args):
    book = Book()
    title = args.title or "Fox and Friends (%d pages)" % args.pages
    w, h = args.width, args.height
    pages = list(range(1, args.pages + 1))
    chapters = [pages[i:i + args.pages_per_chapter] for i in range(0, len(pages), args.pages_per_chapter)]
    texts = {p: [sentence((p - 1) * args.sentences_per_page + k) for k in range(args.sentences_per_page)]
             for p in pages}

    tmp = tempfile.mkdtemp(prefix="make_epub_")
    try:
        def record(ci):
            chapter_texts = [t for p in chapters[ci] for t in texts[p]]
            path = os.path.join(tmp, "chapter_%02d.mp3" % (ci + 1))
            return path, record_chapter(chapter_texts, path, args.tone, args.word_level)

        with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            recorded = list(pool.map(record, range(len(chapters))))
        for ci, (path, (_, length)) in enumerate(recorded):
            with open(path, "rb") as f:
                book.add("OEBPS/audio/chapter_%02d.mp3" % (ci + 1), f.read())
            book.expect["recordings"]["OEBPS/audio/chapter_%02d.mp3" % (ci + 1)] = length
    finally:
        shutil.rmtree(tmp, ignore_errors=True)

    manifest = [{"id": "nav", "href": "nav.xhtml", "media-type": "application/xhtml+xml", "properties": "nav"},
                {"id": "ncx", "href": "toc.ncx", "media-type": "application/x-dtbncx+xml"},
                {"id": "css", "href": "css/book.css", "media-type": "text/css"}]
    spine, durations, nav_entries = [], [], []
    form = 0
    for ci, chapter in enumerate(chapters):
        audio_name = "chapter_%02d.mp3" % (ci + 1)
        manifest.append({"id": "audio%02d" % (ci + 1), "href": "audio/" + audio_name, "media-type": "audio/mpeg"})
        clips = iter(recorded[ci][1][0])
        nav_entries.append((args.chapter_name % (ci + 1), "pages/page_%03d.xhtml" % chapter[0]))
        for p in chapter:
            name = "page_%03d" % p
            spans, pars, sentences = [], [], []
            for k, text in enumerate(texts[p]):
                sid = "s%03d_%d" % (p, k + 1)
                b, e, word_clips = next(clips)
                if args.clock == "mixed":
                    fb, fe = CLOCK_FORMS[form % len(CLOCK_FORMS)], CLOCK_FORMS[(form + 1) % len(CLOCK_FORMS)]
                    form += 1
                else:
                    fb = fe = "s"
                entry = {"id": sid, "text": text, "audio": "OEBPS/audio/" + audio_name,
                         "clipBegin": b, "clipEnd": e}
                if word_clips:
                    word_spans, word_pars, entry["words"] = [], [], []
                    for n, (word, (wb, we)) in enumerate(zip(text.split(), word_clips)):
                        wid = "%s_w%d" % (sid, n + 1)
                        word_spans.append('<span id="%s">%s</span>' % (wid, esc(word)))
                        word_pars.append(("../pages/%s.xhtml#%s" % (name, wid), "../audio/" + audio_name,
                                          wb, we, fb, fe))
                        entry["words"].append({"id": wid, "text": word, "begin": round(wb - b, 3),
                                               "end": round(we - b, 3)})
                    spans.append('<span id="%s">%s</span>' % (sid, " ".join(word_spans)))
                    pars.append(("seq", "../pages/%s.xhtml#%s" % (name, sid), word_pars))
                else:
                    spans.append('<span id="%s">%s</span>' % (sid, esc(text)))
                    pars.append(("../pages/%s.xhtml#%s" % (name, sid), "../audio/" + audio_name, b, e, fb, fe))
                sentences.append(entry)
            head_meta = '<meta name="viewport" content="width=%d, height=%d"/>\n' % (w, h)
            heading = "<h1>Chapter %d</h1>\n" % (ci + 1) if p == chapter[0] else ""
            body = ('<body>\n<div class="page">\n%s<img src="../images/picture_%03d.png" alt="picture %d"/>\n'
                    '<p>%s</p>\n</div>\n<p class="folio">%d</p>\n</body>\n</html>\n' % (heading, p, p, " ".join(spans), p))
            book.add("OEBPS/pages/%s.xhtml" % name, XHTML_HEAD % ("Page %d" % p, head_meta) + body)
            book.add("OEBPS/smil/%s.smil" % name, smil(pars, nested=p % 2 == 1))
            book.add("OEBPS/images/picture_%03d.png" % p, png(w - 80, (w - 80) // 2, colour(p)))
            manifest += [
                {"id": "p%03d" % p, "href": "pages/%s.xhtml" % name, "media-type": "application/xhtml+xml",
                 "media-overlay": "mo%03d" % p},
                {"id": "mo%03d" % p, "href": "smil/%s.smil" % name, "media-type": "application/smil+xml"},
                {"id": "img%03d" % p, "href": "images/picture_%03d.png" % p, "media-type": "image/png"}]
            spine.append("p%03d" % p)
            durations.append(("mo%03d" % p, sum(s["clipEnd"] - s["clipBegin"] for s in sentences)))
            book.expect["documents"].append({
                "href": "OEBPS/pages/%s.xhtml" % name, "width": w, "height": h,
                "section": args.chapter_name % (ci + 1) if p == chapter[0] else "", "sentences": sentences})

    book.add("OEBPS/css/book.css", CSS_FIXED % (w, h))
    book.add("OEBPS/nav.xhtml", nav_xhtml(title, nav_entries))
    book.add("OEBPS/toc.ncx", ncx(title, nav_entries))
    book.add("OEBPS/content.opf", opf(title, True, manifest, spine, durations))
    book.expect.update({"title": title, "layout": "fixed"})
    return book


def make_reflow(args):
    book = Book()
    title = args.title or "The Long Walk"
    texts = [sentence(n) for n in range(args.sentences)]
    tmp = tempfile.mkdtemp(prefix="make_epub_")
    try:
        path = os.path.join(tmp, "chapter.mp3")
        clips, length = record_chapter(texts, path, args.tone)
        with open(path, "rb") as f:
            book.add("OEBPS/audio/chapter.mp3", f.read())
        book.expect["recordings"]["OEBPS/audio/chapter.mp3"] = length
    finally:
        shutil.rmtree(tmp, ignore_errors=True)

    paragraphs, pars, sentences = [], [], []
    for i in range(0, len(texts), 4):
        spans = []
        for k in range(i, min(i + 4, len(texts))):
            sid = "w%03d" % (k + 1)
            spans.append('<span id="%s">%s</span>' % (sid, esc(texts[k])))
            b, e = clips[k][:2]
            fb, fe = ((CLOCK_FORMS[k % len(CLOCK_FORMS)], CLOCK_FORMS[(k + 3) % len(CLOCK_FORMS)])
                      if args.clock == "mixed" else ("s", "s"))
            pars.append(("../text/chapter.xhtml#" + sid, "../audio/chapter.mp3", b, e, fb, fe))
            sentences.append({"id": sid, "text": texts[k], "audio": "OEBPS/audio/chapter.mp3",
                              "clipBegin": b, "clipEnd": e})
        paragraphs.append("<p>%s</p>" % " ".join(spans))
    chapter = (XHTML_HEAD % ("The long chapter", "") +
               '<body>\n<section epub:type="chapter">\n<h1>The long chapter</h1>\n%s\n</section>\n</body>\n</html>\n'
               % "\n".join(paragraphs))
    cover = (XHTML_HEAD % (esc(title), "") +
             '<body>\n<h1 class="title">%s</h1>\n<p>A reflowable fixture book.</p>\n</body>\n</html>\n' % esc(title))
    book.add("OEBPS/text/cover.xhtml", cover)
    book.add("OEBPS/text/chapter.xhtml", chapter)
    book.add("OEBPS/smil/chapter.smil", smil(pars, nested=True))
    book.add("OEBPS/css/book.css", CSS_REFLOW)
    nav_entries = [("Title page", "text/cover.xhtml"), ("The long chapter", "text/chapter.xhtml")]
    book.add("OEBPS/nav.xhtml", nav_xhtml(title, nav_entries))
    book.add("OEBPS/toc.ncx", ncx(title, nav_entries))
    manifest = [{"id": "nav", "href": "nav.xhtml", "media-type": "application/xhtml+xml", "properties": "nav"},
                {"id": "ncx", "href": "toc.ncx", "media-type": "application/x-dtbncx+xml"},
                {"id": "css", "href": "css/book.css", "media-type": "text/css"},
                {"id": "cover", "href": "text/cover.xhtml", "media-type": "application/xhtml+xml"},
                {"id": "chapter", "href": "text/chapter.xhtml", "media-type": "application/xhtml+xml",
                 "media-overlay": "mo"},
                {"id": "mo", "href": "smil/chapter.smil", "media-type": "application/smil+xml"},
                {"id": "audio", "href": "audio/chapter.mp3", "media-type": "audio/mpeg"}]
    book.add("OEBPS/content.opf", opf(title, False, manifest, ["cover", "chapter"],
                                      [("mo", clips[-1][1] if clips else 0.0)]))
    book.expect.update({"title": title, "layout": "reflow", "documents": [
        {"href": "OEBPS/text/cover.xhtml", "section": "Title page", "sentences": []},
        {"href": "OEBPS/text/chapter.xhtml", "section": "The long chapter", "sentences": sentences}]})
    return book


def write(book, out, folder):
    files = dict(book.files)
    files["mimetype"] = b"application/epub+zip"
    files["META-INF/container.xml"] = CONTAINER.encode("utf-8")
    if folder:
        for path, data in files.items():
            target = os.path.join(out, path)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(data)
        return
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    tmp = out + ".part"
    with zipfile.ZipFile(tmp, "w") as z:
        # Readers find the type from the first entry: "mimetype", stored, no extra field.
        z.writestr(zipfile.ZipInfo("mimetype", (2026, 1, 1, 0, 0, 0)), files.pop("mimetype"), zipfile.ZIP_STORED)
        for path in sorted(files):
            info = zipfile.ZipInfo(path, (2026, 1, 1, 0, 0, 0))
            info.external_attr = 0o644 << 16
            method = zipfile.ZIP_STORED if path.endswith((".mp3", ".png")) else zipfile.ZIP_DEFLATED
            z.writestr(info, files[path], method)
    os.replace(tmp, out)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("out", help="the .epub to write (or a folder with --folder)")
    ap.add_argument("--layout", choices=["fixed", "reflow"], default="fixed")
    ap.add_argument("--pages", type=int, default=3, help="fixed: number of pages")
    ap.add_argument("--sentences-per-page", type=int, default=3)
    ap.add_argument("--pages-per-chapter", type=int, default=0,
                    help="fixed: pages per chapter (one recording each); default: two chapters or more")
    ap.add_argument("--sentences", type=int, default=40, help="reflow: sentences in the long chapter")
    ap.add_argument("--width", type=int, default=600, help="fixed: viewport width")
    ap.add_argument("--height", type=int, default=800, help="fixed: viewport height")
    ap.add_argument("--title")
    ap.add_argument("--chapter-name", default="Chapter %d",
                    help="fixed: the navigation entry of each chapter (%%d: its number); makers "
                         "often write long ones, e.g. 'Chapter %%d - XHTML Content'")
    ap.add_argument("--clock", choices=["mixed", "plain"], default="mixed")
    ap.add_argument("--tone", action="store_true", help="tones instead of espeak-ng speech")
    ap.add_argument("--folder", action="store_true", help="write the unpacked book into OUT")
    ap.add_argument("--expect", help="write what a reader must find in the book (JSON) here")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--word-level", action="store_true",
                    help="fixed: time each word (a SMIL seq of word pars per sentence)")
    args = ap.parse_args(argv)
    if args.pages < 1 or args.sentences_per_page < 1 or args.sentences < 1:
        ap.error("pages and sentences must be at least 1")
    if args.pages_per_chapter <= 0:
        args.pages_per_chapter = max(1, min(5, (args.pages + 1) // 2))
    if not args.tone and shutil.which("espeak-ng") is None:
        print("make_epub: espeak-ng is missing, using tones", file=sys.stderr)
        args.tone = True
    if shutil.which("lame") is None:
        sys.exit("make_epub: lame is missing (scripts/setup.sh)")
    book = make_fixed(args) if args.layout == "fixed" else make_reflow(args)
    write(book, args.out, args.folder)
    if args.expect:
        with open(args.expect, "w", encoding="utf-8") as f:
            json.dump(book.expect, f, indent=1)
    print("make_epub: wrote %s" % args.out)


if __name__ == "__main__":
    main()
