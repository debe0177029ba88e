#!/usr/bin/env python3
"""Measures link extraction against grep and Python's html.parser.

    run_bench.py --bench LINK_BENCH --work DIR

For pages of 1, 5 and 20 MB (and the variant whose anchors never close)
it times, as whole processes and best of five: link_bench (the program's
reading of a page), `grep -c -i '<a '` on the same file, and an html.parser
script that collects the same links. Memory: what the reading adds to the
process's peak (link_bench's own VmHWM before and after), and the whole
process's peak from /usr/bin/time -v (which includes the program itself). Prints the figures and the ratios against the goals.
"""
import argparse
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (1, 5, 20)


def best_of(command, runs=5, env=None):
    """The shortest wall time of `runs` runs and the output of that run."""
    best, output = None, b""
    for _ in range(runs):
        start = time.perf_counter()
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
        elapsed = time.perf_counter() - start
        if done.returncode not in (0, 1):
            sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr.decode()))
        if best is None or elapsed < best:
            best, output = elapsed, done.stdout
    return best, output.decode()


def peak_kib(command):
    done = subprocess.run(["/usr/bin/time", "-v", *command], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=dict(os.environ, LC_ALL="C"))
    match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr.decode())
    return int(match.group(1)) if match else -1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    grep_env = dict(os.environ, LC_ALL="C")

    results = {}
    for size in SIZES:
        for variant in ("normal", "never-closed"):
            page = os.path.join(args.work, "page-%dmb-%s.html" % (size, variant))
            if not os.path.exists(page):
                flags = ["--never-closed"] if variant == "never-closed" else []
                subprocess.run([sys.executable, os.path.join(HERE, "make_page.py"), page, str(size), *flags],
                               check=True)
            page_bytes = os.path.getsize(page)
            extraction, out = best_of([args.bench, page])
            rows = int(re.search(r"rows=(\d+)", out).group(1))
            inner = float(re.search(r"seconds=([\d.]+)", out).group(1))
            grep, grep_out = best_of(["grep", "-c", "-i", "<a ", page], env=grep_env)
            runs = 1 if size == 20 else 2
            html, html_out = best_of([sys.executable, os.path.join(HERE, "html_parser_links.py"), page], runs)
            peak = peak_kib([args.bench, page])
            before = int(re.search(r"before_kib=(\d+)", out).group(1))
            added = int(re.search(r"peak_kib=(\d+)", out).group(1)) - before
            results[(size, variant)] = dict(bytes=page_bytes, extraction=extraction, inner=inner, rows=rows,
                                            grep=grep, html=html, html_links=int(html_out), peak=peak,
                                            added=added)

    print("%-4s %-13s %5s %10s %8s %8s %11s %7s %9s %10s %10s" % (
        "MB", "variant", "rows", "extract s", "(inner)", "grep s", "html.parser", "x grep", "parser/x",
        "added/page", "whole/page"))
    for (size, variant), r in sorted(results.items()):
        print("%-4d %-13s %5d %10.4f %8.4f %8.4f %11.3f %7.2f %9.1f %10.2f %10.2f" % (
            size, variant, r["rows"], r["extraction"], r["inner"], r["grep"], r["html"],
            r["extraction"] / r["grep"], r["html"] / r["extraction"], r["added"] * 1024 / r["bytes"],
            r["peak"] * 1024 / r["bytes"]))
    big, never = results[(20, "normal")], results[(20, "never-closed")]
    goals = [
        ("20 MB extraction within 2x the grep pass", big["extraction"] / big["grep"], "<=", 2.0),
        ("20 MB at least 5x faster than html.parser", big["html"] / big["extraction"], ">=", 5.0),
        ("never-closing anchors within 3x the normal page", never["extraction"] / big["extraction"], "<=", 3.0),
        ("peak memory of the reading within 4.5x the page", max(r["added"] * 1024 / r["bytes"]
                                                              for r in results.values()), "<=", 4.5),
        ("20 MB whole process within 4.5x the page", big["peak"] * 1024 / big["bytes"], "<=", 4.5),
    ]
    print()
    for name, value, sense, limit in goals:
        met = value <= limit if sense == "<=" else value >= limit
        print("%-50s %7.2f (goal %s %.1f) %s" % (name, value, sense, limit, "met" if met else "MISSED"))
    print("\nhtml.parser found %d links on the 20 MB page; the scan keeps at most 500 (%d rows)"
          % (big["html_links"], big["rows"]))


if __name__ == "__main__":
    main()
