#!/usr/bin/env python3
"""The release zip as shipped. "contents": the members, the programs as
built and within their size limits, the text files in code page 932 with
CR LF, the sample Tavrin.ini equal to the README's sample apart from its
Japanese comments, every message box and switch in both help texts, and
the version record and manifest as Windows reads them. "dispatch": the zip
unpacked into an empty folder opens a URL with the recorder, the settings
file's single program, which must see the exact command line."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

from tavrin_e2e import Case, Failure, check, check_equal, cp932, windows_path

EXE_LIMIT = 300 * 1024
DLL_LIMIT = 64 * 1024
PROGRAMS = ["Tavrin.exe", "tvDDE.dll", "nkf32.dll"]
TEXTS = ["Tavrin.txt", "Tavrin-en.txt", "Tavrin.ini", "LICENSE.txt"]

# What each help text must name as the user sees it: every message box's
# caption and text (their fixed part), the switches and the placeholders.
MESSAGES = [
    "エラー", "注意", "初期化エラー", "オープンエラー", "読み込みエラー",
    "URL専用「ネルカモ」", "バージョン情報",
    "設定ファイル異常", "ドラッグ＆ドロップの初期化に失敗しました。",
    "ドラッグ＆ドロップの登録に失敗しました。", "キーを開放してください！",
    "ダウンロード失敗", "http以外は、ダウンロードできません！",
    "タイムアウトにより、すべて終了します。", "タイムアウトにより、「ネルカモ」を終了します。",
    "ダウンロードプログラムを起動できません。", "に書き込めませんでした。",
    "次のURLは長すぎるため開けません。", "入力が長すぎるため",
    "次のURLは前後の文字とつながって長すぎるため開けません。",
    "次のURLを開くブラウザが設定されていません。", "に次の入力を渡せませんでした。",
]
SWITCHES = ["/#c", "/#d=", "/#s=", "/#u=", "/#m=", "/#b=", "/#k=sft", "/#k=ctl"]
PLACEHOLDERS = ["%F", "%G", "%H", "%I", "%J", "%-J", "%K", "%L", "%-L", "%M", "%S=",
                "%P", "%D", "%-D", "%N", "%E", "%A", "%B", "%ins_Url%", "%temp_Url%",
                "%4y%", "%2y%", "%mm%", "%0m%", "%-m%", "%dd%", "%0d%", "%-d%",
                "%Common My Video%"]
OPTIONS = ["[host:", "[blank]", "[.*]", "[all]", "[list]", "@dlm=", "@dlm2=", "@param",
           "@path=", "@icon", "@menu=", "@len=", "@ext2=", "@editor=", "@search=", "@dde=",
           "@name=", "@loader=", "@filter", "@temp=del", "@timeout=", "@scheme=", "@dist=",
           "@mark=0", "@active=1", "@system"]


def build_version(args):
    with open(os.path.join(args.bin, "generated", "tavrin_version.h"), encoding="ascii") as f:
        return re.search(r'TAVRIN_VERSION_TEXT "([^"]+)"', f.read()).group(1)


def the_zip(args):
    path = os.path.join(args.package_dir, f"Tavrin-{build_version(args)}.zip")
    check(os.path.exists(path), f"{path} was made")
    return path


def readme_sample(path):
    with open(path, encoding="utf-8") as f:
        readme = f.read()
    start = readme.index("```ini\n") + len("```ini\n")
    return readme[start:readme.index("\n```", start - 1) + 1]


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
    with zipfile.ZipFile(path) as z:
        members = {i.filename: z.read(i) for i in z.infolist()}
    optional = [n for n in ["TavrinCheck.exe"] if os.path.exists(os.path.join(args.bin, n))]
    scripts = sorted(n for n in os.listdir(os.path.join(args.source, "dist"))
                     if n.lower().endswith(".cmd")) if os.path.isdir(
                         os.path.join(args.source, "dist")) else []
    check_equal(sorted(members), sorted(PROGRAMS + optional + TEXTS + scripts), "zip members")

    for name in PROGRAMS + optional:
        with open(os.path.join(args.bin, name), "rb") as f:
            check(members[name] == f.read(), f"{name} is the build's")
        limit = EXE_LIMIT if name == "Tavrin.exe" else DLL_LIMIT if name.endswith(".dll") else None
        if limit:
            check(len(members[name]) <= limit, f"{name}: {len(members[name])} bytes > {limit}")

    texts = {}
    for name in TEXTS + scripts:
        data = members[name]
        check(not data.startswith(b"\xef\xbb\xbf"), f"{name} has no byte order mark")
        check(re.search(rb"(?<!\r)\n", data) is None, f"{name}: a line end without CR")
        check(data.endswith(b"\r\n"), f"{name} ends with a line break")
        try:
            texts[name] = data.decode("cp932")
        except UnicodeDecodeError as e:
            raise Failure(f"{name} is not code page 932: {e}")

    sample = [line for line in texts["Tavrin.ini"].split("\r\n")
              if not (line.startswith(";") and not line.isascii())]
    check_equal("\n".join(sample), readme_sample(os.path.join(args.source, "README.md")),
                "sample Tavrin.ini without its Japanese comments")

    for name in ["Tavrin.txt", "Tavrin-en.txt"]:
        for needed in MESSAGES + SWITCHES + PLACEHOLDERS + OPTIONS:
            check(needed.lower() in texts[name].lower(), f"{name} does not name {needed!r}")
    check("Ver.U_1.25" in texts["Tavrin.txt"], "the version box's version in the help")
    check("Tavrin developers" in texts["LICENSE.txt"], "licence holder")

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
    check('level="asInvoker"' in manifest, "asInvoker")
    check(re.search(r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"', manifest),
          "common controls 6")
    for os_id in ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                  "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                  "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]:
        check(os_id in manifest, f"supportedOS {os_id}")
    # Wine's version 6 reports itself as 5.81; the file it comes from tells.
    comctl = bytes.fromhex(info.get("comctl32_path", "")).decode("cp932").lower()
    check("\\winsxs\\" in comctl and "common-controls_6595b64144ccf1df_6." in comctl,
          f"common controls 6 through the manifest: {comctl}")


def dispatch(args):
    case = Case(args, "dispatch")
    # The folder as a user has it after unpacking the zip into a new folder.
    shutil.rmtree(case.folder)
    os.makedirs(case.folder)
    with zipfile.ZipFile(the_zip(args)) as z:
        z.extractall(case.folder)
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
