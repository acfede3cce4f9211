#!/usr/bin/python3
"""Reads with fontTools what the program writes under Wine: the case
FontToolsWriteOut.ThroughOneFont edits, through the panes, the OS/2 weight
class, width class and PANOSE weight, a gasp range and the line spacing of
real fonts (OS/2 versions 1, 3 and 4, TrueType and CFF outlines, with and
without gasp) and of one font of real collections, the line spacing there
for every font at once, and writes each out (see real_font_failures);
with --renames, FontToolsWriteOut.Renaming renames real fonts and collections
through the name pane (see renamed_failures)."""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTCollection, TTFont  # scripts/setup installs python3-fonttools


def fields(font, tag):  # an object among them (the PANOSE) as a dictionary
    return {k: dict(vars(v)) if hasattr(v, "__dict__") else v for k, v in vars(font[tag]).items()}


# Real fonts edited through the program: (file, package, the font of a
# collection edited through, None for a single font, and the line spacing:
# None for none; else whether it goes to every font, and the values stored,
# None for every field moved off the font's own).
REAL_FONTS = [("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "fonts-ipafont-gothic", None,
               (False, None)),
              ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core", None, None),
              ("/usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf", "fonts-cantarell", None,
               (False, None)),
              ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei", 1, (True, None)),
              ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "fonts-noto-cjk", 3,
               (True, {"lineGap": 100, "usWinAscent": 1100, "usWinDescent": 300}))]

# The line-spacing pane's fields in its order: (table, fontTools' name, offset).
LINE_FIELDS = [("hhea", "ascent", 4), ("hhea", "descent", 6), ("hhea", "lineGap", 8),
               ("OS/2", "sTypoAscender", 68), ("OS/2", "sTypoDescender", 70),
               ("OS/2", "sTypoLineGap", 72), ("OS/2", "usWinAscent", 74), ("OS/2", "usWinDescent", 76)]


def directories(data):
    """Each font's records {tag: (checksum field offset, offset, length)}, read with struct."""
    offsets = [0]
    if data[:4] == b"ttcf":
        offsets = struct.unpack_from(f">{struct.unpack_from('>I', data, 8)[0]}I", data, 12)
    fonts = []
    for at in offsets:
        tables = struct.unpack_from(">H", data, at + 4)[0]
        fonts.append({data[r:r + 4].decode("latin-1"): (r + 4, *struct.unpack_from(">II", data, r + 8))
                      for r in range(at + 12, at + 12 + 16 * tables, 16)})
    return fonts


def run_wine_case(args, case, environment):
    run = subprocess.run([args.wine_run, args.state, args.prefix, args.tests,
                          f"--gtest_filter=FontToolsWriteOut.{case}WithFileDialog"],
                         env=dict(os.environ, **environment), stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         errors="replace", timeout=500)
    print(run.stdout)
    return run.returncode == 0 and "[  PASSED  ] 1 test." in run.stdout


