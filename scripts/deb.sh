#!/usr/bin/env bash
# The Debian package: a Release build with Debian's hardening flags in build-deb, CPack's DEB
# generator, then lintian. Writes dist/korvex_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh cmake ninja-build g++ qt6-base-dev libgl-dev libcsv-dev dpkg-dev file lintian
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-deb --target korvex korvex_package_docs
mkdir -p dist
(cd build-deb && cpack -G DEB -B "$PWD/../dist" >/dev/null)
rm -rf dist/_CPack_Packages
deb="$(ls -t dist/korvex_*_amd64.deb | head -n1)"
echo "$deb: $(du -k "$deb" | cut -f1) KB"
dpkg-deb -f "$deb" Depends
# Tags that remain are explained in the README's "Packages" section.
lintian --info --suppress-tags-from-file packaging/linux/lintian-accepted "$deb" || true
