#!/usr/bin/env bash
# Korvex for 64-bit Windows, cross-built on Debian with mingw-w64 against Qt 6.4.2 built from
# Debian's source (scripts/qt-windows.sh), and its tests under Wine.
#
#   ./windows.sh          build, then write dist/korvex-<version>-win64.zip and check its DLLs
#   ./windows.sh test     the same, then every test executable and the command line's CSV round
#                         trip of the full sample folder under Wine, headless
#
# KORVEX_QT_ARCHIVE=FILE unpacks an earlier Qt build instead of building Qt (about 10 minutes).
# KORVEX_CACHE (default ~/.cache/korvex) holds Qt, libcsv and the Wine prefix.
set -euo pipefail
cd "$(dirname "$0")"
root="$PWD"
mode="${1:-zip}"
case "$mode" in zip | test) ;; *) echo "usage: $0 [test]" >&2; exit 2 ;; esac

# qt6-base-dev carries the host side's CMake packages (Qt6HostInfo), which the cross build looks up.
scripts/deps.sh ca-certificates cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    qt6-base-dev-tools qt6-base-dev libgl-dev zip xz-utils dpkg-dev
[ "$mode" = test ] && scripts/deps.sh wine wine64
if [ -n "${KORVEX_QT_ARCHIVE:-}" ]; then
  scripts/qt-windows.sh --from "$KORVEX_QT_ARCHIVE"
else
  scripts/qt-windows.sh
fi
scripts/libcsv-windows.sh
qt="$(scripts/qt-windows.sh --prefix)"
csv="$(scripts/libcsv-windows.sh --prefix)"
cache="$(dirname "$qt")"
build="$root/build-win"
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

# A build folder configured against another Qt keeps it (CMake ignores a new toolchain file on
# an existing cache), so the zip would ship DLLs other than those it was built against.
if [ -f "$build/CMakeCache.txt" ] &&
   ! grep -qxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" "$build/CMakeCache.txt"; then
  echo "build-win was configured against another Qt; starting it afresh"
  rm -rf "$build"
fi

# The zip names the source its Qt DLLs were built from, as the LGPL asks; only a build from
# Debian's source (or an archive of one) records it. The archive in ../shared/cache does not: its
# headers lack Debian's patches, the security fix CVE-2023-32763 in QtGui among them.
srcver() { dpkg-query -W -f='${source:Version}' "$1"; }
qtdoc="$qt/share/doc/qt6-base"
unrecorded=""
if [ -f "$qtdoc/debian-version" ]; then
  qtver="$(cat "$qtdoc/debian-version")" qtcopyright="$qtdoc/copyright"
elif [ "$mode" = zip ]; then
  echo "Qt in $qt does not record the source it was built from, which the zip must name;" \
       "build it from Debian's source: rm -rf $qt && scripts/qt-windows.sh" >&2
  exit 1
else
  echo "warning: Qt in $qt does not record its source; this zip is for the tests only" >&2
  unrecorded="NOT FOR HANDING OUT: this folder was built for tests against a Qt build that does
not record its source, so the Qt version and copyright named below may not be its DLLs'.
"
  qtver="$(srcver qt6-base-dev-tools)" qtcopyright=/usr/share/doc/qt6-base-dev-tools/copyright
fi

# GCC 12 warns falsely about libstdc++'s own string copies at -O3 (-Wrestrict); every other
# warning stays an error.
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DKORVEX_WERROR=ON -DCMAKE_CXX_FLAGS=-Wno-restrict \
  -DCSV_INCLUDE_DIR="$csv/include" -DCSV_LIBRARY="$csv/lib/libcsv.dll.a" >/dev/null
cmake --build "$build"

version="$(sed -n 's/^project(Korvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="korvex-$version-win64"
stage="$build/dist/$name"
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/LICENSES" dist
cp "$build/korvex.exe" "$build/korvexc.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/korvex.exe" "$stage/korvexc.exe"
cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$csv/bin/libcsv-3.dll" "$stage/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(find "${mingw_runtime[@]}" -maxdepth 1 -name "$dll" | head -n1)" "$stage/"
done

# Licences and where each part's source is, as the LGPL asks.
cp /usr/share/common-licenses/LGPL-3 "$stage/LICENSES/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/LICENSES/GPL-3.txt"
cp /usr/share/common-licenses/GPL-2 "$stage/LICENSES/GPL-2.txt"
cp /usr/share/common-licenses/LGPL-2.1 "$stage/LICENSES/LGPL-2.1.txt"
cp "$qtcopyright" "$stage/LICENSES/Qt-copyright.txt"
cp "$csv/share/doc/libcsv/copyright" "$stage/LICENSES/libcsv-copyright.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/LICENSES/gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/LICENSES/mingw-w64-winpthreads-copyright.txt"
csvver="$(cat "$csv/share/doc/libcsv/debian-version")"
gccver="$(srcver gcc-mingw-w64-base)"
mingwver="$(srcver mingw-w64-common)"
sed -e "s/@VERSION@/$version/g" -e "s/@QT@/$qtver/g" -e "s/@CSV@/$csvver/g" -e "s/@GCC@/$gccver/g" \
    -e "s/@MINGW@/$mingwver/g" packaging/windows/README.txt.in |
  { [ -z "$unrecorded" ] || printf '%s\n' "$unrecorded"; cat; } | sed 's/$/\r/' > "$stage/README.txt"

