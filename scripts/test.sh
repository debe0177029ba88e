#!/usr/bin/env bash
# The whole test run: installs what is missing, builds the native Release
# and the sanitizer (Debug) builds and both Windows builds, and runs the
# native unit tests, the sanitizer unit tests, a short fuzzing run of every
# parser, and under Wine the unit tests and the end-to-end tests of the real
# Tavrin.exe. Wine runs the i686 build where this machine runs 32-bit
# programs and the x86_64 build where it cannot (scripts/wine-arch.sh; set
# TAVRIN_WINE_ARCH=32 or 64 to choose); the other Windows build is built
# and its zip checked without running it. Exits non-zero when anything
# fails, and ends with a line for each step that failed and why.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
jobs=$(nproc)
started=$(date +%s)
failures=()
timeline=()

fail() { failures+=("$1"); }
phase_start=$started
phase() {  # name: ends the running phase, prints the next one's heading
  local now; now=$(date +%s)
  [ -n "${phase_name:-}" ] && timeline+=("$(printf '%5ss  %s' $(( now - phase_start )) "$phase_name")")
  phase_name=$1; phase_start=$now
  [ -n "$1" ] && echo "== $1"
}
finish() {
  phase ""
  echo
  echo "== time: $(( $(date +%s) - started )) s in all"
  for line in "${timeline[@]}"; do echo "$line"; done
  if [ ${#failures[@]} -gt 0 ]; then
    echo
    for f in "${failures[@]}"; do echo "FAILED: $f"; done
    echo "SOME TESTS FAILED"
    exit 1
  fi
  echo "ALL TESTS PASSED"
  exit 0
}

phase "install"
if ! bash "$root/scripts/install-deps.sh"; then fail "install: the packages could not be installed (see above)"; finish; fi
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh" || { fail "wine: TAVRIN_WINE_ARCH is '$TAVRIN_WINE_ARCH'"; finish; }

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$build/$dir" -G Ninja "$@" >/dev/null && ninja -C "$build/$dir" -j "$jobs"
}
built() {  # dir, what: a failed build fails the run here and now
  fail "build $1: $2 does not compile (see the compiler's output above)"
  finish
}

phase "build: native (Release)"
configure native -DCMAKE_BUILD_TYPE=Release || built native "the native Release build"
phase "build: sanitizers (Debug, ASan and UBSan)"
configure asan -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON || built asan "the sanitizer build"
phase "build: windows, $wine_build (runs under Wine)"
configure "$wine_build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" ||
  built "$wine_build" "the Windows build that runs under Wine"

phase "test: native"
ctest --test-dir "$build/native" -j "$jobs" --output-on-failure || fail "native unit tests (see above)"
phase "test: sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$build/asan" -j "$jobs" --output-on-failure || fail "sanitizer unit tests (see above)"

phase "test: fuzzing (kept crash inputs, then ${TAVRIN_FUZZ_SECONDS:-8} s per target), beside the $other_build build"
# libFuzzer uses one processor; the other Windows build takes the second.
# Only what goes into its zip is built there: its tests are built where
# that path runs.
(
  cmake -S "$root" -B "$build/$other_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$other_toolchain" >/dev/null &&
    nice ninja -C "$build/$other_build" -j "$(( jobs > 2 ? jobs - 1 : 1 ))" Tavrin TavrinCheck tvdde nkf32
) > "$build/build-$other_build.log" 2>&1 &
other_pid=$!
TAVRIN_BUILD_DIR=$build bash "$root/scripts/fuzz.sh" "${TAVRIN_FUZZ_SECONDS:-8}" ||
  fail "fuzzing found faults (see the table above)"
phase "build: windows, $other_build (built, not run)"
if wait "$other_pid"; then
  # Its zip, checked without running it: on a machine without 32-bit
  # mode this is how the release is checked.
  zip=$(python3 "$root/scripts/make_dist.py" --bin "$build/$other_build" --source "$root" \
                --out "$build/$other_build/package") &&
    python3 "$root/scripts/check_dist.py" "$zip" --bin "$build/$other_build" --source "$root" ||
    fail "the $other_build build's zip (see above)"
else
  grep -E 'error|FAILED' "$build/build-$other_build.log" | head -n 20
  fail "build $other_build: does not compile (log: $build/build-$other_build.log)"
fi

phase "test: wine, $wine_build (unit and end-to-end, three sessions side by side, then one at 144 DPI and one on an English Windows)"
# Cases that need a desktop to themselves (the X pointer and keyboard, the
# clipboard, the DDE services) carry the label "desktop", the list window's
# the label "listwin"; each group runs one case after another in a Wine
# session of its own while everything else runs in a third. The cases of
# the program's sizes at 144 DPI (label "hidpi") need a prefix that Wine
# reports that resolution for: they follow the desktop cases, on their
# display, in a session of their own. The cases labelled "en_us" run on an
# English (United States) Windows, code page 1252, after the list window's
# cases on their display.
wine_session() {  # name, display slot, resolution (DPI), locale, ctest arguments...
  local name=$1 slot=$2 dpi=$3 locale=$4; shift 4
  (
    export TAVRIN_WINE_SESSION=$name TAVRIN_WINE_DISPLAY_SLOT=$slot TAVRIN_WINE_DPI=$dpi
    export TAVRIN_WINE_LOCALE=$locale
    # shellcheck source=scripts/wine-env.sh
    source "$root/scripts/wine-env.sh" "$build/$wine_build" || exit 3
    trap wine_env_stop EXIT
    ctest --test-dir "$build/$wine_build" --output-on-failure --timeout 300 \
          --output-junit "$build/$wine_build/ctest-$name.xml" "$@"
  ) > "$build/$wine_build/ctest-$name.log" 2>&1
  echo $? > "$build/$wine_build/ctest-$name.rc"
}
sessions=(desktop hidpi listwin en_us other)
rm -f "$build/$wine_build"/ctest-*.rc
# TAVRIN_WINE_DISPLAY_SLOT_BASE keeps the displays of two runs on one
# machine apart.
slot=${TAVRIN_WINE_DISPLAY_SLOT_BASE:-0}
{ wine_session desktop "$slot" 96 ja_JP -L desktop; wine_session hidpi "$slot" 144 ja_JP -L hidpi; } &
{ wine_session listwin $(( slot + 1 )) 96 ja_JP -L listwin; wine_session en_us $(( slot + 1 )) 96 en_US -L en_us; } &
wine_session other $(( slot + 2 )) 96 ja_JP -LE 'desktop|listwin|hidpi|en_us' &
wait
wine_cases=0
for name in "${sessions[@]}"; do
  rc=$(cat "$build/$wine_build/ctest-$name.rc" 2>/dev/null || echo 3)
  log="$build/$wine_build/ctest-$name.log"
  echo "-- wine session: $name"
  cat "$log"
  ran=$(sed -n 's/.*tests passed, [0-9]* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  wine_cases=$(( wine_cases + ${ran:-0} ))
  if [ "$rc" -eq 3 ]; then
    fail "wine session $name: $(grep -m1 'cannot start' "$log" || echo 'the session did not start')"
  elif [ "$rc" -ne 0 ]; then
    failed=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (\(.*\))$/\1 (\2)/p' "$log" | paste -sd ',' | sed 's/,/, /g')
    fail "wine session $name: ${failed:-ctest exit $rc, see its log above}"
  fi
done
echo "-- wine: $wine_cases cases run on the $wine_build build (TAVRIN_WINE_ARCH=$TAVRIN_WINE_ARCH)"
# A case that cannot hold on this path says so, with its reason.
python3 - "$build/$wine_build" "${sessions[@]}" <<'PY'
import os, re, sys
import xml.etree.ElementTree as ET
folder, names = sys.argv[1], sys.argv[2:]
for name in names:
    try:
        cases = ET.parse(os.path.join(folder, f"ctest-{name}.xml")).getroot().iter("testcase")
    except (OSError, ET.ParseError):
        continue
    for case in cases:
        if case.get("status") == "notrun":
            out = case.findtext("system-out") or ""
            reason = re.search(r": Skipped\n(.*)", out)
            print(f"-- skipped on this path: {case.get('name')}: "
                  f"{reason.group(1).strip() if reason else 'no reason given'}")
PY
finish
