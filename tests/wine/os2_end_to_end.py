#!/usr/bin/python3
"""Edits a real font's OS/2 table through the program under Wine and checks
the written font with fontTools.

Copies IPA Gothic (OS/2 version 3) into a fresh folder, runs the Wine test
suite OS2EndToEnd, which opens the copy as the program's command-line
argument, moves the weight trackbar, chooses a PANOSE weight and writes the
font out through the save dialog, and then checks that:
  * fontTools opens the output with checksum verification on, and the whole
    file's checksum adjustment in head is right;
  * the OS/2 table holds the new weight class and PANOSE weight and every
    other field as before;
  * every other byte equals the input, except the OS/2 record's checkSum and
    head.checkSumAdjustment.

Exits 77 (skipped, with the reason) when the font is not installed.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
SKIPPED = 77
CHECKSUM_MAGIC = 0xB1B0AFBA
OS2_WEIGHT_AT = 4
OS2_PANOSE_WEIGHT_AT = 34
HEAD_ADJUSTMENT_AT = 8

try:
    from fontTools.ttLib import TTFont
except ImportError as error:  # setup installs python3-fonttools
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


def os2_fields(font):
    os2 = font["OS/2"]
    fields = {k: v for k, v in vars(os2).items() if k != "panose"}
    fields["panose"] = dict(vars(os2.panose))
    return fields


def check(condition, message, failures):
    if not condition:
        failures.append(message)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine-run", required=True, help="scripts/wine-run")
    parser.add_argument("--state", required=True, help="the Wine session's state folder")
    parser.add_argument("--prefix", required=True, help="the Wine prefix")
    parser.add_argument("--tests", required=True, help="fontab_wine_tests.exe")
    args = parser.parse_args()

    if not os.path.isfile(FONT):
        print(f"skipped: {FONT} is not installed (package fonts-ipafont-gothic)")
        return SKIPPED

    with tempfile.TemporaryDirectory(prefix="fontab-os2-") as folder:
        source = os.path.join(folder, "in.ttf")
        target = os.path.join(folder, "out.ttf")
        shutil.copyfile(FONT, source)
        before = TTFont(source)
        old = os2_fields(before)
        # New values that differ from the font's own, so that a lost edit shows.
        weight_position = 7 if old["usWeightClass"] != 700 else 3
        panose_weight = 8 if old["panose"]["bWeight"] != 8 else 3

        environment = dict(os.environ)
        environment.update({
            "FONTAB_E2E_DIR": windows_path(folder),
            "FONTAB_E2E_WEIGHT_POSITION": str(weight_position),
            "FONTAB_E2E_PANOSE_WEIGHT": str(panose_weight),
        })
        run = subprocess.run(
            [args.wine_run, args.state, args.prefix, args.tests,
             "--gtest_filter=OS2EndToEnd.*"],
            env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT, text=True, errors="replace", timeout=500)
        print(run.stdout)
        if run.returncode != 0 or "[  PASSED  ] 1 test" not in run.stdout \
                or "SKIPPED" in run.stdout:
            print(f"FAILED: the Wine suite ended with {run.returncode}")
            return 1
        if not os.path.isfile(target):
            print("FAILED: no font was written")
            return 1

        failures = []
        with open(source, "rb") as f:
            old_bytes = f.read()
        with open(target, "rb") as f:
            new_bytes = f.read()

        after = TTFont(target, checkChecksums=2)
        for tag in after.reader.keys():
            try:
                after[tag]  # read, and its checksum verified, when first used
            except Exception as error:  # noqa: BLE001 - any failure is a finding
                failures.append(f"table {tag!r}: {error}")
        new = os2_fields(after)
        check(new["usWeightClass"] == weight_position * 100,
              f"usWeightClass is {new['usWeightClass']}, not {weight_position * 100}", failures)
        check(new["panose"]["bWeight"] == panose_weight,
              f"bWeight is {new['panose']['bWeight']}, not {panose_weight}", failures)
        expected = dict(old, usWeightClass=weight_position * 100)
        expected["panose"] = dict(old["panose"], bWeight=panose_weight)
        for name in sorted(expected):
            check(new.get(name) == expected[name],
                  f"OS/2 {name} is {new.get(name)!r}, not {expected[name]!r}", failures)

        tables = directory(old_bytes)
        record, os2_at, _ = tables["OS/2"]
        _, head_at, _ = tables["head"]
        allowed = {os2_at + OS2_WEIGHT_AT, os2_at + OS2_WEIGHT_AT + 1,
                   os2_at + OS2_PANOSE_WEIGHT_AT}
        allowed |= set(range(record + 4, record + 8))
        allowed |= set(range(head_at + HEAD_ADJUSTMENT_AT, head_at + HEAD_ADJUSTMENT_AT + 4))
        check(len(new_bytes) == len(old_bytes),
              f"{len(new_bytes)} bytes written for {len(old_bytes)} read", failures)
        changed = [i for i in range(min(len(old_bytes), len(new_bytes)))
                   if old_bytes[i] != new_bytes[i]]
        stray = [i for i in changed if i not in allowed]
        check(not stray, f"{len(stray)} bytes changed that should not, first at {stray[:8]}",
              failures)
        check(os2_at + OS2_PANOSE_WEIGHT_AT in changed, "the PANOSE weight byte is unchanged",
              failures)

        (adjustment,) = struct.unpack_from(">I", new_bytes, head_at + HEAD_ADJUSTMENT_AT)
        zeroed = bytearray(new_bytes)
        zeroed[head_at + HEAD_ADJUSTMENT_AT:head_at + HEAD_ADJUSTMENT_AT + 4] = b"\0\0\0\0"
        check(adjustment == (CHECKSUM_MAGIC - whole_file_sum(bytes(zeroed))) & 0xFFFFFFFF,
              "head.checkSumAdjustment does not match the file", failures)

        for failure in failures:
            print("FAILED:", failure)
        if failures:
            return 1
        print(f"passed: usWeightClass {old['usWeightClass']} -> {weight_position * 100}, "
              f"bWeight {old['panose']['bWeight']} -> {panose_weight}, "
              f"{len(changed)} bytes changed, all expected")
        return 0


if __name__ == "__main__":
    sys.exit(main())
