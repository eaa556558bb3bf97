"""Exit 0 if a recording, after its leading silence, holds the whole song bit for bit.

Usage: recording_holds_song.py RECORDING EXPECTED (both raw 16-bit little-endian mono).
A sink's monitor records zeros while nothing plays; the song's first sample is -32767, so the
first nonzero sample is where the song begins.
"""
import sys
from array import array


def samples(path):
    data = array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    return data


recording, expected = samples(sys.argv[1]), samples(sys.argv[2])
start = next((i for i, value in enumerate(recording) if value != 0), None)
if start is None:
    sys.exit("the recording is silent")
heard = recording[start : start + len(expected)]
if len(heard) < len(expected):
    sys.exit(f"the recording stops {len(expected) - len(heard)} samples before the song's end")
if heard != expected:
    first = next(i for i in range(len(expected)) if heard[i] != expected[i])
    sys.exit(f"the recording differs from the song first at sample {first}")
print(f"the song starts at sample {start} of the recording and is all there")
