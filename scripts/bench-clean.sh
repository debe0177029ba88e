#!/usr/bin/env bash
# The link cleaning benchmark (not a test): builds the native bench program
# in release form and times Tavrin's start on the check tool's dry platform
# with and without "@unwrap" and "@strip=default" for the same links, in
# one run. Prints the figures and whether the goal is met: what cleaning
# adds to a start stays below 1% of what starting the program takes.
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench-clean.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}

echo "measuring the native Release build ($build/bench; no Wine)"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF >/dev/null
ninja -C "$build/bench" -j2 clean_bench >/dev/null
scratch=$(mktemp -d)
trap 'rc=$?; rm -rf "$scratch"; [ $rc -ne 0 ] && echo "bench-clean.sh FAILED (exit $rc): see the lines above" >&2' EXIT
out=$("$build/bench/bench/clean_bench" "$scratch" "${1:-31}")
echo "$out"
python3 - "$out" <<'PY'
import sys
figures = dict(word.split("=", 1) for line in sys.argv[1].splitlines() for word in line.split() if "=" in word)
common, dirty = float(figures["common_ratio"]), float(figures["dirty_ratio"])
with_start = float(figures["dirty_ratio_with_program_start"])
print(f"links that need no cleaning: {common:.3f} x the dry start without the options")
print(f"redirect and tracked links:  {dirty:.3f} x the dry start without the options "
      f"({figures['dirty_extra_us']} us more a start)")
print(f"with the program start a real start makes ({figures['program_start_us']} us): {with_start:.4f} x")
met = with_start <= 1.01
print("goal (cleaning adds under 1% to a start):", "met" if met else "NOT met")
sys.exit(0 if met else 1)
PY
