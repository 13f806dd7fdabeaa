"""Makes the sentence recordings: espeak-ng speech (or an author's recording)
encoded by lame as mono MP3 of 32 kbps on average, at most about 4 seconds long.

Silence before and after the speech is cut off (a few milliseconds are kept so that no
sound is clipped): a learner taps a sentence and hears it at once, and automatic reading
leaves only its own pause between two sentences.
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

# The book checker's rule (1 to 4 s): a one-word recording still keeps its caption up for a
# few of the reader's 0.3 s checks. Only such short ones get silence after the speech.
MIN_SECONDS = 1.0
MAX_SECONDS = 3.7
SPEEDS = (135, 155, 175, 200, 230, 260)
# A sample this loud (of 32767, about -54 dBFS) is sound; quieter ends are cut.
SILENCE_LEVEL = 64
KEEP_BEFORE_SECONDS = 0.005
KEEP_AFTER_SECONDS = 0.03
CACHE_VERSION = "4"


def _cache_dir():
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return Path(base) / "pagly-bookmaker"


def _speak(text, voice, pitch, speed, wav_path):
    subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", str(wav_path), text],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    with wave.open(str(wav_path), "rb") as w:
        return w.getparams(), w.readframes(w.getnframes())


def _trim(params, frames):
    """The frames from a little before the first audible sample to a little after the last.
    Only 16-bit PCM is looked at; other sample formats are kept whole."""
    if params.sampwidth != 2:
        return frames
    rate, ch = params.framerate, params.nchannels
    samples = array.array("h")
    samples.frombytes(frames)
    if sys.byteorder != "little":
        samples.byteswap()
    loud = [i for i, v in enumerate(samples) if v >= SILENCE_LEVEL or v <= -SILENCE_LEVEL]
    if not loud:
        return frames
    first = max(0, loud[0] // ch - int(KEEP_BEFORE_SECONDS * rate))
    last = min(len(samples) // ch, loud[-1] // ch + 1 + int(KEEP_AFTER_SECONDS * rate))
    unit = 2 * ch
    return frames[first * unit:last * unit]


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
    """Speaks text into out_path; returns the length in seconds."""
    with tempfile.TemporaryDirectory() as tmp:
        raw = Path(tmp) / "raw.wav"
        padded = Path(tmp) / "padded.wav"
        for speed in SPEEDS:
            params, frames = _speak(text, voice, pitch, speed, raw)
            seconds = len(_trim(params, frames)) / (params.sampwidth * params.nchannels) / params.framerate
            if seconds <= MAX_SECONDS:
                break
        seconds = _pad(params, frames, padded)
        _encode(padded, out_path)
    return seconds


def convert(source, out_path):
    """Re-encodes an author's recording (.wav or .mp3) to the book's MP3 format, its silent
    ends cut off like those of the computer voice."""
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
            return
        trimmed = Path(tmp) / "trimmed.wav"
        _pad(params, frames, trimmed)
        _encode(trimmed, out_path)


def make(job):
    """job: (out_path, text, voice, pitch, override or None). Uses a cache keyed by the inputs."""
    out_path, text, voice, pitch, override = job
    h = hashlib.sha256()
    h.update(CACHE_VERSION.encode())
    if override:
        h.update(b"file")
        h.update(Path(override).read_bytes())
    else:
        h.update(("%s|%s|%d" % (text, voice, pitch)).encode("utf-8"))
    cached = _cache_dir() / (h.hexdigest() + ".mp3")
    # The same sentence in the same voice may appear on several pages, and the jobs run on
    # several threads of one process: one thread makes a recording, the others wait for it.
    with _lock_for(cached):
        if not cached.exists():
            cached.parent.mkdir(parents=True, exist_ok=True)
            fd, tmp = tempfile.mkstemp(suffix=".part", dir=cached.parent)
            os.close(fd)
            try:
                if override:
                    convert(override, tmp)
                else:
                    synthesize(text, voice, pitch, tmp)
                os.replace(tmp, cached)
            finally:
                if os.path.exists(tmp):
                    os.unlink(tmp)
    shutil.copyfile(cached, out_path)
    return out_path


_locks = {}
_locks_guard = threading.Lock()


def _lock_for(path):
    with _locks_guard:
        return _locks.setdefault(str(path), threading.Lock())
