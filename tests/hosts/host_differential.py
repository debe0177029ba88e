#!/usr/bin/env python3
"""Host names as Tavrin passes them on, against a browser's URL parser.

A corpus of hosts is generated (capitals of many scripts, fullwidth and
compatibility forms, decomposed accents, ignorables, emoji, code page 932
characters mixed with others, refused characters, the bidi rule, ports,
user information, trailing dots), each put in a URL and given to the check
tool's "open" as a user types it; a sample is also wrapped in a redirect
link for "@unwrap". node's URL parser reads the URL as given (for a
redirect link: its target) and the URL Tavrin passes on (its code page 932
bytes read back): both must come out the same, refused alike or alike
accepted. And where browsers refuse a host, Tavrin must not have made a
plain ASCII host of it: the labels they refuse stay as escapes.

  host_differential.py --tool tavrin-check --node node --scratch DIR
"""
import argparse
import json
import os
import subprocess
import sys
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))

# Labels, each with a reason to be there; hosts are built from them below.
CAPITALS = [
    "ÀÉÎÕÜ", "ÇAFÉ", "ÆØÅ", "ÞORN", "ĀĒĪŌŪ", "ŁÓDŹ", "ŠKODA", "ŐRSÉG", "ȘTEFAN", "ǄEMAL",
    "İstanbul", "IĞDIR", "VIỆT", "ĐÀNẴNG", "GROẞ", "ΑΘΉΝΑ", "ΣΟΦΊΑ", "ΌΡΟΣ", "МОСКВА", "ЁЛКА",
    "ЎЗБЕК", "ЂУРА", "ՀԱՅԱՍՏԱՆ", "ᲡᲐᲥᲐᲠᲗᲕᲔᲚᲝ", "ႠႡႢ", "ᎠᏍᎦᏯ", "ꭰꮃ", "ⰀⰁⰂ", "ⲀⲂⲄ", "𐐀𐐁𐐂",
    "𐒰𐒱", "𞤀𞤁𞤂", "𑢠𑢡", "𖹀𖹁", "ǅungla", "ǈubljana", "ǋova", "Ǳonga",
]
FULLWIDTH = [
    "ｂüｃｈｅｒ", "ＢÜＣＨＥＲ", "ｅｘａｍｐｌｅé", "ＡＢＣß", "１２３ü", "ｶﾌｪé", "ﾊﾟﾘé", "ｶﾞｲﾄﾞü",
    "ａ－ｂü", "ｘｎ－－ü", "Ｗｉｋｉω", "ｔｅｓｔ＿ü",
]
COMPATIBILITY = [
    "ﬁnance", "ﬃx", "ℌilbert", "ℂomplex", "℡é", "㍿é", "①②é", "ⅷé", "½é", "㎏é", "x²é", "𝐀𝐁𝐂",
    "𝔞𝔟", "Ⓐⓑ", "⑴é", "ǆé", "ĳsselé", "ŉé", "ſtraße", "ªé", "ºé", "µé", "ﬀé", "㌀é", "㋿é",
    "ｍｍ²é", "ℓé", "Åé", "Ωé", "Kelvin", "ﻼ", "ﷺé", "ﹰé", "ᴬᴮé", "ₐé", "㉑é", "🄰é", "𝟎𝟏é",
    "ⅰⅱé", "⒜é", "ᵃé", "ꟸé",
]
DECOMPOSED = [
    "bu\u0308cher", "cafe\u0301", "nin\u0303o", "a\u030a", "A\u0308RGER", "e\u0301\u0323", "e\u0323\u0301",
    "o\u031b\u0323", "u\u0308\u0304", "s\u0323\u0307", "\u1100\u1161\u11a8é", "\u1112\u1161\u11ab\u1100\u1173\u11af",
    "i\u0307", "I\u0307", "\u03b9\u0308\u0301", "\u0430\u0306", "\u05d0\u05b7", "\u0915\u093c",
    "a\u0300\u0316", "\u00e9\u0301", "\u0041\u030a\u0301", "\u1e9b\u0323", "n\u0303\u0303",
]
IGNORABLES = [
    "bü\u00adcher", "\u00adü", "ü\u00ad", "i\u2764\ufe0f", "ü\ufe0e", "ü\U000e0100", "ab\u034fü", "ü\u2060x",
    "ü\u180bx", "\u0915\u094d\u200d\u0937", "\u0915\u094d\u200c\u0937", "\u0646\u200c\u0627", "a\u200cb",
    "a\u200db", "\u0628\u200c\u064b", "ü\u200c", "ü\u1806", "\u115fü", "ü\u3164", "ü\u061c",
]
EMOJI = [
    "😀", "i❤️", "❤", "👍🏽", "🇯🇵", "👨\u200d👩\u200d👧", "☃", "⌘", "✈️", "🍣寿司", "💩", "🐱🐶", "𝄞",
    "★é", "♥", "©é", "™é",
]
MIXED = [
    "東京ü", "カフェé", "日本ß", "例えÜ", "ﾃｽﾄü", "漢字Ω", "東京ｂｕｃｈｅｒé", "ぁゃé", "〒é", "あ\u0301",
    "ＪＡＰＡＮé", "ソ\u0308", "表ü", "能é", "予約ё", "ー長音é", "〜é", "ｱｲｳ😀", "ﾞé",
]
REFUSED = [
    "ü\u0378", "\u0301ü", "\u0301", "ü\ufffd", "ü\ue000", "ü\ufdd0", "a\u2024ü", "a﹤ü", "a＜ü", "a\ufe64\u0338ü",
    "ü\u2488", "ü\u00a0x", "ü＃x", "ü％x", "ü／x", "ü＼x", "ü？x", "ü＠x", "ü［x］", "ü＾x", "ü｜x",
    "ｘｎ--ü", "\u2ff0ü", "ü\u2028x", "ü\u0640", "\u0640ü", "ü\u3031", "ü\u302e", "ü\U0001d173", "ü\U0002f868",
]
BIDI = [
    "שלום", "مثال", "1שלום", "שלום1", "aשלום", "שלוםa", "שלום\u05b7", "مثال٣", "مثال3٣", "\u05d0-\u05d1",
    "ﻣﺜﺎﻝ", "\u05d0\u0300", "\u0627\u0644\u0639\u0631\u0628\u064a\u0629", "ދިވެހި", "ܣܘܪܝܝܐ", "ߒߞߏ",
    "𐤀𐤁", "𞤀𞤢", "٣٤", "a١",
]
SEPARATED = ["bücher。example", "bücher．example", "bücher｡example", "ü。東京", "ü．ü", "ü.", "ü..x", ".ü"]

