#!/usr/bin/env bash
# Download throughput: the program's own page download (bench/download_bench
# under Wine, timing only the transfer) against curl, both fetching the same
# 20 MB file from a local HTTP server on 127.0.0.1 in one run. Prints each
# one's best of five and the ratio; the goal is at least 0.5.
#   bash scripts/bench-download.sh        (TAVRIN_BUILD_DIR as for test.sh)
set -euo pipefail
trap 'rc=$?; [ $rc -ne 0 ] && echo "bench-download.sh FAILED (exit $rc): see the lines above" >&2' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
runs=5

# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
win="$build/$wine_build"
echo "measuring the $wine_build build (TAVRIN_WINE_ARCH=$TAVRIN_WINE_ARCH)"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" >/dev/null
ninja -C "$win" -j2 download_bench >/dev/null

work=$(mktemp -d)
server_pid=
cleanup() {
  local rc=$?
  [ $rc -ne 0 ] && echo "bench-download.sh FAILED (exit $rc): see the lines above" >&2
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  type wine_env_stop >/dev/null 2>&1 && wine_env_stop
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/site" "$work/curl" "$work/tavrin"
head -c $((20 * 1024 * 1024)) /dev/urandom >"$work/site/file20.bin"
python3 - "$work/site" "$work/port" <<'PY' &
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
handler.func.log_message = lambda *a: None
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
open(sys.argv[2], "w").write(str(server.server_address[1]))
server.serve_forever()
PY
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$work/port")/file20.bin"

best_curl=
for i in $(seq $runs); do
  t=$(curl -s -o "$work/curl/file20.bin" -w '%{time_total}' "$url")
  echo "curl run $i: $t s"
  best_curl=$(python3 -c "import sys; a, b = sys.argv[1:]; print(min(float(a), float(b)) if a else b)" "$best_curl" "$t")
done
cmp -s "$work/site/file20.bin" "$work/curl/file20.bin" || { echo "curl copy differs"; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$win"
out=$(wine "$win/download_bench.exe" "$url" "Z:${work//\//\\}\\tavrin" $runs </dev/null 2>&1 | tr -d '\r')
echo "$out"
cmp -s "$work/site/file20.bin" "$work/tavrin/file20.bin" || { echo "Tavrin's copy differs"; exit 1; }
best_tavrin=$(echo "$out" | sed -n 's/^best \([0-9.]*\) s.*/\1/p')

python3 - "$best_curl" "$best_tavrin" <<'PY'
import sys
curl, tavrin = map(float, sys.argv[1:])
mb = 20.0
print(f"curl:   {curl:.4f} s  {mb / curl:7.1f} MB/s")
print(f"Tavrin: {tavrin:.4f} s  {mb / tavrin:7.1f} MB/s")
print(f"ratio (Tavrin / curl throughput): {curl / tavrin:.2f}  (goal >= 0.50)")
PY