def real_font_failures(args, folder, path, through, spacing):
    """Edits through the font through (the file's one font when None) under Wine: the OS/2
    values and the first gasp range, and the line spacing, which goes to that font or every
    font, flipping USE_TYPO_METRICS where its version has it. Every font an edited table went
    to shows the new values, no other does; every other hhea and OS/2 field is as before; the
    edited tables' checksums are true in every directory; every other byte is as read, but for
    head.checkSumAdjustment of a single font, which must balance."""
    extension = os.path.splitext(path)[1]
    in_path, out_path = (os.path.join(folder, name + extension) for name in ("in", "out"))
    shutil.copyfile(path, in_path)
    if os.path.exists(out_path):
        os.remove(out_path)  # the save dialog would ask to replace it
    data, collection = open(path, "rb").read(), through is not None
    fonts, old = directories(data), TTCollection(path).fonts if collection else [TTFont(path)]
    mine, own = fonts[through or 0], old[through or 0]
    os2 = own["OS/2"]  # new values unlike the font's own
    weight, width = 9 if os2.usWeightClass != 900 else 3, 3 if os2.usWidthClass != 3 else 7
    panose = 8 if os2.panose.bWeight != 8 else 2
    limits = sorted(own["gasp"].gaspRange) if "gasp" in mine else []
    size = next((n for n in range(limits[0] + 1, 0xFFFF) if n not in limits), 0) if limits else 0
    all_fonts, chosen = spacing or (False, {})
    values = [None] * len(LINE_FIELDS) if spacing is None else [
        chosen.get(name) if chosen else getattr(own[tag], name) + 7 * (i + 1)
        for i, (tag, name, _) in enumerate(LINE_FIELDS)]
    # USE_TYPO_METRICS is flipped where the edited font's OS/2 version defines it.
    typo = not (os2.fsSelection & 0x80) if spacing and os2.version >= 4 else None
    environment = {"FONTAB_WRITE_OUT_DIR": "Z:" + folder.replace("/", "\\"),  # Z: is /
                   "FONTAB_FILE": "in" + extension, "FONTAB_FONT": str(through) if collection else "",
                   "FONTAB_WEIGHT_POSITION": str(weight), "FONTAB_WIDTH_POSITION": str(width),
                   "FONTAB_PANOSE_WEIGHT": str(panose), "FONTAB_GASP_PPEM": str(size),
                   "FONTAB_LINE_METRICS": " ".join("-" if v is None else str(v) for v in values)
                   if spacing else "", "FONTAB_ALL_FONTS": "1" if all_fonts else ""}
    if not run_wine_case(args, "ThroughOneFont", environment):
        return [f"{path}: the Wine test failed or did not run"]
    out, failures = open(out_path, "rb").read(), []
    changing = {}  # (offset, length) of each table edited -> the offsets that may change in it

    def allow(record, begin, end):
        changing.setdefault(tuple(record[1:]), set()).update(range(record[1] + begin, record[1] + end))
    allow(mine["OS/2"], 4, 8)  # usWeightClass, usWidthClass
    allow(mine["OS/2"], 34, 35)  # the PANOSE bWeight
    if "gasp" in mine:
        allow(mine["gasp"], 0, mine["gasp"][2])
    expected = []
    for index, font in enumerate(fonts):
        went = {tag: spacing is not None and tag in font and (all_fonts or font[tag][1:] == mine[tag][1:])
                for tag in ("hhea", "OS/2")}
        want = {tag: fields(old[index], tag) for tag in ("hhea", "OS/2")}
        if font["OS/2"][1:] == mine["OS/2"][1:]:
            want["OS/2"].update(usWeightClass=weight * 100, usWidthClass=width,
                                panose=dict(want["OS/2"]["panose"], bWeight=panose))
        for (tag, name, at), value in zip(LINE_FIELDS, values):
            if went[tag] and value is not None:
                want[tag][name] = value
                allow(font[tag], at, at + 2)
        if went["OS/2"] and typo is not None and old[index]["OS/2"].version >= 4:
            want["OS/2"]["fsSelection"] = want["OS/2"]["fsSelection"] & ~0x80 | (0x80 if typo else 0)
            allow(font["OS/2"], 62, 64)
        expected.append(want)
    may_change = set().union(*changing.values())
    for index, font in enumerate(fonts):
        new = TTFont(out_path, fontNumber=index if collection else -1, checkChecksums=2)
        for tag in (tag for tag in font if tuple(font[tag][1:]) in changing):
            may_change |= set(range(font[tag][0], font[tag][0] + 4))
            try:
                new.reader[tag]  # raises when the table's checksum is wrong
            except AssertionError as error:
                failures.append(f"{path} font {index} table {tag}: {error}")
        for tag, want in expected[index].items():
            got = fields(new, tag)
            failures += [f"{path} font {index}: {tag} {k} is {got.get(k)!r}, not {want.get(k)!r}"
                         for k in sorted(set(want) | set(got)) if got.get(k) != want.get(k)]
        if "gasp" in mine:
            ranges = dict(old[index]["gasp"].gaspRange)
            if font.get("gasp", (0,))[1:] == mine["gasp"][1:]:
                ranges[size] = ranges.pop(limits[0]) | 3
            if new["gasp"].gaspRange != ranges:
                failures.append(f"{path} font {index}: gasp {new['gasp'].gaspRange}, not {ranges}")
    if not collection:
        head = fonts[0]["head"][1]
        may_change |= set(range(head + 8, head + 12))
        padded = out + b"\0" * (-len(out) % 4)
        if sum(struct.unpack(f">{len(padded) // 4}I", padded)) & 0xFFFFFFFF != 0xB1B0AFBA:
            failures.append(f"{path}: head.checkSumAdjustment does not balance the file")
    stray = next((i for i in range(len(data)) if data[i] != out[i] and i not in may_change),
                 None) if len(out) == len(data) else 0
    if stray is not None:
        failures.append(f"{path}: byte {stray} changed outside the edits and their checksums")
    return failures


# Tables removed through the program, the file re-laid: (file, package, {font: tags}).
REMOVALS = [("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "fonts-ipafont-gothic",
             {0: ["gasp", "vhea", "vmtx"]}),
            ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei", {1: ["GPOS"]}),
            ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei",
             {0: ["GPOS", "GSUB"], 1: ["GPOS"], 2: ["EBDT", "EBLC", "GPOS"]})]


