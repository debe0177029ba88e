#!/usr/bin/env bash
# The main jobs under Wine, with the demo settings file beside Tavrin.exe.
#   run-demo.sh [URL]         opens a sample URL with Tavrin; prints what was
#                             started with which parameters and working
#                             folder, and saves build/demo/screenshot.png.
#   run-demo.sh --menu [URL]  settings that offer several programs: the
#                             association menu shows, with icons, and its
#                             picture is saved as build/demo/menu.png.
#   run-demo.sh --list        lists the links of the bundled sample page
#                             (demo/sample.html, UTF-8, read through
#                             nkf32.dll) in the list window and saves
#                             build/demo/list.png.
#   run-demo.sh --download    downloads a large file from a slow local
#                             server ("*" line of demo/download.ini): the
#                             progress window shows, its picture is saved
#                             as build/demo/progress.png, and its Cancel
#                             button is clicked.
#   --dpi N (with any of the above) runs Wine at N dots per inch (96 is
#                             100%, 144 is 150%): Tavrin lays itself out
#                             for that resolution, and the screenshots are
#                             saved at that scale with "-Ndpi" added to
#                             their names (build/demo/menu-144dpi.png).
# Safe to run again. Runs the i686 build where this machine runs 32-bit
# programs, the x86_64 build under 64-bit Wine where it cannot
# (scripts/wine-arch.sh; TAVRIN_WINE_ARCH=32 or 64 chooses). A failure ends
# with a line that says what failed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
step=
trap 'rc=$?; [ $rc -ne 0 ] && echo "run-demo.sh FAILED while ${step:-starting} (exit $rc)" >&2' EXIT
mode=open
dpi=96
url=
while [ $# -gt 0 ]; do
  case "$1" in
    --menu) mode=menu ;;
    --list) mode=list ;;
    --download) mode=download ;;
    --dpi) [ $# -ge 2 ] || { echo "--dpi needs a resolution in dots per inch (96 is 100%)" >&2; exit 2; }
           dpi=$2; shift ;;
    --dpi=*) dpi=${1#--dpi=} ;;
    *) url=$1 ;;
  esac
  shift
done
case "$dpi" in
  ''|*[!0-9]*) echo "--dpi takes a number of dots per inch (96 is 100%), not '$dpi'" >&2; exit 2 ;;
