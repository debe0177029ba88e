# Sourced: decides once which Windows build runs under Wine here, and says
# so in one line. Some machines have no 32-bit user mode (every i386
# program, the 32-bit Wine loader included, fails with "Exec format
# error"); there the x86_64 build runs under 64-bit Wine. The release stays
# the i686 build either way.
#   TAVRIN_WINE_ARCH=32 or 64 forces a path; unset, the machine decides.
# Sets and exports TAVRIN_WINE_ARCH, and sets:
#   wine_build       build folder name of the build that runs (win, win64)
#   wine_toolchain   its CMake toolchain file
#   other_build      the other Windows build's folder name, built but not run
#   other_toolchain  its toolchain file
_arch_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Runs the 32-bit loader; anything but a version line means no 32-bit mode
# (exit 126 is "Exec format error"; a missing wine32 package counts too).
wine_arch_can_run_32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

case "${TAVRIN_WINE_ARCH:-}" in
  32) _arch_why="TAVRIN_WINE_ARCH=32" ;;
  64) _arch_why="TAVRIN_WINE_ARCH=64" ;;
  "")
    if wine_arch_can_run_32; then
      TAVRIN_WINE_ARCH=32; _arch_why="this machine runs 32-bit programs"
    else
      TAVRIN_WINE_ARCH=64
      _arch_why="this machine cannot run 32-bit programs (/usr/lib/wine/wine --version: exit $(/usr/lib/wine/wine --version >/dev/null 2>&1; echo $?))"
    fi ;;
  *) echo "TAVRIN_WINE_ARCH must be 32 or 64, not '$TAVRIN_WINE_ARCH'" >&2; return 2 ;;
esac
export TAVRIN_WINE_ARCH

if [ "$TAVRIN_WINE_ARCH" = 32 ]; then
  wine_build=win;   wine_toolchain=$_arch_root/cmake/mingw-i686.cmake
  other_build=win64; other_toolchain=$_arch_root/cmake/mingw-x86_64.cmake
  if [ -z "${TAVRIN_WINE_ARCH_SAID:-}" ]; then
    echo "wine: 32-bit: the i686 build under 32-bit Wine ($_arch_why)"
  fi
else
  wine_build=win64; wine_toolchain=$_arch_root/cmake/mingw-x86_64.cmake
  other_build=win;  other_toolchain=$_arch_root/cmake/mingw-i686.cmake
  if [ -z "${TAVRIN_WINE_ARCH_SAID:-}" ]; then
    echo "wine: 64-bit: the x86_64 build under 64-bit Wine ($_arch_why); the release stays i686"
  fi
fi
# Scripts that call each other say it once.
export TAVRIN_WINE_ARCH_SAID=1
