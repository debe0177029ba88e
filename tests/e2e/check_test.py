#!/usr/bin/env python3
"""TavrinCheck.exe, the Windows console build of the check tool, under Wine:
its rows for a few test pages equal the expected rows of tests/pages (the
list window's rows), with nkf32.dll beside it and without; a settings file
or page that another program holds open without sharing is a clear message
and exit status 2; bad input never crashes it; and it writes nothing."""
import argparse
import os
import shutil
import subprocess
import sys
import time

from tavrin_e2e import Failure, check, check_equal, windows_path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pages"))
from expected_rows import parse_rows, read_expected  # noqa: E402

# Pages checked under Wine (all of them are checked natively): a Japanese
# page the converter must turn, a list file, a page with a base URL.
PAGES = ["ja-utf8.expected.tsv", "ja-eucjp.expected.tsv", "list.expected.tsv",
         "relative.mode1.expected.tsv", "anchors-images.expected.tsv"]
NOCONV_PAGES = ["ja-utf8.noconv.expected.tsv", "ja-sjis.noconv.expected.tsv", "list.expected.tsv"]


class Tool:
    def __init__(self, args, name, converter=True):
        self.folder = os.path.join(args.scratch, name)
        # The runs' output stays out of the tool's folder, whose contents
        # the cases check.
        self.work = self.folder + ".work"
        for folder in (self.folder, self.work):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        self.exe = os.path.join(self.folder, "TavrinCheck.exe")
        shutil.copyfile(args.check, self.exe)
        if converter:
            shutil.copyfile(args.nkf, os.path.join(self.folder, "nkf32.dll"))
        self.pages = args.pages
        self.holder = args.holder
        self.runs = 0

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def run(self, *words):
        """Runs the tool; returns (status, stdout bytes, stderr bytes)."""
        self.runs += 1
        out = os.path.join(self.work, f"run{self.runs}.out")
        err = os.path.join(self.work, f"run{self.runs}.err")
        with open(out, "wb") as o, open(err, "wb") as e:
            done = subprocess.run(["wine", self.exe, *words], stdin=subprocess.DEVNULL,
                                  stdout=o, stderr=e, timeout=240)
        with open(out, "rb") as o, open(err, "rb") as e:
            stdout, stderr = o.read(), e.read()
        check(done.returncode in (0, 1, 2), f"{words[:2]}: exit {done.returncode} {stderr[-500:]!r}")
        return done.returncode, stdout, stderr


def compare_pages(tool, names):
    for name in names:
        header, rows = read_expected(os.path.join(tool.pages, name))
        words = ["links", windows_path(os.path.join(tool.pages, header["@page"].decode())), "--tsv"]
        if header["@mode"] == b"1":
            words += ["--base", header["@base"].decode()]
        status, out, _ = tool.run(*words)
        got_header, got = parse_rows(out)
        check_equal(got, rows, f"{name}: rows")
        check_equal(got_header.get("@listTitle"), header["@listTitle"], f"{name}: title")
        check_equal(status, 0, f"{name}: exit status")


def links_pages(args):
    tool = Tool(args, "links_pages")
    compare_pages(tool, PAGES)
    # A shortcut folder, subfolders included: the same rows as a set.
    header, rows = read_expected(os.path.join(args.pages, "shortcuts-order.deep.expected.tsv"))
    _, out, _ = tool.run("links", windows_path(os.path.join(args.pages, header["@folder"].decode())),
                         "--subfolders", "--tsv")
    check_equal(sorted(parse_rows(out)[1]), sorted(row.rsplit(b"\t", 1)[0] for row in rows), "shortcut rows")


def links_without_converter(args):
    compare_pages(Tool(args, "links_without_converter", converter=False), NOCONV_PAGES)


