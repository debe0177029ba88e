#!/usr/bin/env bash
# Builds the release twice from the current commit — once in this tree,
# once from a copy of the commit unpacked elsewhere, each in a fresh build
# folder — and compares the programs and the zips byte for byte. Exits
# non-zero when anything differs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${TAVRIN_BUILD_DIR:-$root/build}/reproducible
rm -rf "$work"
mkdir -p "$work/copy-of-source"
git -C "$root" archive HEAD | tar -x -C "$work/copy-of-source"
if ! git -C "$root" diff --quiet HEAD; then
  echo "note: the tree has uncommitted changes; the first build includes them"
fi
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH

build_one() {  # source, build folder
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-i686.cmake" >/dev/null
  local targets=(Tavrin tvdde nkf32)
  if ninja -C "$2" -t query TavrinCheck >/dev/null 2>&1; then targets+=(TavrinCheck); fi
  ninja -C "$2" -j "$(nproc)" "${targets[@]}" >/dev/null
  python3 "$1/scripts/make_dist.py" --bin "$2" --source "$1" --out "$2/dist" >/dev/null
}

echo "== build 1: $root -> $work/a"
build_one "$root" "$work/a"
echo "== build 2: $work/copy-of-source -> $work/b"
build_one "$work/copy-of-source" "$work/b"

status=0
for f in Tavrin.exe tvDDE.dll nkf32.dll TavrinCheck.exe dist/*.zip; do
  a=$(cd "$work/a" && ls $f 2>/dev/null || true)
  [ -n "$a" ] || continue
  if cmp -s "$work/a/$a" "$work/b/$a"; then
    echo "same       $(sha256sum < "$work/a/$a" | cut -c1-16)  $(stat -c %s "$work/a/$a") bytes  $a"
  else
    echo "DIFFERENT  $a"; status=1
  fi
done
[ $status -eq 0 ] && echo "reproducible" || echo "NOT REPRODUCIBLE"
exit $status
