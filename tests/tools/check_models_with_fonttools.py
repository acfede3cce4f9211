#!/usr/bin/python3
"""Checks the gasp and OS/2 table models on real fonts against fontTools.

For every .ttf/.otf of the corpus packages:
  * every gasp range and every OS/2 field that font_probe's models parsed must
    equal what fontTools reads;
  * a write-out without edits must give the file back byte for byte;
  * after edits through the models (weight class, width class, PANOSE weight,
    one gasp range's limit and flags) fontTools must open the output with
    checksum verification on, read exactly the new values, and every byte must
    equal the input except the edited ones, the directory checksums of the
    tables they changed and head.checkSumAdjustment.

Ends with a line "N passed, M failed" (one count per font) and exits non-zero
when anything failed.
"""

import argparse
import json
import os
import struct
import subprocess
import sys
import tempfile

try:
    from fontTools.ttLib import TTFont
except ImportError as error:  # setup installs python3-fonttools
    print(f"fontTools cannot be imported ({error}); run scripts/setup")
    print("0 passed, 1 failed")
    sys.exit(1)

PACKAGES = [
    "fonts-dejavu-core",  # OS/2 version 1
    "fonts-dejavu-extra",  # version 1, and DejaVuMathTeXGyre: version 4 with gasp
    "fonts-ipafont-gothic",  # version 3
    "fonts-liberation2",  # version 3
    "fonts-cantarell",  # version 4, CFF outlines, no gasp
]

MAGIC = 0xB1B0AFBA
OS2_BASE_FIELDS = [
    "version", "xAvgCharWidth", "usWeightClass", "usWidthClass", "fsType",
    "ySubscriptXSize", "ySubscriptYSize", "ySubscriptXOffset", "ySubscriptYOffset",
    "ySuperscriptXSize", "ySuperscriptYSize", "ySuperscriptXOffset",
    "ySuperscriptYOffset", "yStrikeoutSize", "yStrikeoutPosition", "sFamilyClass",
    "ulUnicodeRange1", "ulUnicodeRange2", "ulUnicodeRange3", "ulUnicodeRange4",
    "fsSelection", "usFirstCharIndex", "usLastCharIndex", "sTypoAscender",
    "sTypoDescender", "sTypoLineGap", "usWinAscent", "usWinDescent",
]
OS2_CODE_PAGES = ["ulCodePageRange1", "ulCodePageRange2"]
OS2_VERSION2 = ["sxHeight", "sCapHeight", "usDefaultChar", "usBreakChar", "usMaxContext"]
OS2_VERSION5 = ["usLowerOpticalPointSize", "usUpperOpticalPointSize"]
OS2_ALL = OS2_BASE_FIELDS + OS2_CODE_PAGES + OS2_VERSION2 + OS2_VERSION5
PANOSE = ["bFamilyType", "bSerifStyle", "bWeight", "bProportion", "bContrast",
          "bStrokeVariation", "bArmStyle", "bLetterForm", "bMidline", "bXHeight"]
SIGNED_IN_MODEL_ONLY = {"fsType"}  # held as a signed 16-bit member


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def corpus(packages):
    fonts, missing = [], []
    for package in packages:
        listing = subprocess.run(["dpkg-query", "-L", package], capture_output=True, text=True)
        if listing.returncode != 0:
            missing.append(package)
            continue
        for path in listing.stdout.split("\n"):
            if path.lower().endswith((".ttf", ".otf")) and os.path.isfile(path):
                fonts.append(os.path.realpath(path))
    return sorted(set(fonts)), missing


# --- independent reading of the file's own structure ------------------------

def directory(data):
    """The table records in file order: (index, tag, checkSum, offset, length)."""
    num_tables = struct.unpack_from(">H", data, 4)[0]
    records = []
    for i in range(num_tables):
        tag, checksum, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
        records.append((i, tag.decode("latin-1"), checksum, offset, length))
    return records


def word_sum(data):
    padded = bytes(data) + b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(padded) // 4}I", padded)) & 0xFFFFFFFF


def table_checksum(data, tag, offset, length):
    table = bytearray(data[offset:offset + length])
    if tag == "head" and len(table) >= 12:
        table[8:12] = b"\0\0\0\0"
    return word_sum(table)


def head_adjustment_at(data):
    for _, tag, _, offset, length in directory(data):
        if tag == "head" and offset <= len(data) and min(length, len(data) - offset) >= 12:
            return offset + 8
    return None


# --- the models, through font_probe ------------------------------------------

def probe_dump(probe, font):
    result = subprocess.run([probe, "dump", font], capture_output=True, text=True)
    check(result.returncode == 0, f"font_probe dump failed: {result.stderr.strip()}")
    return json.loads(result.stdout)


