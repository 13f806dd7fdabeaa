"""Makes the sentence recordings: flite speech (espeak-ng for a character whose voice says
so, or an author's recording) encoded by lame as mono MP3 of 32 kbps on average, at most
about 4 seconds long, with the word timings beside each (timings.py).

Silence before and after the speech is cut off (a few milliseconds are kept so that no
sound is clipped): a learner taps a sentence and hears it at once, and automatic reading
leaves only its own pause between two sentences. Word timings are moved by what was cut.
"""

import array
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import wave
from pathlib import Path

from . import align, timings

# The book checker's rule (1 to 4 s): a one-word recording still keeps its caption up for a
# few of the reader's 0.3 s checks. Only such short ones get silence after the speech.
MIN_SECONDS = 1.0
MAX_SECONDS = 3.7
SPEEDS = (135, 155, 175, 200, 230, 260)  # espeak-ng's words per minute, tried in turn
STRETCHES = (1.0, 0.9, 0.8, 0.7, 0.6)     # flite's duration factor, tried in turn
# A sample this loud (of 32767, about -54 dBFS) is sound; quieter ends are cut. flite's voices
# breathe a faint noise (peaks of about 120) into their pauses: a sample must also reach this
# share of the recording's loudest one (about -43 dB under it) to count as sound.
SILENCE_LEVEL = 64
SILENCE_SHARE = 1 / 150
KEEP_BEFORE_SECONDS = 0.005
KEEP_AFTER_SECONDS = 0.03
CACHE_VERSION = "6"
FLITE_VOICES = ("slt", "rms", "awb", "kal16")
HELPER_SOURCE = Path(__file__).resolve().parent.parent / "speak" / "pagly_speak.c"
HELPER_LIBS = ["-lflite_cmu_us_slt", "-lflite_cmu_us_rms", "-lflite_cmu_us_awb", "-lflite_cmu_us_kal16",
               "-lflite_usenglish", "-lflite_cmulex", "-lflite", "-lm"]


def _cache_dir():
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return Path(base) / "pagly-bookmaker"


def split_voice(voice):
    """'flite:slt' -> ('flite', 'slt'); 'espeak:en-gb+f3' or a bare espeak voice -> ('espeak', ...)."""
    engine, sep, name = voice.partition(":")
    if not sep:
        return "espeak", voice
    return engine, name


_helper_lock = threading.Lock()


def speaker_program():
    """The flite helper (tools/speak/pagly_speak.c): $PAGLY_SPEAK when set (the build's own),
    else compiled once into the cache, named by its source so that a change makes a new one."""
    given = os.environ.get("PAGLY_SPEAK")
    if given:
        return given
    source = HELPER_SOURCE.read_bytes()
    exe = _cache_dir() / ("pagly-speak-" + hashlib.sha256(source).hexdigest()[:16])
    with _helper_lock:
        if not exe.exists():
            exe.parent.mkdir(parents=True, exist_ok=True)
            tmp = exe.with_suffix(".part%d" % os.getpid())
            subprocess.run(["cc", "-O2", "-o", str(tmp), str(HELPER_SOURCE)] + HELPER_LIBS, check=True)
            os.replace(tmp, exe)
    return str(exe)


def _read_wav(wav_path):
    with wave.open(str(wav_path), "rb") as w:
        return w.getparams(), w.readframes(w.getnframes())


