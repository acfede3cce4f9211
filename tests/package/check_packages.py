#!/usr/bin/env python3
"""package.build: runs scripts/package twice, into two folders with one build
folder, and checks the zips: the same bytes both times, the layout, and the
program's machine, imports, size, version and manifest, and the two text files.
Run by Debian's Python, which has pefile (python3-pefile)."""
import os
import io
import pathlib
import re
import shutil
import subprocess
import sys
import time
import zipfile
from xml.etree import ElementTree

import pefile

ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll",
                "shell32.dll", "msvcrt.dll"}
MACHINES = {"win64": 0x8664, "win32": 0x14C}  # IMAGE_FILE_MACHINE_AMD64, _I386
SIZE_LIMIT = 512_000  # five table editors and the statically linked C++ runtime
RT_MANIFEST = 24
V1, V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPAT, SMI = "{urn:schemas-microsoft-com:compatibility.v1}", "{http://schemas.microsoft.com/SMI/%s}"
SUPPORTED_OS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]  # Vista, 7, 8, 8.1, 10 and 11
# The elements the manifest must hold, each with its attributes or its text.
MANIFEST = {
    f"{V1}dependency/{V1}dependentAssembly/{V1}assemblyIdentity": [{
        "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
        "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"}],
    f"{V3}trustInfo/{V3}security/{V3}requestedPrivileges/{V3}requestedExecutionLevel": [{
        "level": "asInvoker", "uiAccess": "false"}],
    f"{COMPAT}compatibility/{COMPAT}application/{COMPAT}supportedOS": [
        {"Id": "{%s}" % guid} for guid in SUPPORTED_OS],
    f"{V3}application/{V3}windowsSettings/{SMI % '2005/WindowsSettings'}dpiAware": ["false"],
    f"{V3}application/{V3}windowsSettings/{SMI % '2017/WindowsSettings'}gdiScaling": ["true"],
}
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def pe_facts(exe):
    """The machine, the imported DLLs, the fixed file version and the manifest
    (RT_MANIFEST 1, empty when there is none) of a PE."""
    pe = pefile.PE(data=exe)
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    most, least = (fixed.FileVersionMS, fixed.FileVersionLS) if fixed else (0, 0)
    manifests = [language.data.struct for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
                 if kind.id == RT_MANIFEST for entry in kind.directory.entries if entry.id == 1
                 for language in entry.directory.entries]
    return (pe.FILE_HEADER.Machine, [i.dll.decode() for i in pe.DIRECTORY_ENTRY_IMPORT],
            (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF),
            pe.get_data(manifests[0].OffsetToData, manifests[0].Size) if manifests else b"")


def check_manifest(name, manifest):
    """Reads the manifest as XML and checks each element of MANIFEST."""
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return check(False, f"{name}: no manifest that parses ({error})")
    for path, wanted in MANIFEST.items():
        seen = [e.text if isinstance(wanted[0], str) else e.attrib for e in root.findall(path)]
        check(seen == wanted, f"{name}: manifest {path.split('}')[-1]} is {seen}, not {wanted}")


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
    machine, dlls, file_version, manifest = pe_facts(exe)
    check(machine == MACHINES[kind], f"{name}: fontab.exe is for machine {machine:#x}")
    check({d.lower() for d in dlls} <= ALLOWED_DLLS, f"{name}: imports {dlls}")
    check(len(exe) <= SIZE_LIMIT, f"{name}: fontab.exe is {len(exe)} bytes")
    numbers = tuple(int(n) for n in (version + ".0.0.0").split(".")[:4])
    check(file_version == numbers, f"{name}: file version {file_version}, not {numbers}")
    check_manifest(name, manifest)
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
