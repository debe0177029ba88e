#!/usr/bin/env python3
"""Measures link extraction against grep and Python's html.parser.

    run_bench.py --bench LINK_BENCH --check TAVRIN_CHECK --work DIR [--runs N]
                 [--before OTHER_LINK_BENCH] [--before-check OTHER_TAVRIN_CHECK]

Three kinds of page of 1, 5 and 20 MB, each also in the variant whose
anchors never close: the benchmark page (ordinary text with a tag now and
then), the tag-dense page (short words and a tag every few bytes; ASCII,
so code page 932 as it stands) and the same in UTF-8 with Japanese words
(which the code converter must convert). For each it times, as whole
processes: link_bench (the program's reading of a page), `grep -c -i '<a '`
on the same file, the check tool's `links` with the code converter that
ships with the program and without it (--no-convert), and an html.parser
script that collects the same links. The runs of the programs alternate,
and each figure is the median of N runs (the machine may be shared; a
median is steadier than one run or the best). Every program writes into a
pipe: grep whose output is /dev/null stops at its first match, which
would time no pass at all. Memory: what the reading adds to the
process's peak (link_bench's own VmHWM before and after), and the whole
process's peak from /usr/bin/time -v, of link_bench and of the check tool
with the converter, against the page's size.
Prints the figures and the ratios against the goals. With --before, the
link_bench of another build (an earlier commit) runs in the same rounds,
and each page gets the ratio of its time to this build's; with
--before-check the same for the check tool (with the converter), also on
a URL list of 20 MB (read as a list file, not a page).
"""
import argparse
import os
import random
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (1, 5, 20)
KINDS = (("page", []), ("tag-dense", ["--tag-dense"]), ("dense-utf8", ["--tag-dense", "--utf8"]))
BASE = "http://bench.example/dir/page.html"


def timed(command, env=None):
    # Output into a pipe, never /dev/null (see above).
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    elapsed = time.perf_counter() - start
    if done.returncode not in (0, 1):
        sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr.decode()))
    return elapsed, done.stdout.decode()


def medians(commands, runs):
    """Runs the commands in turn, `runs` rounds; the median time of each
    and the output of its last run."""
    times = {name: [] for name in commands}
    outputs = {}
    for _ in range(runs):
        for name, (command, env) in commands.items():
            elapsed, outputs[name] = timed(command, env)
            times[name].append(elapsed)
    return {name: statistics.median(t) for name, t in times.items()}, outputs


def peak_kib(command):
    done = subprocess.run(["/usr/bin/time", "-v", *command], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=dict(os.environ, LC_ALL="C"))
    match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr.decode())
    return int(match.group(1)) if match else -1


def page_file(work, kind, flags, size, closed):
    name = "%s-%dmb-%s.html" % (kind, size, "normal" if closed else "never-closed")
    path = os.path.join(work, name)
    if not os.path.exists(path):
        subprocess.run([sys.executable, os.path.join(HERE, "make_page.py"), path, str(size), *flags,
                        *([] if closed else ["--never-closed"])], check=True)
    return path


