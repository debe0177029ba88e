#!/usr/bin/env python3
"""Checks a release zip without running it, so that any machine can check
the 32-bit release: the members, the programs as built (architecture, size
limits), the text files in code page 932 with CR LF, the sample Tavrin.ini
equal to the README's sample apart from its Japanese comments, every message
box, switch, placeholder and option named in both help texts, the
version record and manifest (its DPI awareness included) read from
Tavrin.exe's resources, and the code page both programs' manifests ask for.

    check_dist.py ZIP --bin BUILD_DIR [--source ROOT]

Prints one line per group checked; exits 1 with the reason on the first
fault. package_test.py runs the same checks and then lets Windows read the
record and the manifest.
"""
import argparse
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Tavrin.exe grew from 288 KB with the progress window and its transfer
# thread, link cleaning with its tables, the wide-input conversion, the
# safe replacement of list files, the Unicode tables that read host
# names as browsers do (25 KB with their code), names taken wide with
# their short forms, whole downloads with their zone mark and proxy, the
# queue of waiting input and the source program's queries (456 KB for
# i686); still one small file with no runtime.
EXE_LIMIT = 480 * 1024
DLL_LIMIT = 64 * 1024
PROGRAMS = ["Tavrin.exe", "tvDDE.dll", "nkf32.dll"]
OPTIONAL_PROGRAMS = ["TavrinCheck.exe"]
TEXTS = ["Tavrin.txt", "Tavrin-en.txt", "Tavrin.ini", "LICENSE.txt"]
MACHINES = {0x14C: "i686", 0x8664: "x86_64"}
MANIFEST_ARCH = {"i686": "x86", "x86_64": "amd64"}
SUPPORTED_OS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]

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
    "名前にShift_JISに無い文字（?の所）が",
    "チェックされた行がありません。",
    "ここからは起動できません。", "ワールドワイド言語サポート",
    "Unicode 対応ではないプログラムの言語",
]
SWITCHES = ["/#c", "/#d=", "/#s=", "/#u=", "/#m=", "/#b=", "/#k=sft", "/#k=ctl"]
PLACEHOLDERS = ["%F", "%G", "%H", "%I", "%J", "%-J", "%K", "%-K", "%L", "%-L", "%M", "%S=",
                "%P", "%D", "%-D", "%N", "%E", "%A", "%B", "%ins_Url%", "%temp_Url%",
                "%4y%", "%2y%", "%mm%", "%0m%", "%-m%", "%dd%", "%0d%", "%-d%",
                "%Common My Video%"]
OPTIONS = ["[host:", "[blank]", "[.*]", "[all]", "[list]", "@dlm=", "@dlm2=", "@param",
           "@path=", "@icon", "@menu=", "@len=", "@ext2=", "@editor=", "@search=", "@dde=",
           "@name=", "@loader=", "@filter", "@temp=del", "@timeout=", "@scheme=", "@dist=",
           "@mark=0", "@active=1", "@system", "@unwrap", "@strip="]


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


# --- the PE file --------------------------------------------------------

