# Sourced: a private Wine prefix in Japanese locale, a headless X server and
# one long-lived wineserver for a whole test run. The prefix is 32-bit or
# 64-bit as scripts/wine-arch.sh decided (TAVRIN_WINE_ARCH); its display
# resolution is TAVRIN_WINE_DPI (96 unless set); TAVRIN_WINE_LOCALE=en_US
# makes it an English (United States) Windows, whose code page is 1252,
# with Japanese glyphs linked into its fonts (ja_JP unless set).
#   source scripts/wine-env.sh <build-dir>   then   wine_env_stop
# A session that cannot start says why on stderr and returns non-zero.
_wine_build_dir=$(cd "${1:?build dir}" && pwd)
_wine_src_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-arch.sh
source "$_wine_src_dir/scripts/wine-arch.sh" || return
# TAVRIN_WINE_SESSION names one of several sessions that run side by side:
# each has a prefix, a display and a wineserver of its own.
_wine_session=${TAVRIN_WINE_SESSION:-main}
export WINEPREFIX="$_wine_build_dir/wineprefix${TAVRIN_WINE_SESSION:+-$TAVRIN_WINE_SESSION}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
_wine_locale=${TAVRIN_WINE_LOCALE:-ja_JP}
case "$_wine_locale" in
  ja_JP|en_US) ;;
  *) echo "wine session '$_wine_session' cannot start: TAVRIN_WINE_LOCALE is ja_JP or en_US, not '$_wine_locale'" >&2; return 1 ;;
esac
export LANG=$_wine_locale.UTF-8
unset LC_ALL

wine_env_fail() {  # what failed, log file (optional)
  echo "wine session '$_wine_session' cannot start: $1" >&2
  if [ -n "${2:-}" ] && [ -s "$2" ]; then
    echo "  last lines of $2:" >&2
    tail -n 8 "$2" | sed 's/^/    /' >&2
  fi
  wine_env_stop
  return 1
}

