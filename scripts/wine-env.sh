# Sourced: a private 32-bit Wine prefix in Japanese locale, a headless X
# server and one long-lived wineserver for a whole test run.
#   source scripts/wine-env.sh <build-dir>   then   wine_env_stop
_wine_build_dir=$(cd "${1:?build dir}" && pwd)
# TAVRIN_WINE_SESSION names one of several sessions that run side by side:
# each has a prefix, a display and a wineserver of its own.
export WINEPREFIX="$_wine_build_dir/wineprefix${TAVRIN_WINE_SESSION:+-$TAVRIN_WINE_SESSION}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
unset LC_ALL

if [ -z "${TAVRIN_KEEP_DISPLAY:-}" ]; then
  # Sessions started together search different ranges, so that two never
  # pick the same free display.
  _wine_first=$(( 90 + 60 * ${TAVRIN_WINE_DISPLAY_SLOT:-0} ))
  for n in $(seq "$_wine_first" $(( _wine_first + 59 ))); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then _wine_disp=$n; break; fi
  done
  Xvfb ":$_wine_disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  _wine_xvfb_pid=$!
  export DISPLAY=":$_wine_disp"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$_wine_disp" ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/.tavrin-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w
  touch "$WINEPREFIX/.tavrin-ready"
fi

setsid wineserver -p -f >/dev/null 2>&1 &
_wine_server_pid=$!
# The first program started in a session brings up the prefix's services,
# which stay alive with that program's stdout and stderr. Start them here
# with /dev/null, or a test runner that reads a test's output (ctest) waits
# for the services to end, which they never do while the server lives.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

# What the shell opens in "the web browser" goes to a recording script, so
# tests can see it and nothing else starts.
_wine_src_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PATH="$_wine_src_dir/tests/e2e:$PATH"
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d tavrin-browser-log /f </dev/null >/dev/null 2>&1 || true

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wait "$_wine_server_pid" 2>/dev/null || true
  if [ -n "${_wine_xvfb_pid:-}" ]; then kill "$_wine_xvfb_pid" 2>/dev/null || true; wait "$_wine_xvfb_pid" 2>/dev/null || true; fi
}
