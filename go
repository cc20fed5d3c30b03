#!/usr/bin/env bash
# Project driver: set-up, build, test, demo, install and helpers.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
BUILD=${BUILD_DIR:-$ROOT/build}
JOBS=${JOBS:-2}

# Debian packages the build, the tests and the run-time dialogs need.
PACKAGES=(cmake g++ ninja-build pkg-config libcairo2-dev libx11-dev libxext-dev libfreetype-dev
  libsndfile1-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 xvfb xdotool libxtst-dev
  zenity clang libclang-rt-14-dev lsp-plugins-vst x11-apps)

setup() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() {
  if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
  fi
}

build() {
  configure
  cmake --build "$BUILD" -j "$JOBS"
}

run_tests() {
  (cd "$BUILD" && ctest --output-on-failure -j "$JOBS" ${CTEST_ARGS:-})
}

cmd=${1:-help}
shift || true
case "$cmd" in
  setup) setup ;;
  build) setup; build ;;
  test) setup; build; run_tests ;;
  demo)
    setup; build
    "$BUILD/tools/orv-render" --demo "$ROOT/demo-out.wav" --module "$BUILD/OrvGyrola2.so"
    echo "demo written to $ROOT/demo-out.wav"
    ;;
  bench)
    setup; build
    for b in "$BUILD"/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
    ;;
  install)
    setup; build
    mkdir -p "$HOME/.vst"
    cp "$BUILD/OrvGyrola2.so" "$HOME/.vst/"
    echo "installed $HOME/.vst/OrvGyrola2.so"
    ;;
  artwork-sheet)
    setup; configure
    cmake --build "$BUILD" --target orv_artwork_png orv-artwork
    "$BUILD/resources/artwork/orv-artwork" sheet "$BUILD/generated/artwork" "$BUILD/artwork-sheet.png"
    echo "contact sheet of every bitmap written to $BUILD/artwork-sheet.png"
    ;;
  help|*)
    echo "usage: ./go setup|build|test|demo|bench|install|artwork-sheet"
    ;;
esac