def probe_edit(probe, font, out, edits):
    result = subprocess.run([probe, "edit", font, out] + edits, capture_output=True, text=True)
    check(result.returncode == 0, f"font_probe edit {edits} failed: {result.stderr.strip()}")
    with open(out, "rb") as handle:
        return handle.read()


# --- comparisons ---------------------------------------------------------------

def fonttools_os2(table):
    """The OS/2 fields fontTools read, as the model holds them."""
    version = table.version
    present = list(OS2_BASE_FIELDS)
    if version >= 1:
        present += OS2_CODE_PAGES
    if version >= 2:
        present += OS2_VERSION2
    if version >= 5:
        present += OS2_VERSION5
    values = {}
    for name in OS2_ALL:
        value = getattr(table, name) if name in present else 0
        if name in OS2_VERSION5 and name in present:
            value = round(value * 20)  # fontTools shows these in points
        values[name] = value
    values["panose"] = [getattr(table.panose, name) for name in PANOSE]
    vendor = table.achVendID
    values["achVendID"] = list(vendor.encode("latin-1") if isinstance(vendor, str) else vendor)
    return values


def compare_os2(model, table):
    check(model is not None, "the model has no OS/2 object")
    check(model["valid"] == 1, f"OS/2 version {model['version']} not valid in the model")
    expected = fonttools_os2(table)
    for name, want in expected.items():
        got = model[name]
        if name in SIGNED_IN_MODEL_ONLY:
            got &= 0xFFFF
        check(got == want, f"OS/2 {name}: model {got}, fontTools {want}")


def compare_gasp(model, font, data):
    if "gasp" not in font:
        check(model is None, "the model has a gasp object, fontTools sees no gasp table")
        return
    check(model is not None and model["valid"] == 1, "the model has no valid gasp object")
    table = font["gasp"]
    check(model["version"] == table.version,
          f"gasp version: model {model['version']}, fontTools {table.version}")
    ranges = {limit: behaviour for limit, behaviour in model["ranges"]}
    check(ranges == table.gaspRange, f"gasp ranges: model {ranges}, fontTools {table.gaspRange}")
    offset = font.reader.tables["gasp"].offset
    num_ranges = struct.unpack_from(">H", data, offset + 2)[0]
    check(model["numRanges"] == num_ranges,
          f"gasp numRanges: model {model['numRanges']}, file {num_ranges}")


def differing_positions(a, b, chunk=4096):
    """Positions where two equally long byte strings differ; only the chunks
    that differ are walked byte by byte, which keeps big fonts quick."""
    positions = []
    for start in range(0, min(len(a), len(b)), chunk):
        if a[start:start + chunk] != b[start:start + chunk]:
            end = min(start + chunk, len(a), len(b))
            positions += [i for i in range(start, end) if a[i] != b[i]]
    return positions


def first_differences(a, b, limit=8):
    return ", ".join(f"@{i}: {a[i]:#04x} want {b[i]:#04x}"
                     for i in differing_positions(a, b)[:limit])


def choose_edits(font):
    """Edits that change bytes in every font: the usual values unless the font
    already holds them."""
    os2 = font["OS/2"]
    weight = 700 if os2.usWeightClass != 700 else 300
    width = 3 if os2.usWidthClass != 3 else 7
    panose = 8 if os2.panose.bWeight != 8 else 2
    edits = [f"weight={weight}", f"width={width}", f"panose={panose}"]
    gasp = None
    if "gasp" in font and font["gasp"].gaspRange:
        limits = sorted(font["gasp"].gaspRange)
        old = limits[0]
        # Past the second range when there is room, so the records re-sort.
        new = limits[1] + 1 if len(limits) >= 3 else old + 1
        if new in font["gasp"].gaspRange or new > 0xFFFF or old == 0xFFFF:
            new = old
        flags = (font["gasp"].gaspRange[old] & 3) ^ 1
        gasp = (old, new, flags)
        edits.append(f"gasp={old}:{new}:{flags}")
    return edits, (weight, width, panose), gasp


def expected_output(data, font, values, gasp_edit):
    """The input with the edits, the new checkSum of each changed table and a
    new head.checkSumAdjustment, built without the program's code."""
    weight, width, panose = values
    edited = bytearray(data)
    os2_at = font.reader.tables["OS/2"].offset
    struct.pack_into(">HH", edited, os2_at + 4, weight, width)
    edited[os2_at + 34] = panose
    if gasp_edit:
        old, new, flags = gasp_edit
        ranges = dict(font["gasp"].gaspRange)
        del ranges[old]
        ranges[new] = flags
        gasp_at = font.reader.tables["gasp"].offset
        for k, limit in enumerate(sorted(ranges)):
            struct.pack_into(">HH", edited, gasp_at + 4 + 4 * k, limit, ranges[limit])

    out = bytearray(edited)
    allowed = set(differing_positions(data, edited))
    for index, tag, _, offset, length in directory(data):
        if data[offset:offset + length] != edited[offset:offset + length]:
            field = 12 + 16 * index + 4
            struct.pack_into(">I", out, field, table_checksum(out, tag, offset, length))
            allowed.update(range(field, field + 4))
    adjustment = head_adjustment_at(out)
    if adjustment is not None and edited != data:
        struct.pack_into(">I", out, adjustment, 0)
        struct.pack_into(">I", out, adjustment, (MAGIC - word_sum(out)) & 0xFFFFFFFF)
        allowed.update(range(adjustment, adjustment + 4))
    return bytes(out), allowed


