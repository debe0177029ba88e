#!/usr/bin/env bash
# The whole test run: installs what is missing, builds the native, the
# sanitizer and the Windows builds, and runs the native unit tests, the
# sanitizer unit tests, a short fuzzing run of every parser, and under
# Wine the unit tests and the end-to-end tests of the real Tavrin.exe. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
jobs=$(nproc)

bash "$root/scripts/install-deps.sh"

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$build/$dir" -G Ninja "$@" >/dev/null
  ninja -C "$build/$dir" -j "$jobs"
}

echo "== build: native"
configure native -DCMAKE_BUILD_TYPE=Debug
echo "== build: sanitizers"
configure asan -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON
echo "== build: windows"
configure win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"

status=0
echo "== test: native"
ctest --test-dir "$build/native" -j "$jobs" --output-on-failure || status=1
echo "== test: sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$build/asan" -j "$jobs" --output-on-failure || status=1

echo "== test: fuzzing (kept crash inputs, then ${TAVRIN_FUZZ_SECONDS:-15} s per target)"
TAVRIN_BUILD_DIR=$build bash "$root/scripts/fuzz.sh" "${TAVRIN_FUZZ_SECONDS:-15}" || status=1

echo "== test: wine (unit and end-to-end, three sessions side by side)"
# Cases that need a desktop to themselves (the X pointer and keyboard, the
# clipboard, the DDE services) carry the label "desktop", the list window's
# the label "listwin"; each group runs one case after another in a Wine
# session of its own while everything else runs in a third.
wine_session() {  # name, display slot, ctest arguments...
  local name=$1 slot=$2; shift 2
  (
    export TAVRIN_WINE_SESSION=$name TAVRIN_WINE_DISPLAY_SLOT=$slot
    # shellcheck source=scripts/wine-env.sh
    source "$root/scripts/wine-env.sh" "$build/win"
    trap wine_env_stop EXIT
    ctest --test-dir "$build/win" --output-on-failure --timeout 300 "$@"
  ) > "$build/win/ctest-$name.log" 2>&1
}
wine_session desktop 0 -L desktop & desktop_pid=$!
wine_session listwin 1 -L listwin & list_pid=$!
wine_session other 2 -LE 'desktop|listwin' & other_pid=$!
for pid in "$desktop_pid" "$list_pid" "$other_pid"; do wait "$pid" || status=1; done
for name in desktop listwin other; do
  echo "-- wine session: $name"
  cat "$build/win/ctest-$name.log"
done

if [ $status -ne 0 ]; then echo "SOME TESTS FAILED"; fi
exit $status
