#!/usr/bin/env python3
"""The converter library nkf32.dll under Wine, through nkf_probe.exe.

The probe loads the library by name and calls SetNkfOption("-s") and
NkfConvert the way the program does. Each page's output must be the page's
text in code page 932 as Python's codecs give it ('?' for what the code
page lacks), within three times the page's length.
Run from ctest inside the environment of scripts/wine-env.sh:
    test_nkf.py --bin BUILD_DIR --objdump OBJDUMP --pages SOURCE/tests/pages
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

BIN = ""
OBJDUMP = ""
PAGES = ""
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "ntdll.dll"}

# The code page's forms of characters that JIS-based codecs give apart.
CP932_FORMS = str.maketrans({"\u301c": "\uff5e", "\u2016": "\u2225", "\u2212": "\uff0d",
                             "\u00a2": "\uffe0", "\u00a3": "\uffe1", "\u00ac": "\uffe2",
                             "\u00a6": "\uffe4", "\u2014": "\u2015"})


def cp932(text):
    return text.translate(CP932_FORMS).encode("cp932", errors="replace")


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def probe(*args):
    done = subprocess.run(["wine", os.path.join(BIN, "nkf_probe.exe"), *args],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    values = {"exit": done.returncode}
    for line in done.stdout.decode("latin-1").split():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    return values


class ConverterLibraryTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="nkf_")

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def convert(self, data):
        source = os.path.join(self.scratch, "in.html")
        target = os.path.join(self.scratch, "out.txt")
        with open(source, "wb") as f:
            f.write(data)
        got = probe("convert", winpath(source), winpath(target))
        self.assertEqual(got["exit"], 0, "probe failed (4: written past the room)")
        with open(target, "rb") as f:
            return f.read()

    def test_exports_exactly_the_two_names_and_imports_system_dlls(self):
        dump = subprocess.run([OBJDUMP, "-p", os.path.join(BIN, "nkf32.dll")], stdout=subprocess.PIPE,
                              check=True, env=dict(os.environ, LC_ALL="C")).stdout.decode()
        section = dump.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
        names = {line.split("]")[1].strip() for line in section.splitlines() if "]" in line}
        self.assertEqual(names, {"SetNkfOption", "NkfConvert"})
        dlls = {line.split("DLL Name:")[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
        self.assertTrue(dlls and dlls <= SYSTEM_DLLS, dlls)

    def test_options(self):
        self.assertEqual(probe("option", "-s")["result"], 1)
        self.assertEqual(probe("option", "-e")["result"], 0)
        got = probe("nulls")
        self.assertEqual((got["exit"], got["result"], got["cleared"]), (0, 0, 1))

    def test_sample_pages(self):
        pages = {"ja-utf8.html": "utf-8", "ja-eucjp.html": "euc_jp", "ja-iso2022jp.html": "iso2022_jp",
                 "ja-sjis.html": "cp932", "ja-utf8-broken.html": "utf-8", "case.html": "ascii"}
        for name, codec in pages.items():
            with self.subTest(page=name):
                with open(os.path.join(PAGES, name), "rb") as f:
                    data = f.read()
                want = data if codec == "cp932" else cp932(data.decode(codec, errors="replace"))
                self.assertEqual(self.convert(data), want)

    def test_characters_through_the_system_code_pages(self):
        cases = [
            ("日本語のテキスト、①②。", None),                 # NEC characters are in the code page
            ("〜‖−¢£¬—", "～∥－￠￡￢―"),                       # the code page's forms
            ("café 😀 ÿ", "caf? ? ?"),                           # no best-fit guesses
            ("ｶﾀｶﾅ", None),                                      # half-width katakana
        ]
        # IBM extensions: the system writes their own rows (0xFA-0xFC).
        page = "<meta charset=utf-8>髙﨑"
        self.assertEqual(self.convert(page.encode("utf-8")), b"<meta charset=utf-8>\xfb\xfc\xfa\xb1")
        for text, shown in cases:
            with self.subTest(text=text):
                page = "<meta charset=utf-8>" + text
                want = ("<meta charset=utf-8>" + (shown or text)).encode("cp932")
                self.assertEqual(self.convert(page.encode("utf-8")), want)

    def test_large_and_empty_pages_stay_within_their_room(self):
        line = "<p><a href=\"http://example.jp/\">日本語のリンク〜</a></p>\n"
        data = (line * 20000).encode("utf-8")  # about 1 MB, many pieces for the system
        self.assertEqual(self.convert(data), cp932(line * 20000))
        self.assertEqual(self.convert(b""), b"")
        self.assertEqual(self.convert(b"\xef\xbb\xbf"), b"")
        # Bytes that fit no encoding are left as they are, like Shift_JIS.
        self.assertEqual(self.convert(b"\x80" * 1000), b"\x80" * 1000)


def main():
    global BIN, OBJDUMP, PAGES
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--pages", required=True)
    args, rest = parser.parse_known_args()
    BIN, OBJDUMP, PAGES = args.bin, args.objdump, args.pages
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
