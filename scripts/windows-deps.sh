# The Windows tool chain and the libraries Vellumo links, built with
# mingw-w64 from Debian's own source packages. Sourced by scripts/windows.sh.
# Editing this file (or the toolchain file) rebuilds the prefix.

VLO_WINDOWS_TOOLS=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev wine64 wine dpkg-dev cmake make pkg-config autoconf automake libtool
)

# Source packages, in build order (later ones link earlier ones). zlib comes
# prebuilt from libz-mingw-w64-dev.
VLO_WINDOWS_SOURCES=(libpng1.6 libjpeg-turbo googletest libogg libvorbis opus flac libsndfile libmodplug libsdl2 freetype)

vlo_windows_install_tools() {
  local missing=()
  for package in "${VLO_WINDOWS_TOOLS[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    [ "$(id -u)" -eq 0 ] || { echo "Missing packages. Run as root: apt-get install -y ${missing[*]}" >&2; return 1; }
    echo "== Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Source packages need a deb-src line for each suite the binaries come from,
  # less the security suite, whose sources the package mirrors here do not
  # serve (its fixes reach the libraries with the next point release).
  if ! apt-get source --print-uris -qq zlib >/dev/null 2>&1; then
    [ "$(id -u)" -eq 0 ] || { echo "No deb-src lines in the apt sources; run as root" >&2; return 1; }
    echo "== Adding deb-src lines"
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
      case "$file" in *vellumo-src*) continue ;; esac
      grep -q '^Types:.*\bdeb\b' "$file" || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" } !/debian-security/' "$file" | sed -e 's/^Types:.*/Types: deb-src/' \
        >"/etc/apt/sources.list.d/vellumo-src-$(basename "$file")"
    done
    if [ -f /etc/apt/sources.list ]; then
      sed -n '/debian-security/d; s/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/vellumo-src.list
    fi
    apt-get update -qq
  fi
}

# The .dsc file name of the source package apt-get source would fetch: name
# and exact version.
vlo_source_dsc() {
  apt-get source --print-uris -qq "$1" | grep -o "[^/']*\.dsc'" | tr -d "'"
}

# Configures, builds and installs one CMake project into the prefix.
vlo_cmake_dep() {
  local source
  source=$(cd "$1" && pwd)
  shift
  PKG_CONFIG_LIBDIR="$VLO_PREFIX/lib/pkgconfig" cmake --no-warn-unused-cli -S "$source" -B "$source/build-win" -DCMAKE_TOOLCHAIN_FILE="$VLO_TOOLCHAIN" \
    -DVLO_WINDOWS_PREFIX="$VLO_PREFIX" -DCMAKE_INSTALL_PREFIX="$VLO_PREFIX" -DCMAKE_PREFIX_PATH="$VLO_PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF "$@" >"$source.configure.log" 2>&1
  nice -n 10 cmake --build "$source/build-win" -j"$VLO_JOBS" >"$source.build.log" 2>&1
  cmake --install "$source/build-win" >"$source.install.log" 2>&1
}

# Configures, builds and installs one autotools project into the prefix.
vlo_autotools_dep() {
  local source
  source=$(cd "$1" && pwd)
  shift
  (cd "$source" && ./configure --host=x86_64-w64-mingw32 --prefix="$VLO_PREFIX" --enable-static --disable-shared \
    CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
    PKG_CONFIG_LIBDIR="$VLO_PREFIX/lib/pkgconfig" "$@" >"$source.configure.log" 2>&1 &&
    nice -n 10 make -j"$VLO_JOBS" >"$source.build.log" 2>&1 && make install >"$source.install.log" 2>&1)
}

vlo_build_libpng1.6() {
  vlo_cmake_dep "$1" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
}

# The 6.2 API (the default); no SIMD (it would need nasm).
vlo_build_libjpeg-turbo() {
  vlo_cmake_dep "$1" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
}

vlo_build_googletest() {
  vlo_cmake_dep "$1" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
}

vlo_build_libogg() {
  vlo_cmake_dep "$1"
}

vlo_build_libvorbis() {
  vlo_cmake_dep "$1"
}

# Opus's CMake files are incomplete in Debian's tarball; autotools works.
# Its fortified build calls __memcpy_chk and friends, which live in libssp.
vlo_build_opus() {
  vlo_autotools_dep "$1" --disable-doc --disable-extra-programs LIBS=-lssp
}

vlo_build_flac() {
  vlo_cmake_dep "$1" -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF \
    -DWITH_OGG=ON -DWITH_STACK_PROTECTOR=OFF
}

# Static FLAC: without FLAC__NO_DLL its header declares dllimport functions.
vlo_build_libsndfile() {
  vlo_cmake_dep "$1" -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DENABLE_CPACK=OFF -DENABLE_PACKAGE_CONFIG=ON \
    -DENABLE_EXTERNAL_LIBS=ON -DENABLE_MPEG=OFF -DCMAKE_C_FLAGS="-DFLAC__NO_DLL" \
    -DCMAKE_EXE_LINKER_FLAGS="-lssp" -DCMAKE_SHARED_LINKER_FLAGS="-lssp"
}

# Debian's tarball of 0.8.9.0 has no CMake files.
vlo_build_libmodplug() {
  vlo_autotools_dep "$1"
}

# Only SDL's audio (and what it cannot be built without: its static library
# still refers to the Windows video functions, so video stays in); the
# program keeps its own main (SDL_MAIN_HANDLED).
vlo_build_libsdl2() {
  vlo_cmake_dep "$1" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_RENDER=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF \
    -DSDL_MISC=OFF
}

vlo_build_freetype() {
  vlo_cmake_dep "$1" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_PNG=ON \
    -DFT_REQUIRE_ZLIB=ON
}

# Builds every source package into $1/prefix unless the prefix there was
# built from the same versions with the same recipe and compiler.
vlo_windows_build_prefix() {
  local build=$1
  VLO_JOBS=$2
  VLO_PREFIX=$build/prefix
  VLO_TOOLCHAIN=$root/cmake/mingw-w64-x86_64.cmake
  local key
  key=$(
    for name in "${VLO_WINDOWS_SOURCES[@]}"; do vlo_source_dsc "$name"; done
    x86_64-w64-mingw32-g++-posix --version | head -1
    sha256sum "$root/scripts/windows-deps.sh" "$VLO_TOOLCHAIN" | cut -d' ' -f1
  )
  if [ -f "$VLO_PREFIX/.key" ] && [ "$(cat "$VLO_PREFIX/.key")" = "$key" ]; then
    echo "== Libraries: cached in $VLO_PREFIX"
    return 0
  fi
  rm -rf "$VLO_PREFIX" "$build/sources"
  mkdir -p "$VLO_PREFIX" "$build/sources"
  local name folder
  for name in "${VLO_WINDOWS_SOURCES[@]}"; do
    echo "== $name: $(vlo_source_dsc "$name")"
    (cd "$build/sources" && apt-get source -qq --only-source "$name" >"$name.fetch.log" 2>&1) || {
      cat "$build/sources/$name.fetch.log" >&2
      return 1
    }
    folder=$(find "$build/sources" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -1)
    if ! "vlo_build_$name" "$folder"; then
      echo "Building $name failed; the logs are $folder.*.log" >&2
      tail -20 "$folder".*.log >&2
      return 1
    fi
  done
  echo "$key" >"$VLO_PREFIX/.key"
}
