#!/usr/bin/env bash
# The soak run (not a test): one resident copy under Wine through 5,000
# hand-offs, 500 list loads, 500 clipboard changes with watching on and 200
# row menus; its handles, GDI and USER objects and memory every 500 steps,
# and whether they stay flat (bench/soak.py). Takes several minutes.
#   bash scripts/bench-soak.sh [scale [kind]]   (0.1: a tenth of every count;
#   kind: handoff, load, clipboard or menu alone, to see which one grows)
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench-soak.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
scale=${1:-1}
only=${2:+--only $2}

bash "$root/scripts/install-deps.sh" >/dev/null
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
win="$build/$wine_build"
echo "soaking the $wine_build build (TAVRIN_WINE_ARCH=$TAVRIN_WINE_ARCH)"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" >/dev/null
nice ninja -C "$win" -j2 Tavrin tavrin_driver >/dev/null

export TAVRIN_WINE_SESSION=${TAVRIN_WINE_SESSION:-soak}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$win"
trap 'rc=$?; wine_env_stop; [ $rc -ne 0 ] && echo "bench-soak.sh FAILED (exit $rc): see the lines above" >&2' EXIT
python3 "$root/bench/soak.py" --driver "$win/tests/e2e/tavrin_driver.exe" --tavrin "$win/Tavrin.exe" \
        --work "$build/bench-soak${2:+-$2}" --scale "$scale" $only
