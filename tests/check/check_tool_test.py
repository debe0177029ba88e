#!/usr/bin/env python3
"""The native check tool (tavrin-check) run as a user runs it: its link rows
for every test page, list file and shortcut folder equal the expected rows
of tests/pages (the rows the list window shows), and on pages of tags
broken after their names those of Python's html.parser; bad input ends with a
clear message and a non-zero exit, never a crash; the tool writes nothing;
the README's sample settings file has no problem but missing programs;
every settings sample of the README and of both help texts lints clean and
opens its URL; the README's example runs print what the README shows."""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time
from html.parser import HTMLParser
from urllib.parse import urljoin

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(here, "..", "pages"), os.path.join(here, "..", "e2e")]
from expected_rows import parse_rows, read_expected  # noqa: E402
from tavrin_e2e import Failure, check, check_equal  # noqa: E402
import doc_samples as marked  # noqa: E402


class Tool:
    def __init__(self, args):
        self.path = args.tool
        self.pages = args.pages
        self.readme = args.readme
        self.docs = args.docs
        self.scratch = args.scratch

    def run(self, *words, timeout=300, env=None, cwd=None):
        started = time.monotonic()
        done = subprocess.run([self.path, *words], capture_output=True, timeout=timeout, env=env, cwd=cwd)
        # A crash is a negative status (a signal) or the sanitizers' 1 with
        # their report on stderr.
        check(done.returncode in (0, 1, 2), f"exit {done.returncode}: {done.stderr[-2000:]!r}")
        check(b"ERROR: AddressSanitizer" not in done.stderr and b"runtime error:" not in done.stderr,
              f"sanitizer report: {done.stderr[-2000:]!r}")
        done.seconds = time.monotonic() - started
        return done

    def folder(self, name):
        path = os.path.join(self.scratch, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path


def expected_files(pages, key):
    for name in sorted(os.listdir(pages)):
        if name.endswith(".expected.tsv"):
            header, rows = read_expected(os.path.join(pages, name))
            if key in header:
                yield name, header, rows


def page_words(pages, header):
    words = ["links", os.path.join(pages, header["@page"].decode())]
    if header["@mode"] == b"1":
        words += ["--base", header["@base"].decode()]
    return words


# --- the rows of the list window ---------------------------------------------

def links_pages(tool):
    """Every page and list file, with conversion on and off as its expected
    file says, byte for byte (--raw)."""
    checked = 0
    for name, header, rows in expected_files(tool.pages, "@page"):
        variants = {"on": [[]], "off": [["--no-convert"]], "any": [[], ["--no-convert"]]}
        for extra in variants[header["@conversion"].decode()]:
            done = tool.run(*page_words(tool.pages, header), "--tsv", "--raw", *extra)
            got_header, got_rows = parse_rows(done.stdout)
            what = f"{name} {' '.join(extra)}"
            check_equal(done.returncode, 0 if rows else 1, f"{what}: exit status")
            check_equal(got_rows, rows, f"{what}: rows")
            check_equal(got_header.get("@listTitle"), header["@listTitle"], f"{what}: title")
            # A <base> element turns mode 2 into 1; otherwise the mode stays.
            with open(os.path.join(tool.pages, header["@page"].decode()), "rb") as f:
                based = re.search(rb'<base[ \t\r\n]+href="', f.read(), re.I)
            if not based:
                check_equal(got_header.get("@mode"), header["@mode"], f"{what}: mode")
        checked += 1
    check(checked > 30, f"only {checked} pages")


def links_folders(tool):
    """Every shortcut folder: the rows of each folder as a set, subfolders
    first."""
    checked = 0
    for name, header, rows in expected_files(tool.pages, "@folder"):
        folder = os.path.join(tool.pages, header["@folder"].decode())
        extra = ["--subfolders"] if header["@subfolders"] == b"1" else []
        done = tool.run("links", folder, "--tsv", "--raw", *extra)
        _, got = parse_rows(done.stdout)
        want = [row.rsplit(b"\t", 1)[0] for row in rows]
        check_equal(sorted(got), sorted(want), f"{name}: rows")
        folders = {row.rsplit(b"\t", 1)[0]: row.rsplit(b"\t", 1)[1] for row in rows}
        order = [folders[row] for row in got]
        check_equal(order, [folders[row] for row in want], f"{name}: folders in order")
        checked += 1
    check_equal(checked, 3, "shortcut folders")


def links_utf8(tool):
    """Without --raw the rows come out as UTF-8: the same rows, decoded."""
    checked = 0
    for name, header, rows in expected_files(tool.pages, "@page"):
        try:
            want = [row.decode("cp932") for row in rows]
        except UnicodeDecodeError:
            continue  # bytes of no character: the raw comparison covers them
        extra = ["--no-convert"] if header["@conversion"] == b"off" else []
        done = tool.run(*page_words(tool.pages, header), "--tsv", *extra)
        _, got = parse_rows(done.stdout)
        check_equal([row.decode("utf-8") for row in got], want, f"{name}: rows")
        checked += 1
    check(checked > 25, f"only {checked} pages")
    # Japanese rows as a user reads them.
    done = tool.run("links", os.path.join(tool.pages, "ja-eucjp.html"), "--tsv")
    check(any("\u3042" <= ch <= "\u9fff" for ch in done.stdout.decode("utf-8")), "Japanese text in UTF-8")


def links_json(tool):
    header, rows = read_expected(os.path.join(tool.pages, "anchors-images.expected.tsv"))
    done = tool.run(*page_words(tool.pages, header), "--json")
    data = json.loads(done.stdout.decode("utf-8"))
    check_equal(data["listTitle"], header["@listTitle"].decode("cp932"), "title")
    check_equal(["\t".join((r["kind"], r["url"], r["title"])) for r in data["rows"]],
                [row.decode("cp932") for row in rows], "rows")
    check(any(r["title"].startswith("* ") for r in data["rows"]), "image titles behind '* '")


class ParserRows(HTMLParser):
    """The rows a browser's reading of a page gives, by Python's html.parser:
    every anchor's href with its text, then every image's src with its alt
    text, resolved against the base element; line ends dropped from the
    texts and blanks from the links, as the list shows them."""

    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.base, self.anchors, self.images, self.open = "", [], [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "base" and self.base == "" and attrs.get("href"):
            self.base = attrs["href"]
        elif tag == "a" and attrs.get("href"):
            self.open = [attrs["href"], ""]
            self.anchors.append(self.open)
        elif tag == "img" and attrs.get("src"):
            self.images.append([attrs["src"], "* " + attrs.get("alt", "")])

    def handle_endtag(self, tag):
        if tag == "a":
            self.open = None

    def handle_data(self, data):
        if self.open is not None:
            self.open[1] += data

    def rows(self):
        def row(kind, link, title):
            link = "".join(urljoin(self.base, link).split())
            return "\t".join((kind, link, title.replace("\r", "").replace("\n", "")))
        return [row("anchor", *a) for a in self.anchors] + [row("image", *i) for i in self.images]


# Pages whose links all are of the kinds both readings take alike.
PARSER_PAGES = ("broken-tags.expected.tsv",)


def links_parser(tool):
    """Tags broken after their names are read as a browser reads them: the
    rows equal html.parser's."""
    for name in PARSER_PAGES:
        header, rows = read_expected(os.path.join(tool.pages, name))
        done = tool.run(*page_words(tool.pages, header), "--tsv", "--raw")
        _, got = parse_rows(done.stdout)
        parser = ParserRows()
        with open(os.path.join(tool.pages, header["@page"].decode()), encoding="latin-1") as f:
            parser.feed(f.read())
        parser.close()
        check_equal([row.decode("latin-1") for row in got], parser.rows(), f"{name}: rows against html.parser")
        check(len(got) > 10, f"{name}: {len(got)} rows")


# --- bad input -------------------------------------------------------------

def bad_inputs(tool):
    work = tool.folder("bad_inputs")
    ini = os.path.join(work, "Tavrin.ini")
    page = os.path.join(work, "page.html")

    def write(path, data):
        with open(path, "wb") as f:
            f.write(data)

    # A settings file beyond 64 MiB.
    line = b"; " + b"x" * 1021 + b"\r\n"
    with open(ini, "wb") as f:
        f.write(b"[.html]\r\n" + os.path.basename(tool.path).encode() + b"\r\n%end\r\n")
        for _ in range(64 * 1024 + 1):
            f.write(line)
    done = tool.run("lint", "--lang", "en", "--ini", ini)
    check_equal(done.returncode, 1, "64 MiB: lint exit")
    check(b"larger than 64 MiB" in done.stdout, f"64 MiB: {done.stdout[:300]!r}")
    done = tool.run("open", "--lang", "en", "--ini", ini, "http://h/a.html")
    check(b"decision:" in done.stdout, "64 MiB: open still tells")

    # Binary bytes.
    write(ini, bytes(range(256)) * 4096)
    done = tool.run("lint", "--lang", "en", "--ini", ini)
    check_equal(done.returncode, 1, "binary: lint exit")
    check(b"control character" in done.stdout and b"NUL byte" in done.stdout, f"binary: {done.stdout[:300]!r}")
    tool.run("open", "--lang", "en", "--ini", ini, "http://h/a.html")

    # A block of 100,000 lines.
    viewer = os.path.join(work, "viewer.exe")
    write(viewer, b"MZ")
    lines = [b"[.html]"] + [viewer.encode() + b" | V%d" % i for i in range(100000)] + [b"%end", b""]
    write(ini, b"\r\n".join(lines))
    done = tool.run("lint", "--lang", "en", "--ini", ini)
    check_equal(done.returncode, 1, "100,000 lines: lint exit")
    check(b"line 202" in done.stdout or b":202:" in done.stdout, f"100,000 lines: {done.stdout[:300]!r}")
    check(b"at most 200 rows" in done.stdout, "100,000 lines: the row limit")
    done = tool.run("open", "--lang", "en", "--ini", ini, "http://h/a.html")
    check(b"decision: show the menu (200 programs)" in done.stdout, f"100,000 lines: {done.stdout[-300:]!r}")

    # A URL of 5,000 characters.
    write(ini, b"[.html]\r\n" + viewer.encode() + b"\r\n%end\r\n")
    done = tool.run("open", "--lang", "en", "--ini", ini, "http://h/" + "a" * 4986 + ".html")
    check_equal(done.returncode, 1, "5,000 characters: exit")
    check(b"259" in done.stdout and b"nothing would start" in done.stdout, f"5,000: {done.stdout[-400:]!r}")

    # Missing and unreadable files.
    missing = os.path.join(work, "missing.ini")
    for words, what in ((["lint", "--ini", missing], b"not found"),
                        (["open", "--ini", missing, "http://h/a.html"], b"not found"),
                        (["links", os.path.join(work, "missing.html")], b"neither a file nor a folder")):
        done = tool.run("--lang", "en", *words)
        check_equal(done.returncode, 2, f"{words[0]} of a missing file: exit")
        check(what in done.stderr, f"{words[0]}: {done.stderr!r}")
    os.mkdir(os.path.join(work, "folder.ini"))
    done = tool.run("lint", "--lang", "en", "--ini", os.path.join(work, "folder.ini"))
    check_equal(done.returncode, 2, "a folder as settings file: exit")
    check(b"cannot read" in done.stderr, f"folder: {done.stderr!r}")
    # A page too big to read.
    with open(page, "wb") as f:
        f.truncate(64 * 1024 * 1024 + 1)
    done = tool.run("links", "--lang", "en", page)
    check_equal(done.returncode, 2, "a page of 64 MiB + 1: exit")
    check(b"cannot read" in done.stderr, f"big page: {done.stderr!r}")
    # Usage.
    for words in (["lint", "extra"], ["open"], ["links"], ["what"], ["open", "--lang", "fr", "x"]):
        done = tool.run(*words)
        check_equal(done.returncode, 2, f"{words}: exit")
        check(done.stderr, f"{words}: a message")


# --- the tool writes nothing ---------------------------------------------------

def snapshot(folder):
    state = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            st = os.stat(path)
            state[os.path.relpath(path, folder)] = (st.st_size, st.st_mtime_ns)
    return state


def writes_nothing(tool):
    # The tool beside its Tavrin.ini, as shipped: settings whose start would
    # create the temporary folder, empty it, download and start programs.
    work = tool.folder("writes_nothing")
    shutil.copy(tool.path, work)
    local = os.path.join(work, os.path.basename(tool.path))
    viewer = os.path.join(work, "viewer.exe")
    with open(viewer, "wb") as f:
        f.write(b"MZ")
    with open(os.path.join(work, "page.html"), "wb") as f:
        f.write(b'<a href="http://h/x.html">x</a>')
    with open(os.path.join(work, "Tavrin.ini"), "wb") as f:
        f.write(("[system]\r\n@temp=del\r\n@loader=%s\r\n%%end\r\n[.html]\r\n%s\r\n*>\"%%P\" | Save\r\n"
                 "#>%%P | Load\r\n%%end\r\n[.pdf]\r\n%s\r\n*\r\n%%end\r\n" % (viewer, viewer, viewer)).encode())
    before = snapshot(work)
    for words in (["open", "http://h/a.html"], ["open", "http://h/a.pdf"], ["lint"],
                  ["links", os.path.join(work, "page.html")], ["open", os.path.join(work, "page.html")]):
        done = subprocess.run([local, *words], capture_output=True, timeout=120)
        check(done.returncode in (0, 1), f"{words}: exit {done.returncode} {done.stderr!r}")
    check_equal(snapshot(work), before, "the folder after the runs")
    check("temp" not in os.listdir(work), "no temporary folder")


def readme_sample(tool):
    """The README's sample settings file: lint finds nothing but the programs
    it names (C:\\Tools is not here) and their folders; open runs on it."""
    with open(tool.readme, encoding="utf-8") as f:
        sample = re.search(r"^```ini\n(.*?)^```", f.read(), re.S | re.M).group(1)
    work = tool.folder("readme_sample")
    ini = os.path.join(work, "Tavrin.ini")
    with open(ini, "wb") as f:
        f.write(sample.encode("cp932"))
    done = tool.run("lint", "--lang", "en", "--ini", ini)
    allowed = (b"program not found", b"an @path= folder does not exist",
               b"sub-command lines below it are dropped too", b"problems,")
    for line in done.stdout.splitlines():
        check(any(a in line for a in allowed), f"README sample: {line!r}")
    done = tool.run("open", "--lang", "en", "--ini", ini, "http://host/page.html")
    check(b"key: [.html]" in done.stdout and b"[all]: added" in done.stdout, f"{done.stdout!r}")


def open_wide(tool):
    """Words arrive in UTF-8 and are converted as Tavrin converts its wide
    command line: the URLs are shown as Tavrin passes them on."""
    work = tool.folder("open_wide")
    ini = os.path.join(work, "Tavrin.ini")
    viewer = os.path.join(work, "viewer.exe")
    with open(viewer, "wb") as f:
        f.write(b"MZ")
    with open(ini, "wb") as f:
        f.write(b"[blank]\r\n" + viewer.encode() + b"\r\n%end\r\n")
    words = ["https://fr.wikipedia.org/wiki/Métropole_–_न_😀_東京", "http://bücher.example/",
             "http://例え.jp/表示/", "http://a.example/my dir/é"]
    done = tool.run("open", "--tsv", "--raw", "--ini", ini, *words)
    urls = [line.split(b"\t")[1] for line in done.stdout.splitlines() if line.startswith(b"@url\t")]
    check_equal(urls, ["https://fr.wikipedia.org/wiki/M%C3%A9tropole_%E2%80%93_%E0%A4%A8_%F0%9F%98%80_東京".encode("cp932"),
                       b"http://xn--bcher-kva.example/", "http://例え.jp/表示/".encode("cp932"),
                       b"http://a.example/my dir/%C3%A9"], "URLs")
    done = tool.run("open", "--lang", "en", "--ini", ini, "http://bücher.example/")
    check(b"URL 1: http://xn--bcher-kva.example/" in done.stdout, f"{done.stdout!r}")


def utf8_names(tool):
    """File and folder names are read and shown as the user typed them in
    UTF-8: a page, a settings file in a Japanese folder, a page named from
    the current folder, a shortcut folder; --raw shows the same names in
    code page 932."""
    work = tool.folder("utf8_names")
    folder = os.path.join(work, "設定")
    os.makedirs(folder)
    with open(os.path.join(work, "日本語.html"), "wb") as f:
        f.write('<title>表題</title><a href="http://h/x.html">リンク</a>'.encode("cp932"))
    done = tool.run("links", os.path.join(work, "日本語.html"), "--lang", "en")
    out = done.stdout.decode("utf-8")
    check_equal(done.returncode, 0, "links of 日本語.html: exit")
    check(f"source: {work}/日本語.html\n" in out, out)
    check("   1 anchor  http://h/x.html  リンク\n" in out, out)
    done = tool.run("links", os.path.join(work, "日本語.html"), "--tsv", "--raw")
    check(b"anchor\thttp://h/x.html\t" + "リンク".encode("cp932") in done.stdout, f"{done.stdout!r}")
    # A settings file in a Japanese folder names a program beside it
    # without a folder; a shortcut folder of a Japanese name is listed
    # under that name.
    with open(os.path.join(folder, "viewer.exe"), "wb") as f:
        f.write(b"MZ")
    with open(os.path.join(folder, "Tavrin.ini"), "wb") as f:
        f.write(b"[.html]\r\nviewer | View\r\n%end\r\n")
    done = tool.run("open", "--lang", "en", "--ini", os.path.join(folder, "Tavrin.ini"), "http://h/a.html")
    out = done.stdout.decode("utf-8")
    check(f'  start: "{folder}/viewer.exe" http://h/a.html  (in {folder}/)\n' in out, out)
    done = tool.run("lint", "--lang", "en", "--ini", os.path.join(folder, "Tavrin.ini"))
    check_equal(done.stdout.decode("utf-8"), "0 problems, 0 notes\n", "lint in a Japanese folder")
    # A file named from the current folder is that folder's, wherever the
    # settings file is (its folder stands for Tavrin's only inside it).
    for words in (["links", "日本語.html"], ["open", "日本語.html"]):
        done = tool.run(*words, "--lang", "en", "--ini", os.path.join(folder, "Tavrin.ini"), cwd=work)
        out = done.stdout.decode("utf-8")
        check_equal((done.returncode, done.stderr), (0, b""), f"{words} from its folder")
        check("http://h/x.html" in out if words[0] == "links" else f"file: {work}/日本語.html\n" in out, out)
    shortcuts = os.path.join(work, "お気に入り")
    os.makedirs(shortcuts)
    with open(os.path.join(shortcuts, "ページ.url"), "wb") as f:
        f.write(b"[InternetShortcut]\r\nURL=http://h/p.html\r\n")
    done = tool.run("links", shortcuts, "--lang", "en")
    out = done.stdout.decode("utf-8")
    check("title: お気に入り\n" in out and "http://h/p.html  ページ\n" in out, out)


# --- browsers and doctor natively ----------------------------------------------

def browsers_native(tool):
    """The native tool reads the files of a Windows profile under the
    folders LOCALAPPDATA and APPDATA name: the browsers installed for the
    user there, their profiles from the fixtures, names in UTF-8 and the
    lines in code page 932 (--raw) that lint passes and the dry run opens
    with; the doctor says the registry is Windows'."""
    work = tool.folder("browsers_native")
    browsers = os.path.join(tool.pages, "..", "browsers")
    local, roaming = os.path.join(work, "Local"), os.path.join(work, "Roaming")
    files = {os.path.join(local, "BraveSoftware", "Brave-Browser", "Application", "brave.exe"): b"MZ",
             os.path.join(local, "BraveSoftware", "Brave-Browser", "User Data", "Local State"): "brave-names.json",
             os.path.join(local, "Mozilla Firefox", "firefox.exe"): b"MZ",
             os.path.join(roaming, "Mozilla", "Firefox", "profiles.ini"): "profiles-install.ini"}
    for path, source in files.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if isinstance(source, bytes):
            with open(path, "wb") as f:
                f.write(source)
        else:
            shutil.copy(os.path.join(browsers, source), path)
    for profile in ("Default", "Profile 1", "Profile 2", "Profile 5"):
        os.makedirs(os.path.join(local, "BraveSoftware", "Brave-Browser", "User Data", profile))
    for profile in ("abcd1234.default-release", "wxyz9876.Work"):
        os.makedirs(os.path.join(roaming, "Mozilla", "Firefox", "Profiles", profile))
    env = dict(os.environ, LOCALAPPDATA=local, APPDATA=roaming)
    ini = os.path.join(work, "Tavrin.ini")
    with open(ini, "wb"):
        pass
    done = tool.run("browsers", "--lang", "en", "--ini", ini, env=env)
    out = done.stdout.decode("utf-8")
    check_equal(done.returncode, 0, f"browsers: exit\n{out}")
    for shown in ("(this system has no registry", "browser: Brave\n", "  kind: Brave\n",
                  '    Q "quoted" \\ back && amp (default)  --profile-directory="Default"\n',
                  '    日本語の名前  --profile-directory="Profile 1"\n',
                  '    Caf? ? ①  --profile-directory="Profile 2"\n',
                  '    100%L done  --profile-directory="Profile 5"\n',
                  "    left out: tab?here?and new line: its folder Profile 3 is gone (a deleted profile)\n",
                  '    default-release (default)  -P "default-release"\n', "note: a ? in a name stands for"):
        check(shown in out, f"{shown!r} in\n{out}")
    done = tool.run("browsers", "--tsv", "--raw", "--ini", ini, env=env)
    lines = [line[6:] for line in done.stdout.split(b"\n") if line.startswith(b"@line\t")]
    with open(ini, "wb") as f:
        f.write(b"\r\n".join(lines) + b"\r\n")
    done = tool.run("lint", "--lang", "en", "--ini", ini, env=env)
    check_equal(done.stdout.decode("utf-8"), "0 problems, 0 notes\n", "lint of the lines")
    done = tool.run("open", "https://example.com/a b", "--tsv", "--ini", ini, env=env)
    starts = [line.split("\t")[4] for line in done.stdout.decode("utf-8").splitlines()
              if line.startswith("@chosen\t") and line.split("\t")[2] == "start"]
    check_equal(starts, ['--profile-directory="Default" "https://example.com/a b"',
                         '--profile-directory="Profile 1" "https://example.com/a b"',
                         '--profile-directory="Profile 2" "https://example.com/a b"',
                         '--profile-directory="Profile 5" "https://example.com/a b"',
                         '--incognito "https://example.com/a b"',
                         '-P "default-release" "https://example.com/a b"',
                         '-P "Work" "https://example.com/a b"',
                         '--private-window "https://example.com/a b"'], "the dry run's starts")
    done = tool.run("doctor", "--lang", "en", "--ini", ini, env=env)
    check_equal(done.returncode, 1, "doctor: no Tavrin.exe here")
    check(b"this system has no registry" in done.stdout and b"there is no Tavrin.exe in this folder" in done.stdout,
          f"{done.stdout!r}")


# --- the documents' samples and examples -------------------------------------

def doc_samples(tool):
    """Every settings sample of the README and of both help texts, its
    programs and folders made where it names them: lint finds nothing, and
    a sample that names URLs opens them without a message box."""
    drives, system32 = marked.prepare(os.path.join(tool.scratch, "doc_samples"))
    samples = marked.readme_samples(tool.readme)
    for name in ("Tavrin-en.txt", "Tavrin.txt"):
        found = marked.help_samples(os.path.join(tool.docs, name))
        check(len(found) >= 8, f"{name}: only {len(found)} marked samples")
        samples += found
    check(len(samples) >= 25, f"only {len(samples)} samples")
    env = dict(os.environ, PATH=system32 + os.pathsep + os.environ.get("PATH", ""))
    opened = 0
    for i, sample in enumerate(samples):
        if sample.name:
            continue  # a sample of mistakes: its findings are an example run's
        drives.make(sample.text)
        ini = os.path.join(drives.root, f"sample{i}.ini")
        with open(ini, "wb") as f:
            f.write(drives.to_local(sample.text).encode("cp932"))
        done = tool.run("lint", "--lang", "en", "--ini", ini, env=env)
        check_equal((done.returncode, done.stdout.decode("utf-8").splitlines()[-1:]), (0, ["0 problems, 0 notes"]),
                    f"{sample.where}: lint\n{drives.to_windows(done.stdout.decode('utf-8'))}")
        if not sample.open_words:
            continue
        done = tool.run("open", "--lang", "en", "--ini", ini, *sample.open_words, env=env)
        out = drives.to_windows(done.stdout.decode("utf-8"))
        check(done.returncode == 0 and "message box" not in out and "decision: nothing" not in out,
              f"{sample.where}: open {sample.open_words}\n{out}")
        opened += 1
    check(opened >= 6, f"only {opened} samples name a URL to open")


def readme_examples(tool):
    """The README's example runs of the check tool print exactly what the
    README shows, run in the folder it names with the sample settings."""
    drives, system32 = marked.prepare(os.path.join(tool.scratch, "readme_examples"))
    samples = marked.readme_samples(tool.readme)
    examples = marked.console_examples(tool.readme)
    check(len(examples) >= 3, f"only {len(examples)} example runs")
    for command, shown in examples:
        _, out, err = marked.run_example(tool.path, drives, system32, command, samples, tool.pages)
        check_equal(err, "", f"{command}: errors")
        check_equal(out.splitlines(), shown.splitlines(), command)


def help_examples(tool):
    """The example runs of both help texts show lines the tool prints, in
    that order, with the help's example of chapter 6 as Tavrin.ini."""
    for name in ("Tavrin-en.txt", "Tavrin.txt"):
        path = os.path.join(tool.docs, name)
        drives, system32 = marked.prepare(os.path.join(tool.scratch, "help_examples"))
        settings = [s for s in marked.help_samples(path) if "[.txt]#" in s.text]
        check_equal(len(settings), 1, f"{name}: the example of chapter 6")
        examples = marked.help_examples(path)
        check(examples, f"{name}: no example run")
        for command, shown in examples:
            _, out, err = marked.run_example(tool.path, drives, system32, command, [], tool.pages, settings[0])
            check_equal(err, "", f"{name}: {command}: errors")
            check(marked.shown_in(shown, out.splitlines()), f"{name}: {command}:\n{out}")


CASES = {f.__name__: f for f in (links_pages, links_folders, links_utf8, links_json, links_parser, bad_inputs,
                                 writes_nothing, readme_sample, open_wide, doc_samples, readme_examples,
                                 help_examples, utf8_names, browsers_native)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    parser.add_argument("--tool", required=True)
    parser.add_argument("--pages", required=True)
    parser.add_argument("--readme", required=True)
    parser.add_argument("--docs", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    try:
        CASES[args.case](Tool(args))
    except Failure as failure:
        print(f"FAILED {args.case}: {failure}")
        sys.exit(1)
    print(f"passed {args.case}")


if __name__ == "__main__":
    main()
