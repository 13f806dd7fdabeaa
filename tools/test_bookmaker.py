#!/usr/bin/env python3
"""Checks that the book maker is reproducible and that book/ is what the course file makes.

1. Two builds without recordings, into two fresh folders, give identical files.
2. Two builds of the recordings of a few pages, each with an empty speech cache,
   give identical MP3 and word timing files (flite, pocketsphinx and lame are
   deterministic).
3. The committed book/ holds exactly the documents, text tables, recordings and
   word timing files that the course file makes now (so nobody forgets to rebuild).

Prints "N passed, M failed" and exits non-zero on any failure.
"""

import filecmp
import os
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent
MAKER = HERE / "make_book.py"
TEXT_SUFFIXES = {".json", ".xml", ".plist"}


def build(out, *extra, cache=None):
    env = dict(os.environ)
    if cache:
        env["XDG_CACHE_HOME"] = str(cache)
    subprocess.run([sys.executable, str(MAKER), "--out", str(out), *extra], check=True, env=env,
                   stdout=subprocess.DEVNULL)


# Written by the reader itself on its first run, not made from the course file.
NOT_BOOK_CONTENT = {"ft.xml"}


def tree(root):
    return sorted(str(p.relative_to(root)) for p in Path(root).rglob("*")
                  if p.is_file() and str(p.relative_to(root)) not in NOT_BOOK_CONTENT)


def differences(a, b, only_suffixes=None, skip_dirs=()):
    fa, fb = tree(a), tree(b)
    if only_suffixes:
        fa = [f for f in fa if Path(f).suffix in only_suffixes]
        fb = [f for f in fb if Path(f).suffix in only_suffixes]
    fa = [f for f in fa if f.split("/")[0] not in skip_dirs]
    fb = [f for f in fb if f.split("/")[0] not in skip_dirs]
    problems = []
    for f in sorted(set(fa) ^ set(fb)):
        problems.append("only in %s: %s" % (a if f in fa else b, f))
    for f in sorted(set(fa) & set(fb)):
        if not filecmp.cmp(Path(a) / f, Path(b) / f, shallow=False):
            problems.append("differs: %s" % f)
    return problems


def main():
    passed = failed = 0

    def report(name, problems):
        nonlocal passed, failed
        if problems:
            failed += 1
            print("FAIL %s" % name)
            for p in problems[:20]:
                print("   ", p)
        else:
            passed += 1
            print("ok   %s" % name)

    with tempfile.TemporaryDirectory() as tmp:
        tmp = Path(tmp)
        build(tmp / "a", "--no-audio")
        build(tmp / "b", "--no-audio")
        report("two builds without recordings are identical", differences(tmp / "a", tmp / "b"))

        pages = "2,41,77"
        build(tmp / "sa", "--pages", pages, cache=tmp / "cache_a")
        build(tmp / "sb", "--pages", pages, cache=tmp / "cache_b")
        problems = differences(tmp / "sa" / "epc", tmp / "sb" / "epc")
        if not tree(tmp / "sa" / "epc"):
            problems.append("no recordings were made")
        report("recordings made twice from scratch are identical", problems)

        book = REPO / "book"
        problems = differences(tmp / "a", book, TEXT_SUFFIXES)
        made = set(p.name for p in (tmp / "sa" / "epc").iterdir())
        committed = set(p.name for p in (book / "epc").iterdir()) if (book / "epc").is_dir() else set()
        problems += ["recording missing from book/: epc/%s" % n for n in sorted(made - committed)]
        problems += ["recording differs from book/: epc/%s" % n for n in sorted(made & committed)
                     if not filecmp.cmp(tmp / "sa" / "epc" / n, book / "epc" / n, shallow=False)]
        report("book/ matches the course file (documents, tables, recordings)", problems)

    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    try:
        import PIL  # noqa: F401
    except ImportError:
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit(main())