if [ "$TAVRIN_WINE_ARCH" = 64 ]; then
  export WINEARCH=win64
  # Debian's wine and wineserver commands pick the 32-bit loader whenever
  # it is installed, and /usr/lib/wine/wine64 refuses to start through a
  # link named wine: small scripts early on PATH start the 64-bit ones.
  _wine_bin="$_wine_build_dir/wine-bin"
  mkdir -p "$_wine_bin"
  for n in wine wine-stable wine64; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$_wine_bin/$n"
  done
  for n in wineserver wineserver-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' > "$_wine_bin/$n"
  done
  for n in wineboot winepath; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 %s.exe "$@"\n' "$n" > "$_wine_bin/$n"
  done
  chmod +x "$_wine_bin"/*
  export PATH="$_wine_bin:$PATH"
  export WINELOADER=/usr/lib/wine/wine64
  _wine_loader=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  _wine_loader=/usr/lib/wine/wine
fi

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${_wine_server_pid:-}" ] && { kill "$_wine_server_pid" 2>/dev/null || true; wait "$_wine_server_pid" 2>/dev/null || true; }
  if [ -n "${_wine_xvfb_pid:-}" ]; then kill "$_wine_xvfb_pid" 2>/dev/null || true; wait "$_wine_xvfb_pid" 2>/dev/null || true; fi
  _wine_server_pid=; _wine_xvfb_pid=
}

if [ ! -x "$_wine_loader" ]; then
  wine_env_fail "$_wine_loader is missing (scripts/install-deps.sh installs it)"; return
fi
if ! "$_wine_loader" --version >/dev/null 2>&1; then
  wine_env_fail "$_wine_loader does not run on this machine (exit $("$_wine_loader" --version >/dev/null 2>&1; echo $?)); TAVRIN_WINE_ARCH=${TAVRIN_WINE_ARCH}"
  return
fi

if [ -z "${TAVRIN_KEEP_DISPLAY:-}" ]; then
  # Sessions started together search different ranges, so that two never
  # pick the same free display.
  _wine_first=$(( 90 + 60 * ${TAVRIN_WINE_DISPLAY_SLOT:-0} ))
  _wine_disp=
  for n in $(seq "$_wine_first" $(( _wine_first + 59 ))); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then _wine_disp=$n; break; fi
  done
  [ -n "$_wine_disp" ] || { wine_env_fail "no free X display in :$_wine_first..:$(( _wine_first + 59 ))"; return; }
  Xvfb ":$_wine_disp" -screen 0 1280x1024x24 -nolisten tcp >"$_wine_build_dir/xvfb-$_wine_session.log" 2>&1 &
  _wine_xvfb_pid=$!
  export DISPLAY=":$_wine_disp"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$_wine_disp" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$_wine_disp" ] ||
    { wine_env_fail "Xvfb :$_wine_disp did not start" "$_wine_build_dir/xvfb-$_wine_session.log"; return; }
fi

_wine_log="$_wine_build_dir/wine-$_wine_session.log"
: > "$_wine_log"
# A prefix of the other architecture cannot be used: start afresh.
if [ -f "$WINEPREFIX/.tavrin-ready" ] && [ "$(cat "$WINEPREFIX/.tavrin-ready")" != "$WINEARCH" ]; then
  rm -f "$WINEPREFIX/.tavrin-ready"
fi
if [ ! -f "$WINEPREFIX/.tavrin-ready" ]; then
  rm -rf "$WINEPREFIX"
  # A server of this prefix left over from an earlier run would make
  # "wineserver -w" wait for ever.
  wineserver -k >/dev/null 2>&1 || true
  wineboot -i >>"$_wine_log" 2>&1 || true
  timeout 120 wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] ||
    { wine_env_fail "wineboot made no prefix in $WINEPREFIX" "$_wine_log"; return; }
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$_wine_log" 2>&1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  timeout 120 wineserver -w
  echo "$WINEARCH" > "$WINEPREFIX/.tavrin-ready"
fi

# An English Windows has no Japanese glyphs in its interface fonts: link
# IPA Gothic into them, as a user of such a system adds a Japanese font, so
# that pictures of the program show its text. (The cases compare the text
# itself, not the pictures.) Wine rewrites the links of Tahoma, Microsoft
# Sans Serif and Lucida Sans Unicode whenever a program of another code
# page starts (Tavrin's manifest asks for 932), always to lists that name
# "MS UI Gothic" first, which is also the face a code page 932 program
# takes for its menus, captions and boxes: that name is made to stand for
# IPA Gothic. The faces Wine leaves alone are linked to it directly.
if [ "$_wine_locale" != ja_JP ] && [ ! -f "$WINEPREFIX/.tavrin-japanese-font" ]; then
  _wine_gothic=$(fc-match -f '%{file}' 'IPAGothic' 2>/dev/null)
  case "$(fc-match -f '%{family}' 'IPAGothic' 2>/dev/null)" in
    *IPAGothic*) ;;
    *) wine_env_fail "no IPA Gothic font for the English session (Debian: fonts-ipafont-gothic)"; return ;;
  esac
  cp -f "$_wine_gothic" "$WINEPREFIX/drive_c/windows/Fonts/"
  for face in "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "$(basename "$_wine_gothic"),IPAGothic" /f </dev/null >>"$_wine_log" 2>&1
  done
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" /d IPAGothic /f \
    </dev/null >>"$_wine_log" 2>&1
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.tavrin-japanese-font"
fi

# TAVRIN_WINE_DPI (96 unless set) is the resolution Wine reports to every
# program of the session, its small-icon size and fonts with it: the
# prefix's LogPixels, which the server reads as it starts. The prefix keeps
# the value last set; a session of another resolution sets it again.
_wine_dpi=${TAVRIN_WINE_DPI:-96}
case "$_wine_dpi" in
  ''|*[!0-9]*) wine_env_fail "TAVRIN_WINE_DPI must be a number of dots per inch, not '$_wine_dpi'"; return ;;
esac
if [ "$(cat "$WINEPREFIX/.tavrin-dpi" 2>/dev/null || echo 96)" != "$_wine_dpi" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$_wine_dpi" /f \
    </dev/null >>"$_wine_log" 2>&1 ||
    { wine_env_fail "cannot set LogPixels to $_wine_dpi in $WINEPREFIX" "$_wine_log"; return; }
  timeout 120 wineserver -w
  echo "$_wine_dpi" > "$WINEPREFIX/.tavrin-dpi"
fi

setsid wineserver -p -f >/dev/null 2>&1 &
_wine_server_pid=$!
# The first program started in a session brings up the prefix's services,
# which stay alive with that program's stdout and stderr. Start them here
# with /dev/null, or a test runner that reads a test's output (ctest) waits
# for the services to end, which they never do while the server lives.
if ! wine cmd.exe /c exit </dev/null >>"$_wine_log" 2>&1; then
  wine_env_fail "the first program in the prefix did not run" "$_wine_log"; return
fi

# What the shell opens in "the web browser" goes to a recording script, so
# tests can see it and nothing else starts.
export PATH="$_wine_src_dir/tests/e2e:$PATH"
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d tavrin-browser-log /f </dev/null >/dev/null 2>&1 || true
