#!/usr/bin/env python3
"""Compares the link reading of two builds, row for row.

    compare_links.py OLD_CHECK NEW_CHECK [--work DIR] [--soups N] [--docs DIR]
                     [--broken-tags]

Runs `tavrin-check links FILE --json --raw` of both builds over the test
pages, the HTML pages under --docs (default /usr/share/doc), generated
benchmark pages and N random tag soups (tags, attributes, quotes, line
ends, Shift_JIS, UTF-8 and EUC-JP bytes, lone lead bytes, escapes, zero
bytes), each with several base URLs and with code conversion on and off,
and reports every difference in output or exit code. A change meant only
to make the reading faster must leave them all alike. With --broken-tags
(the old build reads only "<a " and "<img " with a blank and '<base href="')
a page may differ where it holds a tag broken after its name ("<a", "<img"
or "<base" before a tab, CR or LF, or "<base" before more than one of them
and a blank): such pages are counted with the rows they gain, in groups
(test pages, local pages, generated pages, soups), and only a difference
on another page fails.
"""
import argparse
import json
import os
import random
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BASES = [None, "http://h/a/b/c.html", "http://user@host:8080/dir/sub/page.html?q=1#top", "https://h/x/",
         "file:///C:/dir/page.html", "http://h\\a\\b.html"]

PIECES = ["<a ", "<A ", "<a\n", "<img ", "<IMG ", "<a href=", "<img src=", "href=", "HREF=", "src=", "SRC=",
          "alt=", "data-src=", '"', "'", ">", ">", "</a>", "</A>", "</a", '<base href="', "<BASE HREF=\"",
          "<title>", "</title>", "<TITLE>", "http://h/x", "HTTP://H/y.html", "ftp://f/", "mailto:m@x",
          "file:///C:/f", "https://s/", "//cdn/i.png", "../", "./", "/", "x.html", "#frag", "?q=1",
          " ", " ", "\n", "\r", "\r\n", "\t", "\f", "&amp;", "&#38;", "&#x26;", "&lt;", "&#0;", "=",
          "<b>", "</b>", "<abbr>", "<area>", "<i>", "<br>", "<p>", "<", "<<", "word ", "a", "i",
          "\x83\x41", "\x95\x5c", "\x82\xa0", "\x95", "\x81", "\x81<", "\xe0a", "\xe8\xa6\xa7", "\xa4\xa2",
          "\x1b$B", "\x1b(B", "<meta charset=utf-8>", "<meta charset=euc-jp>", "\xef\xbb\xbf"]


ANCHORS = ["<a ", "<A ", "<a href=x.html>", "<a href='http://h/y'>", "<a name=n>", "</a", "</A>", ">", " ",
           "t", "</abbr>", "<img src=i.png>", "\x95<a "]


def soup(rng):
    pieces = []
    # Now and then a long one, and one of anchors mostly: more anchors,
    # ends and images (also after an unclosed anchor) than the reading
    # keeps notes of.
    anchors = rng.random() < 0.05
    choices = ANCHORS if anchors else PIECES
    count = rng.randrange(0, 400)
    if rng.random() < 0.1:
        count = rng.randrange(70000, 150000) if anchors and rng.random() < 0.5 else rng.randrange(2000, 6000)
    for _ in range(count):
        pieces.append(rng.choice(choices))
        if rng.random() < 0.002:
            pieces.append("\0")
        if rng.random() < 0.01:
            pieces.append(rng.choice(["x", " ", "a", "\x81"]) * rng.randrange(200, 700))
    return "".join(pieces).encode("latin-1")


# What the old build read as no tag and the new one reads as one.
BROKEN = re.compile(rb'<(?:a|img)[\t\r\n]|<base[ \t\r\n]+href="', re.I)


def holds_broken_tags(path):
    with open(path, "rb") as f:
        data = f.read()
    data = data[:data.find(b"\0")] if b"\0" in data else data
    return any(m.group(0).lower() != b'<base href="' for m in BROKEN.finditer(data))


def row_count(stdout):
    try:
        return len(json.loads(stdout.decode("cp932", "replace"))["rows"])
    except ValueError:
        return 0


def run(tool, path, base, convert):
    command = [tool, "links", path, "--json", "--raw"]
    if base is not None:
        command += ["--base", base]
    if not convert:
        command.append("--no-convert")
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return done.returncode, done.stdout, done.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--work", default="/tmp/compare-links")
    parser.add_argument("--soups", type=int, default=600)
    parser.add_argument("--docs", default="/usr/share/doc")
    parser.add_argument("--broken-tags", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)

    files = []
    pages = os.path.join(ROOT, "tests", "pages")
    files += sorted(os.path.join(pages, n) for n in os.listdir(pages) if n.endswith((".html", ".txt")))
    for folder, _, names in os.walk(args.docs):
        files += sorted(os.path.join(folder, n) for n in names if n.endswith((".html", ".htm")))
    for flags in ([], ["--never-closed"], ["--tag-dense"], ["--tag-dense", "--never-closed"]):
        page = os.path.join(args.work, "bench%s.html" % "".join(flags))
        subprocess.run([sys.executable, os.path.join(HERE, "make_page.py"), page, "0.5", *flags], check=True)
        files.append(page)
    rng = random.Random(23)
    for i in range(args.soups):
        page = os.path.join(args.work, "soup%04d.%s" % (i, "txt" if i % 10 == 9 else "html"))
        with open(page, "wb") as f:
            f.write(soup(rng))
        files.append(page)

    groups = {}
    for path in files:
        groups[path] = ("test pages" if path.startswith(pages) else "local pages" if path.startswith(args.docs)
                        else "soups" if os.path.basename(path).startswith("soup") else "generated pages")
    runs = differences = 0
    gained = {}  # group -> [pages, rows gained]
    for path in files:
        broken = args.broken_tags and holds_broken_tags(path)
        differed = False
        for base in BASES:
            for convert in (True, False):
                runs += 1
                old, new = run(args.old, path, base, convert), run(args.new, path, base, convert)
                if old != new and broken:
                    differed = True
                elif old != new:
                    differences += 1
                    if differences <= 20:
                        print("DIFFERENT: %s base=%s convert=%s" % (path, base, convert))
        if broken:
            # Rows gained, read with a base and the converter.
            more = row_count(run(args.new, path, BASES[1], True)[1]) - row_count(run(args.old, path, BASES[1], True)[1])
            group = gained.setdefault(groups[path], [0, 0, 0])
            group[0] += 1
            group[1] += 1 if differed else 0
            group[2] += more
    print("%d files, %d readings compared (%d bases, conversion on and off): %d different"
          % (len(files), runs, len(BASES), differences))
    for group, (pages_with, differing, rows) in sorted(gained.items()):
        print("%s: %d with tags broken after their names, %d read differently, %d rows gained"
              % (group, pages_with, differing, rows))
    sys.exit(1 if differences else 0)


if __name__ == "__main__":
    main()
