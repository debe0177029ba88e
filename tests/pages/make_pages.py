#!/usr/bin/env python3
"""Writes the generated test pages and their expected rows.

Run from anywhere; it writes next to itself:
    make_pages.py              the committed generated pages (big, exact-length
                               or non-UTF-8 ones) and the shortcut folders
    make_pages.py --bulky DIR  pages too big to keep in the repository, with
                               their expected files, into DIR: 10,000 anchors,
                               a 200 MB page and a tree of 2,000 shortcuts

Expected files hold code page 932 bytes; see README.md for their format.
"""
import argparse
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))

# The code page's forms of characters that JIS-based codecs give apart.
CP932_FORMS = str.maketrans({"\u301c": "\uff5e", "\u2016": "\u2225", "\u2212": "\uff0d",
                             "\u00a2": "\uffe0", "\u00a3": "\uffe1", "\u00ac": "\uffe2",
                             "\u00a6": "\uffe4", "\u2014": "\u2015"})


def cp932(text):
    return text.translate(CP932_FORMS).encode("cp932", errors="replace")


def is_lead(c):
    return 0x81 <= c <= 0x9F or 0xE0 <= c <= 0xFC


def as_shown(data):
    """Bytes of another encoding as the list holds them: read as code page
    932 (a lead byte pairs only with a byte that can follow it), and a lone
    lead byte at the very end, half a character, left out."""
    i = 0
    while i < len(data):
        pair = is_lead(data[i]) and i + 1 < len(data) and 0x40 <= data[i + 1] <= 0xFC and data[i + 1] != 0x7F
        if not pair and is_lead(data[i]) and i + 1 == len(data):
            return data[:i]
        i += 2 if pair else 1
    return data


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("ascii"))


def expected(page, mode, list_title, rows, base=None, conversion="any"):
    """rows: (kind, url, title) with bytes or ASCII text; image titles get "* "."""
    out = [b"@page\t" + page.encode(), b"@mode\t%d" % mode]
    if base:
        out.append(b"@base\t" + base.encode())
    out.append(b"@listTitle\t" + (list_title if isinstance(list_title, bytes) else list_title.encode()))
    out.append(b"@conversion\t" + conversion.encode())
    for kind, url, title in rows:
        url = url if isinstance(url, bytes) else url.encode()
        title = title if isinstance(title, bytes) else title.encode()
        if kind == "image":
            title = b"* " + title
        for field in (url, title):
            assert not any(c in field for c in b"\t\r\n"), field
        out.append(kind.encode() + b"\t" + url + b"\t" + title)
    return b"\n".join(out) + b"\n"


def many_anchors(directory):
    body = "".join('<a href="http://host/p%d.html">Page %d</a>\n' % (i, i) for i in range(600))
    write(os.path.join(directory, "many-anchors.html"),
          "<html><head><title>600 anchors</title></head><body>\n" + body + "</body></html>\n")
    rows = [("anchor", "http://host/p%d.html" % i, "Page %d" % i) for i in range(500)]
    write(os.path.join(directory, "many-anchors.expected.tsv"),
          expected("many-anchors.html", 2, "600 anchors", rows))


def anchors_and_images(directory):
    body = "".join('<img src="http://host/i%d.png" alt="Image %d"> <a href="http://host/a%d.html">Anchor %d</a>\n'
                   % (i, i, i, i) for i in range(300))
    write(os.path.join(directory, "anchors-images.html"),
          "<html><head><title>300 anchors, 300 images</title></head><body>\n" + body + "</body></html>\n")
    rows = [("anchor", "http://host/a%d.html" % i, "Anchor %d" % i) for i in range(300)]
    rows += [("image", "http://host/i%d.png" % i, "Image %d" % i) for i in range(200)]
    write(os.path.join(directory, "anchors-images.expected.tsv"),
          expected("anchors-images.html", 2, "300 anchors, 300 images", rows))


def tag_of(length, url, extra=""):
    """An anchor tag of exactly `length` characters, from '<' to '>'."""
    head = '<a href="%s"%s' % (url, extra)
    assert len(head) + 1 <= length
    return head + " " * (length - len(head) - 1) + ">"


