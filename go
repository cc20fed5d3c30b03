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
  zenity clang libclang-rt-14-dev lsp-plugins-vst x11-apps xdg-utils libjack-jackd2-dev jackd2)

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

# Runs every libFuzzer target (fuzz_<name>, seeds in tests/fuzz/corpus/<name>) for a bounded
# time in its own clang build; skipped when clang is missing. New inputs stay in a scratch
# folder, findings are written to the fuzz build folder and fail the run.
fuzz() {
  if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ not found: fuzzing skipped"
    return 0
  fi
  local dir=${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
  if [ ! -f "$dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORV_FUZZ=ON -DORV_SANITIZE=address,undefined
  fi
  # The targets share a budget of FUZZ_TOTAL_SECONDS (120) unless FUZZ_SECONDS sets each one's.
  local corpus name work count seconds
  count=$(find "$ROOT"/tests/fuzz/corpus -mindepth 1 -maxdepth 1 -type d | wc -l)
  seconds=${FUZZ_SECONDS:-$(( ${FUZZ_TOTAL_SECONDS:-120} / (count > 0 ? count : 1) ))}
  for corpus in "$ROOT"/tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    ASAN_OPTIONS=detect_leaks=0 cmake --build "$dir" -j "$JOBS" --target "fuzz_$name"
    work=$(mktemp -d)
    cp "$corpus"* "$work"/
    echo "fuzzing $name for $seconds s"
    if ! "$dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -close_fd_mask=2 \
      -artifact_prefix="$dir/fuzz_$name-" "$work"; then
      rm -rf "$work"
      return 1
    fi
    rm -rf "$work"
  done
}

cmd=${1:-help}
shift || true
case "$cmd" in
  setup) setup ;;
  build) setup; build ;;
  test) setup; build; run_tests; fuzz ;;
  fuzz) setup; fuzz ;;
  test-tsan)
    # The cross-thread tests (tests/unit/threads, docs/threading.md) under ThreadSanitizer, in a
    # build folder of their own.
    setup
    tsan="${TSAN_BUILD_DIR:-$ROOT/build-tsan}"
    [ -f "$tsan/build.ninja" ] || cmake -S "$ROOT" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=thread
    cmake --build "$tsan" -j "$JOBS" --target test_threads
    TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" "$tsan/tests/test_threads"
    ;;
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
    # The live player, which finds the module there once installed.
    if [ -x "$BUILD/tools/orv-play" ]; then
      mkdir -p "$HOME/.local/bin"
      cp "$BUILD/tools/orv-play" "$HOME/.local/bin/"
      echo "installed $HOME/.local/bin/orv-play"
    fi
    # The user manual goes beside the module; the plug-in finds it through the "ManualPath"
    # setting (written to a temporary file and renamed, as the plug-in writes its settings).
    cp "$ROOT/docs/manual.html" "$HOME/.vst/OrvGyrola2-manual.html"
    # The module embeds Liberation Sans; its licence travels with it.
    cp /usr/share/doc/fonts-liberation2/copyright "$HOME/.vst/OrvGyrola2-font-licence.txt"
    case "${XDG_CONFIG_HOME:-}" in
      /*) settings="$XDG_CONFIG_HOME/Orvaline/ORVGYR2" ;;
      *) settings="$HOME/.config/Orvaline/ORVGYR2" ;;
    esac
    mkdir -p -m 700 "$settings"
    printf '%s' "$HOME/.vst/OrvGyrola2-manual.html" > "$settings/.ManualPath.install"
    mv -f "$settings/.ManualPath.install" "$settings/ManualPath"
    echo "installed $HOME/.vst/OrvGyrola2-manual.html (ManualPath in $settings)"
    ;;
  artwork-sheet)
    setup; configure
    cmake --build "$BUILD" --target orv_artwork_png orv-artwork
    "$BUILD/resources/artwork/orv-artwork" sheet "$BUILD/generated/artwork" "$BUILD/artwork-sheet.png"
    echo "contact sheet of every bitmap written to $BUILD/artwork-sheet.png"
    ;;
  help|*)
    echo "usage: ./go setup|build|test|test-tsan|demo|bench|install|artwork-sheet"
    ;;
esac