def verify_checksums(path, out):
    """fontTools verifies every table's checksum; the adjustment is ours."""
    written = TTFont(path, checkChecksums=2)
    for tag in written.reader.keys():
        written.reader[tag]  # raises on a checksum mismatch
    adjustment = head_adjustment_at(out)
    check(adjustment is not None, "the output has no head table")
    stored = struct.unpack_from(">I", out, adjustment)[0]
    zeroed = bytearray(out)
    zeroed[adjustment:adjustment + 4] = b"\0\0\0\0"
    want = (MAGIC - word_sum(zeroed)) & 0xFFFFFFFF
    check(stored == want, f"head.checkSumAdjustment {stored:#010x}, should be {want:#010x}")
    return written


def check_font(probe, path, work, seen):
    with open(path, "rb") as handle:
        data = handle.read()
    font = TTFont(path)
    model = probe_dump(probe, path)
    check(model["valid"] == 1, "the container refused the file")
    check("OS/2" in font, "fontTools finds no OS/2 table")
    seen.setdefault(font["OS/2"].version, []).append(os.path.basename(path))
    compare_os2(model["OS/2"], font["OS/2"])
    compare_gasp(model["gasp"], font, data)

    base = os.path.join(work, os.path.basename(path))
    unedited = probe_edit(probe, path, base + ".unedited", [])
    check(unedited == data, "unedited write-out differs: " + first_differences(unedited, data))

    edits, values, gasp_edit = choose_edits(font)
    out_path = base + ".edited"
    out = probe_edit(probe, path, out_path, edits)
    check(len(out) == len(data), f"output length {len(out)}, input {len(data)}")
    expected, allowed = expected_output(data, font, values, gasp_edit)
    stray = [i for i in differing_positions(out, data) if i not in allowed]
    check(not stray, f"bytes changed outside the edits and checksums: {stray[:8]}")
    check(out == expected, "output differs from the expected image: "
          + first_differences(out, expected))

    written = verify_checksums(out_path, out)
    os2 = written["OS/2"]
    check((os2.usWeightClass, os2.usWidthClass, os2.panose.bWeight) == values,
          f"fontTools reads {(os2.usWeightClass, os2.usWidthClass, os2.panose.bWeight)}, "
          f"wrote {values}")
    before, after = fonttools_os2(font["OS/2"]), fonttools_os2(os2)
    for name in ("usWeightClass", "usWidthClass"):
        del before[name], after[name]
    before["panose"][2] = after["panose"][2]
    check(before == after, "OS/2 fields other than the edited ones changed")
    if gasp_edit:
        old, new, flags = gasp_edit
        want = dict(font["gasp"].gaspRange)
        del want[old]
        want[new] = flags
        check(written["gasp"].gaspRange == want,
              f"fontTools reads gasp {written['gasp'].gaspRange}, wanted {want}")
    os.remove(base + ".unedited")
    os.remove(out_path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--probe", required=True, help="path of the font_probe program")
    parser.add_argument("--package", action="append", help="corpus package (repeatable)")
    args = parser.parse_args()

    fonts, missing = corpus(args.package or PACKAGES)
    passed, failed = 0, 0
    for package in missing:
        print(f"FAIL corpus package {package} is not installed (scripts/setup installs it)")
        failed += 1
    seen = {}
    with tempfile.TemporaryDirectory(prefix="fontab-fonttools-") as work:
        for path in fonts:
            try:
                check_font(args.probe, path, work, seen)
                passed += 1
            except Failure as failure:
                print(f"FAIL {path}: {failure}")
                failed += 1
            except Exception as error:  # fontTools' own complaints, checksum asserts
                print(f"FAIL {path}: {type(error).__name__}: {error}")
                failed += 1
    if not fonts:
        print("FAIL no font found in the corpus packages")
        failed += 1
    for version in sorted(seen):
        print(f"OS/2 version {version}: {len(seen[version])} fonts")
    print(f"{len(fonts)} fonts checked from {len(args.package or PACKAGES) - len(missing)} packages")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