def limits(directory):
    u259 = "http://host/" + "l" * (259 - len("http://host/"))
    parts = [
        tag_of(520, "http://host/tag520.html") + "520</a>",
        tag_of(521, "http://host/tag521.html") + "521</a>",
        tag_of(600, "http://host/tag600.html") + "600</a>",
        '<a href="http://host/%s">5,000-character href</a>' % ("h" * 5000),
        '<a href="%sx.html">40 leading dots</a>' % ("../" * 40),
        '<a href="%s">259 characters</a>' % u259,
        '<a href="%sm">260 characters</a>' % u259,
        '<a href="http://host/long-title.html">%s</a>' % ("t" * 300),
        '<img src="http://host/ %s" alt="260 before its blank goes">' % ("i" * 247),
        '<img src="http://host/%s" alt="259 characters">' % ("i" * 247),
    ]
    write(os.path.join(directory, "limits.html"),
          "<html><head><title>Limits</title></head><body>\n" + "\n".join(parts) + "\n</body></html>\n")
    rows = [("anchor", "http://host/tag520.html", "520"), ("anchor", u259, "259 characters"),
            ("anchor", "http://host/long-title.html", "t" * 259),
            ("image", "http://host/" + "i" * 247, "259 characters")]
    write(os.path.join(directory, "limits.expected.tsv"),
          expected("limits.html", 1, "Limits", rows, base="http://host/a/b/c.html"))


def random_bytes(directory):
    rng = random.Random(8)
    noise = bytes(rng.randrange(256) for _ in range(4096))
    data = (b'<title>Random</title><a href="http://host/before.html">Before</a>\0' + noise +
            b'<a href="http://host/after.html">After</a>')
    write(os.path.join(directory, "random-nul.html"), data)
    write(os.path.join(directory, "random-nul.expected.tsv"),
          expected("random-nul.html", 2, "Random", [("anchor", "http://host/before.html", "Before")]))


JAPANESE = {
    # name: (codec, label, declaration)
    "ja-utf8": ("utf-8", "UTF-8", '<meta charset="utf-8">'),
    "ja-eucjp": ("euc_jp", "EUC-JP",
                 '<meta http-equiv="Content-Type" content="text/html; charset=EUC-JP">'),
    "ja-iso2022jp": ("iso2022_jp", "ISO-2022-JP", ""),  # told by its escape sequences
    "ja-sjis": ("cp932", "シフトJIS", '<meta charset="Shift_JIS">'),
}


def japanese(directory):
    for name, (codec, label, declaration) in JAPANESE.items():
        title = "日本語のページ（%s）" % label
        links = [("anchor", "http://example.jp/news.html", "お知らせ一覧"),
                 ("anchor", "http://example.jp/hours.html", "営業時間：９時〜１７時"),
                 ("anchor", "http://example.jp/about.html", "このサイトについて"),
                 ("image", "http://example.jp/logo.png", "ロゴ画像")]
        page = ("<html><head>%s<title>%s</title></head><body>\n<h1>ようこそ</h1>\n" % (declaration, title) +
                "".join('<p><a href="%s">%s</a></p>\n' % (u, t) for k, u, t in links if k == "anchor") +
                "".join('<p><img src="%s" alt="%s"></p>\n' % (u, t) for k, u, t in links if k == "image") +
                "<p>このページはテスト用です。</p>\n</body></html>\n")
        data = page.encode(codec)
        write(os.path.join(directory, name + ".html"), data)
        write(os.path.join(directory, name + ".expected.tsv"),
              expected(name + ".html", 2, cp932(title),
                       [(k, u, cp932(t)) for k, u, t in links], conversion="on"))
        # Unconverted, the page's own bytes stand in the list.
        raw = [(k, u, t.encode(codec)) for k, u, t in links]
        for _, _, t in raw:
            assert not any(c in t for c in b'<>"\r\n'), (name, t)
        write(os.path.join(directory, name + ".noconv.expected.tsv"),
              expected(name + ".html", 2, as_shown(title.encode(codec)),
                       [(k, u, as_shown(t)) for k, u, t in raw], conversion="off"))

    # UTF-8 broken in the middle of a character, no declaration.
    title = "壊れた文字のページ".encode("utf-8")
    cut = title.index("た".encode("utf-8")) + 2
    broken = title[:cut] + title[cut + 1:]
    data = (b"<html><head><title>" + broken + b"</title></head><body>\n<p>" +
            "ここから先は正しい文字です。".encode("utf-8") + b'</p>\n<a href="http://example.jp/next.html">' +
            "次へ".encode("utf-8") + b"</a>\n</body></html>\n")
    write(os.path.join(directory, "ja-utf8-broken.html"), data)
    write(os.path.join(directory, "ja-utf8-broken.expected.tsv"),
          expected("ja-utf8-broken.html", 2, cp932("壊れ") + b"?" + cp932("文字のページ"),
                   [("anchor", "http://example.jp/next.html", cp932("次へ"))], conversion="on"))
    write(os.path.join(directory, "ja-utf8-broken.noconv.expected.tsv"),
          expected("ja-utf8-broken.html", 2, as_shown(broken),
                   [("anchor", "http://example.jp/next.html", as_shown("次へ".encode("utf-8")))],
                   conversion="off"))


