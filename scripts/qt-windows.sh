#!/usr/bin/env bash
# Qt 6.4.2 (Core, Gui, Widgets, Test; shared; the windows and offscreen platforms) for 64-bit
# Windows, built once with Debian's mingw-w64 (POSIX threads) from Debian's own qt6-base source
# into a cache folder outside the tree, and reused after that. Host tools (moc, rcc, uic) are
# Debian's, from qt6-base-dev-tools.
#
#   scripts/qt-windows.sh                 build unless the cache holds it (about 10 minutes on 2
#                                         idle cores, several times that beside other builds)
#   scripts/qt-windows.sh --from FILE     unpack an archive of an earlier build instead
#   scripts/qt-windows.sh --archive FILE  write the cached build as such an archive
#   scripts/qt-windows.sh --prefix        print the cache folder and do nothing else
#
# A build from source records its Debian source version and copyright in share/doc/qt6-base/,
# which the Windows zip quotes as the LGPL asks. An archive carries them only if it was made
# from such a build (--archive).
#
# KORVEX_CACHE overrides the cache root (default ~/.cache/korvex).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
version=6.4.2
cache="${KORVEX_CACHE:-$HOME/.cache/korvex}"
prefix="$cache/qt6-mingw-$version"

if [ "${1:-}" = "--prefix" ]; then
  echo "$prefix"
  exit 0
fi
if [ "${1:-}" = "--archive" ]; then
  out="$(realpath "${2:?--archive needs a file name}")"
  [ -x "$prefix/bin/qt-cmake" ] || { echo "no Qt for Windows in $prefix to archive" >&2; exit 1; }
  tar -C "$cache" --transform "s,^qt6-mingw-$version,qt6-mingw," -cJf "$out" "qt6-mingw-$version"
  echo "$out: $(du -k "$out" | cut -f1) KB"
  exit 0
fi
if [ -x "$prefix/bin/qt-cmake" ] && [ -f "$prefix/bin/Qt6Widgets.dll" ]; then
  echo "Qt $version for Windows: $prefix"
  exit 0
fi

"$here/deps.sh" ca-certificates cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev-tools qt6-base-dev xz-utils \
    dpkg-dev
mkdir -p "$cache"
start=$(date +%s)

if [ "${1:-}" = "--from" ]; then
  archive="${2:?--from needs an archive}"
  work="$(mktemp -d "$cache/.unpack.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  tar -xJf "$archive" -C "$work"
  [ -x "$work/qt6-mingw/bin/qt-cmake" ] || { echo "$archive holds no qt6-mingw/bin/qt-cmake" >&2; exit 1; }
  rm -rf "$prefix"
  mv "$work/qt6-mingw" "$prefix"
  echo "Qt $version for Windows unpacked to $prefix in $(($(date +%s) - start)) s"
  exit 0
fi

"$here/debian-source.sh" qt6-base "$cache/src"
# Debian unpacks its source as qt6-base-<version> (upstream's tarball says qtbase-everywhere-src-…).
src="$(dirname "$(find "$cache/src/qt6-base" -mindepth 2 -maxdepth 2 -name CMakeLists.txt | head -n1)")"
[ -f "$src/CMakeLists.txt" ] || { echo "no Qt source found under $cache/src/qt6-base" >&2; exit 1; }
build="$cache/src/qt6-base-build"
rm -rf "$build" "$prefix.partial"
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix.partial" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_tabletevent=OFF # Debian's source drops the wintab headers
# INPUT_opengl=no, not FEATURE_opengl=OFF: on Windows only the input turns dynamic OpenGL off too,
# which the platform plugin otherwise compiles against classes never built.
ninja -C "$build" -j"$(nproc)"
cmake --install "$build"
mkdir -p "$prefix.partial/share/doc/qt6-base"
cp "$src/debian/copyright" "$prefix.partial/share/doc/qt6-base/copyright"
dpkg-parsechangelog -l "$src/debian/changelog" -S Version > "$prefix.partial/share/doc/qt6-base/debian-version"
mv "$prefix.partial" "$prefix"
rm -rf "$build"
echo "Qt $version for Windows built into $prefix in $(($(date +%s) - start)) s"
