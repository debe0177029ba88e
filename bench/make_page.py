#!/usr/bin/env python3
"""Writes a generated page for the link benchmark.

    make_page.py OUT MEGABYTES [--never-closed]

Ordinary text with paragraphs, spans and divs, and 300 anchors and 150
images spread evenly through it; with --never-closed no anchor has its
"</a>". The same seed always gives the same page.
"""
import random
import sys

WORDS = ("link list page text with some words that fill the body of a document "
         "and now and then an").split() + ["<b>emphasis</b>", '<span class="note">note</span>']


def main():
    out, megabytes = sys.argv[1], float(sys.argv[2])
    never_closed = "--never-closed" in sys.argv
    rng = random.Random(20240607)
    size = int(megabytes * 1024 * 1024)
    anchors, images = 300, 150
    links = anchors + images
    chunk = size // links
    parts = ["<!DOCTYPE html><html><head><title>Benchmark page</title></head><body>\n"]
    written = len(parts[0])
    for i in range(links):
        filler = []
        length = 0
        while length < chunk:
            if rng.random() < 0.05:
                piece = "</p>\n<p>" if rng.random() < 0.5 else "<div class=\"c%d\">x</div>" % rng.randrange(9)
            else:
                piece = rng.choice(WORDS) + " "
            filler.append(piece)
            length += len(piece)
        parts.append("".join(filler))
        if i % 3 == 2:
            parts.append('<img src="/img/p%d.png" alt="Picture %d">' % (i, i))
        else:
            closing = "" if never_closed else "</a>"
            parts.append('<a href="item%d.html" class="l">Item %d%s' % (i, i, closing))
        written += length
    parts.append("\n</body></html>\n")
    with open(out, "w") as f:
        f.write("".join(parts))


if __name__ == "__main__":
    main()
