#!/usr/bin/env python3
"""TavrinCheck.exe, the Windows console build of the check tool, under Wine:
its rows for a few test pages equal the expected rows of tests/pages (the
list window's rows), with nkf32.dll beside it and without; a settings file
or page that another program holds open without sharing is a clear message
and exit status 2; bad input never crashes it; and it writes nothing.
"browsers" finds the browsers the case registers in the prefix (HKCU and
HKLM's 32-bit view) with the profiles of the files it makes, and writes
lines that lint passes and whose dry run starts each profile; "doctor"
after register.cmd tells registered-but-not-chosen, chosen, and moved."""
import argparse
import os
import re
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


# --- browsers and doctor -----------------------------------------------------

CLIENTS = r"Software\Clients\StartMenuInternet"
DIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "dist")
CHOICES = r"HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations"
LOCAL_STATE = (r'{"profile":{"info_cache":{"Default":{"name":"Personal"},"Profile 1":{"name":"\u4ed5\u4e8b"},'
               r'"Profile 2":{"name":"Caf\u00e9 \ud83d\ude00"},"Profile 7":{"name":"deleted"}},'
               r'"profiles_order":["Profile 1","Default","Profile 2"]}}')
PROFILES_INI = ("[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/t1.default-release\r\n"
                "[Profile1]\r\nName=Work\r\nIsRelative=1\r\nPath=Profiles/t2.work\r\n")


