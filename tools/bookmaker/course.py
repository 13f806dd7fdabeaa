"""Reads the course file (tools/course/course.txt) into units, pages and sentences.

The format is described at the top of the course file itself; errors name the
line so that an author can find and fix it.
"""

import re
from dataclasses import dataclass, field
from typing import List, Optional


class CourseError(Exception):
    pass


DEFAULT_VOICE = "flite:slt"


@dataclass
class Character:
    name: str
    picture: str
    voice: str = DEFAULT_VOICE
    pitch: Optional[int] = None  # None: the voice's own


@dataclass
class Sentence:
    text: str
    speaker: Optional[str] = None
    caption: Optional[str] = None
    recording: Optional[str] = None  # file name relative to the course folder, or "none"
    icon: Optional[str] = None
    line: int = 0


@dataclass
class Page:
    number: int
    title: str
    unit: "Unit"
    picture_place: str = "plain"
    picture_items: List[str] = field(default_factory=list)
    picture_as_background: bool = False
    animation: Optional[str] = None
    big: int = 0
    legacy: bool = False
    words: bool = False
    sentences: List[Sentence] = field(default_factory=list)
    line: int = 0


@dataclass
class Unit:
    key: str
    title: str
    colour: tuple = (66, 133, 244)
    pages: List[Page] = field(default_factory=list)


@dataclass
class Course:
    title: str = "Book"
    characters: dict = field(default_factory=dict)
    narrator: Character = field(default_factory=lambda: Character("Narrator", ""))
    units: List[Unit] = field(default_factory=list)

    def pages(self):
        return [p for u in self.units for p in u.pages]


def _settings(text, lineno):
    out = {}
    for part in text.split(","):
        part = part.strip()
        if not part:
            continue
        bits = part.split(None, 1)
        if len(bits) != 2:
            raise CourseError(f"line {lineno}: expected 'name value' in '{part}'")
        out[bits[0].lower()] = bits[1].strip()
    return out


FLITE_VOICES = ("slt", "rms", "awb", "kal16")


def _voice(settings, lineno):
    """(voice, pitch) of a CHARACTER or NARRATOR line: 'voice flite:slt', 'voice espeak:en-gb+f3'
    (a bare espeak-ng voice name such as 'en-us' still means espeak-ng), 'pitch <n>'."""
    voice = settings.get("voice", DEFAULT_VOICE)
    engine, sep, name = voice.partition(":")
    if sep and engine not in ("flite", "espeak"):
        raise CourseError(f"line {lineno}: voice '{voice}': say flite:<voice> or espeak:<voice>")
    if engine == "flite" and name not in FLITE_VOICES:
        raise CourseError(f"line {lineno}: no flite voice '{name}' (there are {', '.join(FLITE_VOICES)})")
    pitch = None
    if "pitch" in settings:
        try:
            pitch = int(settings["pitch"])
        except ValueError:
            raise CourseError(f"line {lineno}: pitch '{settings['pitch']}' is not a whole number")
        limit = (40, 400) if engine == "flite" else (0, 99)
        if not limit[0] <= pitch <= limit[1]:
            raise CourseError(f"line {lineno}: pitch {pitch} is outside {limit[0]}..{limit[1]} for this voice")
    return voice, pitch


def parse(text):
    course = Course()
    unit = None
    page = None
    sentence = None
    last_key = None
    for lineno, raw in enumerate(text.splitlines(), 1):
        line = raw.rstrip()
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        indented = line[0] in " \t"
        m = re.match(r"^(\w[\w ]*?)\s*:\s*(.*)$", stripped)

        if not indented and stripped.startswith("BOOK:"):
            course.title = stripped[5:].strip()
            continue
        if not indented and stripped.startswith("CHARACTER "):
            name, _, rest = stripped[10:].partition(":")
            s = _settings(rest, lineno)
            if "picture" not in s:
                raise CourseError(f"line {lineno}: a character needs a picture")
            course.characters[name.strip()] = Character(name.strip(), s["picture"], *_voice(s, lineno))
            continue
        if not indented and stripped.startswith("NARRATOR:"):
            s = _settings(stripped[9:], lineno)
            course.narrator = Character("Narrator", "", *_voice(s, lineno))
            continue
        if not indented and stripped.startswith("UNIT "):
            key, _, title = stripped[5:].partition(":")
            unit = Unit(key.strip(), title.strip())
            course.units.append(unit)
            page = sentence = None
            continue
        if not indented and stripped.startswith("PAGE "):
            if unit is None:
                raise CourseError(f"line {lineno}: PAGE before any UNIT")
            num, _, title = stripped[5:].partition(":")
            try:
                n = int(num)
            except ValueError:
                raise CourseError(f"line {lineno}: page number '{num.strip()}' is not a number")
            page = Page(n, title.strip(), unit, line=lineno)
            unit.pages.append(page)
            sentence = None
            continue
        if not indented and stripped.startswith("- "):
            if page is None:
                raise CourseError(f"line {lineno}: sentence outside a page")
            body = stripped[2:].strip()
            speaker = None
            sm = re.match(r"^([A-Z][\w ]*?):\s+(.*)$", body)
            if sm and sm.group(1) in course.characters:
                speaker, body = sm.group(1), sm.group(2)
            sentence = Sentence(body, speaker, line=lineno)
            page.sentences.append(sentence)
            last_key = None
            continue
        if indented and sentence is not None:
            if m and m.group(1).lower() in ("caption", "recording", "icon"):
                key, value = m.group(1).lower(), m.group(2).strip()
                setattr(sentence, key, value)
                last_key = key
            elif last_key == "caption":
                sentence.caption += " " + stripped
            else:
                raise CourseError(f"line {lineno}: don't know what '{stripped}' means here")
            continue
        if not indented and m and page is not None and not page.sentences:
            key, value = m.group(1).lower(), m.group(2).strip()
            if key == "picture":
                place, _, items = value.partition("|")
                page.picture_place = place.strip()
                page.picture_items = [i.strip() for i in items.split(",") if i.strip()]
            elif key == "picture as":
                page.picture_as_background = value == "background"
            elif key == "animation":
                page.animation = value
            elif key == "big":
                page.big = int(value)
            elif key == "layout":
                page.legacy = value == "old"
            elif key == "kind":
                page.words = value == "words"
            else:
                raise CourseError(f"line {lineno}: unknown page setting '{key}'")
            continue
        if not indented and m and unit is not None and page is None and m.group(1).lower() == "colour":
            unit.colour = tuple(int(v) for v in m.group(2).split())
            continue
        raise CourseError(f"line {lineno}: don't know what '{stripped}' means")
    _check(course)
    return course


def _check(course):
    seen = {}
    for p in course.pages():
        if p.number in seen:
            raise CourseError(f"line {p.line}: page {p.number} is written twice")
        seen[p.number] = p
        if not 2 <= p.number <= 77:
            raise CourseError(f"line {p.line}: pages are numbered 2 to 77")
        if not 1 <= len(p.sentences) <= 29:
            raise CourseError(f"line {p.line}: a page has 1 to 29 sentences")
        if p.big and not 1 <= p.big <= len(p.sentences):
            raise CourseError(f"line {p.line}: 'big' names no sentence of the page")
