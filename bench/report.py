#!/usr/bin/python3
"""Turns the rows that scripts/bench collected (tab-separated, one per
measurement) into the benchmark table, with the ratios and the goals; the
last line is the collection goal's verdict.

Usage: report.py RESULTS_FILE
"""

import os
import sys

MEMORY_GOAL = 1024 * 1024  # a load holds at most the file plus this much
FLOOR_GOAL = 1.2  # an edit or a removal at most this many times its floor
RELAYOUT_FONTS = ("ipag.ttf", "NotoSerifCJK-Regular.ttc")  # the removal goal's fonts
RENAME_FONT = "NotoSerifCJK-Regular.ttc"  # the rename goal's font
PREVIEW_GOAL = 1.5  # a preview's refresh at most this many times its floor


def size_text(size):
    for unit, scale in (("MiB", 1 << 20), ("KiB", 1 << 10)):
        if size >= scale:
            return f"{size / scale:.1f} {unit}"
    return f"{size} B"


def verdict(ok):
    return "met" if ok else "MISSED"


def font_name(path):
    return os.path.basename(path.replace("\\", "/"))


def rename_table(rows):
    """Prints the renames against their floor; gives the rename goal's line."""
    print()
    print("Open + rename of font 0 + re-laid write-out against the same floor, median seconds "
          "(under Wine); peak heap of a load, the rename and the write-out (native)")
    header = f"{'font':<26}{'size':>10}{'rename':>10}{'floor':>10}{'ratio':>8}{'peak heap':>12}{'over file':>11}"
    print(header)
    print("-" * len(header))
    heaps = {font_name(path): (int(size), int(peak)) for path, size, _, peak in rows.get("rename-memory", [])}
    goal = None
    for path, size, _, rename, floor in rows.get("rename", []):
        name, ratio = font_name(path), float(rename) / float(floor)
        line = f"{name:<26}{size_text(int(size)):>10}{float(rename):>10.4f}{float(floor):>10.4f}{ratio:>8.2f}"
        if name in heaps:
            line += f"{size_text(heaps[name][1]):>12}{size_text(heaps[name][1] - heaps[name][0]):>11}"
        print(line)
        if name == RENAME_FONT:
            goal = ratio
    heap = heaps.get(RENAME_FONT)
    heap_text = f", peak heap {size_text(heap[1])} for {size_text(heap[0])}" if heap else ""
    if goal is None:
        return f"goal rename: {RENAME_FONT} not measured ({FLOOR_GOAL}) MISSED"
    return f"goal rename: {goal:.2f} ({FLOOR_GOAL}) {verdict(goal <= FLOOR_GOAL)}{heap_text}"


def preview_table(rows):
    """Prints the preview's refreshes against their floor and their peak heap;
    gives the preview goal's line."""
    print()
    print("Line-spacing preview: a refresh (write-out to memory, font removed, added, created, "
          "measured and drawn) against its floor (a copy in memory + AddFontMemResourceEx of the "
          "file), median milliseconds (under Wine); how long it holds the window's thread, which "
          "typing waits for; peak heap of a load and the copy (native)")
    header = (f"{'font':<26}{'size':>10}{'refresh':>10}{'floor':>10}{'ratio':>8}{'held':>7}"
              f"{'copy':>11}{'peak heap':>12}{'(<=2x+1 MiB)':>14}")
    print(header)
    print("-" * len(header))
    heaps = {font_name(path): (int(size), int(copied), int(peak))
             for path, size, copied, peak in rows.get("preview-memory", [])}
    ratios, refreshes, heap_ok = [], [], bool(heaps)
    for path, size, _, refresh, floor, held in rows.get("preview", []):
        name, ratio = font_name(path), float(refresh) / float(floor)
        ratios.append(ratio)
        refreshes.append(float(refresh))
        line = (f"{name:<26}{size_text(int(size)):>10}{float(refresh) * 1000:>10.1f}"
                f"{float(floor) * 1000:>10.1f}{ratio:>8.2f}{float(held) * 1000:>7.1f}")
        if name in heaps:
            file_size, copied, peak = heaps[name]
            ok = peak <= 2 * file_size + MEMORY_GOAL
            heap_ok &= ok
            line += f"{size_text(copied):>11}{size_text(peak):>12}{verdict(ok):>14}"
        print(line)
    if not ratios:
        return f"goal preview: not measured ({PREVIEW_GOAL}) MISSED"
    worst = max(ratios)
    slowest = max(refreshes) * 1000
    return (f"goal preview: {worst:.2f} ({PREVIEW_GOAL}) {verdict(worst <= PREVIEW_GOAL)}, "
            f"refresh median {slowest:.1f} ms, peak heap within twice the file + 1 MiB "
            f"{verdict(heap_ok)}")


