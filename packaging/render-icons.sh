#!/usr/bin/env bash
# Renders the PNG icons from data/icons/kestrova.svg. The PNGs are committed,
# so the build needs no SVG renderer; run this (needs rsvg-convert from
# librsvg2-bin) only after editing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" kestrova.svg --output "kestrova-$size.png"
done
