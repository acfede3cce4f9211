#!/usr/bin/python3
"""Reads back with fontTools, every table's checksum checked, and with ots-sanitize what
the program writes under Wine. FontToolsWriteOut.PlanWithFileDialog runs, in one program,
the flows planned here on real fonts and collections and judges each write-out by the
write rules; here each is read for the values edited, every other field as before."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTCollection, TTFont  # scripts/setup installs python3-fonttools

IPA = ("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", "fonts-ipafont-gothic")
WQY = ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei")
# Edited through the panes: (file, package, the font of a collection edited through, None
# for a single font, and the line spacing: None for none; else whether it goes to every
# font, and the values stored, None for every field moved off the font's own).
EDITS = [IPA + (None, (False, None)),
         ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core", None, None),
         ("/usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf", "fonts-cantarell", None,
          (False, None)),
         WQY + (1, (True, None)),
         ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "fonts-noto-cjk", 3,
          (True, {"lineGap": 100, "usWinAscent": 1100, "usWinDescent": 300}))]
# The line-spacing pane's fields in its order: (table, fontTools' name).
LINE_FIELDS = [("hhea", "ascent"), ("hhea", "descent"), ("hhea", "lineGap"),
               ("OS/2", "sTypoAscender"), ("OS/2", "sTypoDescender"), ("OS/2", "sTypoLineGap"),
               ("OS/2", "usWinAscent"), ("OS/2", "usWinDescent")]
# Tables removed, the file re-laid: (file, package, {font: tags removed, "!" before one that
# must be refused}, {font: the tables that go with them}). vhea takes vmtx, EBLC takes EBDT
# (these WenQuanYi bitmaps have no EBSC), and the variable font's fvar is refused, since gvar
# needs it.
REMOVALS = [IPA + ({0: ["gasp", "vhea"]}, {0: ["vmtx"]}), WQY + ({1: ["GPOS"]}, {}),
            WQY + ({0: ["GPOS", "GSUB"], 1: ["GPOS"], 2: ["EBLC", "GPOS"]}, {2: ["EBDT"]}),
            ("/usr/share/fonts/truetype/inter-vf/Inter.var.ttf", "fonts-inter-variable",
             {0: ["!fvar", "HVAR"]}, {})]
# Renamed, one write-out after each step: (file, package, the font whose name item is
# selected (None: a single font), and the steps, each [(find, replacement, in every font)]).
RENAMES = [IPA + (None, [[("IPAGothic", "IPAGothicX", False), ("IPAゴシック", "IPAゴシックX", False)],
                        [("IPAGothicX", "IPAGothicXY", False), ("IPAゴシックX", "IPAゴシックXY", False)]]),
           WQY + (0, [[("WenQuanYi", "WQY Kai", True), ("WenQuanYi", "WQYKai", True)]])]
RENAMED_IDS = (1, 3, 4, 6, 16, 18, 20, 21)  # family, unique ID, full, PostScript and the like


def fields(font, tag):  # an object among them (the PANOSE) as a dictionary
    return {k: dict(vars(v)) if hasattr(v, "__dict__") else v for k, v in vars(font[tag]).items()}


def fonts_of(path):
    return TTCollection(path).fonts if open(path, "rb").read(4) == b"ttcf" else [TTFont(path)]


def records(font):  # each table's (offset, length): the same two in two fonts are one table
    return {tag: (entry.offset, entry.length) for tag, entry in font.reader.tables.items()}


def plan_edit(path, through, spacing, out):
    """The steps of an edit through the panes and a check of what they write: every font an
    edited table went to shows the new values, no other does, every other hhea and OS/2 field
    and every gasp range not edited is as before."""
    old = fonts_of(path)
    own = old[through or 0]
    os2 = own["OS/2"]  # new values unlike the font's own
    weight, width = 9 if os2.usWeightClass != 900 else 3, 3 if os2.usWidthClass != 3 else 7
    panose = 8 if os2.panose.bWeight != 8 else 2
    steps = [["os2", weight, width, panose]]
    all_fonts, chosen = spacing or (False, {})
    values = [None] * len(LINE_FIELDS) if spacing is None else [
        chosen.get(name) if chosen else getattr(own[tag], name) + 7 * (i + 1)
        for i, (tag, name) in enumerate(LINE_FIELDS)]
    if spacing:
        steps.append(["spacing", int(all_fonts)] + ["-" if v is None else v for v in values])
    # USE_TYPO_METRICS is flipped where the edited font's OS/2 version defines it.
    typo = not (os2.fsSelection & 0x80) if spacing and os2.version >= 4 else None
    limits = sorted(own["gasp"].gaspRange) if "gasp" in own else []
    size = next(n for n in range(limits[0] + 1, 0xFFFF) if n not in limits) if limits else 0
    if limits:
        steps.append(["gasp", size])
    mine = records(own)

    def check(index, new):
        font, went = old[index], {}
        for tag in ("hhea", "OS/2"):
            went[tag] = spacing is not None and tag in font and (
                all_fonts or records(font)[tag] == mine[tag])
        want = {tag: fields(font, tag) for tag in ("hhea", "OS/2")}
        if records(font)["OS/2"] == mine["OS/2"]:
            want["OS/2"].update(usWeightClass=weight * 100, usWidthClass=width,
                                panose=dict(want["OS/2"]["panose"], bWeight=panose))
        for (tag, name), value in zip(LINE_FIELDS, values):
            if went[tag] and value is not None:
                want[tag][name] = value
        if went["OS/2"] and typo is not None and font["OS/2"].version >= 4:
            want["OS/2"]["fsSelection"] = want["OS/2"]["fsSelection"] & ~0x80 | 0x80 * typo
        failures = [f"{tag} {k} is {fields(new, tag).get(k)!r}, not {v.get(k)!r}"
                    for tag, v in want.items() for k in sorted(set(v) | set(fields(new, tag)))
                    if fields(new, tag).get(k) != v.get(k)]
        if limits:
            ranges = dict(font["gasp"].gaspRange)
            if records(font).get("gasp") == mine["gasp"]:
                ranges[size] = ranges.pop(limits[0]) | 3
            if new["gasp"].gaspRange != ranges:
                failures.append(f"gasp {new['gasp'].gaspRange}, not {ranges}")
        return failures
    return steps, [(out, check)]


def plan_removal(path, asked, along, out):
    """Each directory lists its records as read less the removed ones and the tables that went
    with them, in order."""
    old = fonts_of(path)
    steps = [["remove", font, tag] for font, tags in asked.items() for tag in tags]
    removed = {font: [tag for tag in tags + along.get(font, []) if tag[0] != "!"]
               for font, tags in asked.items()}

    def check(index, new):
        kept = [tag for tag in old[index].reader.keys() if tag not in removed.get(index, [])]
        return [] if list(new.reader.keys()) == kept else [f"records {list(new.reader.keys())}"]
    return steps, [(out, check)]


def postscript_name(text):  # 1 to 63 printable ASCII, none of the ten delimiters
    return 0 < len(text) < 64 and all(33 <= ord(c) <= 126 and c not in "[](){}<>/%" for c in text)


def plan_renames(path, through, steps, out):
    """Every font's name records in their order: each string of a renamed ID (a PostScript
    name only while it stays one) with the replacements made so far in the fonts they went
    to, every other as read."""
    old, done, planned, checks = fonts_of(path), [], [], []
    outs = [f"{out[:-4]}-{n}{out[-4:]}" for n in range(len(steps))]
    for step, out in zip(steps, outs):
        planned += [["replace", find, replacement, int(every)] for find, replacement, every in step]
        planned.append(["write", out])
        done = done + step

        def check(index, new, made=list(done)):
            want = []
            for r in old[index]["name"].names:
                string = r.string
                for find, replacement, every in made:
                    if r.nameID in RENAMED_IDS and r.platformID in (0, 3) and (
                            every or index == (through or 0)):
                        text = string.decode("utf-16-be").replace(find, replacement)
                        if r.nameID != 6 or postscript_name(text):
                            string = text.encode("utf-16-be")
                want.append((r.platformID, r.platEncID, r.langID, r.nameID, string))
            got = [(r.platformID, r.platEncID, r.langID, r.nameID, r.string)
                   for r in new["name"].names]
            return [f"name {g} is not {w}" for g, w in zip(got, want) if g != w] + (
                [f"{len(got)} names, not {len(want)}"] if len(got) != len(want) else [])
        checks.append((out, check))
    return planned[:-1], checks


def bad_checksums(path, index):  # the tables whose checksum fontTools finds wrong
    font = TTFont(path, fontNumber=index if path.endswith(".ttc") else -1, checkChecksums=2)
    bad = set()
    for tag in font.reader.keys():
        try:
            font.reader[tag]
        except AssertionError:
            bad.add(tag)
    return bad


def ots_accepts(path, index):
    with tempfile.TemporaryDirectory() as scratch:
        run = subprocess.run(["ots-sanitize", path, os.path.join(scratch, "out"), str(index)],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return run.returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ["--wine-run", "--state", "--prefix", "--tests"]:
        parser.add_argument(option)
    parser.add_argument("--first", action="store_true",
                        help="the first edit alone, by a name the code page cannot spell")
    args = parser.parse_args()
    failures, plan, checks = [], [], []  # checks: (file as read, file written, check)
    flows = []  # (file, package, the font selected, None for a single font, planner of out)
    for path, package, through, spacing in EDITS:
        flows.append((path, package, through, lambda out, a=(path, through, spacing): plan_edit(*a, out)))
    for path, package, asked, along in REMOVALS:
        flows.append((path, package, None, lambda out, a=(path, asked, along): plan_removal(*a, out)))
    for path, package, through, steps in RENAMES:
        flows.append((path, package, through, lambda out, a=(path, through, steps): plan_renames(*a, out)))
    # With --first the file goes by a name the code page of the locale cannot spell (Korean
    # under 932, Japanese under 1252), opened from and written to folders so named.
    unspellable = "나눔고딕" if os.environ.get("FONTAB_LOCALE", "ja_JP").startswith("ja_JP") else "明朝"
    flows = flows[:1] if args.first else flows
    if shutil.which("ots-sanitize") is None:
        failures.append("ots-sanitize is not installed (package opentype-sanitizer)")
    with tempfile.TemporaryDirectory(prefix="fontab-fonttools-") as folder:
        for number, (path, package, through, planner) in enumerate(flows):
            if not os.path.isfile(path):
                failures.append(f"{path} is not installed (package {package}; scripts/setup)")
                continue
            extension = os.path.splitext(path)[1]
            name = unspellable if args.first else f"in{number}"
            shutil.copyfile(path, os.path.join(folder, name + extension))
            if args.first:
                os.makedirs(os.path.join(folder, unspellable), exist_ok=True)
            steps, outs = planner(f"{unspellable}/out-{unspellable}{extension}" if args.first
                                  else f"out{number}{extension}")
            plan.append(["open", name + extension, "" if through is None else through])
            plan += steps + [["write", outs[-1][0]]]
            checks += [(path, os.path.join(folder, out), check) for out, check in outs]
        with open(os.path.join(folder, "plan.txt"), "w", encoding="utf-8") as file:
            file.writelines("\t".join(str(field).replace("/", "\\") if step[0] == "write" else str(field)
                                      for field in step) + "\n" for step in plan)
        run = subprocess.run([args.wine_run, args.state, args.prefix, args.tests,
                              "--gtest_filter=FontToolsWriteOut.*"],
                             env=dict(os.environ, FONTAB_WRITE_OUT_DIR="Z:" + folder.replace("/", "\\"),
                                      FONTAB_SESSION_FOLDER=unspellable if args.first else ""),
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, text=True, errors="replace", timeout=1500)
        print(run.stdout)
        if run.returncode != 0 or "[  PASSED  ] 1 test." not in run.stdout:
            failures.append("the Wine plan failed or did not run")
        for path, out, check in checks:
            collection = path.endswith(".ttc")
            for index in range(len(fonts_of(path))):
                try:  # every checksum true that was true as read
                    bad = bad_checksums(out, index) - bad_checksums(path, index)
                    failures += [f"{out} font {index}: {tag}'s checksum is wrong" for tag in bad]
                    new = TTFont(out, fontNumber=index if collection else -1)
                    failures += [f"{out} font {index}: {f}" for f in check(index, new)]
                except Exception as error:  # fontTools' own complaints, a wrong checksum among them
                    failures.append(f"{out} font {index}: {type(error).__name__}: {error}")
                if shutil.which("ots-sanitize") and ots_accepts(path, index) and not ots_accepts(out, index):
                    failures.append(f"{out} font {index}: ots-sanitize refuses it")
    print("".join(f"FAILED: {f}\n" for f in failures) + ("FAILED" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
