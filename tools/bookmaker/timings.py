"""Word timing files: when each word of a recording is heard.

Beside every recording epc/<md5>.mp3 that has timings lies epc/<md5>.words, a UTF-8 text:

    pagly-words 1
    0.005 0.412 Hello
    0.530 0.871 Amy

The first line names the format and its version. Then one line per word of the sentence as
its button shows it (whitespace-separated, punctuation kept on the word it follows: "Amy!"
is one word), in order: start and end in seconds from the start of the recording as it plays
at normal speed, three decimals, then the word as the speech was made from (the reader goes
by the order, the word is for people and the book checker).
"""

from pathlib import Path

HEADER = "pagly-words 1"
SUFFIX = ".words"


def path_for(recording):
    return Path(recording).with_suffix(SUFFIX)


def format_words(words):
    lines = [HEADER]
    for start, end, word in words:
        lines.append("%.3f %.3f %s" % (start, end, " ".join(word.split()) or "-"))
    return "\n".join(lines) + "\n"


def write(path, words):
    Path(path).write_text(format_words(words), encoding="utf-8")


def read(path):
    """[(start, end, word)]; raises ValueError on a file that is not one."""
    lines = Path(path).read_text(encoding="utf-8").splitlines()
    if not lines or lines[0].strip() != HEADER:
        raise ValueError("%s: first line is not '%s'" % (path, HEADER))
    words = []
    for n, line in enumerate(lines[1:], 2):
        bits = line.split(None, 2)
        if len(bits) != 3:
            raise ValueError("%s: line %d is not 'start end word'" % (path, n))
        words.append((float(bits[0]), float(bits[1]), bits[2]))
    return words


def sentence_words(text):
    """The words of a sentence as its button shows them."""
    return text.split()
