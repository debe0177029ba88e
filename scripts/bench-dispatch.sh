#!/usr/bin/env bash
# The dispatch benchmark (not a test): under Wine, the time Tavrin takes to
# open a clicked link whose block has one program, as a ratio to a minimal
# Windows program that does only what such a dispatch cannot do without
# (bench/dispatch_floor.cpp: OLE, one hidden window, the URL split and the
# shell start). Both are started as the shell starts a browser (a wide
# command line) and timed from their start to their end ("ended") and to
# the creation of the program they start ("launched"). One run on one
# machine: the two are measured in turns, and the medians are compared.
#   bash scripts/bench-dispatch.sh [rounds] [runs-per-round]
# TAVRIN_BENCH_EARLIER=<an earlier Tavrin.exe of the same build> measures
# that one too, in the same turns, with the same settings.
# TAVRIN_BENCH_TIMELINE=<starts> then traces that many starts of each under
# Wine's relay and prints where the time of a start goes, phase by phase
# (bench/dispatch_timeline.py); traced starts are slower than the timed ones.
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench-dispatch.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
rounds=${1:-12}
runs=${2:-5}

bash "$root/scripts/install-deps.sh" >/dev/null
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
win="$build/$wine_build"
echo "measuring the $wine_build build (TAVRIN_WINE_ARCH=$TAVRIN_WINE_ARCH)"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" >/dev/null
ninja -C "$win" -j2 Tavrin tavrin_driver recorder dispatch_floor >/dev/null

bench="$build/bench-dispatch"
rm -rf "$bench"
names="floor tavrin"
[ -n "${TAVRIN_BENCH_EARLIER:-}" ] && names="$names earlier"
for name in $names; do
  mkdir -p "$bench/$name/programs"
  cp "$win/recorder.exe" "$bench/$name/programs/viewer.exe"
done
cp "$win/dispatch_floor.exe" "$bench/floor/"
cp "$win/Tavrin.exe" "$bench/tavrin/"
[ -n "${TAVRIN_BENCH_EARLIER:-}" ] && cp "$TAVRIN_BENCH_EARLIER" "$bench/earlier/Tavrin.exe"
# A settings file as a user keeps it: a [system] block, blocks for other
# kinds of file, and the page's block with its one program.
{
  printf '[system]\r\n@menu=200,150\r\n@icon\r\n@len=60\r\n%%end\r\n'
  for ext in txt pdf jpg png zip mp3; do
    printf '[.%s]\r\nprograms\\viewer.exe | Viewer\r\n@system | Windows\r\n%%end\r\n' "$ext"
  done
  printf '[.html]\r\nprograms\\viewer.exe | Viewer\r\n%%end\r\n'
} > "$bench/tavrin/Tavrin.ini"
winpath() { echo "Z:$(echo "$1" | tr '/' '\\')"; }
url='http://host.example/a/page.html'
printf '%s' "$url" > "$bench/tavrin/args.txt"
if [ -d "$bench/earlier" ]; then
  cp "$bench/tavrin/Tavrin.ini" "$bench/tavrin/args.txt" "$bench/earlier/"
fi
printf '"%s" %s' "$(winpath "$bench/floor/programs/viewer.exe")" "$url" > "$bench/floor/args.txt"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$win"
trap 'rc=$?; wine_env_stop; [ $rc -ne 0 ] && echo "bench-dispatch.sh FAILED (exit $rc): see the lines above" >&2' EXIT
driver="$win/tests/e2e/tavrin_driver.exe"
measure() {  # name, exe, round
  wine "$driver" time-dispatch --exe "$(winpath "$bench/$1/$2")" --wide 1 \
       --args-file "$(winpath "$bench/$1/args.txt")" \
       --log "$(winpath "$bench/$1/programs/viewer.exe.log")" \
       --runs "$runs" --out "$(winpath "$bench/$1.$3.out")" </dev/null >/dev/null 2>&1 ||
    { echo "no dispatch from $1" >&2; exit 1; }
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One warm-up each, then the rounds in turns.
exe_of() { [ "$1" = floor ] && echo dispatch_floor.exe || echo Tavrin.exe; }
for name in $names; do measure "$name" "$(exe_of "$name")" warm; done
for r in $(seq "$rounds"); do
  for name in $names; do measure "$name" "$(exe_of "$name")" "$r"; done
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$bench" "$rounds" $names <<'PY'
import statistics, sys
bench, rounds, names = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def times(name, round_, key, scale):
    out = []
    for line in open(f"{bench}/{name}.{round_}.out"):
        k, _, value = line.strip().partition("=")
        if k.endswith(key):
            out.append(int(value) / scale)
    return out
for key, scale, what in ((".ended.us", 1000, "start to end"),
                         (".launched.ms", 1, "start to the program's start")):
    print(f"{what}:")
    medians, tenths = {}, {}
    for name in names:
        t = [x for r in range(1, rounds + 1) for x in times(name, r, key, scale)]
        medians[name] = statistics.median(t)
        # On a machine shared with other work the fast runs are the ones
        # nothing else delayed: the tenth percentile shows them.
        tenths[name] = statistics.quantiles(t, n=10)[0]
        print(f"  {name:7s} median {medians[name]:7.1f} ms  (tenth percentile {tenths[name]:.1f},"
              f" min {min(t):.1f}, max {max(t):.1f}, n={len(t)})")
    for name in names[1:]:
        # Each round's ratio of medians shows the spread of the ratio.
        per_round = [statistics.median(times(name, r, key, scale)) /
                     statistics.median(times("floor", r, key, scale)) for r in range(1, rounds + 1)]
        print(f"  {name} / floor: {medians[name] / medians['floor']:.2f}"
              f"  (by round: median {statistics.median(per_round):.2f},"
              f" min {min(per_round):.2f}, max {max(per_round):.2f};"
              f" tenth percentiles {tenths[name] / tenths['floor']:.2f})")
print("goal: tavrin / floor from start to end at most 1.15")
PY

starts=${TAVRIN_BENCH_TIMELINE:-0}
[ "$starts" -gt 0 ] || exit 0
echo "timeline of $starts traced starts each:"
debug='HKCU\Software\Wine\Debug'
relayed=$(python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import dispatch_timeline as t; print(";".join(t.RELAYED))' "$root/bench")
wine reg add "$debug" /v RelayInclude /d "$relayed" /f </dev/null >/dev/null 2>&1
# A window of its own keeps the session's desktop up between the starts.
wine notepad.exe </dev/null >/dev/null 2>&1 & keeper=$!
sleep 3
mkdir -p "$bench/traces"
for i in warm $(seq "$starts"); do
  for name in $names; do
    if [ "$name" = floor ]; then
      set -- "$bench/floor/dispatch_floor.exe" "$(winpath "$bench/floor/programs/viewer.exe")" "$url"
    else
      set -- "$bench/$name/Tavrin.exe" "$url"
    fi
    WINEDEBUG=+timestamp,+loaddll,+relay wine "$@" </dev/null >/dev/null 2>"$bench/traces/$name.$i.trace" || true
  done
done
kill "$keeper" 2>/dev/null || true
wait "$keeper" 2>/dev/null || true
wine reg delete "$debug" /v RelayInclude /f </dev/null >/dev/null 2>&1 || true
rm -f "$bench"/traces/*.warm.trace
traces=()
for name in $names; do traces+=("$bench"/traces/"$name".*.trace); done
python3 "$root/bench/dispatch_timeline.py" "${traces[@]}"
