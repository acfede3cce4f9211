#!/usr/bin/python3
"""The same edit as the write-out benchmark done with fontTools: open the
font (a collection through TTCollection), set the first font's OS/2 weight
class to 700, save it. Prints one tab-separated row per font with the median
time in seconds:

    fonttools  FONT  SECONDS

Usage: fonttools_edit.py REPEATS OUTPUT_FOLDER FONT...
Needs Debian's python3-fonttools: run it with /usr/bin/python3.
"""

import logging
import os
import statistics
import sys
import time

from fontTools.ttLib import TTCollection, TTFont


def edit(font_path, target):
    with open(font_path, "rb") as file:
        is_collection = file.read(4) == b"ttcf"
    font = TTCollection(font_path) if is_collection else TTFont(font_path)
    first = font.fonts[0] if is_collection else font
    first["OS/2"].usWeightClass = 700
    font.save(target)
    font.close()


def main():
    # fontTools warns about the synthetic font's odd fields; the edit is the same.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    repeats = max(1, int(sys.argv[1]))
    target = os.path.join(sys.argv[2], "fonttools-out.ttf")
    for font_path in sys.argv[3:]:
        samples = []
        for _ in range(repeats):
            start = time.perf_counter()
            edit(font_path, target)
            samples.append(time.perf_counter() - start)
        os.remove(target)
        print(f"fonttools\t{font_path}\t{statistics.median(samples):.6f}", flush=True)


if __name__ == "__main__":
    main()