def hold(tool, path):
    """Starts the holder on `path`; returns it once it holds the file."""
    ready = os.path.join(tool.work, os.path.basename(path) + ".held")
    if os.path.exists(ready):
        os.remove(ready)
    holder = subprocess.Popen(["wine", tool.holder, windows_path(path), windows_path(ready), "20000"],
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 20
    while not os.path.exists(ready) and time.monotonic() < deadline:
        time.sleep(0.05)
    check(os.path.exists(ready), "the holder holds the file")
    return holder


def locked_files(args):
    tool = Tool(args, "locked_files")
    ini = tool.write("Tavrin.ini", b"[.html]\r\nnotepad\r\n%end\r\n")
    page = tool.write("page.html", b'<a href="http://h/x.html">x</a>')
    holder = hold(tool, ini)
    try:
        for words in (["lint"], ["open", "http://h/a.html"]):
            status, out, err = tool.run(*words, "--lang", "en")
            check_equal(status, 2, f"{words[0]} of a held settings file: exit status")
            check(b"cannot read the settings file" in err, f"{words[0]}: {err!r}")
    finally:
        holder.kill()
        holder.wait()
    holder = hold(tool, page)
    try:
        status, out, err = tool.run("links", windows_path(page), "--lang", "en")
        check_equal(status, 2, "links of a held page: exit status")
        check(b"cannot read" in err, f"links: {err!r}")
    finally:
        holder.kill()
        holder.wait()


def bad_input(args):
    tool = Tool(args, "bad_input")
    viewer = windows_path(tool.write("viewer.exe", b"MZ"))
    tool.write("Tavrin.ini", b"[.html]\r\n" + viewer.encode() + b"\r\n%end\r\n")
    status, out, _ = tool.run("open", "--lang", "en", "http://h/" + "a" * 4986 + ".html")
    check_equal(status, 1, "a URL of 5,000 characters: exit status")
    check(b"259" in out and b"nothing would start" in out, f"{out[-300:]!r}")
    tool.write("Tavrin.ini", bytes(range(256)) * 256)
    status, out, _ = tool.run("lint", "--lang", "en")
    check_equal(status, 1, "binary settings: exit status")
    check(b"control character" in out, f"{out[:300]!r}")
    os.remove(tool.path("Tavrin.ini"))
    status, _, err = tool.run("lint", "--lang", "en")
    check_equal(status, 2, "no settings file: exit status")
    check(b"settings file not found" in err, f"{err!r}")
    check("Tavrin.ini" not in os.listdir(tool.folder), "no settings file made")


def writes_nothing(args):
    tool = Tool(args, "writes_nothing")
    viewer = windows_path(tool.write("viewer.exe", b"MZ"))
    tool.write("page.html", b'<a href="http://h/x.html">x</a>')
    tool.write("Tavrin.ini", ("[system]\r\n@temp=del\r\n@loader=%s\r\n%%end\r\n[.html]\r\n%s\r\n"
                              "*>\"%%P\" | Save\r\n#>%%P | Load\r\n%%end\r\n[.pdf]\r\n%s\r\n*\r\n%%end\r\n"
                              % (viewer, viewer, viewer)).encode())
    before = {name: os.stat(tool.path(name)).st_mtime_ns for name in os.listdir(tool.folder)}
    for words in (["open", "http://h/a.html"], ["open", "http://h/a.pdf"], ["lint"],
                  ["links", windows_path(tool.path("page.html"))], ["open", windows_path(tool.path("page.html"))]):
        tool.run(*words)
    after = {name: os.stat(tool.path(name)).st_mtime_ns for name in os.listdir(tool.folder)}
    check_equal(after, before, "the folder after the runs")


CASES = {f.__name__: f for f in (links_pages, links_without_converter, locked_files, bad_input,
                                 writes_nothing)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    for option in ("--check", "--nkf", "--holder", "--pages", "--scratch"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    try:
        CASES[args.case](args)
    except Failure as failure:
        print(f"FAILED {args.case}: {failure}")
        sys.exit(1)
    print(f"passed {args.case}")


if __name__ == "__main__":
    main()
