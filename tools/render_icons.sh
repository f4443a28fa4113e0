#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (rsvg-convert: Debian package librsvg2-bin). The PNGs
# are committed, so building needs neither the tool nor this script; run it after changing the SVG.
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../packaging/icons" && pwd)"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/org.vesk.VeskConfig.svg" -o "$icons/org.vesk.VeskConfig-$size.png"
done
