# The Windows tool chain and the libraries Vellumo links, built with
# mingw-w64 from Debian's own source packages. Sourced by scripts/windows.sh.
# Editing this file (or the toolchain file) rebuilds the prefix.

VLO_WINDOWS_TOOLS=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev wine64 wine dpkg-dev cmake make pkg-config autoconf automake libtool autopoint
  librsvg2-bin icoutils
)

# Source packages, in build order (later ones link earlier ones). zlib comes
# prebuilt from libz-mingw-w64-dev. The LGPL ones (mpg123, lame, libsndfile,
# libexif, taglib) are built as DLLs, so that the zip carries them as files a
# user can replace; the others are static.
VLO_WINDOWS_SOURCES=(libpng1.6 libjpeg-turbo googletest libogg libvorbis opus flac mpg123 lame libsndfile libmodplug
  libsdl2 freetype libexif taglib)

# Static zlib: the DLLs that use it then need no zlib1.dll.
VLO_WINDOWS_ZLIB=/usr/x86_64-w64-mingw32/lib/libz.a
# The DLLs carry the compiler's runtime (libgcc, libstdc++, winpthread), as the
# programs do, so that neither needs the compiler's DLLs. For libtool, which
# keeps -static for itself, the C libraries pass -static-libgcc.
VLO_DLL_LDFLAGS="-static -static-libgcc -static-libstdc++"

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

