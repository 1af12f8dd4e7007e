#!/usr/bin/env python3
"""Writes the display's sounds (16-bit mono PCM WAV, 44.1 kHz) into ui/run/sounds/: a short
high beep for each stored jump and a falling pair of tones for the end of a series. Each tone
fades in and out over a few milliseconds, so that it starts and stops without a click."""

import math
import os
import struct
import wave

RATE = 44100


def tone(frequency, seconds, volume=0.5):
    count = int(RATE * seconds)
    fade = int(RATE * 0.005)
    samples = []
    for i in range(count):
        envelope = min(1.0, i / fade, (count - 1 - i) / fade)
        samples.append(volume * envelope * math.sin(2 * math.pi * frequency * i / RATE))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in samples))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui", "run", "sounds")
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, "jump.wav"), tone(1760, 0.08))
    write(os.path.join(folder, "end.wav"), tone(880, 0.15) + silence(0.05) + tone(587, 0.3))


if __name__ == "__main__":
    main()