def ots_accepts(path, index):
    with tempfile.TemporaryDirectory() as scratch:
        run = subprocess.run(["ots-sanitize", path, os.path.join(scratch, "out"), str(index)],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return run.returncode == 0


def relaid_failures(args, folder, path, removed):
    """Removes the tables under Wine and writes out: each directory lists its records as read
    less the removed ones, in order, with the search fields of its count; every table starts on
    a word, holds its bytes as read (a single font's head but for its adjustment, which balances
    the file) and has a true checksum; ots-sanitize accepts every font it accepted as read."""
    extension = os.path.splitext(path)[1]
    in_path, out_path = (os.path.join(folder, name + extension) for name in ("in", "out"))
    shutil.copyfile(path, in_path)
    if os.path.exists(out_path):
        os.remove(out_path)
    environment = {"FONTAB_WRITE_OUT_DIR": "Z:" + folder.replace("/", "\\"), "FONTAB_FILE": "in" + extension,
                   "FONTAB_REMOVE": ";".join(f"{font}:{tag}" for font, tags in removed.items()
                                             for tag in tags)}
    if not run_wine_case(args, "RemovingTables", environment):
        return [f"{path}: the Wine removal case failed or did not run"]
    data, out, failures = open(path, "rb").read(), open(out_path, "rb").read(), []
    collection = data[:4] == b"ttcf"
    if collection and out[4:12] != data[4:12]:
        failures.append(f"{path}: the collection's version or font count changed")
    starts = struct.unpack_from(f">{struct.unpack_from('>I', out, 8)[0]}I", out, 12) if collection else [0]
    for index, (old, new) in enumerate(zip(directories(data), directories(out))):
        kept = [tag for tag in old if tag not in removed.get(index, [])]
        if list(new) != kept:
            failures.append(f"{path} font {index}: records {list(new)}, not {kept}")
        count = len(new)
        power = 1 << (count.bit_length() - 1)
        if struct.unpack_from(">HHHH", out, starts[index] + 4) != (count, 16 * power, power.bit_length() - 1, 16 * (count - power)):
            failures.append(f"{path} font {index}: the directory's count or search fields")
        for tag in (tag for tag in kept if tag in new):
            (_, at, length), (_, was, was_length) = new[tag], old[tag]
            mine, theirs = out[at:at + length], data[was:was + was_length]
            if tag == "head" and not collection:
                mine, theirs = mine[:8] + mine[12:], theirs[:8] + theirs[12:]
            if at % 4 or mine != theirs:
                failures.append(f"{path} font {index}: {tag} not on a word or not as read")
        font = TTFont(out_path, fontNumber=index if collection else -1, checkChecksums=2)
        for tag in font.reader.keys():
            font.reader[tag]  # raises when its checksum is wrong
        if ots_accepts(path, index) and not ots_accepts(out_path, index):
            failures.append(f"{path} font {index}: ots-sanitize refuses the re-laid font")
    if not collection and sum(struct.unpack(f">{len(out) // 4}I", out)) & 0xFFFFFFFF != 0xB1B0AFBA:
        failures.append(f"{path}: head.checkSumAdjustment does not balance the re-laid file")
    print(f"{path}: {len(data)} bytes as read, {len(out)} re-laid, removed {removed}")
    return failures


# Renamed through the name pane, one write-out per step: (file, package, the font whose name
# item is selected (None: a single font), the steps as FontToolsWriteOut.Renaming takes them,
# and each step's names as expected: {font: {record key: the replacements made in its string
# as read}}; every other record stays as read. None: every name set back, the file as read.
def ipa_step(suffix):
    names = {(3, 1, language, name_id): [("IPAGothic", "IPAGothic" + suffix)]
             for language, name_id in [(0x409, 1), (0x409, 3), (0x409, 4), (0x409, 6), (0x411, 3),
                                       (0x411, 6)]}
    names.update({(3, 1, 0x411, name_id): [("IPAゴシック", "IPAゴシック" + suffix)] for name_id in (1, 4)})
    return {0: names}


WQY_STEP = {font: {(3, 1, 0x409, name_id): [("WenQuanYi", "WQY Kai" if name_id != 6 else "WQYKai")]
                   for name_id in (1, 3, 4, 6)} for font in range(3)}
RENAMES = [("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "fonts-ipafont-gothic", None,
            "IPAGothic>IPAGothicX;IPAゴシック>IPAゴシックX|IPAGothicX>IPAGothicXY;IPAゴシックX>IPAゴシックXY|"
            "IPAGothicXY>IPAGothic;IPAゴシックXY>IPAゴシック", [ipa_step("X"), ipa_step("XY"), None]),
           ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei", 0,
            "*WenQuanYi>WQY Kai;*WenQuanYi>WQYKai", [WQY_STEP])]  # the second for PostScript names


def names_of(font):
    return [((r.platformID, r.platEncID, r.langID, r.nameID), r.string) for r in font["name"].names]


