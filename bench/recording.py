#!/usr/bin/python3
"""Reads a sink's monitor recorded by parec (raw 16-bit stereo at 44,100 Hz)
for bench/before_after.sh; each figure in milliseconds from frame FROM on:

    recording.py FILE first-sound FROM          first frame louder than -50 dB
    recording.py FILE silent FROM               first frame of 10 ms of silence
    recording.py FILE left-place FROM SECONDS   the last frame of a place track
                                                before SECONDS of it (a seek)
    recording.py FILE lead FRAMES POSITION_US SECONDS
                                                the position less the place heard
    recording.py FILE gap FROM SECONDS          longest silence between two place
                                                tracks of SECONDS heard in turn

A place track's left channel rises from 0.1 to 0.9 over the track while its
right one stays at 0.5, so every frame says which moment of it is heard."""
import array
import sys

RATE = 44100


def frames(path):
    samples = array.array("h", open(path, "rb").read())
    return [(samples[i] / 32768, samples[i + 1] / 32768) for i in range(0, len(samples) - 1, 2)]


def place(frame, seconds):
    left, right = frame
    if abs(right - 0.5) > 0.05:
        return None
    return (left / right * 0.5 - 0.1) / 0.8 * seconds


def ms(count):
    return "%.1f" % (count * 1000 / RATE)


def main():
    path, what = sys.argv[1], sys.argv[2]
    out = frames(path)
    loud = lambda f: max(abs(f[0]), abs(f[1])) > 0.003
    if what == "first-sound":
        start = int(sys.argv[3])
        at = next((i for i in range(start, len(out)) if loud(out[i])), None)
        print("none" if at is None else ms(at - start))
    elif what == "silent":
        start, run = int(sys.argv[3]), RATE // 100
        quiet = 0
        for i in range(start, len(out)):
            quiet = quiet + 1 if not loud(out[i]) else 0
            if quiet == run:
                print(ms(i - run + 1 - start))
                return
        print("none")
    elif what == "left-place":
        start, target = int(sys.argv[3]), float(sys.argv[4])
        last = start
        for i in range(start, min(len(out), start + RATE)):
            p = place(out[i], 10)
            if p is not None and p < target - 0.1:
                last = i
        print(ms(last - start))
    elif what == "lead":
        at, position, seconds = int(sys.argv[3]), int(sys.argv[4]) / 1e6, float(sys.argv[5])
        p = place(out[at], seconds) if at < len(out) else None
        print("none" if p is None else "%.1f" % ((position - p) * 1000))
    elif what == "gap":
        start, seconds = int(sys.argv[3]), float(sys.argv[4])
        places = [place(f, seconds) for f in out[start:]]
        # The first track's end: its last frame past 90 % of it before the
        # place falls back to the start.
        end = next((i for i in range(1, len(places)) if places[i] is not None and places[i] < 0.1 * seconds
                    and any(p is not None and p > 0.9 * seconds for p in places[max(0, i - RATE):i])), None)
        if end is None:
            print("none")
            return
        last = max(i for i in range(max(0, end - RATE), end) if places[i] is not None and places[i] > 0.9 * seconds)
        # Frames between them that are no place of either track (silence, edges).
        print(ms(end - last - 1))


main()