class Pe:
    """The parts of a PE file this check reads: machine and resources."""

    def __init__(self, data, name):
        self.data, self.name = data, name
        check(data[:2] == b"MZ", f"{name} is not a Windows program")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        check(data[pe:pe + 4] == b"PE\0\0", f"{name} has no PE header")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, vsize, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((rva, max(vsize, raw_size), raw))

    def at(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise Failure(f"{self.name}: address {rva:#x} is in no section")

    def resource(self, kind, ident):
        """The bytes of resource `ident` of type `kind`, first language."""
        check(self.resource_rva, f"{self.name} has no resources")
        base = self.at(self.resource_rva)

        def entries(offset):
            named, ids = struct.unpack_from("<HH", self.data, base + offset + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)
                yield name, target

        def child(offset, wanted):
            for name, target in entries(offset):
                if wanted is None or name == wanted:
                    return target
            return None

        level = child(0, kind)
        check(level is not None and level & 0x80000000, f"{self.name}: no resource of type {kind}")
        level = child(level & 0x7FFFFFFF, ident)
        check(level is not None and level & 0x80000000, f"{self.name}: no resource {kind}/{ident}")
        leaf = child(level & 0x7FFFFFFF, None)
        check(leaf is not None and not leaf & 0x80000000, f"{self.name}: resource {kind}/{ident} is empty")
        rva, size = struct.unpack_from("<II", self.data, base + leaf)
        start = self.at(rva)
        return self.data[start:start + size]


def version_nodes(data, offset=0):
    """One node of a version record: (key, value bytes, is text, children)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    end = offset + 6
    while data[end:end + 2] != b"\0\0":
        end += 2
    key = data[offset + 6:end].decode("utf-16-le")
    value = (end + 2 + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    children, child = [], (value + value_bytes + 3) & ~3
    while child < offset + length:
        node = version_nodes(data, child)
        children.append(node)
        child = (child + node[4] + 3) & ~3
    return key, data[value:value + value_bytes], kind == 1, children, length


def version_record(pe):
    """(FILEVERSION, PRODUCTVERSION, translation, {string name: text})."""
    key, fixed, _, children, _ = version_nodes(pe.resource(16, 1))
    check_equal(key, "VS_VERSION_INFO", "version record key")
    signature, _, fms, fls, pms, pls = struct.unpack_from("<IIIIII", fixed)
    check_equal(signature, 0xFEEF04BD, "fixed version signature")
    dotted = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings, translation = {}, None
    for name, _, _, tables, _ in children:
        if name == "StringFileInfo":
            for _, _, _, entries, _ in tables:
                for entry_key, value, _, _, _ in entries:
                    strings[entry_key] = value.decode("utf-16-le").rstrip("\0")
        elif name == "VarFileInfo":
            for var_key, value, _, _, _ in tables:
                if var_key == "Translation" and len(value) >= 4:
                    language, codepage = struct.unpack_from("<HH", value)
                    translation = f"{language:04x}{codepage:04x}"
    return dotted(fms, fls), dotted(pms, pls), translation, strings


# --- the zip ------------------------------------------------------------

def build_version(build):
    with open(os.path.join(build, "generated", "tavrin_version.h"), encoding="ascii") as f:
        return re.search(r'TAVRIN_VERSION_TEXT "([^"]+)"', f.read()).group(1)


def readme_sample(path):
    with open(path, encoding="utf-8") as f:
        readme = f.read()
    start = readme.index("```ini\n") + len("```ini\n")
    return readme[start:readme.index("\n```", start - 1) + 1]


ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
DPI_AWARE_NS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
DPI_AWARENESS_NS = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
CODE_PAGE_NS = "http://schemas.microsoft.com/SMI/2019/WindowsSettings"


def windows_settings(manifest):
    """The manifest's one application/windowsSettings element."""
    try:
        root = ET.fromstring(manifest)
    except ET.ParseError as e:
        raise Failure(f"the manifest is not well-formed XML: {e}")
    found = root.findall(f"{{{ASM_V3}}}application/{{{ASM_V3}}}windowsSettings")
    check_equal(len(found), 1, "windowsSettings elements (asm.v3 application)")
    return found[0]


def check_code_page(manifest, name):
    """The program's texts are code page 932: it asks for that code page by
    its locale name, as Windows reads activeCodePage (in its namespace)."""
    found = windows_settings(manifest).findall(f"{{{CODE_PAGE_NS}}}activeCodePage")
    check_equal([(e.text or "").strip() for e in found], ["ja-JP"], f"{name}: activeCodePage")


def dpi_settings(manifest):
    """The text of dpiAware and the values of dpiAwareness, read as Windows
    reads them: each in its own namespace, inside application/windowsSettings."""
    settings = windows_settings(manifest)
    aware = settings.findall(f"{{{DPI_AWARE_NS}}}dpiAware")
    awareness = settings.findall(f"{{{DPI_AWARENESS_NS}}}dpiAwareness")
    check_equal(len(aware), 1, f"dpiAware elements in {DPI_AWARE_NS}")
    check_equal(len(awareness), 1, f"dpiAwareness elements in {DPI_AWARENESS_NS}")
    return ((aware[0].text or "").strip(),
            [v.strip() for v in (awareness[0].text or "").split(",")])


def check_manifest(manifest, arch):
    check('level="asInvoker"' in manifest, "asInvoker")
    # Windows 10 from 1703 takes the first value it knows of dpiAwareness,
    # 1607 skips "PerMonitorV2" for "System", older systems read dpiAware.
    aware, awareness = dpi_settings(manifest)
    check_equal(aware.lower(), "true", "dpiAware (system-aware before Windows 10 1607)")
    check_equal([v.lower() for v in awareness], ["permonitorv2", "system"],
                "dpiAwareness (per-monitor v2, else system-aware)")
    check(re.search(r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"', manifest),
          "common controls 6")
    for os_id in SUPPORTED_OS:
        check(os_id in manifest, f"supportedOS {os_id}")
    check_code_page(manifest, "Tavrin.exe")
    check_architecture(manifest, arch, "Tavrin.exe")


def check_architecture(manifest, arch, name):
    wanted = MANIFEST_ARCH[arch]
    found = re.findall(r'processorArchitecture="([^"]*)"', manifest)
    check(found and all(a == wanted for a in found),
          f"{name}: manifest architecture: {found}, the program is {arch} ({wanted})")


def check_tool_manifest(manifest, arch):
    check('level="asInvoker"' in manifest, "TavrinCheck.exe: asInvoker")
    for os_id in SUPPORTED_OS:
        check(os_id in manifest, f"TavrinCheck.exe: supportedOS {os_id}")
    check_code_page(manifest, "TavrinCheck.exe")
    check_architecture(manifest, arch, "TavrinCheck.exe")


def check_zip(path, build, source):
    """Every static check; returns the architecture of the programs."""
    version = build_version(build)
    with zipfile.ZipFile(path) as z:
        members = {i.filename: z.read(i) for i in z.infolist()}
    optional = [n for n in OPTIONAL_PROGRAMS if os.path.exists(os.path.join(build, n))]
    folder = os.path.join(source, "dist")
    scripts = sorted(n for n in os.listdir(folder) if n.lower().endswith(".cmd")) \
        if os.path.isdir(folder) else []
    check_equal(sorted(members), sorted(PROGRAMS + optional + TEXTS + scripts), "zip members")

    arches = set()
    for name in PROGRAMS + optional:
        with open(os.path.join(build, name), "rb") as f:
            check(members[name] == f.read(), f"{name} is the build's")
        pe = Pe(members[name], name)
        check(pe.machine in MACHINES, f"{name}: unknown machine {pe.machine:#x}")
        arches.add(MACHINES[pe.machine])
        limit = EXE_LIMIT if name == "Tavrin.exe" else DLL_LIMIT if name.endswith(".dll") else None
        if limit:
            check(len(members[name]) <= limit, f"{name}: {len(members[name])} bytes > {limit}")
    check_equal(len(arches), 1, f"one architecture for every program ({sorted(arches)})")
    arch = arches.pop()
    print(f"  programs: {arch}, {', '.join(f'{n} {len(members[n]):,}' for n in PROGRAMS + optional)}")

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
    check_equal("\n".join(sample), readme_sample(os.path.join(source, "README.md")),
                "sample Tavrin.ini without its Japanese comments")
    for name in ["Tavrin.txt", "Tavrin-en.txt"]:
        for needed in MESSAGES + SWITCHES + PLACEHOLDERS + OPTIONS:
            check(needed.lower() in texts[name].lower(), f"{name} does not name {needed!r}")
    check("Ver.U_1.25" in texts["Tavrin.txt"], "the version box's version in the help")
    check("Tavrin developers" in texts["LICENSE.txt"], "licence holder")
    print(f"  texts: {', '.join(TEXTS + scripts)} (code page 932, CR LF, help texts complete)")

    pe = Pe(members["Tavrin.exe"], "Tavrin.exe")
    fixed, product, translation, strings = version_record(pe)
    check_equal(fixed, version + ".0", "FILEVERSION")
    check_equal(product, version + ".0", "PRODUCTVERSION")
    check_equal(translation, "041103a4", "language and code page")
    check_equal(strings.get("ProductName"), "Tavrin", "ProductName")
    check_equal(strings.get("FileVersion"), version, "FileVersion")
    check_equal(strings.get("ProductVersion"), version, "ProductVersion")
    check_equal(strings.get("OriginalFilename"), "Tavrin.exe", "OriginalFilename")
    check(re.fullmatch(r"Copyright \(C\) 20\d\d Tavrin developers",
                       strings.get("LegalCopyright", "")), f"LegalCopyright {strings}")
    check_manifest(pe.resource(24, 1).decode("utf-8"), arch)
    print(f"  Tavrin.exe: version record {fixed}, manifest for {MANIFEST_ARCH[arch]}, "
          "DPI-aware (per-monitor v2, else system), code page 932 (ja-JP)")
    if "TavrinCheck.exe" in optional:
        check_tool_manifest(Pe(members["TavrinCheck.exe"], "TavrinCheck.exe").resource(24, 1).decode("utf-8"), arch)
        print(f"  TavrinCheck.exe: manifest for {MANIFEST_ARCH[arch]}, code page 932 (ja-JP)")
    return arch


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("zip")
    parser.add_argument("--bin", required=True, help="the Windows build folder the zip was made from")
    parser.add_argument("--source", default=ROOT)
    args = parser.parse_args()
    print(f"checking {args.zip}")
    try:
        check_zip(args.zip, args.bin, args.source)
    except (Failure, OSError, KeyError, struct.error, ValueError) as failure:
        print(f"FAILED: {os.path.basename(args.zip)}: {failure}")
        sys.exit(1)
    print(f"passed: {os.path.basename(args.zip)}")


if __name__ == "__main__":
    main()