def main():
    rows = {}
    with open(sys.argv[1], encoding="utf-8") as results:
        for line in results:
            fields = line.rstrip("\n").split("\t")
            rows.setdefault(fields[0], []).append(fields[1:])

    fonttools = {font_name(path): float(s) for path, s in rows.get("fonttools", [])}
    writeouts = rows.get("writeout", [])
    print("Open + weight class 700 + write-out, median seconds (fontab and CopyFileA under "
          "Wine; fontTools natively), for comparison: no program that reads the whole file can "
          "keep up with a copy that never does")
    header = (f"{'font':<26}{'size':>10}{'fontab':>10}{'CopyFileA':>11}{'ratio':>7}"
              f"{'fontTools':>11}{'speed-up':>10}")
    print(header)
    print("-" * len(header))
    for path, size, fontab, _, _, copy, _ in writeouts:
        name = font_name(path)
        fontab, copy = float(fontab), float(copy)
        ratio = fontab / copy
        tools = fonttools.get(name, float("nan"))
        speedup = tools / fontab
        print(f"{name:<26}{size_text(int(size)):>10}{fontab:>10.4f}{copy:>11.4f}{ratio:>7.2f}"
              f"{tools:>11.4f}{speedup:>10.1f}")

    print()
    print("Where fontab's time goes, median seconds: loadFontFile, writeFontFile; "
          "and a copy flushed to disk as a write-out is")
    header = (f"{'font':<26}{'load':>10}{'write-out':>11}{'copy+flush':>12}"
              f"{'fontab/(copy+flush)':>21}")
    print(header)
    print("-" * len(header))
    for path, _, fontab, load, write_out, _, flushed in writeouts:
        print(f"{font_name(path):<26}{float(load):>10.4f}{float(write_out):>11.4f}"
              f"{float(flushed):>12.4f}{float(fontab) / float(flushed):>21.2f}")

    print()
    print("Container construction, median microseconds (native)")
    by_tables = rows.get("construct-tables", [])
    by_size = rows.get("construct-size", [])
    header = f"{'tables':>8}{'file':>11}{'time':>10}    {'tables':>8}{'file':>11}{'time':>10}"
    print(header)
    print("-" * len(header))
    for i in range(max(len(by_tables), len(by_size))):
        left = by_tables[i] if i < len(by_tables) else None
        right = by_size[i] if i < len(by_size) else None
        line = (f"{left[0]:>8}{size_text(int(left[1])):>11}{float(left[2]):>10.2f}"
                if left else " " * 29)
        if right:
            line += f"    {right[0]:>8}{size_text(int(right[1])):>11}{float(right[2]):>10.2f}"
        print(line)
    if by_tables and by_size:
        tables_growth = float(by_tables[-1][2]) / float(by_tables[0][2])
        size_growth = float(by_size[-1][2]) / float(by_size[0][2])
        print(f"{by_tables[0][0]} -> {by_tables[-1][0]} tables: x{tables_growth:.1f};  "
              f"{size_text(int(by_size[0][1]))} -> {size_text(int(by_size[-1][1]))}: "
              f"x{size_growth:.2f}  "
              f"({verdict(tables_growth > 10 and size_growth < 1.5)}: grows with tables, "
              f"not with size)")

    print()
    print("Peak memory of a load (native): heap counted by operator new; "
          "resident-set growth in a fresh process")
    header = (f"{'font':<26}{'file':>11}{'peak heap':>13}{'over file':>11}"
              f"{'(<=1 MiB)':>10}{'RSS growth':>13}")
    print(header)
    print("-" * len(header))
    for path, size, peak, rss in rows.get("memory", []):
        over = int(peak) - int(size)
        rss_text = size_text(int(rss) * 1024) if int(rss) >= 0 else "n/a"
        print(f"{font_name(path):<26}{size_text(int(size)):>11}{size_text(int(peak)):>13}"
              f"{size_text(over):>11}{verdict(over <= MEMORY_GOAL):>10}{rss_text:>13}")

    print()
    print("Open + weight class 700 + write-out against its floor, median seconds (under Wine): "
          "the whole file read into a fresh block, and the block written to a new file and "
          "flushed")
    header = (f"{'font':<26}{'size':>10}{'fonts':>7}{'fontab':>10}{'floor':>10}{'read':>10}"
              f"{'write':>10}{'fontab/floor':>14}")
    print(header)
    print("-" * len(header))
    collection_ratios = []
    for path, size, fonts, fontab, floor, read, write in rows.get("floor", []):
        ratio = float(fontab) / float(floor)
        if int(fonts) > 1:
            collection_ratios.append(ratio)
        print(f"{font_name(path):<26}{size_text(int(size)):>10}{fonts:>7}{float(fontab):>10.4f}"
              f"{float(floor):>10.4f}{float(read):>10.4f}{float(write):>10.4f}{ratio:>14.2f}")

    print()
    print("Open + removal of a table + re-laid write-out against the same floor, median seconds "
          "(under Wine); peak heap of a load, the removal and the write-out (native)")
    header = (f"{'font':<26}{'size':>10}{'removal':>10}{'floor':>10}{'ratio':>8}"
              f"{'peak heap':>12}{'over file':>11}{'(<=1 MiB)':>10}")
    print(header)
    print("-" * len(header))
    heaps = {font_name(path): (int(size), int(peak))
             for path, size, _, peak in rows.get("relayout-memory", [])}
    relayout_ratios, heap_ok = [], bool(heaps)
    for path, size, _, removal, floor in rows.get("relayout", []):
        name, ratio = font_name(path), float(removal) / float(floor)
        if name in RELAYOUT_FONTS:
            relayout_ratios.append(ratio)
        line = (f"{name:<26}{size_text(int(size)):>10}{float(removal):>10.4f}{float(floor):>10.4f}"
                f"{ratio:>8.2f}")
        if name in heaps:
            over = heaps[name][1] - heaps[name][0]
            heap_ok &= over <= MEMORY_GOAL
            line += f"{size_text(heaps[name][1]):>12}{size_text(over):>11}{verdict(over <= MEMORY_GOAL):>10}"
        print(line)

    rename_goal = rename_table(rows)
    preview_goal = preview_table(rows)
    print()
    if relayout_ratios:
        worst = max(relayout_ratios)
        print(f"goal relayout: {worst:.2f} ({FLOOR_GOAL}) {verdict(worst <= FLOOR_GOAL)}")
    else:
        print(f"goal relayout: no removal measured ({FLOOR_GOAL}) MISSED")
    print(f"goal relayout-heap: within 1 MiB of the file {verdict(heap_ok)}")
    print(rename_goal)
    print(preview_goal)
    # The slowest collection stands for them all.
    if collection_ratios:
        worst = max(collection_ratios)
        print(f"goal collection-edit: {worst:.2f} ({FLOOR_GOAL}) {verdict(worst <= FLOOR_GOAL)}")
    else:
        print(f"goal collection-edit: no collection measured ({FLOOR_GOAL}) MISSED")


if __name__ == "__main__":
    main()
