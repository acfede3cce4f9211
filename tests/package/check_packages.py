#!/usr/bin/env python3
"""package.build: runs scripts/package twice, into two folders with one build
folder, and checks the zips: the same bytes both times, the layout, and the
program's machine, imports, size and version, and the two text files."""
import os
import io
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll",
                "shell32.dll", "msvcrt.dll"}
FORMATS = {"win64": "pei-x86-64", "win32": "pei-i386"}
SIZE_LIMIT = 400_000
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def pe_facts(exe):
    """The file format, the imported DLLs and the fixed file version of a PE."""
    with tempfile.NamedTemporaryFile(suffix=".exe") as file:
        file.write(exe)
        file.flush()
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", file.name], check=True,
                              capture_output=True, text=True).stdout
    signature = exe.find(struct.pack("<I", 0xFEEF04BD))
    most, least = struct.unpack_from("<II", exe, signature + 8) if signature >= 0 else (0, 0)
    return (re.search(r"file format (\S+)", dump).group(1), re.findall(r"DLL Name: (\S+)", dump),
            (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF))


def package_twice(root, work):
    """The zips of two runs: the first with SOURCE_DATE_EPOCH unset, the second
    with it set to the commit time, which must be what the first one took."""
    commit_time = subprocess.run(["git", "-C", root, "log", "-1", "--format=%ct"], check=True,
                                 capture_output=True, text=True).stdout.strip()
    runs = []
    for run, epoch in (("dist-1", None), ("dist-2", commit_time)):
        env = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
        env.update({"SOURCE_DATE_EPOCH": epoch} if epoch else {})
        shutil.rmtree(work / run, ignore_errors=True)
        subprocess.run([root / "scripts/package", work / run, work / "build"], env=env, check=True)
        runs.append({p.name: p.read_bytes() for p in sorted((work / run).iterdir())})
    return runs, int(commit_time)


def check_package(root, name, data, commit_time):
    found = re.fullmatch(r"fontab-([0-9.]+)-(win64|win32)\.zip", name)
    check(found, f"{name}: not a package name")
    if not found:
        return
    version, kind = found.groups()
    folder = f"fontab-{version}/"
    archive = zipfile.ZipFile(io.BytesIO(data))
    names = sorted(info.filename for info in archive.infolist())
    wanted = sorted(folder + f for f in ("fontab.exe", "README.txt", "LICENSE.txt"))
    check(names == wanted, f"{name}: holds {names}")
    if not set(wanted) <= set(names):
        return
    stamp = time.gmtime(commit_time)
    stamp = stamp[:5] + (stamp[5] // 2 * 2,)  # zip times count seconds in twos
    check(all(info.date_time == stamp for info in archive.infolist()),
          f"{name}: entry times are not the commit time {stamp}")
    exe = archive.read(folder + "fontab.exe")
    file_format, dlls, file_version = pe_facts(exe)
    check(file_format == FORMATS[kind], f"{name}: fontab.exe is {file_format}")
    check({d.lower() for d in dlls} <= ALLOWED_DLLS, f"{name}: imports {dlls}")
    check(len(exe) <= SIZE_LIMIT, f"{name}: fontab.exe is {len(exe)} bytes")
    numbers = tuple(int(n) for n in (version + ".0.0.0").split(".")[:4])
    check(file_version == numbers, f"{name}: file version {file_version}, not {numbers}")
    readme = archive.read(folder + "README.txt")
    check(readme.startswith(b"\xef\xbb\xbf"), f"{name}: README.txt has no byte order mark")
    check(readme.count(b"\n") == readme.count(b"\r\n") == readme.count(b"\r") > 0,
          f"{name}: README.txt has line ends other than CRLF")
    text = readme.decode("utf-8-sig")
    check(version in text and "@VERSION@" not in text, f"{name}: README.txt lacks {version}")
    licence = archive.read(folder + "LICENSE.txt").replace(b"\r\n", b"\n")
    check(licence == (root / "LICENSE").read_bytes(), f"{name}: LICENSE.txt is not LICENSE")


def main():
    root, work = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    (first, second), commit_time = package_twice(root, work)
    check(sorted(first) == sorted(second), f"the runs made {sorted(first)} and {sorted(second)}")
    check(sorted(re.sub(r"-[0-9.]+-", "-", n) for n in first) ==
          ["fontab-win32.zip", "fontab-win64.zip"], f"made {sorted(first)}")
    for name, data in first.items():
        check(second.get(name) == data, f"{name}: the two runs differ")
        check_package(root, name, data, commit_time)
    print("\n".join(failures) or "packages: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
