#!/usr/bin/env bash
# Builds the release of the Windows programs (32-bit, stripped) in a build
# folder of its own, writes dist/Tavrin-VERSION.zip (Tavrin.exe,
# tvDDE.dll, nkf32.dll, TavrinCheck.exe when the build has it, the help
# texts, a commented sample Tavrin.ini, the licence and the scripts of
# dist/; text files in code page 932 with CR LF line ends) and checks it
# without running it (scripts/check_dist.py), so any machine can make it,
# one without 32-bit mode included.
#   scripts/package.sh [OUT_DIR]     (default: dist/ of the source tree)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}/package
out=${1:-$root/dist}
step=
trap 'rc=$?; [ $rc -ne 0 ] && echo "package.sh FAILED while ${step:-starting} (exit $rc)" >&2' EXIT

step="installing what the build needs"
bash "$root/scripts/install-deps.sh"
step="configuring the i686 release build in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
targets=(Tavrin tvdde nkf32)
if ninja -C "$build" -t query TavrinCheck >/dev/null 2>&1; then targets+=(TavrinCheck); fi
step="building ${targets[*]}"
ninja -C "$build" -j "$(nproc)" "${targets[@]}"
step="packing the zip"
zip=$(python3 "$root/scripts/make_dist.py" --bin "$build" --source "$root" --out "$out")
python3 - "$zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        print(f"  {i.file_size:>9}  {i.filename}")
PY
step="checking the zip"
python3 "$root/scripts/check_dist.py" "$zip" --bin "$build" --source "$root"
echo "$zip"
