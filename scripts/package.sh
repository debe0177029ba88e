#!/usr/bin/env bash
# Builds the release of the Windows programs (32-bit, stripped) in a build
# folder of its own and writes dist/Tavrin-VERSION.zip: Tavrin.exe,
# tvDDE.dll, nkf32.dll, TavrinCheck.exe when the build has it, the help
# texts, a commented sample Tavrin.ini, the licence and the scripts of
# dist/ (text files in code page 932 with CR LF line ends).
#   scripts/package.sh [OUT_DIR]     (default: dist/ of the source tree)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}/package
out=${1:-$root/dist}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
targets=(Tavrin tvdde nkf32)
if ninja -C "$build" -t query TavrinCheck >/dev/null 2>&1; then targets+=(TavrinCheck); fi
ninja -C "$build" -j "$(nproc)" "${targets[@]}"
zip=$(python3 "$root/scripts/make_dist.py" --bin "$build" --source "$root" --out "$out")
python3 - "$zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        print(f"  {i.file_size:>9}  {i.filename}")
PY
echo "$zip"
