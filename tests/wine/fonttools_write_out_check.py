#!/usr/bin/python3
"""Edits a font through the program under Wine and reads the result with fontTools.

Runs one case of the Wine suite FontToolsWriteOut with FONTAB_WRITE_OUT_DIR
naming a fresh folder; the case opens in.ttf there, edits one table and writes
out.ttf. Then checks that fontTools reads out.ttf with checksum verification,
head.checkSumAdjustment is right, the edited table holds the edit and every
other field as before, and every other byte equals in.ttf but the table's
checksum and head.checkSumAdjustment. Exits 77 (skipped) when a font is missing.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

SKIPPED = 77
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"  # OS/2 version 3

try:
    from fontTools.ttLib import TTFont
except ImportError as error:  # scripts/setup installs python3-fonttools
    print(f"fontTools cannot be imported ({error}); run scripts/setup")
    sys.exit(1)


def fields(font, tag):
    """A table's fields; an object among them (the PANOSE) as a dictionary."""
    return {name: dict(vars(value)) if hasattr(value, "__dict__") else value
            for name, value in vars(font[tag]).items()}


def gasp_case(folder):
    # The Wine test writes in.ttf itself: 8 ppem becomes 10 points, 14 ppem, both flags.
    return "gasp", {}, lambda old: {"gaspRange": {14: 0x3, 16: 0x7, 0xFFFF: 0xF}}


def os2_case(folder):
    if not os.path.isfile(IPA_GOTHIC):
        return None
    shutil.copyfile(IPA_GOTHIC, os.path.join(folder, "in.ttf"))
    old = fields(TTFont(os.path.join(folder, "in.ttf")), "OS/2")
    # Values unlike the font's own, so that a lost edit shows.
    weight = 7 if old["usWeightClass"] != 700 else 3
    panose = 8 if old["panose"]["bWeight"] != 8 else 3
    environment = {"FONTAB_WEIGHT_POSITION": str(weight), "FONTAB_PANOSE_WEIGHT": str(panose)}
    return "OS/2", environment, lambda old: {"usWeightClass": weight * 100,
                                             "panose": dict(old["panose"], bWeight=panose)}


CASES = {"GaspRangeEdit": gasp_case, "OS2RealFont": os2_case}


def check(tag, changes, old_path, new_path):
    failures = []
    after = TTFont(new_path, checkChecksums=2)
    for name in after.reader.keys():  # the fixture's filler tables are read, not parsed
        try:
            after.reader[name]  # raises when the table's checksum is wrong
        except AssertionError as error:
            failures.append(f"table {name}: {error}")
    old = fields(TTFont(old_path), tag)
    expected = dict(old, **changes(old))
    new = fields(after, tag)
    for name in sorted(set(expected) | set(new)):
        if new.get(name) != expected.get(name):
            failures.append(f"{tag} {name} is {new.get(name)!r}, not {expected.get(name)!r}")

    with open(old_path, "rb") as f:
        old_bytes = f.read()
    with open(new_path, "rb") as f:
        new_bytes = f.read()
    allowed = set()
    for i in range(struct.unpack_from(">H", old_bytes, 4)[0]):
        record = 12 + 16 * i
        name, _, offset, length = struct.unpack_from(">4sIII", old_bytes, record)
        if name.decode("latin-1") == tag:
            allowed |= set(range(offset, offset + length)) | set(range(record + 4, record + 8))
        elif name == b"head":
            head = offset
            allowed |= set(range(head + 8, head + 12))
    if len(new_bytes) != len(old_bytes):
        failures.append(f"{len(new_bytes)} bytes written for {len(old_bytes)} read")
    stray = [i for i in range(min(len(old_bytes), len(new_bytes)))
             if old_bytes[i] != new_bytes[i] and i not in allowed]
    if stray:
        failures.append(f"{len(stray)} bytes changed outside the {tag} table, first {stray[:8]}")

    zeroed = bytearray(new_bytes + b"\0" * (-len(new_bytes) % 4))
    adjustment = struct.unpack_from(">I", zeroed, head + 8)[0]
    zeroed[head + 8:head + 12] = b"\0\0\0\0"
    total = sum(struct.unpack(f">{len(zeroed) // 4}I", zeroed))
    if adjustment != (0xB1B0AFBA - total) & 0xFFFFFFFF:
        failures.append(f"head.checkSumAdjustment {adjustment:#x} does not match the file")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--wine-run", required=True, help="scripts/wine-run")
    parser.add_argument("--state", required=True, help="the Wine session's state folder")
    parser.add_argument("--prefix", required=True, help="the Wine prefix")
    parser.add_argument("--tests", required=True, help="fontab_wine_tests.exe")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="fontab-write-out-") as folder:
        case = CASES[args.case](folder)
        if case is None:
            print(f"skipped: {IPA_GOTHIC} is not installed (package fonts-ipafont-gothic)")
            return SKIPPED
        tag, environment, changes = case
        # Wine's drive Z: is the root of the Unix file system.
        environment["FONTAB_WRITE_OUT_DIR"] = "Z:" + folder.replace("/", "\\")
        run = subprocess.run(
            [args.wine_run, args.state, args.prefix, args.tests,
             f"--gtest_filter=FontToolsWriteOut.{args.case}"],
            env=dict(os.environ, **environment), stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace",
            timeout=500)
        print(run.stdout)
        if run.returncode != 0 or "[  PASSED  ] 1 test." not in run.stdout:
            print(f"FAILED: the Wine test ended with {run.returncode} or did not pass")
            return 1
        failures = check(tag, changes, os.path.join(folder, "in.ttf"),
                         os.path.join(folder, "out.ttf"))
    for failure in failures:
        print(f"FAILED: {failure}")
    if not failures:
        print(f"the written {tag} table holds the edit; only the checksums changed besides")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