TLDS = ["example", "com", "jp", "de", "co.jp", "日本", "ελ", "рф", "قطر", "中国"]


def label_cases():
    groups = [("capitals", CAPITALS), ("fullwidth", FULLWIDTH), ("compatibility", COMPATIBILITY),
              ("decomposed", DECOMPOSED), ("ignorables", IGNORABLES), ("emoji", EMOJI), ("mixed", MIXED),
              ("refused", REFUSED), ("bidi", BIDI)]
    hosts = []
    for name, labels in groups:
        for i, label in enumerate(labels):
            hosts.append((name, f"{label}.{TLDS[i % len(TLDS)]}"))
            # The same label with a plain word beside it, and as a label
            # in the middle of a host.
            if i % 2 == 0:
                hosts.append((name, f"www.{label}-x.com"))
            if i % 3 == 0:
                hosts.append((name, f"a.{label}.b.example"))
    hosts += [("separators", h) for h in SEPARATED]
    return hosts


# Around the host: (scheme and user information, what follows the host).
FRAMES = [("http://", "/"), ("https://", "/path/ü?q=1#f"), ("http://user:pw@", ":8080/"),
          ("https://", "./"), ("http://", ":443"), ("ftp://anon@", "/pub/"), ("https://", ".:8443/x")]


def cases():
    out = []
    for i, (group, host) in enumerate(label_cases()):
        before, after = FRAMES[i % len(FRAMES)]
        out.append({"group": group, "given": before + host + after})
    # Unwrapped targets: the host percent-escaped UTF-8 inside a redirect
    # link, and a '\' that ends the host as a '/' does.
    targets = [c["given"] for c in out if c["given"].startswith("http")][::3]
    targets += ["https://a.example\\@b.com/", "https://b%C3%BCcher.example/", "https://ü.example\\x/y",
                "https://east.example\\.west.example/"]
    for target in targets:
        link = "https://www.google.com/url?q=" + urllib.parse.quote(target, safe="")
        out.append({"group": "unwrapped", "given": link, "target": target})
    return out


