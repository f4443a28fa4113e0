#!/usr/bin/env bash
# Takes the README's screenshots: the program as built, on a virtual X server, against the virtual mouse
# (seeded with the shipped profiles): the main window, then each of the five pages as its menu button opens it.
# Needs xvfb, xdotool, xwd (x11-apps) and ImageMagick's convert.
#   tools/screenshot.sh [build dir] [output folder]     (defaults: build/, docs/screenshots/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(cd "${1:-$here/build}" && pwd)"
out="$(mkdir -p "${2:-$here/docs/screenshots}" && cd "${2:-$here/docs/screenshots}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" && mkdir -m 700 "$work/run"
# A copy of the program's folder, so that the pictures show the shipped state and the build keeps its own.
cp -a "$build_dir/bin" "$work/bin"
python3 "$here/tools/vmouse_state.py" "$here/modules/setting/p_Vesk.bin" >"$work/mouse.state"
# One macro in the library, so that the macro page has something to show.
mkdir -p "$work/bin/modules/macro/1"
cat >"$work/bin/modules/macro/1/Reload cancel.bin" <<'MACRO'
[config]
index=-1
repeat=1
total=7

[macro]
0=R    [Down]
1=45   [Delay]
2=R      [Up]
3=120   [Delay]
4=MS-R    [Down]
5=30   [Delay]
6=MS-R      [Up]
MACRO
export out work
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" VESK_VMOUSE_STATE="$work/mouse.state" \
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    LD_PRELOAD="$work/bin/libvesk-vmouse.so" "$work/bin/vesk-config" & pid=$!
    sleep 6
    window=$(xdotool search --sync --pid "$pid" | tail -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    shot() {
        xwd -root -silent >"$work/screen.xwd"
        convert "xwd:$work/screen.xwd" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1.png"
        echo "wrote $out/$1.png"
    }
    shot main
    # The function menu: five buttons of 150 × 37 at (8, 180 + 50 i).
    i=0
    for page in keys macros lighting sensor recoil; do
        xdotool mousemove $((X + 83)) $((Y + 198 + 50 * i)) click 1
        xdotool mousemove $((X + 500)) $((Y + 590))
        sleep 2
        # The macro page: the first macro of the library chosen.
        if [ "$page" = macros ]; then
            xdotool mousemove $((X + 303)) $((Y + 164)) click 1 mousemove $((X + 500)) $((Y + 590))
            sleep 1
        fi
        shot "page-$page"
        i=$((i + 1))
    done
    kill "$pid"'
