#!/usr/bin/python3
"""Reads with fontTools what the program (under Wine) and its models write.

RealFont: the Wine case FontToolsWriteOut.RealFont edits OS/2 and gasp of a
real font, in.ttf in FONTAB_WRITE_OUT_DIR, through the panes and writes
out.ttf. Collection: FontToolsWriteOut.Collection does the same through one
font of a real collection; the new values must show in every font sharing
the table and in no other, and every other byte stay as read. models: font_probe makes the panes' edits natively on every font of
the corpus packages. Each output must pass fontTools' checksums, balance
head.checkSumAdjustment and hold the edits with every other field as before."""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTCollection, TTFont  # scripts/setup installs python3-fonttools

IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"  # OS/2 version 3, gasp
# OS/2 versions 1 to 4, with and without gasp, TrueType and CFF outlines.
PACKAGES = ["fonts-dejavu-core", "fonts-dejavu-extra", "fonts-ipafont-gothic",
            "fonts-liberation2", "fonts-cantarell"]


def fields(font, tag):  # an object among them (the PANOSE) as a dictionary
    return {k: dict(vars(v)) if hasattr(v, "__dict__") else v for k, v in vars(font[tag]).items()}


def check_written(path, old, edits):
    """Failures of the font at path, written from the font old with edits {tag: changes(old)}."""
    new, failures = TTFont(path, checkChecksums=2), []
    for tag in new.reader.keys():  # the fixtures' filler tables are read, not parsed
        try:
            new.reader[tag]  # raises when the table's checksum is wrong
        except AssertionError as error:
            failures.append(f"table {tag}: {error}")
    data = open(path, "rb").read()
    data += b"\0" * (-len(data) % 4)
    if sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF != 0xB1B0AFBA:
        failures.append("head.checkSumAdjustment does not balance the file")
    for tag, changes in edits.items():
        expected, got = dict(fields(old, tag), **changes(fields(old, tag))), fields(new, tag)
        failures += [f"{tag} {k} is {got.get(k)!r}, not {expected.get(k)!r}"
                     for k in sorted(set(expected) | set(got)) if got.get(k) != expected.get(k)]
    return failures


def wine_case(args, folder):
    if not os.path.isfile(IPA_GOTHIC):
        print(f"skipped: {IPA_GOTHIC} is not installed (package fonts-ipafont-gothic)")
        return 77
    shutil.copyfile(IPA_GOTHIC, os.path.join(folder, "in.ttf"))
    font = TTFont(IPA_GOTHIC)
    old = fields(font, "OS/2")
    # Values unlike the font's own, so that a lost edit shows.
    weight, panose = 7 if old["usWeightClass"] != 700 else 3, 8 if old["panose"]["bWeight"] != 8 else 3
    ranges = dict(font["gasp"].gaspRange)  # the Wine case: 8 ppem becomes 14, both flags set
    ranges[14] = ranges.pop(8) | 3
    edits = {"OS/2": lambda old: {"usWeightClass": weight * 100,
                                  "panose": dict(old["panose"], bWeight=panose)},
             "gasp": lambda old: {"gaspRange": ranges}}
    environment = {"FONTAB_WRITE_OUT_DIR": "Z:" + folder.replace("/", "\\"),  # Z: is /
                   "FONTAB_WEIGHT_POSITION": str(weight), "FONTAB_PANOSE_WEIGHT": str(panose)}
    if not run_wine_case(args, "RealFont", environment):
        return ["the Wine test failed or did not run"]
    return check_written(os.path.join(folder, "out.ttf"), font, edits)


# Collections edited through one font: (file, package, font edited through).
COLLECTIONS = [("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei", 1),
               ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "fonts-noto-cjk", 4)]


def directories(data):
    """Each font's records {tag: (checksum field offset, offset, length)}, read with struct."""
    count = struct.unpack_from(">I", data, 8)[0]
    fonts = []
    for at in struct.unpack_from(f">{count}I", data, 12):
        tables = struct.unpack_from(">H", data, at + 4)[0]
        fonts.append({data[r:r + 4].decode("latin-1"): (r + 4, *struct.unpack_from(">II", data, r + 8))
                      for r in range(at + 12, at + 12 + 16 * tables, 16)})
    return fonts


def run_wine_case(args, case, environment):
    run = subprocess.run([args.wine_run, args.state, args.prefix, args.tests,
                          f"--gtest_filter=FontToolsWriteOut.{case}"],
                         env=dict(os.environ, **environment), stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         errors="replace", timeout=500)
    print(run.stdout)
    return run.returncode == 0 and "[  PASSED  ] 1 test." in run.stdout


