#!/usr/bin/python3
"""Checks with fontTools the font that the gasp write-out test writes under Wine.

Runs the Wine suite GaspWriteOut with FONTAB_GASP_WRITE_OUT naming a fresh
folder, in which the test leaves the font it opened (read.ttf) and the font
it wrote after editing one gasp range (written.ttf). Then checks that:
  * fontTools opens the written font with checksum verification on, every
    table's checksum is right, and so is head.checkSumAdjustment;
  * its gasp table holds the edited range and the other ranges as before;
  * every other byte equals the font read, except the gasp record's checkSum
    and head.checkSumAdjustment.
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile

CHECKSUM_MAGIC = 0xB1B0AFBA
HEAD_ADJUSTMENT_AT = 8
RECORD_CHECKSUM_AT = 4
# The test's font before and after: 8 ppem (smoothing) became 10 points,
# 14 ppem, with both flags; the others are untouched.
GASP_READ = {8: 0x0002, 16: 0x0007, 0xFFFF: 0x000F}
GASP_WRITTEN = {14: 0x0003, 16: 0x0007, 0xFFFF: 0x000F}

try:
    from fontTools.ttLib import TTFont
except ImportError as error:  # scripts/setup installs python3-fonttools
    print(f"fontTools cannot be imported ({error}); run scripts/setup")
    sys.exit(1)


def directory(data):
    """tag -> (record offset, table offset, table length)."""
    (num_tables,) = struct.unpack_from(">H", data, 4)
    tables = {}
    for i in range(num_tables):
        record = 12 + 16 * i
        tag, _, offset, length = struct.unpack_from(">4sIII", data, record)
        tables[tag.decode("latin-1")] = (record, offset, length)
    return tables


def whole_file_sum(data):
    padded = data + b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(padded) // 4}I", padded)) & 0xFFFFFFFF


def windows_path(path):
    # Wine's drive Z: is the root of the Unix file system.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def gasp_bytes(version, ranges):
    data = struct.pack(">HH", version, len(ranges))
    for ppem in sorted(ranges):
        data += struct.pack(">HH", ppem, ranges[ppem])
    return data


def check_written(read, written):
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    before = TTFont(read)
    after = TTFont(written, checkChecksums=2)
    # checkChecksums=2 raises on the first table whose checksum is wrong.
    for tag in after.reader.keys():
        try:
            after.reader[tag]
        except AssertionError as error:
            failures.append(f"table {tag}: {error}")

    check(dict(before["gasp"].gaspRange) == GASP_READ,
          f"gasp read {before['gasp'].gaspRange}, wanted {GASP_READ}")
    check(after["gasp"].version == before["gasp"].version,
          f"gasp version {after['gasp'].version}, wanted {before['gasp'].version}")
    check(dict(after["gasp"].gaspRange) == GASP_WRITTEN,
          f"gasp written {after['gasp'].gaspRange}, wanted {GASP_WRITTEN}")
    check(sorted(after.keys()) == sorted(before.keys()), "the tables differ")
    for tag in before.reader.keys():
        if tag not in ("gasp", "head"):
            check(after.reader[tag] == before.reader[tag], f"table {tag} changed")

    with open(read, "rb") as f:
        old = f.read()
    with open(written, "rb") as f:
        new = f.read()
    check(len(new) == len(old), f"written {len(new)} bytes, read {len(old)}")
    tables = directory(old)
    check(directory(new).keys() == tables.keys(), "the directory's tags differ")
    gasp_record, gasp_offset, gasp_length = tables["gasp"]
    head_offset = tables["head"][1]
    check(new[gasp_offset:gasp_offset + gasp_length] == gasp_bytes(1, GASP_WRITTEN),
          "the gasp table's bytes are not the edited ranges")

    may_change = set(range(gasp_offset, gasp_offset + gasp_length))
    may_change.update(range(gasp_record + RECORD_CHECKSUM_AT, gasp_record + RECORD_CHECKSUM_AT + 4))
    may_change.update(range(head_offset + HEAD_ADJUSTMENT_AT, head_offset + HEAD_ADJUSTMENT_AT + 4))
    changed = [i for i in range(min(len(old), len(new))) if old[i] != new[i] and i not in may_change]
    check(not changed, f"bytes changed outside the gasp table and the checksums: {changed[:16]}")

    (adjustment,) = struct.unpack_from(">I", new, head_offset + HEAD_ADJUSTMENT_AT)
    zeroed = bytearray(new)
    zeroed[head_offset + HEAD_ADJUSTMENT_AT:head_offset + HEAD_ADJUSTMENT_AT + 4] = b"\0" * 4
    wanted = (CHECKSUM_MAGIC - whole_file_sum(bytes(zeroed))) & 0xFFFFFFFF
    check(adjustment == wanted, f"head.checkSumAdjustment {adjustment:#x}, wanted {wanted:#x}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine-run", required=True, help="scripts/wine-run")
    parser.add_argument("--state", required=True, help="the Wine session's state folder")
    parser.add_argument("--prefix", required=True, help="the Wine prefix")
    parser.add_argument("--tests", required=True, help="fontab_wine_tests.exe")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="fontab-gasp-") as folder:
        environment = dict(os.environ, FONTAB_GASP_WRITE_OUT=windows_path(folder))
        run = subprocess.run(
            [args.wine_run, args.state, args.prefix, args.tests, "--gtest_filter=GaspWriteOut.*"],
            env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT, text=True, errors="replace", timeout=500)
        print(run.stdout)
        if run.returncode != 0 or "[  PASSED  ] 1 test" not in run.stdout:
            print(f"FAILED: the Wine suite ended with {run.returncode}")
            return 1
        read = os.path.join(folder, "read.ttf")
        written = os.path.join(folder, "written.ttf")
        for path in (read, written):
            if not os.path.isfile(path):
                print(f"FAILED: the Wine test left no {os.path.basename(path)}")
                return 1
        failures = check_written(read, written)

    for failure in failures:
        print(f"FAILED: {failure}")
    if failures:
        return 1
    print("the written gasp table holds the edit; only the checksums changed besides")
    return 0


if __name__ == "__main__":
    sys.exit(main())
