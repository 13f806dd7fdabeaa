#!/usr/bin/env python3
"""Makes the sample book (book/) from the course file (tools/course/course.txt).

    python3 tools/make_book.py                 # the whole book, into book/
    python3 tools/make_book.py --out /tmp/b    # somewhere else
    python3 tools/make_book.py --no-audio      # skip the recordings (fast)
    python3 tools/make_book.py --pages 2-5,70  # only some pages (for trying things out)

Needs Debian's python3-pil, flite1-dev (and a C compiler: the flite helper tools/speak/ is
compiled on first use unless $PAGLY_SPEAK names a built one), espeak-ng, lame, pocketsphinx,
pocketsphinx-en-us and fonts-liberation2 (scripts/setup.sh).
"""

import argparse
import os
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent

try:
    import PIL  # noqa: F401
except ImportError:
    # A Python outside Debian's (e.g. a version manager's) does not see python3-pil.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("make_book: Pillow is missing; install python3-pil (scripts/setup.sh)")

sys.path.insert(0, str(HERE))
from bookmaker import course as course_mod  # noqa: E402
from bookmaker.build import BookBuilder  # noqa: E402


def page_list(text):
    pages = set()
    for part in text.split(","):
        a, _, b = part.partition("-")
        pages.update(range(int(a), int(b or a) + 1))
    return pages


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--course", default=str(HERE / "course" / "course.txt"))
    ap.add_argument("--out", default=str(HERE.parent / "book"))
    ap.add_argument("--no-audio", action="store_true")
    ap.add_argument("--pages", type=page_list)
    ap.add_argument("--jobs", type=int, default=2)
    args = ap.parse_args(argv)
    course_path = Path(args.course)
    try:
        course = course_mod.parse(course_path.read_text(encoding="utf-8"))
    except course_mod.CourseError as e:
        sys.exit("%s: %s" % (course_path, e))
    try:
        BookBuilder(course, course_path.parent, args.out, with_audio=not args.no_audio, jobs=args.jobs,
                    only_pages=args.pages).build()
    except ValueError as e:  # something the course asks for cannot be drawn or laid out
        sys.exit("%s: %s" % (course_path, e))
    print("make_book: wrote %s (%d pages)" % (args.out, len(course.pages())))


if __name__ == "__main__":
    main()
