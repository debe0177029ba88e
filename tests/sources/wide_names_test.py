#!/usr/bin/env python3
"""The program's sources take what Windows hands back in its wide form and
turn wide text into code page 932 bytes, and back, in one place only:
platform/win32/code_page.cpp. Everywhere else a conversion of its own, or an
ANSI call that returns a name, would bring back the system's look-alikes
("e" for "é", "\\" for "¥") or read the program's text in the system's code
page. Fonts are made from wide descriptions for the same reason.

Not part of the program, and so not searched: the tests and their programs
(tests/), the benchmarks (bench/) and the demo's stand-in program (demo/).
Searched but allowed its own conversion: the code converter library
(links/nkf/, shipped as nkf32.dll), which turns page text from UTF-8 with
the system's UTF-8 step; it is loaded by the program, never linked with its
platform layer, and converts document text, not names.

    wide_names_test.py SOURCE_ROOT
"""
import os
import re
import sys

SEARCHED = ["app", "bridge", "check", "common", "launch", "links", "menu", "platform", "settings",
            "template"]
THE_CONVERSION = "platform/win32/code_page.cpp"
OWN_CONVERTER = "links/nkf/"
# (file, call) pairs let through for now, each reported on every run.
WAITING = set()

CONVERSIONS = re.compile(r"\b(WideCharToMultiByte|MultiByteToWideChar)\b")
# ANSI calls that hand back a name or a path, and the ANSI font forms.
ANSI_NAMES = re.compile(r"\b(" + "|".join([
    "GetModuleFileNameA", "GetModuleFileNameExA", "GetOpenFileNameA", "GetSaveFileNameA",
    "SHBrowseForFolderA", "SHGetPathFromIDListA", "SHGetSpecialFolderPathA", "SHGetFolderPathA",
    "GetFullPathNameA", "SearchPathA", "FindExecutableA", "AssocQueryStringA", "FindFirstFileA",
    "FindFirstFileExA", "FindNextFileA", "GetTempPathA", "GetTempFileNameA", "GetSystemDirectoryA",
    "GetWindowsDirectoryA", "GetCurrentDirectoryA", "DragQueryFileA", "GetLongPathNameA",
    "GetShortPathNameA", "GetCommandLineA", "ExpandEnvironmentStringsA", "GetEnvironmentVariableA",
    "CreateFontIndirectA", "LOGFONTA", "NONCLIENTMETRICSA", "OPENFILENAMEA", "BROWSEINFOA",
    "WIN32_FIND_DATAA",
]) + r")\b")


def code_of(text):
    """The text without comments and string literals."""
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    return re.sub(r'"(\\.|[^"\\\n])*"', '""', text)


def main():
    root = sys.argv[1]
    faults = []
    waiting = []
    for top in SEARCHED:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8") as f:
                    code = code_of(f.read())
                for number, line in enumerate(code.split("\n"), 1):
                    where = f"{relative}:{number}"
                    for conversion in CONVERSIONS.finditer(line):
                        if relative != THE_CONVERSION and not relative.startswith(OWN_CONVERTER):
                            faults.append(f"{where}: {conversion.group(1)} outside {THE_CONVERSION}")
                    for ansi in ANSI_NAMES.finditer(line):
                        if (relative, ansi.group(1)) in WAITING:
                            waiting.append(f"{where}: {ansi.group(1)} (waiting for its rewrite)")
                        else:
                            faults.append(f"{where}: {ansi.group(1)}, the ANSI form (take the wide one and "
                                          f"convert it in {THE_CONVERSION})")
    for note in waiting:
        print("let through: " + note)
    for fault in faults:
        print(fault)
    if faults:
        print(f"FAILED: {len(faults)} place(s) convert wide text or take names by themselves")
        sys.exit(1)
    print("passed: every wide name and text goes through " + THE_CONVERSION)


if __name__ == "__main__":
    main()
