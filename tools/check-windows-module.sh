#!/bin/sh
# Checks the Windows module's tables: it exports VSTPluginMain and main and nothing else, and
# imports only DLLs that every Windows has (no mingw runtime DLL).
#   tools/check-windows-module.sh OrvGyrola2.dll
set -eu
export LC_ALL=C
dump=$(x86_64-w64-mingw32-objdump -p "$1")
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 |
  sed -n 's/^.*\] \([A-Za-z_][A-Za-z_0-9]*\)$/\1/p' | sort | tr '\n' ' ')
imports=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
echo "exports: $exports"
echo "imports: $imports"
if [ "$exports" != "VSTPluginMain main " ]; then
  echo "the module must export exactly VSTPluginMain and main"
  exit 1
fi
for dll in $imports; do
  case $dll in
    advapi32.dll | comdlg32.dll | gdi32.dll | gdiplus.dll | kernel32.dll | msvcrt.dll | ole32.dll | shell32.dll | \
      shlwapi.dll | user32.dll) ;;
    *)
      echo "$dll is not a system DLL"
      exit 1
      ;;
  esac
done