def tavrin_forms(tool, ini, urls):
    forms = []
    for url in urls:
        done = subprocess.run([tool, "open", "--tsv", "--raw", "--ini", ini, url], capture_output=True,
                              timeout=60)
        if done.returncode not in (0, 1, 2):
            sys.exit(f"{tool} failed on {url!r}: exit {done.returncode} {done.stderr[-500:]!r}")
        lines = [line.split(b"\t")[1] for line in done.stdout.splitlines() if line.startswith(b"@url\t")]
        forms.append(lines[0].decode("cp932") if len(lines) == 1 else None)
    return forms


def browser(node, urls):
    done = subprocess.run([node, os.path.join(HERE, "browser_urls.js")], input=json.dumps(urls).encode(),
                          capture_output=True, timeout=120, check=True)
    return json.loads(done.stdout)


def host_of(url):
    rest = url.split("://", 1)[1] if "://" in url else url
    for end in "/?#\\":
        rest = rest.split(end, 1)[0]
    return rest.rsplit("@", 1)[-1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--node", default="node")
    parser.add_argument("--scratch", required=True)
    parser.add_argument("--show", action="store_true", help="print every case")
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    ini = os.path.join(args.scratch, "Tavrin.ini")
    viewer = os.path.join(args.scratch, "viewer.exe")
    with open(viewer, "wb") as f:
        f.write(b"MZ")
    with open(ini, "wb") as f:
        f.write(b"[system]\r\n@unwrap\r\n[blank]\r\n" + viewer.encode() + b"\r\n%end\r\n")

    corpus = cases()
    forms = tavrin_forms(args.tool, ini, [c["given"] for c in corpus])
    wanted = browser(args.node, [c.get("target", c["given"]) for c in corpus])
    passed_on = browser(args.node, [f or "" for f in forms])

    failures = []
    counts = {"cases": len(corpus), "hosts": len(label_cases()), "equal": 0, "refused alike": 0,
              "kept in code page 932": 0, "IDNA form": 0, "left escaped": 0,
              "escaped where node's looser bidi check takes the host": 0}
    for case, form, want, got in zip(corpus, forms, wanted, passed_on):
        given = case.get("target", case["given"])
        if form is None:
            failures.append(f"{case['group']}: {given!r}: Tavrin passes nothing on")
            continue
        host = host_of(form)
        made_idna = "xn--" in host.lower() and "xn--" not in host_of(given).lower()
        # A host that looks as good as any other: Tavrin made it all ASCII.
        plain = made_idna and all(ch.isascii() and (ch.isalnum() or ch in "-._:[]") for ch in host)
        if args.show:
            print(f"{case['group']:13} {given!r} -> {form!r}  browser {want!r} / {got!r}")
        if want != got:
            failures.append(f"{case['group']}: {given!r}: the browser reads {want!r}, "
                            f"Tavrin passes on {form!r}, read {got!r}")
            continue
        if want is None and plain:
            failures.append(f"{case['group']}: {given!r}: browsers refuse it, Tavrin made {form!r}")
            continue
        counts["equal"] += 1
        counts["refused alike"] += want is None
        escaped = "%" in host and "%" not in host_of(given)
        counts["left escaped"] += escaped
        counts["escaped where node's looser bidi check takes the host"] += escaped and want is not None
        counts["IDNA form"] += made_idna
        counts["kept in code page 932"] += any(ord(ch) >= 0x80 for ch in host)
    for f in failures:
        print("FAILED", f)
    print(", ".join(f"{v} {k}" for k, v in counts.items()))
    print(f"{counts['equal']} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
