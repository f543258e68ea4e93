#!/usr/bin/env bash
# libcsv for 64-bit Windows (a DLL, its import library and csv.h), built once with Debian's
# mingw-w64 from Debian's own libcsv source package into the cache folder beside Qt.
#
#   scripts/libcsv-windows.sh            build unless the cache holds it
#   scripts/libcsv-windows.sh --prefix   print the cache folder and do nothing else
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cache="${KORVEX_CACHE:-$HOME/.cache/korvex}"
prefix="$cache/libcsv-mingw"

if [ "${1:-}" = "--prefix" ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$prefix/bin/libcsv-3.dll" ] && [ -f "$prefix/include/csv.h" ]; then
  echo "libcsv for Windows: $prefix"
  exit 0
fi

"$here/deps.sh" ca-certificates g++-mingw-w64-x86-64-posix dpkg-dev
"$here/debian-source.sh" libcsv "$cache/src"
src="$(find "$cache/src/libcsv" -maxdepth 1 -type d -name 'libcsv-*' | head -n1)"
rm -rf "$prefix"
mkdir -p "$prefix/bin" "$prefix/lib" "$prefix/include" "$prefix/share/doc/libcsv"
cc=x86_64-w64-mingw32-gcc-posix
# The same one file and ABI as Debian's libcsv3 (soname version 3).
$cc -O2 -shared -o "$prefix/bin/libcsv-3.dll" "$src/libcsv.c" -I"$src" \
  -Wl,--out-implib,"$prefix/lib/libcsv.dll.a"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix/bin/libcsv-3.dll"
cp "$src/csv.h" "$prefix/include/"
cp "$src/debian/copyright" "$prefix/share/doc/libcsv/copyright"
[ -f "$src/COPYING.LESSER" ] && cp "$src/COPYING.LESSER" "$prefix/share/doc/libcsv/"
dpkg-parsechangelog -l "$src/debian/changelog" -S Version > "$prefix/share/doc/libcsv/debian-version"
echo "libcsv for Windows built into $prefix"
