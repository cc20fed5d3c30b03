#!/bin/sh
# Builds the headless core and the tests that link only it, then checks that none of those
# programs needs a window-system, drawing or font library.
#   tools/check-core.sh <build dir> <core test target>...
set -eu
build=$1
shift
cmake --build "$build" --target orv_core "$@"
status=0
for t in "$@"; do
  program=$(find "$build" -type f -name "$t" -perm -u+x | head -n 1)
  if [ -z "$program" ]; then
    echo "no program $t under $build"
    exit 2
  fi
  needed=$(readelf -d "$program") || exit 2
  if echo "$needed" | grep -E 'lib(cairo|X11|Xext|freetype|fontconfig)'; then
    echo "$t links a GUI library"
    status=1
  fi
done
[ $status -eq 0 ] && echo "core and $* built without GUI libraries"
exit $status
