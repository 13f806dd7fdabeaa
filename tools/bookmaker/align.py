"""Word timings for an author's own recording: a forced alignment of the known sentence with
pocketsphinx (Debian's pocketsphinx and pocketsphinx-en-us), which is told that the recording
says exactly the sentence's words and finds where each one lies.

Without pocketsphinx, or for a sentence with a word its dictionary does not know, the
recording gets no timings (the reader then plays it without lighting words) and the book
maker says so in one line.
"""

import re
import shutil
import subprocess
import tempfile
import wave
from pathlib import Path

from . import timings

ALIGNER_VERSION = "1"
PROGRAM = "pocketsphinx_continuous"
DICTIONARY = Path("/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict")
FRAME_SECONDS = 0.01  # pocketsphinx's frame step: a word's end is the start of its last frame

_known = None


def _dictionary():
    global _known
    if _known is None:
        _known = set()
        with open(DICTIONARY, encoding="utf-8", errors="replace") as f:
            for line in f:
                word = line.split(None, 1)[0] if line.strip() else ""
                _known.add(re.sub(r"\(\d+\)$", "", word))
    return _known


def _spoken(word):
    """The dictionary words a written word is said as: "Bye-bye," -> ["bye", "bye"]."""
    parts = [re.sub(r"[^a-z']", "", p.lower()).strip("'") for p in word.split("-")]
    return [p for p in parts if p]


def available():
    return shutil.which(PROGRAM) is not None and DICTIONARY.exists()


def words_in(wav_path, text):
    """[(start, end, word)] for each word of `text` in the WAV recording, or None."""
    if not available():
        print("make_book: no word timings for the recording of '%s': install pocketsphinx "
              "and pocketsphinx-en-us to get them" % text)
        return None
    written = timings.sentence_words(text)
    spoken = [_spoken(w) for w in written]
    known = _dictionary()
    unknown = [p for parts in spoken for p in parts if p not in known]
    if not written or unknown or any(not parts for parts in spoken):
        print("make_book: no word timings for the recording of '%s': cannot align %s"
              % (text, ", ".join(unknown) or "a word without letters"))
        return None
    with wave.open(str(wav_path), "rb") as w:
        rate, seconds = w.getframerate(), w.getnframes() / w.getframerate()
    with tempfile.TemporaryDirectory() as tmp:
        grammar = Path(tmp) / "sentence.gram"
        grammar.write_text("#JSGF V1.0;\ngrammar sentence;\npublic <sentence> = %s;\n"
                           % " ".join(p for parts in spoken for p in parts))
        cmd = [PROGRAM, "-infile", str(wav_path), "-jsgf", str(grammar), "-time", "yes",
               "-samprate", str(rate), "-logfn", "/dev/null"]
        if rate > 16000:
            cmd += ["-nfft", "1024"]
        done = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    found = []
    for line in done.stdout.splitlines():
        bits = line.split()
        if len(bits) == 4 and not bits[0].startswith(("<", "[")):
            found.append((re.sub(r"\(\d+\)$", "", bits[0]), float(bits[1]), float(bits[2]) + FRAME_SECONDS))
    if [f[0] for f in found] != [p for parts in spoken for p in parts]:
        print("make_book: no word timings for the recording of '%s': the alignment failed" % text)
        return None
    out = []
    k = 0
    for word, parts in zip(written, spoken):
        first, last = found[k], found[k + len(parts) - 1]
        k += len(parts)
        out.append((first[1], min(last[2], seconds), word))
    return out
