#!/usr/bin/env python3
"""Writes common/idna_tables.cpp and .h: what Tavrin needs to read a host
name as browsers do (the UTS #46 mapping, canonical composition, and the
properties its validity rules ask for), from the Unicode data Debian ships
in /usr/share/unicode (package unicode-data), packed into one stream of
numbers that keeps the program small.

The mapping table is derived as UTS #46 derives its own: the base mapping
is NFKC_Casefold; a character is valid when no such folding changes it and
it is neither a control, a format character, a separator nor an ideographic
description character; the few characters IDNA2003 treated otherwise are
left out (those are read from the IDNA2003 tables of Python's own
library, which hold Unicode 3.2 and never change); and the rest is narrowed
until the decomposition of every valid character and of every mapping is
valid itself. The mapping is that of the URL standard: the four deviation
characters are valid, and so is all of ASCII but the dot (the host reader
refuses what no host may hold after the mapping, as browsers do).

Properties matter only for the characters a mapped label can hold: the
others take the value of their neighbours, which keeps the ranges few.

  python3 scripts/make_idna_tables.py [--data /usr/share/unicode] [--out FILE.cpp] [--check]
"""
import argparse
import os
import re
import stringprep
import sys
import unicodedata

MAX = 0x110000
SEPARATORS = {0x2E, 0x3002, 0xFF0E, 0xFF61}
DEVIATIONS = {0xDF, 0x3C2, 0x200C, 0x200D}


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def span(field):
    if ".." in field:
        lo, hi = field.split("..")
        return int(lo, 16), int(hi, 16)
    return int(field, 16), int(field, 16)


def ranges(path, column=1):
    for fields in read_lines(path):
        lo, hi = span(fields[0])
        yield lo, hi, fields[column] if column < len(fields) else ""


def code_points(text):
    return [int(x, 16) for x in text.split()]