esac
if [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
  echo "--dpi $dpi is outside 48 to 480 (50% to 500%)" >&2; exit 2
fi
url=${url:-http://www.example.com/docs/guide/index.html?lang=ja#top}
# Screenshots at another resolution than 96 DPI say so in their names.
shot() { [ "$dpi" = 96 ] && echo "$run/$1.png" || echo "$run/$1-${dpi}dpi.png"; }

step="installing what the demo needs"
bash "$root/scripts/install-deps.sh"
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
win="$build/$wine_build"
step="configuring the Windows build in $win"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$wine_toolchain" >/dev/null
step="building Tavrin.exe and the demo program in $win"
ninja -C "$win" Tavrin demo_viewer tvdde nkf32 >/dev/null

run="$build/demo"
rm -rf "$run"
mkdir -p "$run"
cp "$win/Tavrin.exe" "$win/demo_viewer.exe" "$win/tvDDE.dll" "$win/nkf32.dll" "$run/"
cp "$root/demo/Tavrin.ini" "$run/Tavrin.ini"
[ "$mode" = menu ] && cp "$root/demo/menu.ini" "$run/Tavrin.ini"
[ "$mode" = download ] && cp "$root/demo/download.ini" "$run/Tavrin.ini"

step="starting the Wine session at $dpi DPI"
# Another resolution gets a prefix of its own, so that the usual one keeps
# its setting.
export TAVRIN_WINE_DPI=$dpi
[ "$dpi" = 96 ] || export TAVRIN_WINE_SESSION=${TAVRIN_WINE_SESSION:-dpi$dpi}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$win"
trap 'rc=$?; wine_env_stop; [ $rc -ne 0 ] && echo "run-demo.sh FAILED while ${step:-starting} (exit $rc)" >&2' EXIT

step="running Tavrin.exe ($mode)"
if [ "$mode" = menu ]; then
  echo "Tavrin.exe $url"
  (cd "$run" && wine Tavrin.exe "$url" </dev/null >/dev/null 2>&1) &
  tavrin_pid=$!
  # The screen is black but for the menu: wait until something shows.
  size=0x0
  for _ in $(seq 100); do
    sleep 0.2
    import -window root "$run/screen.png"
    size=$(convert "$run/screen.png" -trim -format '%wx%h' info: 2>/dev/null)
    [ "${size%x*}" -gt 60 ] && [ "${size#*x}" -gt 60 ] && break
  done
  if [ "${size%x*}" -le 60 ] || [ "${size#*x}" -le 60 ]; then
    echo "no menu showed within 20 s" >&2
    exit 1
  fi
  sleep 0.5  # let the icons paint
  import -window root "$run/screen.png"
  convert "$run/screen.png" -trim +repage -bordercolor black -border 6 "$(shot menu)"
  geometry=$(convert "$run/screen.png" -trim -format '%X %Y' info:)
  x=${geometry%% *}; y=${geometry##* }
  # Close the menu as a person would: pointer on it, Escape.
  xdotool mousemove $((${x#+} + 2)) $((${y#+} + 2))
  sleep 0.3
  xdotool key Escape
  wait "$tavrin_pid" || true
  echo "menu at $dpi DPI: $(shot menu) ($size)"
  exit 0
fi

if [ "$mode" = list ]; then
  cp "$root/demo/sample.html" "$run/sample.html"
  base=http://www.example.com/docs/guide/sample.html
  echo "Tavrin.exe /#b=$base sample.html"
  (cd "$run" && wine Tavrin.exe "/#b=$base" sample.html </dev/null >/dev/null 2>&1) &
  # The list window's caption begins with "[ Tavrin ]".
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --name '^\[ Tavrin \]' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "no list window showed within 10 s" >&2
    exit 1
  fi
  sleep 1.5  # let the rows paint
  import -window "$window" "$(shot list)"
  echo "list window: $(xdotool getwindowname "$window" | tr -d '\r')"
  echo "screenshot at $dpi DPI: $(shot list)"
  exit 0  # closing the Wine session ends Tavrin
fi

if [ "$mode" = download ]; then
  step="starting the slow local server"
  # 8 MB at about 200 KB/s, with its size announced.
  python3 -u -c '
import http.server, sys, time
class Slow(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def log_message(self, *args): pass
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Length", str(8 << 20))
        self.end_headers()
        try:
            for _ in range(8 << 6):
                self.wfile.write(b"%" * (16 << 10)); self.wfile.flush(); time.sleep(0.08)
        except (BrokenPipeError, ConnectionResetError):
            pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Slow)
server.daemon_threads = True
print(server.server_address[1])
server.serve_forever()' > "$run/port" &
  server_pid=$!
  trap 'rc=$?; kill $server_pid 2>/dev/null || true; wine_env_stop; [ $rc -ne 0 ] && echo "run-demo.sh FAILED while ${step:-starting} (exit $rc)" >&2' EXIT
  for _ in $(seq 50); do [ -s "$run/port" ] && break; sleep 0.1; done
  url="http://127.0.0.1:$(head -1 "$run/port")/manuals/guide-2008.pdf"
  step="running Tavrin.exe (download)"
  echo "Tavrin.exe $url"
  (cd "$run" && wine Tavrin.exe "$url" </dev/null >/dev/null 2>&1) &
  tavrin_pid=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --name 'ダウンロード中' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "no progress window showed within 10 s" >&2
    exit 1
  fi
  sleep 2.5  # a few seconds of figures
  import -window "$window" "$(shot progress)"
  echo "progress window: $(xdotool getwindowname "$window")"
  # Cancel, as a person would: the button sits at the bottom right.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1
  wait "$tavrin_pid" || true
  ls "$run"/temp
  echo "screenshot at $dpi DPI: $(shot progress)"
  exit 0
fi

echo "Tavrin.exe $url"
(cd "$run" && wine Tavrin.exe "$url" </dev/null >/dev/null 2>&1) &
tavrin_pid=$!
log="$run/demo_viewer.exe.log"
for _ in $(seq 100); do [ -s "$log" ] && break; sleep 0.1; done
wait "$tavrin_pid" || true
if [ ! -s "$log" ]; then
  echo "Tavrin started nothing within 10 s (no $log)" >&2
  exit 1
fi
sleep 1.5  # let the demo window paint
import -window root "$(shot screenshot)"

echo "started: demo_viewer.exe (the [.html] block of Tavrin.ini)"
iconv -f CP932 -t UTF-8 "$log" | tr -d '\r'
echo "screenshot at $dpi DPI: $(shot screenshot)"