def _speak_espeak(text, voice, pitch, speed, wav_path):
    """espeak-ng's command line gives no word events: its timings come from aligning the
    recording afterwards (synthesize)."""
    subprocess.run(["espeak-ng", "-v", voice, "-p", str(50 if pitch is None else pitch), "-s", str(speed),
                    "-w", str(wav_path), text], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    params, frames = _read_wav(wav_path)
    return params, frames, None


def _speak_flite(text, voice, pitch, stretch, wav_path):
    if voice not in FLITE_VOICES:
        raise ValueError("no flite voice '%s' (%s)" % (voice, ", ".join(FLITE_VOICES)))
    done = subprocess.run([speaker_program(), voice, str(pitch or 0), "%.2f" % stretch, text, str(wav_path)],
                          check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    words = []
    for line in done.stdout.splitlines():
        start, end, word = line.split(None, 2)
        words.append((float(start), float(end), word))
    params, frames = _read_wav(wav_path)
    return params, frames, words


def _trim_range(params, frames):
    """(first, last): the sample frames from a little before the first audible sample to a
    little after the last. Only 16-bit PCM is looked at; other sample formats are kept whole."""
    unit = params.sampwidth * params.nchannels
    whole = (0, len(frames) // unit)
    if params.sampwidth != 2:
        return whole
    rate, ch = params.framerate, params.nchannels
    samples = array.array("h")
    samples.frombytes(frames)
    if sys.byteorder != "little":
        samples.byteswap()
    level = max(SILENCE_LEVEL, max((abs(v) for v in samples), default=0) * SILENCE_SHARE)
    loud = [i for i, v in enumerate(samples) if v >= level or v <= -level]
    if not loud:
        return whole
    first = max(0, loud[0] // ch - int(KEEP_BEFORE_SECONDS * rate))
    last = min(len(samples) // ch, loud[-1] // ch + 1 + int(KEEP_AFTER_SECONDS * rate))
    return first, last


def _trim(params, frames):
    first, last = _trim_range(params, frames)
    unit = params.sampwidth * params.nchannels
    return frames[first * unit:last * unit]


def _shift_words(params, frames, words):
    """Word timings of the untrimmed speech moved to the trimmed one (and kept inside it)."""
    if words is None:
        return None
    first, last = _trim_range(params, frames)
    rate = params.framerate
    start, end = first / rate, last / rate
    moved = []
    for a, b, word in words:
        a = min(max(a - start, 0.0), end - start)
        b = min(max(b - start, a), end - start)
        moved.append((a, b, word))
    return moved


def _pad(params, frames, wav_path):
    """Writes the trimmed speech, with silence after it when it is shorter than MIN_SECONDS."""
    rate, width, ch = params.framerate, params.sampwidth, params.nchannels
    unit = width * ch
    frames = _trim(params, frames)
    want = int(MIN_SECONDS * rate) * unit
    tail = b"\0" * max(0, want - len(frames))
    with wave.open(str(wav_path), "wb") as w:
        w.setnchannels(ch)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(frames + tail)
    return (len(frames) + len(tail)) / unit / rate


def _encode(src, dst, mp3_input=False):
    # Average 32 kbps rather than constant: the first frame may then be large enough for the
    # encoder's gapless tag, and decoders that read it (SDL_mixer's does) skip the encoder's
    # and decoder's delay, about 50 ms of silence before every sentence otherwise.
    cmd = ["lame", "--quiet", "--abr", "32", "-m", "m", "--noreplaygain"]
    if mp3_input:
        cmd.append("--mp3input")
    subprocess.run(cmd + [str(src), str(dst)], check=True)


def synthesize(text, voice, pitch, out_path):
    """Speaks text into out_path in `voice` ('flite:slt', 'espeak:en-us', ...); returns the
    word timings of the recording, or None when the synthesiser gives none."""
    engine, name = split_voice(voice)
    if engine == "flite":
        speak, paces = _speak_flite, STRETCHES
    elif engine == "espeak":
        speak, paces = _speak_espeak, SPEEDS
    else:
        raise ValueError("unknown speech engine '%s' in voice '%s' (flite or espeak)" % (engine, voice))
    with tempfile.TemporaryDirectory() as tmp:
        raw = Path(tmp) / "raw.wav"
        padded = Path(tmp) / "padded.wav"
        for pace in paces:
            params, frames, words = speak(text, name, pitch, pace, raw)
            seconds = len(_trim(params, frames)) / (params.sampwidth * params.nchannels) / params.framerate
            if seconds <= MAX_SECONDS:
                break
        words = _shift_words(params, frames, words)
        _pad(params, frames, padded)
        _encode(padded, out_path)
        if engine == "espeak":
            words = align.words_in(padded, text)
    return words


def convert(source, out_path, text):
    """Re-encodes an author's recording (.wav or .mp3) to the book's MP3 format, its silent
    ends cut off like those of the computer voice. Returns the word timings of `text` found
    in it by forced alignment (align.py), or None when there are none."""
    source = Path(source)
    with tempfile.TemporaryDirectory() as tmp:
        wav = Path(tmp) / "author.wav"
        if source.suffix.lower() == ".mp3":
            subprocess.run(["lame", "--quiet", "--decode", str(source), str(wav)], check=True)
        else:
            shutil.copyfile(source, wav)
        try:
            with wave.open(str(wav), "rb") as w:
                params, frames = w.getparams(), w.readframes(w.getnframes())
        except (wave.Error, EOFError):
            # Not plain PCM: lame reads more kinds of WAV than Python does; keep it whole.
            _encode(source, out_path, mp3_input=source.suffix.lower() == ".mp3")
            return None
        trimmed = Path(tmp) / "trimmed.wav"
        _pad(params, frames, trimmed)
        _encode(trimmed, out_path)
        return align.words_in(trimmed, text)


def make(job):
    """job: (out_path, text, voice, pitch or None, override or None). Writes out_path and, when
    there are word timings, the timing file beside it (timings.path_for). Uses a cache keyed
    by the inputs."""
    out_path, text, voice, pitch, override = job
    h = hashlib.sha256()
    h.update(CACHE_VERSION.encode())
    if override:
        h.update(b"file")
        h.update(Path(override).read_bytes())
        h.update(text.encode("utf-8"))
        h.update(align.ALIGNER_VERSION.encode())
        h.update(b"aligner" if align.available() else b"no aligner")
    else:
        h.update(("%s|%s|%s" % (text, voice, pitch)).encode("utf-8"))
        if split_voice(voice)[0] == "flite":
            h.update(HELPER_SOURCE.read_bytes())
        else:  # espeak-ng's timings come from the aligner
            h.update(align.ALIGNER_VERSION.encode())
            h.update(b"aligner" if align.available() else b"no aligner")
    cached = _cache_dir() / (h.hexdigest() + ".mp3")
    cached_words = timings.path_for(cached)
    # The same sentence in the same voice may appear on several pages, and the jobs run on
    # several threads of one process: one thread makes a recording, the others wait for it.
    with _lock_for(cached):
        if not cached.exists():
            cached.parent.mkdir(parents=True, exist_ok=True)
            fd, tmp = tempfile.mkstemp(suffix=".part", dir=cached.parent)
            os.close(fd)
            try:
                words = convert(override, tmp, text) if override else synthesize(text, voice, pitch, tmp)
                if words is not None and len(words) != len(timings.sentence_words(text)):
                    print("make_book: no word timings for '%s': the speech has %d words, the sentence %d"
                          % (text, len(words), len(timings.sentence_words(text))))
                    words = None
                # The timings first: a cached recording is never without its timing file.
                if words is not None:
                    timings.write(cached_words, words)
                os.replace(tmp, cached)
            finally:
                if os.path.exists(tmp):
                    os.unlink(tmp)
    shutil.copyfile(cached, out_path)
    out_words = timings.path_for(Path(out_path))
    if cached_words.exists():
        shutil.copyfile(cached_words, out_words)
    elif out_words.exists():
        out_words.unlink()
    return out_path


_locks = {}
_locks_guard = threading.Lock()


def _lock_for(path):
    with _locks_guard:
        return _locks.setdefault(str(path), threading.Lock())
