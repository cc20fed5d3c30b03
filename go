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
  zenity clang clang-format libclang-rt-14-dev lsp-plugins-vst x11-apps xdg-utils libjack-jackd2-dev jackd2)

# The Windows cross build (mingw-w64 with POSIX threads, GoogleTest sources) and its tests
# under wine.
WIN_PACKAGES=(g++-mingw-w64-x86-64-posix googletest)
WINE_PACKAGES=(wine wine64 xvfb xauth)
BUILD_WIN=${BUILD_WIN_DIR:-$ROOT/build-win}

setup() {
  install_missing "${PACKAGES[@]}"
}

# Installs those of the named Debian packages that are missing.
install_missing() {
  local missing=()
  for p in "$@"; do
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

# Configures a build folder once; later runs only bring its warnings-as-errors setting (WERROR)
# up to date.
configure_in() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" -DORV_WERROR="${WERROR:-OFF}"
  elif [ -n "${WERROR:-}" ]; then
    cmake -S "$ROOT" -B "$dir" -DORV_WERROR="$WERROR" >/dev/null
  fi
}

configure() {
  configure_in "$BUILD" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
}

build() {
  configure
  cmake --build "$BUILD" -j "$JOBS"
}

# The Windows build: the generators of the artwork and the recordings run natively (from the
# Linux build folder), everything else is cross-built with mingw-w64 into $BUILD_WIN.
build_windows() {
  install_missing "${WIN_PACKAGES[@]}"
  configure
  # The generators, and the Linux module and orv-render that the Windows renders are compared with.
  cmake --build "$BUILD" -j "$JOBS" --target orv-make-recordings orv-artwork orv-render OrvGyrola2
  configure_in "$BUILD_WIN" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DORV_HOST_BUILD_DIR="$BUILD"
  cmake --build "$BUILD_WIN" -j "$JOBS" ${1:+--target "$@"}
}

# The Windows tests under wine (one prefix in the build folder, see tools/wine-run.sh.in), with
# an X display for the tests that open windows; wine's server is stopped afterwards.
windows_tests() {
  build_windows
  install_missing "${WINE_PACKAGES[@]}" python3
  local status=0
  (cd "$BUILD_WIN" && xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \
    'ctest --output-on-failure -j "$1" ${2:-}; status=$?; WINEPREFIX="$PWD/wineprefix" /usr/lib/wine/wineserver -k; exit $status' \
    sh "$JOBS" "${CTEST_ARGS:-}") || status=$?
  return $status
}

# Every C and C++ source follows .clang-format; this lists the files that do not and fails.
check_format() {
  local files
  if git -C "$ROOT" rev-parse --git-dir >/dev/null 2>&1; then
    files=$(git -C "$ROOT" ls-files -- src tools tests bench resources | grep -E '\.(c|cpp|h)$')
  else
    files=$(find src tools tests bench resources -name '*.c' -o -name '*.cpp' -o -name '*.h')
  fi
  # shellcheck disable=SC2086
  clang-format --dry-run --Werror $files
}

run_tests() {
  (cd "$BUILD" && ctest --output-on-failure -j "$JOBS" ${CTEST_ARGS:-})
}

# Runs one step of ./go test and says how long it took.
phase() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}

# One clang build with AddressSanitizer + UndefinedBehaviorSanitizer serves both the sanitized
# test run and the fuzz targets (clang compiles it about three times faster than g++ does).
sanitized_configure() {
  CC=clang CXX=clang++ configure_in "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON \
    -DORV_SANITIZE=address,undefined
}

