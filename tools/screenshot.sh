#!/usr/bin/env bash
# Takes the README's screenshot: the program as built, on a virtual X server, against the virtual mouse.
# Needs xvfb, xdotool, xwd (x11-apps) and ImageMagick's convert.
#   tools/screenshot.sh [build dir] [output png]     (defaults: build/, docs/screenshots/main.png)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(cd "${1:-$here/build}" && pwd)"
out="${2:-$here/docs/screenshots/main.png}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$out")" "$work/home" && mkdir -m 700 "$work/run"
export out work build_dir
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" VESK_VMOUSE_STATE="$work/mouse.state" \
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    LD_PRELOAD="$build_dir/bin/libvesk-vmouse.so" "$build_dir/bin/vesk-config" & pid=$!
    sleep 6
    window=$(xdotool search --sync --pid "$pid" | tail -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xwd -root -silent >"$work/screen.xwd"
    convert "xwd:$work/screen.xwd" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
    kill "$pid"'
echo "wrote $out"
