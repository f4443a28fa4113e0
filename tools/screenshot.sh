#!/usr/bin/env bash
# Takes the README's screenshots: the program as built, on a virtual X server, against the virtual mouse
# (seeded with the shipped profiles): the main window, then each of the five pages as its menu button opens it
# (on the macro and recoil pages the cursor rests on a control, so that its tip shows), then the global-settings
# panel.
# Needs xvfb, xdotool, xwd (x11-apps) and ImageMagick's convert.
#   tools/screenshot.sh [build dir] [output folder]     (defaults: build/, docs/screenshots/)
# VESK_SHOT_SCALE=2 takes them at twice the density (QT_SCALE_FACTOR=2 on a 2560 × 1600 screen);
# VESK_SHOT_LANGUAGE=chinese in the Chinese of the shipped language files.
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
# Entry 4 of the configuration is the language menu's entry: 0 is CHINESE (Simp).
if [ "${VESK_SHOT_LANGUAGE:-english}" = chinese ]; then
    sed -i 's/^4=.*/4=0/' "$work/bin/modules/setting/apConfig.bin"
fi
scale="${VESK_SHOT_SCALE:-1}"
screen="1280x1024x24"
[ "$scale" = 1 ] || screen="2560x1600x24"
export out work scale
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" VESK_VMOUSE_STATE="$work/mouse.state" QT_SCALE_FACTOR="$scale" \
    xvfb-run -a -s "-screen 0 $screen" bash -c '
    LD_PRELOAD="$work/bin/libvesk-vmouse.so" "$work/bin/vesk-config" & pid=$!
    sleep 6
    window=$(xdotool search --sync --pid "$pid" | tail -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # Moves the cursor to (x, y) of the scene, in its own units, and clicks when asked.
    at() {
        xdotool mousemove $((X + scale * $1)) $((Y + scale * $2)) ${3:+click $3}
    }
    shot() {
        xwd -root -silent >"$work/screen.xwd"
        # 256 colours without dithering: a third of the size, the flat colours exact. Not on the lighting
        # page, whose colour palette is a gradient that so few colours would band.
        colours="+dither -colors 256"
        [ "$1" != page-lighting ] || colours=""
        convert "xwd:$work/screen.xwd" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage $colours \
            -define png:compression-level=9 "$out/$1.png"
        echo "wrote $out/$1.png"
    }
    shot main
    # The function menu: five buttons of 150 × 37 at (8, 180 + 50 i). The page area lies at (171, 96).
    i=0
    for page in keys macros lighting sensor recoil; do
        at 83 $((198 + 50 * i)) 1
        at 500 590
        sleep 2
        # The macro page: the first macro of the library chosen, the cursor on the record tool.
        if [ "$page" = macros ]; then
            at 303 164 1
            at 772 129
            sleep 1.5
        fi
        # The recoil page: the cursor on the gun picture.
        if [ "$page" = recoil ]; then
            at 346 223
            sleep 1.5
        fi
        shot "page-$page"
        at 500 590
        i=$((i + 1))
    done
    # The global-settings panel, from the gear at the top left, over the empty page area.
    at 83 398 1
    at 500 590
    sleep 1
    at 19 13 1
    at 500 590
    sleep 2
    shot scene-settings
    kill "$pid"'
