#!/usr/bin/env bash
# Cross-builds Vellumo for 64-bit Windows with mingw-w64 (vellumo.exe,
# vellumo-pack.exe and the unit tests) and runs the unit tests under Wine,
# headless. Run as root on Debian 12: it
# installs the cross compiler and Wine, and builds the libraries from Debian's
# own source packages (apt-get source) into build-windows/prefix. That prefix
# is kept and rebuilt only when a source package's version, the compiler, the
# toolchain file or scripts/windows-deps.sh changes. It then writes
# build-windows/Vellumo-VERSION-win64.zip (the programs, their DLLs, the demo
# show, README.txt and the licences) and checks it. The demo show comes from
# the folder VLO_WINDOWS_DEMO_SHOW names (build-test/demo-show, say), else
# from a native build in build-windows/demo-native.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${VLO_WINDOWS_BUILD:-$root/build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)
jobs=$(nproc)

source scripts/windows-deps.sh
source scripts/windows-zip.sh
vlo_windows_install_tools
vlo_windows_build_prefix "$build" "$jobs"

# The program and its tests.
echo "== Vellumo for Windows"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# The zip's demo show: a finished show folder named by VLO_WINDOWS_DEMO_SHOW
# (the Linux build's demo-show), else one made by a native build.
demo_show=${VLO_WINDOWS_DEMO_SHOW:-$build/demo-native/demo-show}
# The configure writes the zip's CPack file again if the build still defines
# the zip.
rm -f "$build/vellumo/CPackConfig.cmake"
# The toolchain file's flags reach only a new cache (CMake reads its *_INIT
# values once), so a build folder configured before the file changed starts
# again.
fresh=()
if [ "$root/cmake/mingw-w64-x86_64.cmake" -nt "$build/vellumo/CMakeCache.txt" ]; then fresh=(--fresh); fi
cmake "${fresh[@]}" -S . -B "$build/vellumo" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVLO_WINDOWS_PREFIX="$build/prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLO_TESTS=ON "${launcher[@]}" \
  -DVLO_WINDOWS_DEMO_SHOW="$demo_show" \
  >"$build/vellumo-configure.log" 2>&1 || { cat "$build/vellumo-configure.log" >&2; exit 1; }
nice -n 10 cmake --build "$build/vellumo" -j"$jobs"

# The zip, once the build defines it (cmake/WindowsPackage.cmake).
if [ -f "$build/vellumo/CPackConfig.cmake" ]; then
  if [ -z "${VLO_WINDOWS_DEMO_SHOW:-}" ]; then
    vlo_windows_demo_show "$build/demo-native" "$jobs" "${launcher[@]}"
  fi
  [ -f "$demo_show/data.zuo" ] || { echo "No demo show in $demo_show" >&2; exit 1; }
  echo "== Vellumo-$(vlo_project_version "$build/vellumo")-win64.zip"
  (cd "$build/vellumo" && cpack -G ZIP -B "$build" >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
  vlo_check_windows_zip "$build/Vellumo-$(vlo_project_version "$build/vellumo")-win64.zip"
else
  echo "== No zip: the Windows build does not include cmake/WindowsPackage.cmake yet"
fi

# A Wine prefix of its own under the build folder, made once, and a virtual
# X server for the tests that open windows. No sound card: ALSA's null device
# in a HOME of the tests' own lets the audio open.
export WINEPREFIX="$build/wine"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$build/home"
mkdir -p "$HOME"
echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
display_number=90
while [ -e "/tmp/.X$display_number-lock" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1600x1300x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_number"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# The LGPL libraries are DLLs in the prefix (Wine takes the Unix path).
export WINEPATH="$build/prefix/bin"
# Wine's server and services outlive the programs and keep whatever output
# they inherited open: they get none, and are stopped at the end.
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true; kill "$xvfb_pid" 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix"
  # Its status is 2 on a 64-bit-only Wine (no 32-bit rundll32 for the
  # syswow64 part), which these 64-bit programs do not need.
  wine wineboot --init </dev/null >"$build/wineboot.log" 2>&1 || true
  # Without a window manager a window managed by Wine takes 2 s to go.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$build/wineboot.log" 2>&1
  # The registry files are written when the server ends.
  wineserver -w </dev/null >/dev/null 2>&1
  [ -f "$WINEPREFIX/system.reg" ] || { cat "$build/wineboot.log" >&2; exit 1; }
fi
# One server for all test programs: Debian's wrapper would otherwise start a
# new one for each (about 0.7 s).
wineserver -p 30 </dev/null >/dev/null 2>&1

status=0
for program in "$build"/vellumo/tests/test_*.exe; do
  name=$(basename "$program" .exe)
  echo "== $name under Wine"
  # The tests find their sample files through the source folder, which Wine
  # sees under the same path (drive Z: is the root).
  if (cd "$build/vellumo/tests" && wine "$program" --gtest_brief=1 </dev/null >"$name.log" 2>&1); then
    tail -3 "$build/vellumo/tests/$name.log"
  else
    cat "$build/vellumo/tests/$name.log"
    status=1
  fi
done
exit $status
