# Shared by the scripts: apt packages and the CMake build trees.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The test tree: Debug with the sanitizers (scripts/test).
BUILD="$ROOT/build"

# What building and running the program needs (scripts/run): the compiler,
# Qt, the fonts the screen is drawn in, Qt's Japanese translations for its
# own dialogs, the desktop's opener.
BUILD_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins
  qt6-translations-l10n fonts-ipafont-gothic xdg-utils
)
# The tests, the benchmarks and the desktop check (scripts/test, scripts/bench).
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps x11-utils imagemagick file poppler-utils openbox xdotool
  ser2net python3
)
# Making and checking the Debian package (scripts/package, scripts/package-check);
# librsvg2-bin draws the icon's PNGs from its SVG (packaging/icons/render).
PACKAGING_PACKAGES=(
  dpkg-dev lintian desktop-file-utils appstream librsvg2-bin shared-mime-info
  xvfb xauth x11-utils xdotool openbox imagemagick libglib2.0-bin
)
# The fuzz targets (scripts/fuzz): clang with libFuzzer and its sanitizers.
FUZZ_PACKAGES=(clang libclang-rt-14-dev cmake ninja-build)
PACKAGES=("${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}")

# ensure_packages [PACKAGE...]: installs what is missing of the given packages
# (default: the build and test set). Installing is the only step that needs
# root: it asks for it through sudo, and only when something is missing.
ensure_packages() {
  local wanted=("$@") missing=()
  [ ${#wanted[@]} -gt 0 ] || wanted=("${PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  # Each package once, in order.
  local -A seen=()
  local unique=()
  for p in "${missing[@]}"; do [ -n "${seen[$p]:-}" ] || { seen[$p]=1; unique+=("$p"); }; done
  echo "== Missing packages: ${unique[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Installing them needs root. As root, run:" >&2
      echo "  apt-get update && apt-get install --no-install-recommends ${unique[*]}" >&2
      echo "then run this script again as yourself." >&2
      exit 1
    fi
    echo "== Installing them needs root: asking sudo."
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${unique[@]}"
}

build_jobs() { nproc; }

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
  cmake --build "$BUILD" -j"$(build_jobs)"
}

# The Release tree of the program (scripts/run, scripts/package): build-rel/
# in the clone when the calling user may write there; otherwise (a clone root
# set up) a folder of the user's own, one per clone.
release_tree() {
  local rel="$ROOT/build-rel"
  if { [ -d "$rel" ] && [ -w "$rel" ] && { [ ! -e "$rel/CMakeCache.txt" ] || [ -w "$rel/CMakeCache.txt" ]; }; } ||
    { [ ! -e "$rel" ] && [ -w "$ROOT" ]; }; then
    echo "$rel"
    return
  fi
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/kestrovan"
  echo "$cache/build-rel-$(printf '%s' "$ROOT" | md5sum | cut -c1-8)"
}

# Debian's hardening (what dpkg-buildflags gives with hardening=+all; PIE is
# the compiler's default): stack protector, fortified functions, read-only
# relocations bound at start.
HARDENING_CXXFLAGS="-fstack-protector-strong -Wformat -Werror=format-security -Wdate-time -D_FORTIFY_SOURCE=2"
HARDENING_LDFLAGS="-Wl,-z,relro -Wl,-z,now"

# configure_release TREE [cmake options...]: a Release build without the
# sanitizers, the tests or the benchmarks, hardened, installing under /usr.
configure_release() {
  local tree=$1
  shift
  local gen=()
  [ -f "$tree/CMakeCache.txt" ] || gen=(-G Ninja -DKESTROVAN_TESTS=OFF -DKESTROVAN_BENCH=OFF)
  if command -v ccache >/dev/null 2>&1; then
    gen+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  mkdir -p "$tree"
  cmake -S "$ROOT" -B "$tree" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DKESTROVAN_SANITIZE=OFF -DKESTROVAN_WERROR=OFF \
    -DCMAKE_CXX_FLAGS="$HARDENING_CXXFLAGS -ffile-prefix-map=$ROOT=." \
    -DCMAKE_EXE_LINKER_FLAGS="$HARDENING_LDFLAGS" "$@" >/dev/null
}