def renamed_failures(args, folder, path, through, steps, expected_steps):
    """Renames under Wine, writing out after each step: every font's name records in their
    order, the expected ones with their new strings and the rest as read; every other table as
    read (a single font's head but for its adjustment, which balances the file); true
    checksums; ots-sanitize accepts every font it accepted as read. A step that sets every name
    back writes the file as read."""
    extension = os.path.splitext(path)[1]
    shutil.copyfile(path, os.path.join(folder, "in" + extension))
    outs = [os.path.join(folder, f"out{n + 1}{extension}") for n in range(len(expected_steps))]
    for out_path in (o for o in outs if os.path.exists(o)):
        os.remove(out_path)
    environment = {"FONTAB_WRITE_OUT_DIR": "Z:" + folder.replace("/", "\\"),
                   "FONTAB_FILE": "in" + extension, "FONTAB_RENAMES": steps,
                   "FONTAB_FONT": "" if through is None else str(through)}
    if not run_wine_case(args, "Renaming", environment):
        return [f"{path}: the Wine renaming case failed or did not run"]
    data, failures = open(path, "rb").read(), []
    collection = data[:4] == b"ttcf"
    old = TTCollection(path).fonts if collection else [TTFont(path)]
    ots = shutil.which("ots-sanitize") is not None
    if not ots:
        print("skipped: ots-sanitize is not installed (package opentype-sanitizer)")
    for out_path, expected in zip(outs, expected_steps):
        out = open(out_path, "rb").read()
        if expected is None:
            if out != data:
                failures.append(f"{out_path}: names set back, yet not the file as read")
            continue
        for index, was in enumerate(old):
            new = TTFont(out_path, fontNumber=index if collection else -1, checkChecksums=2)
            want = []
            for key, string in names_of(was):
                for find, replacement in expected.get(index, {}).get(key, []):
                    string = string.decode("utf-16-be").replace(find, replacement).encode("utf-16-be")
                want.append((key, string))
            got = names_of(new)
            if [key for key, _ in got] != [key for key, _ in want]:
                failures.append(f"{out_path} font {index}: records {got}, not {want}")
            failures += [f"{out_path} font {index}: name {key} is {mine!r}, not {theirs!r}"
                         for (key, mine), (_, theirs) in zip(got, want) if mine != theirs]
            for tag in (tag for tag in new.reader.keys() if tag != "name"):
                mine, theirs = new.reader[tag], was.reader[tag]  # raises on a wrong checksum
                if tag == "head" and not collection:
                    mine, theirs = mine[:8] + mine[12:], theirs[:8] + theirs[12:]
                if mine != theirs:
                    failures.append(f"{out_path} font {index}: {tag} not as read")
            new.reader["name"]
            if ots and ots_accepts(path, index) and not ots_accepts(out_path, index):
                failures.append(f"{out_path} font {index}: ots-sanitize refuses the renamed font")
        if not collection and sum(struct.unpack(f">{len(out) // 4}I", out)) & 0xFFFFFFFF != 0xB1B0AFBA:
            failures.append(f"{out_path}: head.checkSumAdjustment does not balance the file")
        print(f"{out_path}: {len(out)} bytes, {len(data)} as read")
    return failures


def renamed_fonts(args, folder):
    failures = []
    for path, package, through, steps, expected in RENAMES:
        if not os.path.isfile(path):
            failures.append(f"{path} is not installed (package {package}; scripts/setup installs it)")
            continue
        try:
            failures += renamed_failures(args, folder, path, through, steps, expected)
        except Exception as error:
            failures.append(f"{path}: {type(error).__name__}: {error}")
    return failures


def real_fonts(args, folder):
    failures = []
    for path, package, through, spacing in REAL_FONTS:
        if not os.path.isfile(path):
            failures.append(f"{path} is not installed (package {package}; scripts/setup installs it)")
            continue
        try:
            failures += real_font_failures(args, folder, path, through, spacing)
        except Exception as error:  # fontTools' own complaints, a wrong checksum among them
            failures.append(f"{path}: {type(error).__name__}: {error}")
    if shutil.which("ots-sanitize") is None:
        return failures + ["ots-sanitize is not installed (package opentype-sanitizer; scripts/setup installs it)"]
    for path, package, removed in REMOVALS:
        if not os.path.isfile(path):
            failures.append(f"{path} is not installed (package {package}; scripts/setup installs it)")
            continue
        try:
            failures += relaid_failures(args, folder, path, removed)
        except Exception as error:
            failures.append(f"{path}: {type(error).__name__}: {error}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ["--wine-run", "--state", "--prefix", "--tests"]:
        parser.add_argument(option)
    parser.add_argument("--renames", action="store_true", help="the renaming cases instead")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="fontab-fonttools-") as folder:
        failures = (renamed_fonts if args.renames else real_fonts)(args, folder)
    print("".join(f"FAILED: {f}\n" for f in failures) + ("FAILED" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
