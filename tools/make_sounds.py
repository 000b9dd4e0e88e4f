#!/usr/bin/env python3
"""Writes the example sounds: a short bounce blip, a seamless music loop and
the effects of the breakout game (a brick blip, a lost ball, a cleared level).

Both are 22050 Hz mono 16-bit PCM WAV files, the mixer's own rate, made from
plain waveforms so the output is the same on every run:

    python3 tools/make_sounds.py            # writes examples/assets/*.wav
    python3 tools/make_sounds.py OUTDIR
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def write_wav(path, samples):
    """samples: floats in -1..1."""
    frames = b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * 32767))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def bounce():
    """90 ms square-wave chirp falling from 880 to 440 Hz with a fast decay."""
    n = int(0.09 * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        phase += (880.0 - 440.0 * t) / RATE
        square = 1.0 if (phase % 1.0) < 0.5 else -1.0
        out.append(0.45 * square * math.exp(-4.0 * t) * min(1.0, i / 40.0))
    return out


def tone(start_hz, end_hz, seconds, decay, square=True):
    """A note gliding from start_hz to end_hz, square or sine, fading out."""
    n = int(seconds * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        phase += (start_hz + (end_hz - start_hz) * t) / RATE
        wave = (1.0 if (phase % 1.0) < 0.5 else -1.0) if square else math.sin(2 * math.pi * phase)
        out.append(0.4 * wave * math.exp(-decay * t) * min(1.0, i / 40.0) * min(1.0, (n - i) / 40.0))
    return out


def brick():
    """45 ms high blip for a broken brick."""
    return tone(1320.0, 1500.0, 0.045, 3.0)


def lose():
    """Half a second falling from 440 to 110 Hz: the ball is lost."""
    return tone(440.0, 110.0, 0.5, 1.5, square=False)


def level():
    """Four rising notes for a cleared wall."""
    return [s for f in (523.3, 659.3, 784.0, 1046.5) for s in tone(f, f, 0.09, 2.0)]


def music():
    """Sixteen 0.2 s notes: a triangle-wave arpeggio over a sine bass. Every
    note starts and ends at silence, so the file loops without a click."""
    note_len = int(0.2 * RATE)
    arpeggio = [57, 60, 64, 69, 64, 60, 57, 60,   # A minor
                53, 57, 60, 65, 60, 57, 55, 59]   # F major, then G
    bass = [45] * 8 + [41] * 6 + [43] * 2
    out = []
    for lead, low in zip(arpeggio, bass):
        f_lead = 440.0 * 2 ** ((lead - 69) / 12)
        f_bass = 440.0 * 2 ** ((low - 69) / 12)
        for i in range(note_len):
            t = i / RATE
            edges = min(1.0, i / 200.0) * min(1.0, (note_len - i) / 400.0)  # no clicks
            triangle = 4.0 * abs((f_lead * t) % 1.0 - 0.5) - 1.0
            lead_part = 0.30 * triangle * edges * math.exp(-3.0 * t)
            bass_part = 0.25 * math.sin(2 * math.pi * f_bass * t) * edges
            out.append(lead_part + bass_part)
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "examples", "assets")
    os.makedirs(outdir, exist_ok=True)
    write_wav(os.path.join(outdir, "bounce.wav"), bounce())
    write_wav(os.path.join(outdir, "music.wav"), music())
    write_wav(os.path.join(outdir, "brick.wav"), brick())
    write_wav(os.path.join(outdir, "lose.wav"), lose())
    write_wav(os.path.join(outdir, "level.wav"), level())


if __name__ == "__main__":
    main()
