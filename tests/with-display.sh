#!/usr/bin/env bash
# Runs one GUI test on an X server of its own (Xvfb), so that tests run side by side without sharing a
# keyboard focus, a pointer or the keys that xdotool types. The server picks a free display number itself
# (-displayfd), so any number of these may start at once. Without Xvfb the test runs on $DISPLAY.
#
#   tests/with-display.sh <program> [arguments...]
set -uo pipefail

if ! command -v Xvfb >/dev/null; then
    if [ -z "${DISPLAY:-}" ]; then
        echo "with-display.sh: neither Xvfb nor a DISPLAY to run $1 on" >&2
        exit 1
    fi
    exec "$@"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/vesk-display-XXXXXX")"
mkfifo "$work/display"
# -noreset: by default the server resets when its last client leaves, and a client that connects meanwhile
# (a program the test starts right after an xdotool call, say) is refused.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

if ! read -r -t 20 number <"$work/display"; then
    echo "with-display.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$number"
"$@"
