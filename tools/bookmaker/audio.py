"""Makes the sentence recordings: espeak-ng speech (or an author's recording)
encoded by lame as 32 kbps mono MP3, between 1 and 4 seconds long.
"""

import hashlib
import io
import os
import shutil
import subprocess
import tempfile
import threading
import wave
from pathlib import Path

MIN_SECONDS = 1.3
MAX_SECONDS = 3.7
SPEEDS = (135, 155, 175, 200, 230, 260)
LEAD_SECONDS = 0.12
CACHE_VERSION = "1"


def _cache_dir():
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return Path(base) / "pagly-bookmaker"


def _speak(text, voice, pitch, speed, wav_path):
    subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", str(wav_path), text],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    with wave.open(str(wav_path), "rb") as w:
        return w.getparams(), w.readframes(w.getnframes())


def _pad(params, frames, wav_path):
    """Adds a short lead-in and enough silence at the end to last MIN_SECONDS."""
    rate, width, ch = params.framerate, params.sampwidth, params.nchannels
    unit = width * ch
    lead = b"\0" * (int(LEAD_SECONDS * rate) * unit)
    total = len(lead) + len(frames)
    want = int(MIN_SECONDS * rate) * unit
    tail = b"\0" * max(0, want - total)
    with wave.open(str(wav_path), "wb") as w:
        w.setnchannels(ch)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(lead + frames + tail)
    return (total + len(tail)) / unit / rate


def _encode(src, dst, mp3_input=False):
    cmd = ["lame", "--quiet", "-b", "32", "-m", "m", "--noreplaygain"]
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
            seconds = LEAD_SECONDS + params.nframes / params.framerate
            if seconds <= MAX_SECONDS:
                break
        seconds = _pad(params, frames, padded)
        _encode(padded, out_path)
    return seconds


def convert(source, out_path):
    """Re-encodes an author's recording (.wav or .mp3) to the book's MP3 format."""
    source = Path(source)
    if source.suffix.lower() == ".mp3":
        _encode(source, out_path, mp3_input=True)
    else:
        _encode(source, out_path)


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
    if not cached.exists():
        cached.parent.mkdir(parents=True, exist_ok=True)
        # Jobs run on threads of one process, and two sentences may share a text: the
        # temporary name must differ per thread, or two encoders write one file at once.
        tmp = cached.with_suffix(".part%d-%d" % (os.getpid(), threading.get_ident()))
        if override:
            convert(override, tmp)
        else:
            synthesize(text, voice, pitch, tmp)
        os.replace(tmp, cached)
    shutil.copyfile(cached, out_path)
    return out_path