class Data:
    def __init__(self, folder):
        self.folder = folder
        self.gc = ["Cn"] * MAX
        for lo, hi, v in ranges(self.path("extracted/DerivedGeneralCategory.txt")):
            self.gc[lo:hi + 1] = [v] * (hi - lo + 1)
        self.ccc = [0] * MAX
        self.decomposition = {}  # canonical, one level
        self.read_unicode_data()
        self.nfkc_cf = {}
        self.cwkcf = set()
        for fields in read_lines(self.path("DerivedNormalizationProps.txt")):
            lo, hi = span(fields[0])
            if fields[1] == "NFKC_CF":
                for c in range(lo, hi + 1):
                    self.nfkc_cf[c] = code_points(fields[2])
            elif fields[1] == "Changes_When_NFKC_Casefolded":
                self.cwkcf.update(range(lo, hi + 1))
        self.excluded = set()
        for lo, hi, _ in ranges(self.path("CompositionExclusions.txt"), 0):
            self.excluded.update(range(lo, hi + 1))
        self.bidi = ["L"] * MAX
        for lo, hi, v in ranges(self.path("extracted/DerivedBidiClass.txt")):
            self.bidi[lo:hi + 1] = [v] * (hi - lo + 1)
        self.joining = ["U"] * MAX
        for lo, hi, v in ranges(self.path("extracted/DerivedJoiningType.txt")):
            self.joining[lo:hi + 1] = [v] * (hi - lo + 1)
        # The bidi controls that came after IDNA2003 are refused as those
        # before them were.
        self.bidi_control = set()
        for lo, hi, name in ranges(self.path("PropList.txt")):
            if name == "Bidi_Control":
                self.bidi_control.update(range(lo, hi + 1))
        self.description = set()
        for lo, hi, name in ranges(self.path("Blocks.txt")):
            if name == "Ideographic Description Characters":
                self.description.update(range(lo, hi + 1))
        self.version = "?"
        with open(self.path("DerivedNormalizationProps.txt"), encoding="utf-8") as f:
            m = re.search(r"DerivedNormalizationProps-([\d.]+)\.txt", f.readline())
            if m:
                self.version = m.group(1)

    def path(self, name):
        return os.path.join(self.folder, name)

    def read_unicode_data(self):
        for fields in read_lines(self.path("UnicodeData.txt")):
            c = int(fields[0], 16)
            self.ccc[c] = int(fields[3])
            d = fields[5]
            if d and not d.startswith("<"):
                self.decomposition[c] = code_points(d)

    def mapping(self, c):
        if c in SEPARATORS:
            return [0x2E]
        return self.nfkc_cf.get(c, [c])

    def nfd(self, cps):
        out = []
        for c in cps:
            if 0xAC00 <= c < 0xAC00 + 11172:
                s = c - 0xAC00
                out += [0x1100 + s // 588, 0x1161 + (s % 588) // 28]
                if s % 28:
                    out.append(0x11A7 + s % 28)
            elif c in self.decomposition:
                out += self.nfd(self.decomposition[c])
            else:
                out.append(c)
        return out


def unicode32(text):
    return not any(stringprep.in_table_a1(x) for x in text)


def fold32(ch):
    """Case folding as RFC 3454's table B.3 has it. Python takes the small
    letter from its own Unicode: one that Unicode 3.2 did not have yet
    (Georgian, U+2132, U+04C0 ...) means the pair is younger."""
    folded = stringprep.b3_exceptions.get(ord(ch))
    if folded is not None:
        return folded
    lower = ch.lower()
    return lower if unicode32(lower) else ch


def table_b2(ch):
    """RFC 3454's table B.2, as Python's stringprep derives it."""
    nfkc = unicodedata.ucd_3_2_0.normalize
    a = fold32(ch)
    b = nfkc("NFKC", a)
    c = nfkc("NFKC", "".join(fold32(x) for x in b))
    return c if b != c else a


def idna2003(c):
    """Nameprep of one character: None when Unicode 3.2 had no such
    character, False when nameprep prohibits it, else its mapping."""
    ch = chr(c)
    if stringprep.in_table_a1(ch):
        return None
    mapped = "" if stringprep.in_table_b1(ch) else table_b2(ch)
    mapped = unicodedata.ucd_3_2_0.normalize("NFKC", mapped)
    for x in mapped:
        if stringprep.in_table_a1(x):
            return None
        if any(t(x) for t in (stringprep.in_table_c12, stringprep.in_table_c22, stringprep.in_table_c3,
                              stringprep.in_table_c4, stringprep.in_table_c5, stringprep.in_table_c6,
                              stringprep.in_table_c7, stringprep.in_table_c8, stringprep.in_table_c9)):
            return False
    return [ord(x) for x in mapped]


def derive_status(d):
    """valid, ignored, mapped (with its mapping) or disallowed for each code
    point, as browsers read host names (deviations valid, STD3 rules off)."""
    def base_valid(c):
        if c < 0x80:
            return c != 0x2E
        return (c not in d.cwkcf and not d.gc[c].startswith(("C", "Z")) and c not in d.description)

    exclusion = set()
    for c in range(MAX):
        if 0xD800 <= c <= 0xDFFF:
            continue
        prep = idna2003(c) if c < 0x30000 or c >= 0xE0000 else None
        if prep is None:
            continue
        m = d.mapping(c)
        if prep is not False:
            if c not in SEPARATORS and prep != m:
                exclusion.add(c)
        elif base_valid(c) or ([c] != m and all(base_valid(x) for x in m)):
            exclusion.add(c)

    mapped = {c for c in d.cwkcf if c not in SEPARATORS}
    status = {}
    for c in range(MAX):
        if c in SEPARATORS or c in DEVIATIONS:
            status[c] = "V" if c == 0x2E or c in DEVIATIONS else "M"
        elif d.gc[c] == "Cn" or c in exclusion or c in d.bidi_control:
            status[c] = "X"
        elif c in mapped:
            status[c] = "M" if all(base_valid(x) for x in d.mapping(c)) else "X"
        elif base_valid(c):
            status[c] = "V"
        else:
            status[c] = "X"
    for c, s in status.items():
        if s == "M" and not d.mapping(c):
            status[c] = "I"

    def valid_all(cps):
        return all(status[x] == "V" for x in cps)

    changed = True
    while changed:
        changed = False
        for c in range(MAX):
            s = status[c]
            if s == "V" and c not in DEVIATIONS and not valid_all(d.nfd([c])):
                status[c] = "X"
                changed = True
            elif s == "M" and not valid_all(d.nfd(d.mapping(c))):
                status[c] = "X"
                changed = True
    return status


# What a run of the mapping table does; common/idna.cpp knows them by these
# numbers.
VALID, DISALLOWED, IGNORED, PAIRS, DELTA, STRING = range(6)


def mapping_runs(d, status):
    """Runs of code points that map alike, as (start, action). An action is
    (VALID,), (DISALLOWED,), (IGNORED,), (PAIRS,): even offsets from the
    run's start map to the next code point, odd ones are valid; (DELTA, n):
    each maps to itself plus n; (STRING, length, offset): each maps to its
    own string of the pool, all of `length` code points, in turn."""
    def single(c):
        s = status[c]
        if s != "M":
            return {"V": (VALID,), "X": (DISALLOWED,), "I": (IGNORED,)}[s]
        m = d.mapping(c)
        return (DELTA, m[0] - c) if len(m) == 1 else (STRING, m)

    actions = [single(c) for c in range(MAX)]
    pool = []
    runs = []
    c = 0
    while c < MAX:
        a = actions[c]
        end = c + 1
        if a == (DELTA, 1) and end < MAX and actions[end] == (VALID,):
            while end + 2 < MAX and actions[end + 1] == (DELTA, 1) and actions[end + 2] == (VALID,):
                end += 2
            if end - c > 2:
                runs.append((c, (PAIRS,)))
                c = end + 1
                continue
            end = c + 1
        if a[0] == DELTA and end < MAX and actions[end] == a:
            while end < MAX and actions[end] == a:
                end += 1
            runs.append((c, a))
            c = end
            continue
        if a[0] in (DELTA, STRING):
            # A mapping of its own: to the pool, with the code points after
            # it that also map alone to strings of the same length.
            def string(x):
                b = actions[x]
                if b[0] == STRING:
                    return list(b[1])
                if b[0] == DELTA and not (x + 1 < MAX and actions[x + 1] == b):
                    return [x + b[1]]
                return None
            first = string(c)
            length = len(first)
            offset = len(pool)
            pool += first
            while end < MAX:
                nxt = string(end)
                if nxt is None or len(nxt) != length:
                    break
                pool += nxt
                end += 1
            runs.append((c, (STRING, length, offset)))
            c = end
            continue
        while end < MAX and actions[end] == a:
            end += 1
        runs.append((c, a))
        c = end
    # A pair run ends on its last capital's small letter: what follows may
    # be valid too.
    merged = []
    for r in runs:
        if merged and merged[-1][1] == r[1] and r[1][0] in (VALID, DISALLOWED, IGNORED):
            continue
        merged.append(r)
    return merged, pool


def property_runs(values, relevant):
    """Breakpoints (start, value) of a property over the code points that
    matter; the others continue the run before them."""
    runs = []
    current = None
    for c in range(MAX):
        if not relevant[c]:
            continue
        v = values(c)
        if v != current:
            runs.append((0 if not runs else c, v))
            current = v
    return runs


BIDI = ["L", "R", "AL", "AN", "EN", "ES", "CS", "ET", "ON", "BN", "NSM"]  # anything else: 11
JOINING = {"U": 0, "C": 0, "L": 1, "D": 2, "R": 3, "T": 4}


def properties(d, c):
    """ccc | bidi << 8 | joining << 12 | mark << 15."""
    bidi = BIDI.index(d.bidi[c]) if d.bidi[c] in BIDI else len(BIDI)
    mark = 1 if d.gc[c].startswith("M") else 0
    return d.ccc[c] | bidi << 8 | JOINING[d.joining[c]] << 12 | mark << 15


def compositions(d, status):
    """Primary composites of two valid characters: (composite, first,
    second), by composite. Each decomposes into them, and only them."""
    out = []
    for c, parts in sorted(d.decomposition.items()):
        if len(parts) != 2 or c in d.excluded or d.ccc[c] != 0 or d.ccc[parts[0]] != 0:
            continue
        if status[parts[0]] == "V" and status[parts[1]] == "V":
            out.append((c, parts[0], parts[1]))
    return out


def check_decompositions(d, status, pairs):
    """A valid character that decomposes is a primary composite, all the
    way down: so the composites alone give NFD of any mapped label."""
    by = {c: (a, b) for c, a, b in pairs}

    def nfd(c):
        return nfd(by[c][0]) + [by[c][1]] if c in by else [c]
    for c, parts in d.decomposition.items():
        if status[c] == "V" and c not in DEVIATIONS:
            assert c in by and nfd(c) == d.nfd([c]), f"U+{c:04X} decomposes otherwise"


def varint(n):
    """Seven bits a byte, low first; the high bit says more follow."""
    assert n >= 0
    out = bytearray()
    while True:
        byte, n = n & 0x7F, n >> 7
        out.append(byte | (0x80 if n else 0))
        if not n:
            return out


def zigzag(n):
    """A signed number as a varint takes it: 0, -1, 1, -2 ... as 0, 1, 2, 3 ..."""
    return n << 1 if n >= 0 else ((-n) << 1) - 1


def packed(d, status):
    """The tables as one stream of varints (signed ones zigzagged, ascending
    ones as differences), and their counts. common/idna_data.cpp unpacks it
    in this order:
      mapping runs: start difference, then the action's index << 1, or
        length << 1 | 1 for a run of strings (each run's strings follow
        those of the run before in the pool)
      actions, the most used first: kind | delta << 3
      pool, a string at a time: its first code point as the difference
        from the first of the string before, each other one as the
        difference from the one before it
      property runs: start difference, record index
      records: ccc | bidi << 8 | joining << 12 | mark << 15
      marks (the second parts of the composites): difference
      composites: composite difference, first part as the difference from
        the first part before, the mark's index"""
    runs, pool = mapping_runs(d, status)

    def word(a):
        return DELTA | (a[1] << 3) if a[0] == DELTA else a[0]
    uses = {}
    for _, a in runs:
        if a[0] != STRING:
            uses[word(a)] = uses.get(word(a), 0) + 1
    actions = sorted(uses, key=lambda w: (-uses[w], w))
    action_index = {w: i for i, w in enumerate(actions)}
    string_runs = sum(1 for _, a in runs if a[0] == STRING)
    relevant = [status[c] == "V" for c in range(MAX)]
    props = property_runs(lambda c: properties(d, c), relevant)
    records = sorted(set(v for _, v in props))
    record_index = {v: i for i, v in enumerate(records)}
    pairs = compositions(d, status)
    check_decompositions(d, status, pairs)
    marks = sorted(set(b for _, _, b in pairs))
    mark_index = {b: i for i, b in enumerate(marks)}
    # What an entry of the unpacked tables leaves for an index: 11 bits
    # beside a code point; a string action's place in the pool, 23.
    assert len(actions) + string_runs < 1 << 11 and len(records) < 1 << 11 and len(pool) < 1 << 23
    assert all(a[1] < 32 for _, a in runs if a[0] == STRING)

    out = bytearray()
    previous = 0
    for start, a in runs:
        code = a[1] << 1 | 1 if a[0] == STRING else action_index[word(a)] << 1
        out += varint(start - previous) + varint(code)
        previous = start
    for w in actions:
        out += varint(zigzag(w))
    first = 0
    ends = [start for start, _ in runs[1:]] + [MAX]
    for (start, a), end in zip(runs, ends):
        if a[0] != STRING:
            continue
        length, offset = a[1], a[2]
        for i in range(end - start):
            string = pool[offset + i * length:offset + (i + 1) * length]
            out += varint(zigzag(string[0] - first))
            first = string[0]
            for before, c in zip(string, string[1:]):
                out += varint(zigzag(c - before))
    previous = 0
    for start, v in props:
        out += varint(start - previous) + varint(record_index[v])
        previous = start
    for v in records:
        out += varint(v)
    previous = 0
    for b in marks:
        out += varint(b - previous)
        previous = b
    previous = first = 0
    for c, a, b in pairs:
        out += varint(c - previous) + varint(zigzag(a - first)) + varint(mark_index[b])
        previous, first = c, a
    counts = {
        "runCount": len(runs), "actionCount": len(actions), "stringRunCount": string_runs,
        "poolCount": len(pool), "propertyRunCount": len(props), "recordCount": len(records),
        "markCount": len(marks), "compositeCount": len(pairs), "packedSize": len(out),
    }
    return bytes(out), counts


def header_text(d, counts):
    lines = [
        "// Generated by scripts/make_idna_tables.py from the Unicode " + d.version + " data in",
        "// /usr/share/unicode: do not edit. The tables behind reading host names as",
        "// browsers do, packed into one stream of numbers (idna_tables.cpp; the",
        "// script tells its layout), and the counts of what it holds.",
        "// common/idna_data.cpp unpacks it when first asked.",
        "#pragma once",
        "",
        "namespace idna::tables {",
        "",
        "extern const unsigned char packed[];",
    ]
    lines += [f"constexpr unsigned {name} = {n};" for name, n in counts.items()]
    lines += ["", "}  // namespace idna::tables"]
    return "\n".join(lines) + "\n"


def source_text(d, data):
    lines = [
        "// Generated by scripts/make_idna_tables.py from the Unicode " + d.version + " data in",
        "// /usr/share/unicode: do not edit. common/idna_data.cpp unpacks it.",
        '#include "common/idna_tables.h"',
        "",
        "namespace idna::tables {",
        "",
        "extern const unsigned char packed[packedSize] = {",
    ]
    for i in range(0, len(data), 20):
        lines.append("    " + ",".join(str(b) for b in data[i:i + 20]) + ",")
    lines += ["};", "", "}  // namespace idna::tables"]
    return "\n".join(lines) + "\n"


def write(out, d, status, check=False):
    data, counts = packed(d, status)
    files = {out: source_text(d, data), os.path.splitext(out)[0] + ".h": header_text(d, counts)}
    for path, text in files.items():
        if check:
            with open(path, encoding="utf-8") as f:
                if f.read() != text:
                    sys.exit(f"{path} is not what the Unicode data in {d.folder} makes: run {sys.argv[0]}")
        else:
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
    print(", ".join(f"{name} {n}" for name, n in counts.items()), file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--data", default="/usr/share/unicode")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "common", "idna_tables.cpp"))
    parser.add_argument("--check", action="store_true",
                        help="compare with --out and its header instead of writing them")
    parser.add_argument("--status", help="also write the derived status of every code point here")
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.data, "DerivedNormalizationProps.txt")):
        sys.exit(f"no Unicode data in {args.data}: apt-get install unicode-data")
    d = Data(args.data)
    status = derive_status(d)
    if args.status:
        with open(args.status, "w") as f:
            for c in range(MAX):
                f.write(f"{c:X} {status[c]} {' '.join(f'{x:X}' for x in d.mapping(c)) if status[c] == 'M' else ''}\n")
    write(args.out, d, status, args.check)


if __name__ == "__main__":
    main()
