# The Windows zip's demo show and the check of the finished zip. Sourced by
# scripts/windows.sh after scripts/windows-deps.sh.

# The version of the configured Windows build in $1 (its CMake project).
vlo_project_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# The demo show is the same on every system: a native Release build of its
# generator and vellumo-pack in $1 makes it in $1/demo-show. That build needs
# the Linux packages. Further arguments go to CMake (the compiler launcher).
vlo_windows_demo_show() {
  local dir=$1 jobs=$2
  shift 2
  echo "== Demo show (native build in $dir)"
  source "$root/scripts/packages.sh"
  vlo_install_packages
  { cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVLO_TESTS=OFF -DVLO_DEMO=ON "$@" &&
    nice -n 10 cmake --build "$dir" --target demo_show -j"$jobs"; } >"$dir.log" 2>&1 || {
    cat "$dir.log" >&2
    return 1
  }
  [ -f "$dir/demo-show/data.zuo" ] || { echo "The native build made no $dir/demo-show/data.zuo" >&2; return 1; }
}

# Unpacks the zip $1 and checks that it holds both programs, README.txt, the
# demo show, every DLL that a program or a bundled DLL imports (other than
# Windows' own, which Wine builds in), and a licence for Vellumo and every
# bundled library.
vlo_check_windows_zip() {
  local zip scratch folder binary dll name problems=()
  local system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
  zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  scratch=$(mktemp -d)
  (cd "$scratch" && cmake -E tar xf "$zip") || { rm -rf "$scratch"; return 1; }
  folder=$scratch/$(basename "$zip" .zip)
  for name in vellumo.exe vellumo-pack.exe README.txt Demo/data.zuo licenses/Vellumo/LICENSE; do
    [ -s "$folder/$name" ] || problems+=("no $name")
  done
  for binary in "$folder"/*.exe "$folder"/*.dll; do
    [ -f "$binary" ] || continue
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\tDLL Name: //p'); do
      if [ -z "$(find "$folder" -maxdepth 1 -iname "$dll")" ] && [ ! -f "$system_dlls/${dll,,}" ]; then
        problems+=("$(basename "$binary") imports $dll, which is neither in the zip nor a Windows DLL")
      fi
    done
  done
  for name in "${VLO_WINDOWS_SOURCES[@]}" libz-mingw-w64 gcc-mingw-w64-base mingw-w64-common; do
    [ "$name" = googletest ] || [ -s "$folder/licenses/$name/copyright" ] || problems+=("no licence for $name")
  done
  rm -rf "$scratch"
  if [ ${#problems[@]} -gt 0 ]; then
    printf "$(basename "$zip"): %s\n" "${problems[@]}" >&2
    return 1
  fi
  echo "$(basename "$zip"): $(du -k "$zip" | cut -f1) KiB; programs, DLLs, demo show, README.txt and licences complete"
}
