# Shared by scripts/run and scripts/test: apt packages and the CMake build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-translations-l10n fonts-ipafont-gothic xvfb xauth x11-apps x11-utils imagemagick
  xdg-utils file poppler-utils openbox xdotool
  ser2net
)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_build [cmake options...]: configures build/ (once, or again when
# the options change) and builds everything.
configure_build() {
  local gen=()
  [ -f "$BUILD/CMakeCache.txt" ] || gen=(-G Ninja)
  # A compiler cache, where the machine has one, makes a rebuild of a fresh
  # clone cheap; the build is the same without it.
  if command -v ccache >/dev/null 2>&1; then
    gen+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD" "${gen[@]}" "$@" >/dev/null
  cmake --build "$BUILD" -j"$(nproc)"
}