# The unit and host tests under ASan + UBSan: the module there is sanitized too, and the host
# tests that load it are sanitized programs, so its reports reach them.
asan_tests() {
  local dir=${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
  sanitized_configure "$dir"
  cmake --build "$dir" -j "$JOBS" --target orv_tests
  (cd "$dir" && ctest --output-on-failure -j "$JOBS" ${CTEST_ARGS:-})
}

# Test programs and the gtest filters of their cross-thread tests (tests/unit/threads,
# docs/threading.md), run under ThreadSanitizer.
TSAN_TESTS=(
  "test_threads:*"
)

tsan_tests() {
  local tsan=${TSAN_BUILD_DIR:-$ROOT/build-tsan} entry program filter
  configure_in "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=thread
  for entry in "${TSAN_TESTS[@]}"; do
    program=${entry%%:*}
    filter=${entry#*:}
    cmake --build "$tsan" -j "$JOBS" --target "$program"
    TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" "$tsan/tests/$program" --gtest_filter="$filter"
  done
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
  sanitized_configure "$dir"
  # The targets share a budget of FUZZ_TOTAL_SECONDS (120) unless FUZZ_SECONDS sets each one's.
  # The whole-interface target checks half a second of audio per input, a hundred times the
  # work of the others' inputs: it gets three shares of the budget, every other target one.
  local corpus name work shares=0 seconds
  for corpus in "$ROOT"/tests/fuzz/corpus/*/; do
    [ "$(basename "$corpus")" = interface ] && shares=$((shares + 3)) || shares=$((shares + 1))
  done
  for corpus in "$ROOT"/tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    seconds=${FUZZ_SECONDS:-$(( ${FUZZ_TOTAL_SECONDS:-120} / (shares > 0 ? shares : 1) ))}
    [ -z "${FUZZ_SECONDS:-}" ] && [ "$name" = interface ] && seconds=$((seconds * 3))
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

# One zip per platform in ./dist: the module (stripped of debug information), the user manual
# and the licence of the embedded font.
dist() {
  install_missing zip
  build
  build_windows OrvGyrola2
  local version out=$ROOT/dist stage
  version=$(sed -n 's/^project(OrvGyrola2 VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
  mkdir -p "$out"
  for platform in linux-x86_64 windows-x64; do
    stage=$(mktemp -d)
    if [ "$platform" = windows-x64 ]; then
      x86_64-w64-mingw32-strip -o "$stage/OrvGyrola2.dll" "$BUILD_WIN/OrvGyrola2.dll"
    else
      strip -o "$stage/OrvGyrola2.so" "$BUILD/OrvGyrola2.so"
    fi
    cp "$ROOT/docs/manual.html" "$stage/OrvGyrola2-manual.html"
    cp /usr/share/doc/fonts-liberation2/copyright "$stage/OrvGyrola2-font-licence.txt"
    rm -f "$out/OrvGyrola2-$version-$platform.zip"
    (cd "$stage" && zip -q -X "$out/OrvGyrola2-$version-$platform.zip" ./*)
    rm -rf "$stage"
    echo "written $out/OrvGyrola2-$version-$platform.zip"
  done
}

cmd=${1:-help}
shift || true
case "$cmd" in
  setup) setup ;;
  build) setup; build ;;
  test)
    # Every build here treats warnings as errors.
    setup
    export WERROR=ON
    phase format check_format
    phase build build
    phase tests run_tests
    phase asan-tests asan_tests
    phase tsan-tests tsan_tests
    phase fuzz fuzz
    phase windows-tests windows_tests
    ;;
  format) setup; (cd "$ROOT" && git ls-files -- src tools tests bench resources | grep -E '\.(c|cpp|h)$' | xargs clang-format -i) ;;
  check-format) setup; check_format ;;
  test-windows) setup; windows_tests ;;
  dist) setup; dist ;;
  build-windows) setup; build_windows ;;
  test-asan) setup; asan_tests ;;
  fuzz) setup; fuzz ;;
  test-tsan) setup; tsan_tests ;;
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
    echo "usage: ./go setup|build|build-windows|format|check-format|test|test-windows|test-asan|test-tsan|fuzz|demo|bench|install|dist|artwork-sheet"
    ;;
esac
