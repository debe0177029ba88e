#!/usr/bin/env python3
"""Writes a generated page for the link benchmark.

    make_page.py OUT MEGABYTES [--never-closed] [--tag-dense] [--utf8]

Ordinary text with paragraphs, spans and divs, and 300 anchors and 150
images spread evenly through it; with --never-closed no anchor has its
"</a>". With --tag-dense the text between the links is shaped like real
markup: short words with a tag every few bytes (<p>, <b>bold</b>,
<div class=x>, <span>, &amp; between words, a few <a/<img look-alikes
such as <abbr> and <area>). With --utf8 a fifth of the words are Japanese,
written in UTF-8 and declared so, and the anchor texts too: a page that
the code converter must convert. The same seed always gives the same
page.
"""
import random
import sys

WORDS = ("link list page text with some words that fill the body of a document "
         "and now and then an").split() + ["<b>emphasis</b>", '<span class="note">note</span>']

DENSE_WORDS = "a an the of to in it is on by we or as at be do".split()
JAPANESE_WORDS = "日本語 ページ 一覧 リンク 文書 画像 の を に は".split()
DENSE_TAGS = ["<p>", "</p>\n", "<b>bold</b>", "<div class=x>", "</div>", "<span>", "</span>", "&amp;",
              "<i>it</i>", "<br>", "<li>", "</li>\n", "<td>", "</td>", "<em>e</em>", "<abbr>A</abbr>",
              "<area shape=rect>", "<aside>", "</aside>", "<IMG\nclass=x>", "<address>"]


def filler_text(rng, length, dense, japanese):
    parts, written = [], 0
    while written < length:
        if dense:
            piece = rng.choice(DENSE_TAGS) if rng.random() < 0.45 else rng.choice(DENSE_WORDS) + " "
            if japanese and rng.random() < 0.2:
                piece = rng.choice(JAPANESE_WORDS) + " "
        elif rng.random() < 0.05:
            piece = "</p>\n<p>" if rng.random() < 0.5 else "<div class=\"c%d\">x</div>" % rng.randrange(9)
        else:
            piece = rng.choice(WORDS) + " "
        parts.append(piece)
        written += len(piece.encode("utf-8"))
    return "".join(parts), written


def main():
    out, megabytes = sys.argv[1], float(sys.argv[2])
    never_closed = "--never-closed" in sys.argv
    dense = "--tag-dense" in sys.argv
    japanese = "--utf8" in sys.argv
    rng = random.Random(20240607)
    size = int(megabytes * 1024 * 1024)
    anchors, images = 300, 150
    links = anchors + images
    chunk = size // links
    parts = ["<!DOCTYPE html><html><head>%s<title>Benchmark page</title></head><body>\n"
             % ('<meta charset="utf-8">' if japanese else "")]
    for i in range(links):
        filler, _ = filler_text(rng, chunk, dense, japanese)
        parts.append(filler)
        if i % 3 == 2:
            parts.append('<img src="/img/p%d.png" alt="Picture %d">' % (i, i))
        else:
            closing = "" if never_closed else "</a>"
            parts.append('<a href="item%d.html" class="l">%s %d%s' % (i, "項目" if japanese else "Item", i, closing))
    parts.append("\n</body></html>\n")
    with open(out, "w", encoding="utf-8") as f:
        f.write("".join(parts))


if __name__ == "__main__":
    main()
