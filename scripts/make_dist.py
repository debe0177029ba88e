#!/usr/bin/env python3
"""Packs the release zip from a Windows build folder: the programs as built
and the text files converted to what a Windows user's editor expects (code
page 932, CR LF). The zip is the same, byte for byte, for the same inputs:
fixed member order, times and attributes.

    make_dist.py --bin BUILD_DIR [--source ROOT] [--out DIR]

Prints the path of the zip it wrote: Tavrin-VERSION.zip, or for a 64-bit
build (a test package, never the release) Tavrin-VERSION-x64.zip.
"""
import argparse
import os
import re
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Name in the zip, file under the build folder; the optional ones are
# packed when the build has them.
PROGRAMS = [("Tavrin.exe", True), ("tvDDE.dll", True), ("nkf32.dll", True),
            ("TavrinCheck.exe", False)]
# Name in the zip, file under the source tree (UTF-8, LF).
TEXTS = [("Tavrin.txt", "docs/Tavrin.txt"), ("Tavrin-en.txt", "docs/Tavrin-en.txt"),
         ("Tavrin.ini", "docs/Tavrin.ini"), ("LICENSE.txt", "LICENSE")]
# Scripts kept in the source tree as shipped (CP932, CR LF).
SCRIPT_FOLDER = "dist"


def version(build):
    header = os.path.join(build, "generated", "tavrin_version.h")
    with open(header, encoding="ascii") as f:
        m = re.search(r'#define TAVRIN_VERSION_TEXT "([^"]+)"', f.read())
    if not m:
        sys.exit(f"no version in {header}")
    return m.group(1)


def zip_name(build):
    """Tavrin-VERSION.zip; a 64-bit build's (made to be tested where
    32-bit programs cannot run, never shipped) is Tavrin-VERSION-x64.zip."""
    with open(os.path.join(build, "Tavrin.exe"), "rb") as f:
        head = f.read(4096)
    pe = int.from_bytes(head[0x3C:0x40], "little")
    machine = int.from_bytes(head[pe + 4:pe + 6], "little")
    suffix = "-x64" if machine == 0x8664 else ""
    return f"Tavrin-{version(build)}{suffix}.zip"


def windows_text(path):
    """A UTF-8 text file as code page 932 with CR LF line ends."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if "\r" in text:
        sys.exit(f"{path}: keep the source with LF line ends")
    try:
        return text.replace("\n", "\r\n").encode("cp932")
    except UnicodeEncodeError as e:
        sys.exit(f"{path}: {text[e.start:e.end]!r} has no code page 932 form")


def crlf(data):
    """Bytes with every line ended by CR LF."""
    return re.sub(rb"\r?\n", b"\r\n", data)


def timestamp(source):
    """The packed files' time: SOURCE_DATE_EPOCH, else the commit's time."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        try:
            epoch = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"],
                                   capture_output=True, text=True, check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    if not epoch:
        return (1980, 1, 1, 0, 0, 0)
    t = time.gmtime(max(int(epoch), 315532800))
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


def members(build, source):
    """(name in the zip, bytes) in the order they are packed."""
    out = []
    for name, required in PROGRAMS:
        path = os.path.join(build, name)
        if not os.path.exists(path):
            if required:
                sys.exit(f"missing {path}: build the release first")
            continue
        with open(path, "rb") as f:
            out.append((name, f.read()))
    for name, relative in TEXTS:
        out.append((name, windows_text(os.path.join(source, relative))))
    folder = os.path.join(source, SCRIPT_FOLDER)
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            if name.lower().endswith(".cmd"):
                with open(os.path.join(folder, name), "rb") as f:
                    out.append((name, crlf(f.read())))
    return out


def write_zip(path, files, when):
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name, data in files:
            info = zipfile.ZipInfo(name, date_time=when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0            # MS-DOS: no Unix modes
            info.external_attr = 0x20         # FILE_ATTRIBUTE_ARCHIVE
            z.writestr(info, data, compresslevel=9)
    os.replace(tmp, path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="Windows build folder")
    parser.add_argument("--source", default=ROOT)
    parser.add_argument("--out", default=None, help="folder of the zip (default: SOURCE/dist)")
    args = parser.parse_args()
    out = args.out or os.path.join(args.source, "dist")
    os.makedirs(out, exist_ok=True)
    path = os.path.join(out, zip_name(args.bin))
    write_zip(path, members(args.bin, args.source), timestamp(args.source))
    print(path)


if __name__ == "__main__":
    main()
