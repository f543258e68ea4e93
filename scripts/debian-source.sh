#!/usr/bin/env bash
# Fetches a Debian source package (apt-get source) into FOLDER/PACKAGE, adding a deb-src entry for
# the system's own suites when apt has none. The Windows build uses it for the sources of what it
# ships (Qt, libcsv), so the zip's libraries come from the same source as Debian's.
#
#   scripts/debian-source.sh PACKAGE FOLDER
set -euo pipefail
pkg="$1"
dest="$2/$pkg"
if [ -f "$dest/.done" ]; then
  exit 0
fi
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  # The same mirrors and suites as the binary entries, for sources.
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    $sudo sh -c "sed -e 's/^Types: deb\$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/korvex-deb-src.sources"
  else
    $sudo sh -c "sed -n -e 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/korvex-deb-src.list"
  fi
  $sudo apt-get update -qq
fi
if ! apt-get source --print-uris "$pkg" >/dev/null 2>&1; then
  $sudo apt-get update -qq
fi
rm -rf "$dest"
mkdir -p "$dest"
(cd "$dest" && apt-get source -qq "$pkg")
touch "$dest/.done"