# Every DLL that an executable, a library or a plugin imports is in the folder or is Windows' own.
system_dlls=" kernel32 user32 gdi32 shell32 ole32 oleaut32 advapi32 comdlg32 comctl32 ws2_32 winmm imm32 dwmapi
  uxtheme version netapi32 userenv mpr shlwapi msvcrt wtsapi32 setupapi rpcrt4 d3d9 d3d11 d3d12 dxgi dwrite d2d1
  authz secur32 bcrypt crypt32 ntdll shcore winspool "
system_dlls=" $(echo $system_dlls) "
missing=0
while IFS= read -r pe; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$pe" | sed -n 's/^\s*DLL Name: //p'); do
    lower="$(echo "$dll" | tr 'A-Z' 'a-z')"
    [ -f "$stage/$dll" ] && continue
    case "$system_dlls" in *" ${lower%.dll} "*) continue ;; esac
    case "$lower" in api-ms-win-*) continue ;; esac
    echo "MISSING: ${pe#$stage/} imports $dll" >&2
    missing=1
  done
done < <(find "$stage" -name '*.exe' -o -name '*.dll')
[ "$missing" -eq 0 ] || { echo "the zip would miss DLLs" >&2; exit 1; }
echo "DLL check: every import of $(find "$stage" -name '*.exe' -o -name '*.dll' | wc -l) executables and DLLs is present"

rm -f "dist/$name.zip"
(cd "$build/dist" && zip -qr -9 "$root/dist/$name.zip" "$name")
echo "dist/$name.zip: $(du -k "dist/$name.zip" | cut -f1) KB"
[ "$mode" = test ] || exit 0

# --- Under Wine -------------------------------------------------------------------------------
# An own prefix, made once; no Mono or Gecko prompts; one wineserver for the whole run.
export WINEPREFIX="$cache/wine-prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
winpath() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winpath "$qt/bin");$(winpath "${mingw_runtime[0]}");$(winpath "${mingw_runtime[1]}");$(winpath "$csv/bin")"
start=$(date +%s)
# The server first: one started by wineboot would refuse -p (exit 2), and quit seconds later.
wineserver -p 600 || { echo "a wineserver already runs for $WINEPREFIX; using it" >&2; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 600 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
fi
trap 'wineserver -k 2>/dev/null || true' EXIT

passed=0 failed=0 skipped=0 bad=()
log="$build/wine-tests"
rm -rf "$log" && mkdir -p "$log"
while IFS= read -r exe; do
  t="$(basename "$exe" .exe)"
  # A Windows program does not see QT_QPA_PLATFORM set here: the option says it, to a test with
  # a window system (a QCoreApplication refuses it). QtTest's output is read from its log file.
  platform=(-platform offscreen)
  (cd "$(dirname "$exe")" && timeout 120 wine "$exe" "${platform[@]}" -functions) >/dev/null 2>&1 || platform=()
  (cd "$(dirname "$exe")" && timeout 900 wine "$exe" "${platform[@]}" -o "$(winpath "$log/$t.txt"),txt") \
    >"$log/$t.out" 2>&1 || true
  touch "$log/$t.txt"
  totals="$(grep -a '^Totals:' "$log/$t.txt" | tail -n1 || true)"
  if [ -z "$totals" ]; then
    echo "$t: no result (crashed or timed out); see $log/$t.txt"
    bad+=("$t")
    continue
  fi
  read -r p f s < <(echo "$totals" | sed 's/Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1 \2 \3/')
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  echo "$t: $p passed, $f failed, $s skipped"
  [ "$f" -eq 0 ] || { bad+=("$t"); grep -a -B1 -A3 '^FAIL!' "$log/$t.txt" | head -n 40; }
  grep -a '^SKIP' "$log/$t.txt" | sed "s/^/  $t /" | head -n 20 || true
done < <(find "$build/tests" -name 'tst_*.exe' | sort)
echo "not built for Windows: tst_fileio (POSIX modes, owners, umask, flock, byte names), tst_clifiles" \
     "(bash, named pipes and device nodes, /dev/fd, signals); tst_fileiowin holds their Windows forms"

# The command line's CSV round trip of the full sample folder, through the console twin.
trip="$build/wine-roundtrip"
rm -rf "$trip" && mkdir -p "$trip"
(
  cd "$trip"
  timeout 300 wine "$build/korvex-sample.exe" game --full >/dev/null
  cp -r game before
  for db in managers teams players; do
    timeout 300 wine "$stage/korvexc.exe" export game "$db" "$db.csv"
    timeout 300 wine "$stage/korvexc.exe" import game "$db" "$db.csv"
    # Standard output and input carry the sheet's bytes unchanged.
    timeout 300 wine "$stage/korvexc.exe" export game "$db" - >"$db-stdout.csv"
    cmp "$db.csv" "$db-stdout.csv"
    timeout 300 wine "$stage/korvexc.exe" import game "$db" - <"$db-stdout.csv"
  done
  cmp before/Mgdata.db1 game/Mgdata.db1 && cmp before/Tmdata.db1 game/Tmdata.db1 &&
    cmp before/Players.db1 game/Players.db1
  status=0
  timeout 60 wine "$stage/korvexc.exe" export game nonsense x.csv 2>/dev/null || status=$?
  [ "$status" -eq 2 ]
) && echo "CSV round trip of the full sample folder under Wine: byte-identical, exit status kept" ||
  { echo "CSV round trip under Wine FAILED"; bad+=(roundtrip); }

echo "Wine run took $(($(date +%s) - start)) s"
echo "Windows: $passed passed, $failed failed, $skipped skipped"
[ "${#bad[@]}" -eq 0 ] || { echo "failing under Wine: ${bad[*]}" >&2; exit 1; }
