#!/usr/bin/env bash
# The menu benchmark (not a test): under Wine, the time from a program's
# start to its popup menu being on screen, for Tavrin with a 3-row and a
# 40-row menu (icons on, every row its own program file), each as a ratio
# to a minimal Windows program that shows a 3-item popup. One run on one
# machine; the three are measured in turns, and the medians are compared.
#   bash scripts/bench-menu.sh [rounds] [runs-per-round]
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench-menu.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
rounds=${1:-5}
runs=${2:-6}

bash "$root/scripts/install-deps.sh" >/dev/null
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
win="$build/$wine_build"
echo "measuring the $wine_build build (TAVRIN_WINE_ARCH=$TAVRIN_WINE_ARCH)"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" >/dev/null
ninja -C "$win" Tavrin tavrin_driver recorder menu_baseline >/dev/null

bench="$build/bench-menu"
rm -rf "$bench"
mkdir -p "$bench/baseline"
cp "$win/menu_baseline.exe" "$bench/baseline/"
# A menu of n programs, each a file of its own, with icons.
make_case() {  # name, rows
  local dir="$bench/$1"
  mkdir -p "$dir/programs"
  cp "$win/Tavrin.exe" "$dir/"
  {
    printf '[system]\r\n@icon\r\n@menu=200,150\r\n%%end\r\n[.html]\r\n'
    for i in $(seq "$2"); do
      cp "$win/recorder.exe" "$dir/programs/p$i.exe"
      printf 'programs\\p%d.exe | Program %d\r\n' "$i" "$i"
    done
    printf '%%end\r\n'
  } > "$dir/Tavrin.ini"
}
make_case rows3 3
make_case rows40 40
printf 'http://host/a/page.html' > "$bench/args.txt"
: > "$bench/none.txt"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$win"
trap 'rc=$?; wine_env_stop; [ $rc -ne 0 ] && echo "bench-menu.sh FAILED (exit $rc): see the lines above" >&2' EXIT
winpath() { echo "Z:$(echo "$1" | tr '/' '\\')"; }
driver="$win/tests/e2e/tavrin_driver.exe"
measure() {  # name, exe, args file, round
  wine "$driver" time-menu --exe "$(winpath "$2")" --args-file "$(winpath "$3")" \
       --runs "$runs" --out "$(winpath "$bench/$1.$4.out")" </dev/null >/dev/null 2>&1 ||
    { echo "no menu from $1" >&2; exit 1; }
}
# One warm-up each, then the rounds in turns.
measure baseline "$bench/baseline/menu_baseline.exe" "$bench/none.txt" warm
measure rows3 "$bench/rows3/Tavrin.exe" "$bench/args.txt" warm
measure rows40 "$bench/rows40/Tavrin.exe" "$bench/args.txt" warm
for r in $(seq "$rounds"); do
  measure baseline "$bench/baseline/menu_baseline.exe" "$bench/none.txt" "$r"
  measure rows3 "$bench/rows3/Tavrin.exe" "$bench/args.txt" "$r"
  measure rows40 "$bench/rows40/Tavrin.exe" "$bench/args.txt" "$r"
done

python3 - "$bench" "$rounds" <<'PY'
import glob, statistics, sys
bench, rounds = sys.argv[1], int(sys.argv[2])
def times(name):
    out = []
    for r in range(1, rounds + 1):
        for line in open(f"{bench}/{name}.{r}.out"):
            key, _, value = line.strip().partition("=")
            if key.endswith(".us"):
                out.append(int(value) / 1000)
    return out
medians = {}
for name in ("baseline", "rows3", "rows40"):
    t = times(name)
    medians[name] = statistics.median(t)
    print(f"{name:9s} median {medians[name]:7.1f} ms  (min {min(t):.1f}, max {max(t):.1f}, n={len(t)})")
base = medians["baseline"]
print(f"3-row menu / baseline:  {medians['rows3'] / base:.2f}")
print(f"40-row menu / baseline: {medians['rows40'] / base:.2f}")
ratio = medians["rows40"] / medians["rows3"]
print(f"40-row / 3-row:         {ratio:.2f}  (goal: at most 1.5)")
PY