def collection_failures(args, folder, path, through):
    shutil.copyfile(path, os.path.join(folder, "in.ttc"))
    if os.path.exists(os.path.join(folder, "out.ttc")):
        os.remove(os.path.join(folder, "out.ttc"))  # the save dialog would ask to replace it
    data = open(path, "rb").read()
    old = TTCollection(path)
    fonts = directories(data)
    weight = 9 if old[through]["OS/2"].usWeightClass != 900 else 3
    limits = sorted(old[through]["gasp"].gaspRange) if "gasp" in old[through] else []
    size = next((n for n in range(limits[0] + 1, 0xFFFF) if n not in limits), 0) if limits else 0
    environment = {"FONTAB_WRITE_OUT_DIR": "Z:" + folder.replace("/", "\\"), "FONTAB_FONT": str(through),
                   "FONTAB_WEIGHT_POSITION": str(weight), "FONTAB_GASP_PPEM": str(size)}
    if not run_wine_case(args, "Collection", environment):
        return [f"{path}: the Wine test failed or did not run"]
    out_path = os.path.join(folder, "out.ttc")
    out, failures = open(out_path, "rb").read(), []
    edited = {tag: fonts[through][tag][1:] for tag in ("OS/2", "gasp") if tag in fonts[through]}
    may_change = set()
    for tag, (offset, length) in edited.items():
        may_change |= set(range(offset, offset + length))
    for index, font in enumerate(fonts):
        new = TTFont(out_path, fontNumber=index, checkChecksums=2)
        for tag in edited:  # some shipped fonts' other checksums are wrong as read: left alone
            try:
                new.reader[tag]  # raises when the table's checksum is wrong
            except AssertionError as error:
                failures.append(f"{path} font {index} table {tag}: {error}")
        shares = {tag: font.get(tag, (0,))[1:] == key for tag, key in edited.items()}
        for tag in edited:
            may_change |= set(range(font[tag][0], font[tag][0] + 4)) if shares[tag] else set()
        expected_weight = weight * 100 if shares["OS/2"] else old[index]["OS/2"].usWeightClass
        if new["OS/2"].usWeightClass != expected_weight:
            failures.append(f"{path} font {index}: weight {new['OS/2'].usWeightClass}, not {expected_weight}")
        if "gasp" in edited:
            ranges = dict(old[index]["gasp"].gaspRange)
            if shares["gasp"]:
                ranges[size] = ranges.pop(limits[0]) | 3
            if new["gasp"].gaspRange != ranges:
                failures.append(f"{path} font {index}: gasp {new['gasp'].gaspRange}, not {ranges}")
    stray = next((i for i in range(len(data)) if data[i] != out[i] and i not in may_change), None) \
        if len(out) == len(data) else 0
    if stray is not None:
        failures.append(f"{path}: byte {stray} changed outside the edited tables and their checksums")
    return failures


def collections(args, folder):
    failures = []
    for path, package, through in COLLECTIONS:
        if not os.path.isfile(path):
            failures.append(f"{path} is not installed (package {package}; scripts/setup installs it)")
            continue
        failures += collection_failures(args, folder, path, through)
    return failures


def model_failures(args, path, out_path):
    font = TTFont(path)
    os2 = font["OS/2"]
    edit = [700 if os2.usWeightClass != 700 else 300, 3 if os2.usWidthClass != 3 else 7,
            8 if os2.panose.bWeight != 8 else 2, 0, 0]
    edits = {"OS/2": lambda old: {"usWeightClass": edit[0], "usWidthClass": edit[1],
                                  "panose": dict(old["panose"], bWeight=edit[2])}}
    ranges = dict(font["gasp"].gaspRange) if "gasp" in font else {}
    if ranges:  # the first limit moved past the next when there is room, so records re-sort
        limits = sorted(ranges)
        new = next((n + 1 for n in limits[1:2] if n + 1 < 0xFFFF and n + 1 not in ranges), limits[0])
        old = ranges.pop(limits[0])
        ranges[new] = old ^ 1  # the pane sets bits 0 and 1 and keeps the others
        edit[3:] = [0 if new == 0xFFFF else new, (old & 3) ^ 1]  # the last range shows "∞", read as 0
        edits["gasp"] = lambda old: {"gaspRange": ranges}
    positions = [edit[0] // 100, *edit[1:]]  # the weight trackbar stands for hundreds
    run = subprocess.run([args.probe, path, out_path, *map(str, positions)], capture_output=True,
                         text=True)
    if run.returncode != 0:
        return [f"font_probe failed: {run.stderr.strip()}"]
    return check_written(out_path, font, edits)


def models(args, folder):
    fonts, failures = set(), []
    for package in PACKAGES:
        listing = subprocess.run(["dpkg-query", "-L", package], capture_output=True, text=True)
        if listing.returncode != 0:
            failures.append(f"corpus package {package} is not installed (scripts/setup installs it)")
        fonts |= {os.path.realpath(p) for p in listing.stdout.split("\n")
                  if p.lower().endswith((".ttf", ".otf")) and os.path.isfile(p)}
    for path in sorted(fonts):
        try:
            failures += [f"{path}: {f}" for f in model_failures(args, path, os.path.join(folder, "out"))]
        except Exception as error:  # font_probe's refusals, and fontTools' own complaints
            failures.append(f"{path}: {type(error).__name__}: {error}")
    print(f"{len(fonts)} fonts checked")
    return failures if fonts else failures + ["no font found in the corpus packages"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("case", choices=["RealFont", "Collection", "models"])
    for option in ["--wine-run", "--state", "--prefix", "--tests", "--probe"]:
        parser.add_argument(option)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="fontab-fonttools-") as folder:
        failures = {"models": models, "Collection": collections, "RealFont": wine_case}[args.case](
            args, folder)
    if failures == 77:  # skipped
        return 77
    print("".join(f"FAILED: {f}\n" for f in failures) + ("FAILED" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
