#!/usr/bin/env python3
"""Writes the five sound cues into data/Sounds/ (mono, 22050 Hz, 16-bit PCM).

Run from anywhere: python3 tools/make-sounds.py [OUTPUT_DIR]
The output is deterministic, so running it again reproduces the committed files byte for byte.
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 32767


def envelope(i, n, attack, decay):
    """Short linear attack, exponential decay, and a 2 ms fade so the end never clicks."""
    t = i / RATE
    gain = min(1.0, t / attack) if attack > 0 else 1.0
    gain *= math.exp(-t / decay)
    fade = int(0.002 * RATE)
    if n - i < fade:
        gain *= (n - i) / fade
    return gain


def tone(seconds, partials, volume, attack, decay):
    """Sum of (frequency, weight) partials under one envelope."""
    n = int(seconds * RATE)
    total = sum(w for _, w in partials)
    out = []
    for i in range(n):
        t = i / RATE
        s = sum(w * math.sin(2 * math.pi * f * t) for f, w in partials) / total
        out.append(s * volume * envelope(i, n, attack, decay))
    return out


def click():
    """A key click: a very short, bright, quickly dying tick with a little deterministic noise."""
    n = int(0.025 * RATE)
    seed = 12345
    out = []
    for i in range(n):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = seed / 0x3FFFFFFF - 1.0
        t = i / RATE
        s = 0.6 * math.sin(2 * math.pi * 2400 * t) + 0.4 * noise
        out.append(s * 0.45 * envelope(i, n, 0.0005, 0.004))
    return out


def error_buzz():
    """A low buzz: a soft-edged square wave at 110 Hz, odd harmonics only."""
    partials = [(110 * k, 1.0 / k) for k in (1, 3, 5, 7, 9)]
    return tone(0.28, partials, 0.55, 0.005, 0.25)


def little_error():
    """A shorter, softer error: two gentle low notes, falling."""
    first = tone(0.07, [(330, 1.0), (660, 0.3)], 0.35, 0.004, 0.05)
    second = tone(0.09, [(247, 1.0), (494, 0.3)], 0.35, 0.004, 0.06)
    return first + second


def chime():
    """A notice: two bell notes a fourth apart, each with a slightly inharmonic overtone."""
    first = tone(0.16, [(880, 1.0), (2420, 0.25)], 0.4, 0.002, 0.09)
    second = tone(0.30, [(1175, 1.0), (3230, 0.2)], 0.4, 0.002, 0.12)
    return first + second


def waiting_tick():
    """A quiet waiting tick: a soft, short wooden knock."""
    return tone(0.04, [(1000, 1.0), (1500, 0.4)], 0.18, 0.001, 0.01)


SOUNDS = {
    "DIGIT.WAV": click,
    "ERROR.WAV": error_buzz,
    "LITTLE_ERROR.WAV": little_error,
    "NOTICE.WAV": chime,
    "WAITING.WAV": waiting_tick,
}


def write(path, samples):
    frames = b"".join(struct.pack("<h", max(-PEAK, min(PEAK, round(s * PEAK)))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "Sounds")
    os.makedirs(out_dir, exist_ok=True)
    for name, make in SOUNDS.items():
        path = os.path.join(out_dir, name)
        write(path, make())
        print(path)


if __name__ == "__main__":
    main()
