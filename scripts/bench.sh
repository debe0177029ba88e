#!/usr/bin/env bash
# The link extraction benchmark (not a test): builds the native bench
# program and the check tool in release form, generates pages of 1, 5 and
# 20 MB (fixed seed; 300 anchors and 150 images; the benchmark page, a
# tag-dense page in ASCII and the same in UTF-8 with Japanese words, each
# also with anchors that never close) and compares the extraction and the
# check tool's links, with and without the code converter, with one grep
# pass and with Python's html.parser, with the peak memory of each against
# the page. grep writes into a pipe: with its output on /dev/null it
# stops at the first match. Prints the figures and whether the goals are
# met. BENCH_RUNS sets how many runs each median takes (default 7).
# BENCH_BEFORE names the link_bench of another build (say, of the main
# branch) to time in the same rounds, BENCH_BEFORE_CHECK its check tool.
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}

echo "measuring the native Release build ($build/bench; no Wine)"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF >/dev/null
ninja -C "$build/bench" -j2 link_bench tavrin-check >/dev/null
python3 "$root/bench/run_bench.py" --bench "$build/bench/bench/link_bench" --check "$build/bench/tavrin-check" \
  --work "$build/bench/pages" --runs "${BENCH_RUNS:-7}" ${BENCH_BEFORE:+--before "$BENCH_BEFORE"} \
  ${BENCH_BEFORE_CHECK:+--before-check "$BENCH_BEFORE_CHECK"}
