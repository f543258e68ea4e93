#!/usr/bin/env bash
# Renders korvex.svg into the PNG sizes of the Linux icon theme and the Windows icon (korvex.ico,
# PNG-compressed entries). Run after changing the SVG; the results are kept in the tree.
# Needs rsvg-convert (Debian package librsvg2-bin) and python3.
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  rsvg-convert -w "$s" -h "$s" korvex.svg -o "korvex-$s.png"
done
python3 - "${sizes[@]}" <<'PY'
import struct, sys
sizes = [int(s) for s in sys.argv[1:]]
images = [open(f"korvex-{s}.png", "rb").read() for s in sizes]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for s, data in zip(sizes, images):
    out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open("korvex.ico", "wb").write(out + b"".join(images))
PY
