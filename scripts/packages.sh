# The Debian packages Vellumo builds, runs and tests with. Sourced by the
# README's two commands.
VLO_PACKAGES=(
  build-essential cmake pkg-config git
  libsdl2-dev libsndfile1-dev libmodplug-dev libx11-dev libfreetype-dev libfontconfig-dev fonts-liberation
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libpng-dev libjpeg62-turbo-dev libturbojpeg0-dev zlib1g-dev libvorbis-dev libogg-dev libexif-dev
  libflac-dev libmp3lame-dev libtag1-dev
  libgtest-dev libbenchmark-dev
  xvfb xdotool x11-utils x11-xserver-utils imagemagick desktop-file-utils clang-format
  libsystemd-dev dbus playerctl weston appstream shared-mime-info xdg-utils icoutils
)

# Installs what is missing (as root), or says which apt-get line to run.
vlo_install_packages() {
  local missing=()
  for package in "${VLO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get install -y ${missing[*]}"
    return 1
  fi
}
