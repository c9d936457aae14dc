#!/usr/bin/env python3
"""Reads a 16-bit PCM WAV recording and answers one question about it.

    audio_levels.py WAV duration              the recording's length in seconds
    audio_levels.py WAV onset FROM LEVEL      the start, in seconds, of the first 20 ms
                                              at or after FROM whose RMS reaches LEVEL
                                              (full scale 1.0); "none" when none does
    audio_levels.py WAV rms FROM TO           the RMS between the two times
    audio_levels.py WAV burst FROM TO LEVEL   the first 10 ms in FROM..TO where the high
                                              frequencies (the first difference of the
                                              signal) peak at LEVEL or more, and that peak
                                              and the loudest such peak of the second before
                                              FROM, as "START PEAK BEFORE"; "none PEAK BEFORE"
                                              when no window reaches LEVEL

A press sound far above the music's notes stands out in the first difference,
which lifts high frequencies and damps low ones.
"""
import array
import math
import sys
import wave


def load(path):
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2:
            sys.exit("only 16-bit recordings are read")
        channels, rate = w.getnchannels(), w.getframerate()
        samples = array.array("h", w.readframes(w.getnframes()))
    if sys.byteorder == "big":
        samples.byteswap()
    # The channels are averaged into one.
    mono = [sum(samples[i:i + channels]) / (channels * 32768.0) for i in range(0, len(samples), channels)]
    return mono, rate


def main(argv):
    mono, rate = load(argv[1])
    what = argv[2]
    span = lambda a, b: mono[max(0, int(a * rate)):max(0, int(b * rate))]
    if what == "duration":
        print("%.3f" % (len(mono) / rate))
    elif what == "onset":
        start, level, step = float(argv[3]), float(argv[4]), 0.02
        t = max(0.0, start)
        while t * rate < len(mono):
            part = span(t, t + step)
            if part and math.sqrt(sum(v * v for v in part) / len(part)) >= level:
                print("%.3f" % t)
                return
            t += step
        print("none")
    elif what == "rms":
        part = span(float(argv[3]), float(argv[4]))
        print("%.5f" % (math.sqrt(sum(v * v for v in part) / len(part)) if part else 0.0))
    elif what == "burst":
        start, end, level, step = float(argv[3]), float(argv[4]), float(argv[5]), 0.01

        def peak(a, b):
            part = span(a, b)
            return max((abs(part[i] - part[i - 1]) for i in range(1, len(part))), default=0.0)

        before = peak(start - 1.0, start)
        best, found, t = 0.0, None, start
        while t < end:
            p = peak(t, t + step)
            best = max(best, p)
            if found is None and p >= level:
                found = t
            t += step
        print("%s %.4f %.4f" % ("%.3f" % found if found is not None else "none", best, before))
    else:
        sys.exit("unknown question %r" % what)


if __name__ == "__main__":
    main(sys.argv)
