#!/bin/sh
# Renders the demo (or an excerpt) through the Linux module and through the Windows module
# (under wine) for each of the 24 factory programs and compares the two 24-bit renders sample
# by sample; then checks that the state chunk each module saves loads in the other.
#   tools/compare-renders.sh LINUX_RENDER LINUX_MODULE WINE_RUN WINDOWS_RENDER WINDOWS_MODULE DIR [MAX_LSB]
# Both modules come from the same sources and the same compiler version with the same flags, so
# the float arithmetic is the same; what may differ are the C library's mathematical functions
# (glibc's libm against msvcrt's and mingw-w64's), used when coefficients are computed. Their
# last-bit differences may reach the output, so up to MAX_LSB (default 2) steps of 24 bits
# (about -132 dBFS) are allowed.
set -eu
linux_render=$1 linux_module=$2 wine_run=$3 windows_render=$4 windows_module=$5 dir=$6
max_lsb=${7:-2}
mkdir -p "$dir"
# Largest sample difference of two 24-bit WAV files in steps of 24 bits (-1: lengths differ).
largest_difference() {
  python3 - "$1" "$2" <<'PY'
import sys, wave
def samples(path):
    with wave.open(path) as w:
        assert w.getsampwidth() == 3, path
        data = w.readframes(w.getnframes())
    return [int.from_bytes(data[i:i + 3], "little", signed=True) for i in range(0, len(data), 3)]
a, b = samples(sys.argv[1]), samples(sys.argv[2])
print(max(abs(x - y) for x, y in zip(a, b)) if len(a) == len(b) and a else -1)
PY
}

# The demo (12 s, the lever switched to fast and back) through program 0; then its first 3 s,
# as rendered, through each other factory program.
worst=0
for program in $(seq 0 23); do
  if [ "$program" -eq 0 ]; then
    input=--demo
  else
    input=$dir/input.wav
  fi
  "$linux_render" $input "$dir/linux-$program.wav" --module "$linux_module" --program "$program"
  "$wine_run" "$windows_render" $input "$dir/windows-$program.wav" --module "$windows_module" --program "$program"
  if [ "$program" -eq 0 ]; then
    python3 - "$dir/linux-0.wav" "$dir/input.wav" <<'PY'
import sys, wave
with wave.open(sys.argv[1]) as w:
    params, data = w.getparams(), w.readframes(3 * w.getframerate())
with wave.open(sys.argv[2], "wb") as out:
    out.setparams(params)
    out.writeframes(data)
PY
  fi
  diff=$(largest_difference "$dir/linux-$program.wav" "$dir/windows-$program.wav")
  echo "program $program: largest difference $diff LSB"
  if [ "$diff" -lt 0 ]; then
    echo "the renders differ in length"
    exit 1
  fi
  [ "$diff" -gt "$worst" ] && worst=$diff
done
echo "largest difference over the 24 programs: $worst LSB of 24 bits (allowed: $max_lsb)"
[ "$worst" -le "$max_lsb" ]

# The state chunk written by each module loads in the other: both list the same parameter
# values for either chunk.
"$linux_render" --demo "$dir/state.wav" --module "$linux_module" --program 5 --set 13=0.7 --set 0=0.25 \
  --save-state "$dir/linux.chunk"
"$wine_run" "$windows_render" --demo "$dir/state.wav" --module "$windows_module" --program 9 --set 13=0.3 \
  --set 0=0.75 --save-state "$dir/windows.chunk"
for chunk in linux windows; do
  "$linux_render" --list-params --module "$linux_module" --load-state "$dir/$chunk.chunk" >"$dir/$chunk-on-linux.txt"
  "$wine_run" "$windows_render" --list-params --module "$windows_module" --load-state "$dir/$chunk.chunk" |
    tr -d '\r' >"$dir/$chunk-on-windows.txt"
  cmp "$dir/$chunk-on-linux.txt" "$dir/$chunk-on-windows.txt"
done
if cmp -s "$dir/linux-on-linux.txt" "$dir/windows-on-linux.txt"; then
  echo "the two chunks hold different states, yet list the same values"
  exit 1
fi
echo "each module's state chunk loads in the other with the same $(wc -l <"$dir/linux-on-linux.txt") parameter lines"