# The .dsc file names of the source packages apt-get source would fetch:
# name and exact version, one a line (one apt-get call: each takes seconds).
# It runs in / because apt-get leaves out the files already in the current
# folder.
vlo_source_dsc() {
  (cd / && apt-get source --print-uris -qq "$@") | grep -o "[^/']*\.dsc'" | tr -d "'"
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

# Only libmpg123: its own targets of the autotools build (the output library
# and the programs are not needed). Autotools rather than the CMake port,
# whose Windows DLL lacks the plain-named offset functions (mpg123_seek)
# libsndfile calls.
vlo_build_mpg123() {
  local source
  source=$(cd "$1" && pwd)
  (cd "$source" && ./configure --host=x86_64-w64-mingw32 --prefix="$VLO_PREFIX" --enable-shared --disable-static \
    --disable-modules --with-audio=dummy --with-default-audio=dummy CC=x86_64-w64-mingw32-gcc-posix \
    LDFLAGS=-static-libgcc >"$source.configure.log" 2>&1 &&
    nice -n 10 make -j"$VLO_JOBS" src/libmpg123/libmpg123.la >"$source.build.log" 2>&1 &&
    make install-libLTLIBRARIES install-includeHEADERS install-nodist_includeHEADERS install-pkgconfigDATA \
      lib_LTLIBRARIES=src/libmpg123/libmpg123.la nodist_include_HEADERS=src/libmpg123/mpg123.h \
      pkgconfig_DATA=libmpg123.pc >"$source.install.log" 2>&1)
}

# Only the encoding library. Its export list names lame_init_old, which the
# 3.100 sources no longer define; a Windows DLL cannot export a missing symbol.
# Configured again, as Debian does, for its patches' lame.pc (the tests'
# MP3 encoder is found by it). Its configure sets no optimisation for a cross
# compiler: -O2 as Debian's.
vlo_build_lame() {
  sed -i '/^lame_init_old$/d' "$1/include/libmp3lame.sym"
  (cd "$1" && autoreconf -fi >"$1.autoreconf.log" 2>&1) || return 1
  vlo_autotools_dep "$1" --enable-shared --disable-static --disable-frontend \
    --disable-analyzer-hooks CFLAGS=-O2 LDFLAGS=-static-libgcc
}

# A DLL holding the static Ogg, Vorbis, Opus and FLAC; MP3 through the mpg123
# and lame DLLs. Static FLAC: without FLAC__NO_DLL its header declares
# dllimport functions. Opus's fortified code needs libssp, linked in
# statically after everything else.
vlo_build_libsndfile() {
  vlo_cmake_dep "$1" -DBUILD_SHARED_LIBS=ON -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DENABLE_CPACK=OFF \
    -DENABLE_PACKAGE_CONFIG=ON -DENABLE_EXTERNAL_LIBS=ON -DENABLE_MPEG=ON -DCMAKE_C_FLAGS="-DFLAC__NO_DLL" \
    -DCMAKE_SHARED_LINKER_FLAGS="$VLO_DLL_LDFLAGS" \
    -DCMAKE_C_STANDARD_LIBRARIES="-Wl,-Bstatic,-lssp,-Bdynamic -lkernel32 -luser32 -lshell32 -ladvapi32"
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

# Debian's tarball has no configure script.
vlo_build_libexif() {
  (cd "$1" && autoreconf -fi >"$1.autoreconf.log" 2>&1) || return 1
  vlo_autotools_dep "$1" --enable-shared --disable-static --disable-nls LDFLAGS=-static-libgcc
}

# The C++ library only (no C bindings). Debian's patch includes the UTF-8
# helpers as <utf8/checked.h> from its own package; the tarball carries the
# same headers in 3rdparty/utf8-cpp. CMake ends its libraries with
# -Bdynamic (after the static zlib), which would pull in libstdc++'s DLL
# despite -static-libstdc++: the link ends static.
vlo_build_taglib() {
  mkdir -p "$1/3rdparty/include"
  ln -sfn ../utf8-cpp "$1/3rdparty/include/utf8"
  vlo_cmake_dep "$1" -DCMAKE_CXX_FLAGS="-I$(cd "$1" && pwd)/3rdparty/include" -DBUILD_SHARED_LIBS=ON \
    -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF -DWITH_ZLIB=ON -DZLIB_LIBRARY="$VLO_WINDOWS_ZLIB" \
    -DCMAKE_SHARED_LINKER_FLAGS="$VLO_DLL_LDFLAGS" -DCMAKE_CXX_STANDARD_LIBRARIES="-lkernel32 -Wl,-Bstatic"
}

# apt-get source counts a missing detached signature of an upstream tarball
# (.asc, absent from some mirrors) as a failure and leaves the source packed.
# apt has checked every file it did fetch against the archive's signed index,
# so the source is unpacked without that signature; any other failure stands.
vlo_unpack_without_signature() {
  local name=$1 dsc
  grep '^E: ' "$name.fetch.log" | grep -v 'Failed to fetch some archives' | grep -qv '\.asc ' && return 1
  dsc=$(find . -maxdepth 1 -name "${name}_*.dsc" | head -1)
  [ -n "$dsc" ] && dpkg-source -x --no-check "$dsc" >>"$name.fetch.log" 2>&1
}

# The licence texts the Windows zip carries for each library (googletest is
# only linked into the tests): Debian's copyright file and upstream's own
# licence files, in $VLO_PREFIX/share/vellumo-licenses/NAME. zlib and the
# compiler's runtime (libgcc, libstdc++, winpthreads, the CRT start-up code)
# come from the installed packages' copyright files.
vlo_collect_licenses() {
  local name=$1 folder=$2 target=$VLO_PREFIX/share/vellumo-licenses/$1
  [ "$name" = googletest ] && return 0
  mkdir -p "$target"
  cp "$folder/debian/copyright" "$target/copyright"
  # FreeType keeps its licence in docs/, libjpeg-turbo the IJG's in README.ijg.
  find "$folder" -maxdepth 1 -type f \( -iname 'COPYING*' -o -iname 'LICEN[CS]E*' -o -iname 'COPYRIGHT*' \
    -o -name README.ijg \) -exec cp {} "$target/" \;
  [ ! -f "$folder/docs/FTL.TXT" ] || cp "$folder/docs/FTL.TXT" "$target/"
}

vlo_collect_toolchain_licenses() {
  local package
  for package in libz-mingw-w64 gcc-mingw-w64-base mingw-w64-common; do
    mkdir -p "$VLO_PREFIX/share/vellumo-licenses/$package"
    cp "/usr/share/doc/$package/copyright" "$VLO_PREFIX/share/vellumo-licenses/$package/copyright"
  done
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
    vlo_source_dsc "${VLO_WINDOWS_SOURCES[@]}"
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
    echo "== $name"
    (cd "$build/sources" && { apt-get source -qq --only-source "$name" >"$name.fetch.log" 2>&1 ||
      vlo_unpack_without_signature "$name"; }) || {
      cat "$build/sources/$name.fetch.log" >&2
      return 1
    }
    folder=$(find "$build/sources" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -1)
    if ! "vlo_build_$name" "$folder"; then
      echo "Building $name failed; the logs are $folder.*.log" >&2
      tail -20 "$folder".*.log >&2
      return 1
    fi
    vlo_collect_licenses "$name" "$folder"
  done
  vlo_collect_toolchain_licenses
  echo "$key" >"$VLO_PREFIX/.key"
}