def wine_reg(*words):
    done = subprocess.run(["wine", "reg", *words], stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode("cp932", errors="replace")


def reg_value(key, name):
    code, out = wine_reg("query", key, "/v", name)
    found = re.search(r"^    \S+    REG_\w+    (.*)$", out, re.M) if code == 0 else None
    return found.group(1).strip() if found else None


def unix_folder(variable):
    """The Unix path of a folder of the prefix that a variable names."""
    done = subprocess.run(["wine", "cmd", "/c", "echo", f"%{variable}%"], stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=60)
    windows = done.stdout.decode("cp932").strip()
    done = subprocess.run(["winepath", "-u", windows], stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    return done.stdout.decode("utf-8").strip()


def tsv(out, tag):
    return [line.split("\t")[1:] for line in out.decode("cp932").splitlines() if line.startswith(tag + "\t")]


def browsers(args):
    tool = Tool(args, "browsers")
    os.makedirs(tool.path("Test Vendor/Test Chrome/Application"))
    chrome = tool.write("Test Vendor/Test Chrome/Application/chrome.exe", b"MZ")
    data = tool.path("Test Vendor/Test Chrome/User Data")
    for profile in ("Default", "Profile 1", "Profile 2"):
        os.makedirs(os.path.join(data, profile))
    with open(os.path.join(data, "Local State"), "w") as f:
        f.write(LOCAL_STATE)
    os.makedirs(tool.path("Firefox Test"))
    firefox = tool.write("Firefox Test/firefox.exe", b"MZ")
    # Firefox keeps profiles.ini in the prefix's APPDATA, where no other
    # case looks.
    store = os.path.join(unix_folder("APPDATA"), "Mozilla", "Firefox")
    check(not os.path.exists(os.path.join(store, "profiles.ini")), "no profiles.ini in the prefix yet")
    os.makedirs(os.path.join(store, "Profiles", "t1.default-release"))
    os.makedirs(os.path.join(store, "Profiles", "t2.work"))
    with open(os.path.join(store, "profiles.ini"), "w") as f:
        f.write(PROFILES_INI)
    keys = [("HKCU", "TavrinTestChrome", "Test Chrome", f'"{windows_path(chrome)}"', []),
            ("HKLM", "TavrinTestFirefox", "Test Firefox", windows_path(firefox) + " -osint -url %1", ["/reg:32"]),
            ("HKLM", "TavrinTestGone", "Test Gone", r'"C:\nowhere\gone.exe"', [])]
    try:
        for root, key, name, command, view in keys:
            full = rf"{root}\{CLIENTS}\{key}"
            check_equal(wine_reg("add", full, "/ve", "/d", name, "/f", *view)[0], 0, f"reg add {full}")
            check_equal(wine_reg("add", full + r"\shell\open\command", "/ve", "/d", command, "/f", *view)[0], 0,
                        f"reg add {full} command")
        status, out, err = tool.run("browsers", "--tsv", "--raw", "--lang", "en")
        check_equal(status, 0, f"browsers: exit status {err!r}")
        found = {row[1]: row for row in tsv(out, "@browser")}
        check_equal(found["Test Chrome"][5], "written", "Chrome written")
        check_equal(found["Test Firefox"][5], "written", "Firefox written")
        check_equal(found["Test Gone"][5], "program-missing", "a missing program left out")
        lines = [row[0] for row in tsv(out, "@line")]
        print("the lines browsers wrote:\n  " + "\n  ".join(lines))
        want = [f"{windows_path(chrome)} | Test Chrome",
                '>--profile-directory="Profile 1" %L | 仕事',
                '>--profile-directory="Default" %L | Personal',
                '>--profile-directory="Profile 2" %L | Caf? ?',
                ">--incognito %L | Incognito window",
                f"{windows_path(firefox)} | Test Firefox",
                '>-P "default-release" %L | default-release',
                '>-P "Work" %L | Work',
                ">--private-window %L | Private window"]
        check(all(line in lines for line in want), f"lines: {lines}")
        check(["lost-characters"] in tsv(out, "@note"), "a note on the ? of Café 😀")
        tool.write("Tavrin.ini", "\r\n".join(lines).encode("cp932") + b"\r\n")
        status, out, _ = tool.run("lint", "--lang", "en")
        check_equal((status, out.strip()), (0, b"0 problems, 0 notes"), "lint of the lines")
        status, out, _ = tool.run("open", "http://example.com/", "--tsv", "--raw")
        starts = [row[3] for row in tsv(out, "@chosen") if row[1] == "start"]
        for parameters in ('--profile-directory="Profile 1" http://example.com/', "--incognito http://example.com/",
                           '-P "Work" http://example.com/', "--private-window http://example.com/"):
            check(parameters in starts, f"{parameters}: {starts}")
    finally:
        for root, key, _, _, view in keys:
            wine_reg("delete", rf"{root}\{CLIENTS}\{key}", "/f", *view)
        shutil.rmtree(os.path.dirname(store), ignore_errors=True)


def doctor_register(args):
    tool = Tool(args, "doctor")
    for name in ("register.cmd", "unregister.cmd"):
        shutil.copyfile(os.path.join(DIST, name), tool.path(name))
    shutil.copyfile(args.tavrin, tool.path("Tavrin.exe"))
    tool.write("Tavrin.ini", b"[.html]\r\nnotepad\r\n%end\r\n")
    saved = {scheme: reg_value(rf"{CHOICES}\{scheme}\UserChoice", "ProgId") for scheme in ("http", "https")}

    def script(name, folder):
        done = subprocess.run(["wine", "cmd", "/c", name], cwd=folder, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120)
        return done.returncode, done.stdout

    moved = tool.folder + " moved"
    shutil.rmtree(moved, ignore_errors=True)
    try:
        code, out = script("register.cmd", tool.folder)
        check_equal(code, 0, f"register.cmd: {out!r}")
        check(b"HKCU\\Software\\Classes\\TavrinURL\\shell\\open\\command" in out, "it ends with the doctor")
        status, out, _ = tool.run("doctor", "--tsv", "--raw")
        check_equal(status, 1, "registered, not chosen: exit status")
        check_equal(tsv(out, "@choice")[0][:2], ["http", "problem"], "http is not Tavrin's")
        check(any(r[0].endswith(" mailto") and r[1] == "ok" for r in tsv(out, "@registration")), "mailto registered")
        # The user's choice as Windows records it: http where Windows 10
        # does, https where Windows 11 does.
        wine_reg("add", rf"{CHOICES}\http\UserChoice", "/v", "ProgId", "/d", "TavrinURL", "/f")
        wine_reg("add", rf"{CHOICES}\https\UserChoiceLatest\ProgId", "/v", "ProgId", "/d", "TavrinURL", "/f")
        status, out, _ = tool.run("doctor", "--tsv", "--raw")
        check_equal(status, 0, f"chosen: exit status {out!r}")
        old = windows_path(tool.path("Tavrin.exe"))
        os.rename(tool.folder, moved)
        done = subprocess.run(["wine", os.path.join(moved, "TavrinCheck.exe"), "doctor", "--lang", "en"],
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        check_equal(done.returncode, 1, "moved: exit status")
        check(f"starts {old}, which is no longer there".encode("cp932") in done.stdout, f"{done.stdout!r}")
        os.rename(moved, tool.folder)
    finally:
        if os.path.exists(moved):
            os.rename(moved, tool.folder)
        script("unregister.cmd", tool.folder)
        wine_reg("delete", rf"{CHOICES}\https\UserChoiceLatest", "/f")
        for scheme, progId in saved.items():
            if progId is None:
                wine_reg("delete", rf"{CHOICES}\{scheme}\UserChoice", "/f")
            else:
                wine_reg("add", rf"{CHOICES}\{scheme}\UserChoice", "/v", "ProgId", "/d", progId, "/f")


CASES = {f.__name__: f for f in (links_pages, links_without_converter, locked_files, bad_input,
                                 writes_nothing, browsers, doctor_register)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    for option in ("--check", "--nkf", "--holder", "--pages", "--scratch", "--tavrin"):
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