def shortcut(url):
    return b"[InternetShortcut]\r\nURL=" + url + b"\r\n"


def shortcut_expected(folder, subfolders, rows):
    out = [b"@folder\t" + folder.encode(), b"@subfolders\t%d" % subfolders]
    out += [b"anchor\t%s\t%s\t%s" % (u, t, f.encode()) for u, t, f in rows]
    return b"\n".join(out) + b"\n"


def shortcuts(directory):
    base = os.path.join(directory, "shortcuts")
    order = os.path.join(base, "order")
    for name in "abc":
        write(os.path.join(order, name + ".url"), shortcut(b"http://host/top/" + name.encode() + b".html"))
    for name in "de":
        write(os.path.join(order, "sub", name + ".url"), shortcut(b"http://host/sub/" + name.encode() + b".html"))
    top = [(b"http://host/top/%s.html" % n, n, ".") for n in (b"a", b"b", b"c")]
    sub = [(b"http://host/sub/%s.html" % n, n, "sub") for n in (b"d", b"e")]
    write(os.path.join(directory, "shortcuts-order.flat.expected.tsv"),
          shortcut_expected("shortcuts/order", 0, top))
    write(os.path.join(directory, "shortcuts-order.deep.expected.tsv"),
          shortcut_expected("shortcuts/order", 1, sub + top))

    kinds = os.path.join(base, "kinds")
    files = {
        "dir.url": shortcut(b"http://host/dir/"),
        "page.url": shortcut(b"http://host/a/page.html"),
        "upper.URL": shortcut(b"http://host/upper.cgi?x=1"),
        "longer.urlx": shortcut(b"http://host/urlx.html"),
        "also.url.txt": shortcut(b"http://host/not-read.html"),
        "base.url": b"[DEFAULT]\r\nBASEURL=http://base.example/b.htm\r\n[InternetShortcut]\r\nURL=http://host/x.html\r\n",
        "blank.url": shortcut(b"http://host/with blank.html"),
        "nourl.url": b"[InternetShortcut]\r\nIconIndex=0\r\n",
        "long.url": shortcut(b"http://host/" + b"x" * 2000),
        "empty.url": b"",
    }
    for name, data in files.items():
        write(os.path.join(kinds, name), data)
    write(os.path.join(directory, "shortcuts-kinds.expected.tsv"), shortcut_expected("shortcuts/kinds", 1, [
        (b"http://host/dir/", b"dir", "."), (b"http://host/a/page.html", b"page", "."),
        (b"http://host/upper.cgi?x=1", b"upper", "."), (b"http://host/urlx.html", b"longer", "."),
        (b"http://host/x.html", b"base", "."), (b"http://host/with", b"blank", "."),
    ]))


def bulky(directory):
    os.makedirs(directory, exist_ok=True)
    body = "".join('<a href="p%d.html">%d</a>\n' % (i, i) for i in range(10000))
    write(os.path.join(directory, "anchors-10000.html"), "<title>10,000 anchors</title>\n" + body)
    write(os.path.join(directory, "anchors-10000.expected.tsv"),
          expected("anchors-10000.html", 1, "10,000 anchors",
                   [("anchor", "http://host/p%d.html" % i, "%d" % i) for i in range(500)],
                   base="http://host/"))
    # A page past what is read: refused, the list stays as it was.
    with open(os.path.join(directory, "large-200mb.html"), "wb") as f:
        f.write(b'<a href="http://host/large.html">large</a>')
        f.truncate(200 * 1024 * 1024)
    tree = os.path.join(directory, "shortcuts-2000")
    for folder in range(20):
        for i in range(100):
            write(os.path.join(tree, "f%02d" % folder, "s%03d.url" % i),
                  shortcut(b"http://host/%d/%d.html" % (folder, i)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bulky", metavar="DIR")
    args = parser.parse_args()
    if args.bulky:
        bulky(args.bulky)
        return
    many_anchors(HERE)
    anchors_and_images(HERE)
    limits(HERE)
    random_bytes(HERE)
    japanese(HERE)
    shortcuts(HERE)


if __name__ == "__main__":
    main()
