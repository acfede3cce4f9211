#!/usr/bin/python3
"""Checks the gasp and OS/2 models against fontTools on every .ttf/.otf of the
corpus packages: every gasp range and OS/2 field the models read must equal
what fontTools reads, and after edits through the models (weight, width,
PANOSE weight, one gasp range) fontTools must open the output with checksum
verification, read the new values, and find every other byte as it was except
the checksums. Ends with "N passed, M failed", non-zero when anything failed."""

import os
import struct
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTFont

# OS/2 version 1: DejaVu; 3: IPA Gothic, Liberation; 4: Cantarell (CFF, no gasp)
# and DejaVuMathTeXGyre of fonts-dejavu-extra (with gasp).
PACKAGES = ["fonts-dejavu-core", "fonts-dejavu-extra", "fonts-ipafont-gothic",
            "fonts-liberation2", "fonts-cantarell"]
PANOSE = ["bFamilyType", "bSerifStyle", "bWeight", "bProportion", "bContrast",
          "bStrokeVariation", "bArmStyle", "bLetterForm", "bMidline", "bXHeight"]


def check(ok, message):  # not assert: python -O would drop those
    if not ok:
        raise AssertionError(message)


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True)
    check(result.returncode == 0, f"font_probe {args[1]} failed: {result.stderr.strip()}")
    return result.stdout


def compare_fields(probe, path, data, font):
    model = {name: [int(v) for v in values] for name, *values in
             (line.split() for line in run(probe, "dump", path).splitlines())}
    os2, vendor = font["OS/2"], font["OS/2"].achVendID  # str unless not ASCII
    want = {"OS/2.valid": [1], "OS/2.panose": [getattr(os2.panose, key) for key in PANOSE],
            "OS/2.achVendID": list(vendor.encode("latin-1") if isinstance(vendor, str) else vendor)}
    for name in model:  # fontTools gives optical sizes in points; a field a version lacks is 0
        field = name[len("OS/2."):]
        if name.startswith("OS/2.") and name not in want:
            want[name] = [round(getattr(os2, field, 0) * (20 if "Optical" in field else 1))]
    if "gasp" in font:
        want["gasp.valid"], want["gasp.version"] = [1], [font["gasp"].version]
        want["gasp.numRanges"] = list(struct.unpack_from(">H", data, font.reader.tables["gasp"].offset + 2))
        want["gasp.ranges"] = [n for item in sorted(font["gasp"].gaspRange.items()) for n in item]
    for name in sorted(set(model) | set(want)):
        check(model.get(name) == want.get(name),
              f"{name}: model {model.get(name)}, fontTools {want.get(name)}")


def check_edited_write_out(probe, path, data, font, out_path):
    os2 = font["OS/2"]
    values = (700 if os2.usWeightClass != 700 else 300, 3 if os2.usWidthClass != 3 else 7,
              8 if os2.panose.bWeight != 8 else 2)
    args = list(values)
    tables = font.reader.tables
    os2_at = tables["OS/2"].offset
    allowed = [range(os2_at + 4, os2_at + 8), range(os2_at + 34, os2_at + 35),
               range(tables["head"].offset + 8, tables["head"].offset + 12)]
    allowed += [range(12 + 16 * i + 4, 12 + 16 * i + 8) for i in range(len(tables))]
    want_ranges = None
    if "gasp" in font and font["gasp"].gaspRange:
        want_ranges = dict(font["gasp"].gaspRange)
        limits = sorted(want_ranges)
        old = limits[0]  # moved past the next range when there is room, so records re-sort
        new = next((n for n in [n + 1 for n in limits[1:2]] + [old + 1]
                    if n < 0xFFFF and n not in want_ranges), old)
        flags = (want_ranges.pop(old) & 3) ^ 1
        want_ranges[new] = flags
        args += [old, new, flags]
        allowed.append(range(tables["gasp"].offset, tables["gasp"].offset + tables["gasp"].length))
    run(probe, "edit", path, out_path, *map(str, args))
    with open(out_path, "rb") as handle:
        out = handle.read()

    written = TTFont(out_path, checkChecksums=2)
    for tag in written.reader.keys():
        written.reader[tag]  # raises on a table checksum that is not true
    padded = out + b"\0" * (-len(out) % 4)
    check(sum(struct.unpack(f">{len(padded) // 4}I", padded)) & 0xFFFFFFFF == 0xB1B0AFBA,
          "head.checkSumAdjustment does not balance the file")
    new_os2 = written["OS/2"]
    got = (new_os2.usWeightClass, new_os2.usWidthClass, new_os2.panose.bWeight)
    check(got == values, f"fontTools reads {got}, the edits wrote {values}")
    if want_ranges is not None:
        check(written["gasp"].gaspRange == want_ranges,
              f"fontTools reads gasp {written['gasp'].gaspRange}, wanted {want_ranges}")
    # Apart from the edited fields and the checksums, every byte as it was.
    before, after = bytearray(data), bytearray(out)
    for span in allowed:
        before[span.start:span.stop] = after[span.start:span.stop]
    check(before == after, "bytes changed outside the edited fields and the checksums")


def main():
    probe = sys.argv[sys.argv.index("--probe") + 1]
    fonts, passed, failed, versions = set(), 0, 0, {}
    for package in PACKAGES:
        listing = subprocess.run(["dpkg-query", "-L", package], capture_output=True, text=True)
        if listing.returncode != 0:
            print(f"FAIL corpus package {package} is not installed (scripts/setup installs it)")
            failed += 1
        fonts |= {os.path.realpath(p) for p in listing.stdout.split("\n")
                  if p.lower().endswith((".ttf", ".otf")) and os.path.isfile(p)}
    if not fonts:
        print("FAIL no font found in the corpus packages")
        failed += 1
    with tempfile.TemporaryDirectory(prefix="fontab-fonttools-") as work:
        for path in sorted(fonts):
            try:
                with open(path, "rb") as handle:
                    data = handle.read()
                font = TTFont(path)
                versions[font["OS/2"].version] = versions.get(font["OS/2"].version, 0) + 1
                compare_fields(probe, path, data, font)
                check_edited_write_out(probe, path, data, font, os.path.join(work, "edited"))
                passed += 1
            except Exception as error:  # our checks, and fontTools' own complaints
                print(f"FAIL {path}: {type(error).__name__}: {error}")
                failed += 1
    print(f"{len(fonts)} fonts; OS/2 versions seen: {dict(sorted(versions.items()))}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
