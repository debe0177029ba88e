#!/usr/bin/env python3
"""The release zip as shipped. "contents": the members, the programs as
built and within their size limits, the text files in code page 932 with
CR LF, the sample Tavrin.ini equal to the README's sample apart from its
Japanese comments, every message box and switch in both help texts, and
the version record and manifest as Windows reads them (its DPI awareness
included; copies altered to lack it are refused). "dispatch": the zip
unpacked into an empty folder opens a URL with the recorder, the settings
file's single program, which must see the exact command line.

The zip is packed from the build under test by the package script's own
packer: the 32-bit release where Wine runs 32-bit programs, the x86_64
build's Tavrin-VERSION-x64.zip on a machine that cannot; each case says
which one it checked."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

from tavrin_e2e import Case, Failure, check, check_equal, cp932, windows_path

SCRIPTS = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                       "scripts")
sys.path.insert(0, SCRIPTS)
import check_dist  # noqa: E402  (the package script's own checks)
import make_dist  # noqa: E402


def build_version(args):
    return check_dist.build_version(args.bin)


def the_zip(args):
    path = os.path.join(args.package_dir, make_dist.zip_name(args.bin))
    check(os.path.exists(path), f"{path} was made")
    return path


def wine_output(args, argv, name):
    out = os.path.join(args.scratch, name)
    with open(out, "wb") as f:
        code = subprocess.run(["wine"] + argv, stdin=subprocess.DEVNULL, stdout=f,
                              stderr=subprocess.DEVNULL, timeout=60).returncode
    with open(out, "rb") as f:
        return code, dict(line.split("=", 1) for line in f.read().decode("ascii").splitlines()
                          if "=" in line)


def contents(args):
    path = the_zip(args)
    version = build_version(args)
    try:
        arch = check_dist.check_zip(path, args.bin, args.source)
    except check_dist.Failure as failure:
        raise Failure(str(failure))
    print(f"checked {os.path.basename(path)}: {arch} programs")
    with zipfile.ZipFile(path) as z:
        members = {i.filename: z.read(i) for i in z.infolist()}

    # The record and the manifest as Windows reads them from the shipped file.
    folder = os.path.join(args.scratch, "contents")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    exe = os.path.join(folder, "Tavrin.exe")
    with open(exe, "wb") as f:
        f.write(members["Tavrin.exe"])
    code, info = wine_output(args, [args.probe, windows_path(exe)], "version_probe.out")
    check_equal(code, 0, "version probe exit code")
    check_equal(info.get("fixed"), version + ".0", "FILEVERSION")
    check_equal(info.get("product_fixed"), version + ".0", "PRODUCTVERSION")
    check_equal(info.get("translation"), "041103a4", "language and code page")
    strings = {k[len("string."):]: bytes.fromhex(v).decode("cp932")
               for k, v in info.items() if k.startswith("string.")}
    check_equal(strings.get("ProductName"), "Tavrin", "ProductName")
    check_equal(strings.get("FileVersion"), version, "FileVersion")
    check_equal(strings.get("ProductVersion"), version, "ProductVersion")
    check_equal(strings.get("OriginalFilename"), "Tavrin.exe", "OriginalFilename")
    check(re.fullmatch(r"Copyright \(C\) 20\d\d Tavrin developers",
                       strings.get("LegalCopyright", "")), f"LegalCopyright {strings}")
    manifest = bytes.fromhex(info.get("manifest", "")).decode("utf-8")
    try:
        check_dist.check_manifest(manifest, arch)
    except check_dist.Failure as failure:
        raise Failure(str(failure))
    refuses_dpi_faults(manifest, arch)
    # Wine's version 6 reports itself as 5.81; the file it comes from tells.
    comctl = bytes.fromhex(info.get("comctl32_path", "")).decode("cp932").lower()
    check("\\winsxs\\" in comctl and "common-controls_6595b64144ccf1df_6." in comctl,
          f"common controls 6 through the manifest: {comctl}")


# Manifests that leave the program blurred on scaled displays, made from
# the shipped one: the check must refuse each.
DPI_FAULTS = [
    ("no dpiAware", '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">'
                    'true</dpiAware>', ""),
    ("dpiAware false", ">true</dpiAware>", ">false</dpiAware>"),
    ("per-monitor v1 only", ">PerMonitorV2, System<", ">PerMonitor<"),
    ("no system-aware fallback", ">PerMonitorV2, System<", ">PerMonitorV2<"),
    ("dpiAwareness in the 2005 namespace", "SMI/2016/WindowsSettings", "SMI/2005/WindowsSettings"),
    ("windowsSettings outside the asm.v3 application",
     '<application xmlns="urn:schemas-microsoft-com:asm.v3">',
     '<application xmlns="urn:schemas-microsoft-com:asm.v1">'),
    ("broken XML", "</windowsSettings>", ""),
    ("UTF-8 for code page 932", ">ja-JP</activeCodePage>", ">UTF-8</activeCodePage>"),
    ("no code page asked for", '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">'
     "ja-JP</activeCodePage>", ""),
    ("activeCodePage in the 2016 namespace", 'SMI/2019/WindowsSettings">ja-JP', 'SMI/2016/WindowsSettings">ja-JP'),
]


def refuses_dpi_faults(manifest, arch):
    for what, old, new in DPI_FAULTS:
        check(old in manifest, f"the manifest holds {old!r} (for the variant {what})")
        try:
            check_dist.check_manifest(manifest.replace(old, new), arch)
        except check_dist.Failure as failure:
            print(f"manifest with {what}: refused ({failure})")
            continue
        raise Failure(f"the manifest check passed a manifest with {what}")


def dispatch(args):
    case = Case(args, "dispatch")
    # The folder as a user has it after unpacking the zip into a new folder.
    shutil.rmtree(case.folder)
    os.makedirs(case.folder)
    path = the_zip(args)
    with zipfile.ZipFile(path) as z:
        z.extractall(case.folder)
    print(f"unpacked {os.path.basename(path)}")
    viewer = case.path("prog dir", "viewer.exe")
    os.makedirs(os.path.dirname(viewer))
    shutil.copyfile(args.recorder, viewer)
    case.write("Tavrin.ini", cp932(f"[.html]\r\n{windows_path(viewer)} | Viewer\r\n%end\r\n"))

    code, report, seconds = case.drive("run", cp932("http://host/dir/page.html"))
    check_equal(code, 0, "driver exit code (0: ended in time)")
    check_equal(report.messages(), [], "message boxes")
    check_equal(report["exit_code"], 0, "program exit code")
    log = viewer + ".log"
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and not os.path.exists(log):
        time.sleep(0.05)
    time.sleep(1.0)  # room for a start that should not happen
    check(os.path.exists(log), "the recorder was started")
    with open(log, "rb") as f:
        lines = f.read().split(b"\n")
    check_equal(len(lines), 4, "one start")
    check_equal(lines[0][4:], cp932(f'"{windows_path(viewer)}" http://host/dir/page.html'),
                "command line")
    check_equal(lines[1][4:], cp932(windows_path(os.path.dirname(viewer))), "working folder")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=["contents", "dispatch"])
    for option in ["package-dir", "bin", "source", "tavrin", "driver", "recorder", "probe",
                   "scratch"]:
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    try:
        {"contents": contents, "dispatch": dispatch}[args.case](args)
    except Failure as failure:
        print(f"FAILED {args.case}: {failure}")
        sys.exit(1)
    print(f"passed {args.case}")


if __name__ == "__main__":
    main()