def list_file(work):
    """A list of URLs, one a line, with lines of text between them."""
    path = os.path.join(work, "list-20mb.txt")
    if not os.path.exists(path):
        rng = random.Random(20240607)
        lines, written = [], 0
        while written < 20 * 1024 * 1024:
            line = ("http://bench.example/dir/item%d.html\n" % rng.randrange(10 ** 6) if rng.random() < 0.5
                    else "some words of text between the links\n")
            lines.append(line)
            written += len(line)
        with open(path, "w") as f:
            f.write("".join(lines))
    return path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True)
    parser.add_argument("--check", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--before")
    parser.add_argument("--before-check")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    grep_env = dict(os.environ, LC_ALL="C")

    results = {}
    for kind, flags in KINDS:
        for size in SIZES:
            for closed in (True, False):
                page = page_file(args.work, kind, flags, size, closed)
                commands = {
                    "extraction": ([args.bench, page], None),
                    "grep": (["grep", "-c", "-i", "<a ", page], grep_env),
                    "converter": ([args.check, "links", page, "--base", BASE, "--tsv"], None),
                    "no converter": ([args.check, "links", page, "--base", BASE, "--tsv", "--no-convert"], None),
                }
                if args.before:
                    commands["before"] = ([args.before, page], None)
                if args.before_check:
                    commands["converter before"] = (
                        [args.before_check, "links", page, "--base", BASE, "--tsv"], None)
                times, outputs = medians(commands, args.runs)
                out = outputs["extraction"]
                html_times, html_out = medians(
                    {"html": ([sys.executable, os.path.join(HERE, "html_parser_links.py"), page], None)},
                    1 if size == 20 else 3)
                before = int(re.search(r"before_kib=(\d+)", out).group(1))
                r = dict(times, bytes=os.path.getsize(page), html=html_times["html"],
                         rows=int(re.search(r"rows=(\d+)", out).group(1)),
                         inner=float(re.search(r"seconds=([\d.]+)", out).group(1)),
                         html_links=int(html_out["html"]), peak=peak_kib([args.bench, page]),
                         check_peak=peak_kib([args.check, "links", page, "--base", BASE, "--tsv"]),
                         added=int(re.search(r"peak_kib=(\d+)", out).group(1)) - before)
                if args.before and re.search(r"rows=(\d+)", outputs["before"]).group(1) != str(r["rows"]):
                    sys.exit("the builds read %s differently" % page)
                results[(kind, size, closed)] = r

    print("medians of %d runs (html.parser: 3, 1 at 20 MB); 'x grep' is the time over one grep pass"
          % args.runs)
    print("%-10s %3s %-13s %4s %9s %8s %8s %6s %11s %6s %11s %8s %9s %10s %10s" % (
        "page", "MB", "variant", "rows", "extract s", "(inner)", "grep s", "x grep", "converter s",
        "x grep", "html.parser", "parser/x", "unclosed/x", "added/page", "whole/page"))
    for kind, _ in KINDS:
        for size in SIZES:
            for closed in (True, False):
                r = results[(kind, size, closed)]
                unclosed = results[(kind, size, False)]["extraction"] / r["extraction"] if closed else 1.0
                print("%-10s %3d %-13s %4d %9.4f %8.4f %8.4f %6.2f %11.4f %6.2f %11.3f %8.1f %9.2f %10.2f %10.2f" % (
                    kind, size, "normal" if closed else "never-closed", r["rows"], r["extraction"], r["inner"],
                    r["grep"], r["extraction"] / r["grep"], r["converter"], r["converter"] / r["grep"], r["html"],
                    r["html"] / r["extraction"], unclosed, r["added"] * 1024 / r["bytes"],
                    r["peak"] * 1024 / r["bytes"]))

    print()
    print("the check tool's links, with the code converter and without it (--no-convert), and its peak:")
    print("%-10s %3s %-13s %11s %6s %13s %6s %10s" % ("page", "MB", "variant", "converter s", "x grep",
                                                    "no convert s", "x grep", "peak/page"))
    for kind, _ in KINDS:
        for size in SIZES:
            for closed in (True, False):
                r = results[(kind, size, closed)]
                print("%-10s %3d %-13s %11.4f %6.2f %13.4f %6.2f %10.2f" % (
                    kind, size, "normal" if closed else "never-closed", r["converter"], r["converter"] / r["grep"],
                    r["no converter"], r["no converter"] / r["grep"], r["check_peak"] * 1024 / r["bytes"]))

    if args.before_check:
        print()
        print("the other build's check tool (%s), with the converter, in the same rounds:" % args.before_check)
        print("%-10s %3s %-13s %9s %9s %6s %10s" % ("page", "MB", "variant", "before s", "now s", "x grep",
                                                   "before/now"))
        for kind, _ in KINDS:
            for size in SIZES:
                for closed in (True, False):
                    r = results[(kind, size, closed)]
                    print("%-10s %3d %-13s %9.4f %9.4f %6.2f %10.2f" % (
                        kind, size, "normal" if closed else "never-closed", r["converter before"],
                        r["converter"], r["converter before"] / r["grep"], r["converter before"] / r["converter"]))
        listed = list_file(args.work)
        times, outputs = medians({
            "now": ([args.check, "links", listed, "--tsv"], None),
            "before": ([args.before_check, "links", listed, "--tsv"], None),
            "grep": (["grep", "-c", "-i", "<a ", listed], grep_env)}, args.runs)
        if outputs["now"] != outputs["before"]:
            sys.exit("the builds read the URL list differently")
        print("URL list, 20 MB        %9.4f %9.4f %6.2f %10.2f  (grep %.4f s; this build %.2f x grep)" % (
            times["before"], times["now"], times["before"] / times["grep"], times["before"] / times["now"],
            times["grep"], times["now"] / times["grep"]))

    if args.before:
        print()
        print("the other build (%s) in the same rounds:" % args.before)
        print("%-10s %3s %-13s %9s %9s %6s %10s" % ("page", "MB", "variant", "before s", "now s", "x grep",
                                                   "before/now"))
        for kind, _ in KINDS:
            for size in SIZES:
                for closed in (True, False):
                    r = results[(kind, size, closed)]
                    print("%-10s %3d %-13s %9.4f %9.4f %6.2f %10.2f" % (
                        kind, size, "normal" if closed else "never-closed", r["before"], r["extraction"],
                        r["before"] / r["grep"], r["before"] / r["extraction"]))

    goals = []
    for kind, _ in KINDS:
        big, never = results[(kind, 20, True)], results[(kind, 20, False)]
        goals += [
            ("%s, 20 MB: extraction within 2x the grep pass" % kind, big["extraction"] / big["grep"], "<=", 2.0),
            ("%s, 20 MB: at least 5x faster than html.parser" % kind, big["html"] / big["extraction"], ">=", 5.0),
            ("%s, 20 MB: never-closing anchors within 3x" % kind, never["extraction"] / big["extraction"],
             "<=", 3.0),
            ("%s, 20 MB: whole process within 4.5x the page" % kind, big["peak"] * 1024 / big["bytes"],
             "<=", 4.5),
        ]
    # A page already in code page 932 goes to no converter and is read
    # where it lies.
    dense = results[("tag-dense", 20, True)]
    goals += [
        ("tag-dense, 20 MB: check tool, converter, within 2x grep", dense["converter"] / dense["grep"], "<=", 2.0),
        ("tag-dense, 20 MB: check tool's peak within 1.5x the page", dense["check_peak"] * 1024 / dense["bytes"],
         "<=", 1.5),
    ]
    goals.append(("peak memory of the reading within 4.5x the page",
                  max(r["added"] * 1024 / r["bytes"] for r in results.values()), "<=", 4.5))
    print()
    for name, value, sense, limit in goals:
        met = value <= limit if sense == "<=" else value >= limit
        print("%-52s %7.2f (goal %s %.1f) %s" % (name, value, sense, limit, "met" if met else "MISSED"))
    # A page the converter must convert: the converter is handed the whole
    # page and writes the whole of it anew, so both are held while it runs.
    utf8 = results[("dense-utf8", 20, True)]
    print("dense-utf8, 20 MB: check tool, converter, %.2fx grep; its peak %.2fx the page (the page and "
          "its converted text)" % (utf8["converter"] / utf8["grep"], utf8["check_peak"] * 1024 / utf8["bytes"]))
    for kind, _ in KINDS:
        big = results[(kind, 20, True)]
        print("%s, 20 MB: html.parser found %d links; the scan keeps at most 500 (%d rows)"
              % (kind, big["html_links"], big["rows"]))


if __name__ == "__main__":
    main()
