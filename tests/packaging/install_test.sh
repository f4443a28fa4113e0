#!/usr/bin/env bash
# The Debian package as a user gets it: build it with cpack, install it on this machine (dpkg -i, then
# apt-get -f install for its dependencies), start the installed /usr/bin/vesk-config under Xvfb as a new user
# against the virtual mouse, check that the user's data folder was seeded and that what the program learnt from
# the mouse landed there, start it once more to see the user's files kept, then remove the package cleanly.
# Debian's lintian checks the package first.
# Installs on the machine, so CI runs it after the suite; it may run any number of times.
#
#   tests/packaging/install_test.sh [build dir]      (default: $BUILD_DIR or build/)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build_dir="$(cd "${1:-${BUILD_DIR:-$here/build}}" && pwd)"
vmouse="$build_dir/bin/libvesk-vmouse.so"
app_id=org.vesk.VeskConfig

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work="$(mktemp -d /tmp/vesk-package-XXXXXX)"
program_pid=""
cleanup() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
    fi
    if dpkg-query -W -f='${Status}' vesk-config 2>/dev/null | grep -qv 'not-installed'; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q vesk-config >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

[ -x "$build_dir/bin/vesk-config" ] || fail "no program in $build_dir (build it first)"
[ -f "$vmouse" ] || fail "no virtual mouse in $build_dir/bin"

echo "== package =="
(cd "$build_dir" && cpack -G DEB -B "$work/deb" >/dev/null)
deb="$(ls "$work"/deb/*.deb)"
echo "built $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for path in /usr/bin/vesk-config /usr/lib/udev/rules.d/70-vesk-mouse.rules \
    /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$app_id.svg /usr/share/icons/hicolor/48x48/apps/$app_id.png \
    /usr/share/vesk-config/modules/setting/apConfig.bin /usr/share/vesk-config/modules/setting/pD_Vesk.bin \
    /usr/share/doc/vesk-config/copyright /usr/share/doc/vesk-config/changelog.gz \
    /usr/share/man/man1/vesk-config.1.gz; do
    grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done
if grep -Ei 'vmouse|/tst_|bench|\.so|/qml/|CMakeLists' "$work/contents"; then
    fail "the package ships test or build files (above)"
fi
depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libhidapi-hidraw0 libqt6quick6 libqt6quickwidgets6 qml6-module-qtquick qt6-qpa-plugins; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

echo "== lintian =="
# Debian's own checker: no errors and no warnings. It is installed here, not by tools/vesk.sh: only the
# package check needs it.
if ! command -v lintian >/dev/null; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends lintian >/dev/null
fi
lintian_rc=0
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || lintian_rc=$?
grep -v 'running with root privileges' "$work/lintian" || true
[ "$lintian_rc" -eq 0 ] || fail "lintian finds errors or warnings (above)"

echo "== install =="
as_root env DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >/dev/null ||
    echo "dpkg -i left dependencies open; apt-get -f install resolves them"
as_root env DEBIAN_FRONTEND=noninteractive apt-get -f install -y -q >/dev/null
[ "$(dpkg-query -W -f='${Status}' vesk-config)" = "install ok installed" ] || fail "vesk-config is not installed"

# A new user: an empty home, no XDG variables, a private runtime folder (the copy-data socket lives there).
home="$work/home"
runtime="$work/runtime"
mkdir -p "$home"
mkdir -m 700 "$runtime"
user_data="$home/.local/share/vesk-config"

# The mouse holds a profile 3 block that no shipped file does; the program reads it on connecting and keeps it
# in the user's profile store.
state="$work/mouse.state"
hex=""
line=""
for i in $(seq 0 127); do
    b=$(((i * 37 + 11) % 256))
    hex+=$(printf '%02x' "$b")
    line+="${line:+, }$b"
done
printf '[device]\nplugged=1\n\n[profile3]\nblock=%s\n' "$hex" >"$state"
if grep -qF "$line" "$here/modules/setting/p_Vesk.bin"; then fail "the marker block is not distinctive"; fi

# Starts the installed program on its own X server; the caller stops it with stop_program.
start_program() {
    local log="$1"
    rm -f "$work/pid" "$work/rc"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" XDG_RUNTIME_DIR="$runtime" \
        VESK_VMOUSE_STATE="$state" QT_LOGGING_RULES="vesk.*.debug=true" \
        xvfb-run -a -s '-screen 0 1280x1024x24' \
        bash -c 'LD_PRELOAD="$0" /usr/bin/vesk-config & echo $! >"$1/pid"; wait $!; echo $? >"$1/rc"' \
        "$vmouse" "$work" >"$log" 2>&1 &
    for _ in $(seq 1 100); do
        [ -s "$work/pid" ] && break
        sleep 0.1
    done
    program_pid="$(cat "$work/pid")"
}
stop_program() {
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself (log: $(cat "$1"))"
    kill "$program_pid"
    for _ in $(seq 1 100); do
        [ -s "$work/rc" ] && break
        sleep 0.1
    done
    [ -s "$work/rc" ] || fail "the program did not end"
    program_pid=""
    # xvfb-run tears its server down once the command has ended.
    wait
}
wait_for() {
    local what="$1" log="$2"
    shift 2
    for _ in $(seq 1 300); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    fail "$what (log: $(cat "$log"))"
}
store_holds_marker() {
    grep -qxF "3=$line" "$user_data/modules/setting/p_Vesk.bin" 2>/dev/null
}

echo "== first run =="
start_program "$work/first.log"
wait_for "the user's profile store never received the mouse's profile" "$work/first.log" store_holds_marker
stop_program "$work/first.log"
(cd /usr/share/vesk-config/modules && find . -type f) | sort >"$work/shipped"
[ -s "$work/shipped" ] || fail "the installed data tree is empty"
while read -r file; do
    [ -f "$user_data/modules/$file" ] || fail "the user's folder lacks $file"
done <"$work/shipped"
cmp -s /usr/share/vesk-config/modules/setting/p_Vesk.bin "$here/modules/setting/p_Vesk.bin" ||
    fail "the program wrote to the installed data"
echo "seeded $(wc -l <"$work/shipped") files into $user_data; the mouse's profile is in the user's store"

echo "== second run: the user's files stay, missing ones come back =="
printf '\n[linux_install_test]\nmine=1\n' >>"$user_data/modules/setting/apConfig.bin"
rm "$user_data/modules/i18n/lang_031225.ini"
start_program "$work/second.log"
wait_for "the missing language file did not come back" "$work/second.log" \
    test -f "$user_data/modules/i18n/lang_031225.ini"
stop_program "$work/second.log"
grep -q '^mine=1' "$user_data/modules/setting/apConfig.bin" || fail "the user's configuration was overwritten"
store_holds_marker || fail "the user's profile store lost the mouse's profile"

echo "== remove =="
as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vesk-config >/dev/null
while read -r path; do
    if [ -e "$path" ]; then fail "$path is left behind"; fi
done < <(grep -v '/$' "$work/contents")
if [ -d /usr/share/vesk-config ]; then fail "/usr/share/vesk-config is left behind"; fi
# The package has maintainer scripts, so dpkg remembers it until it is purged.
as_root dpkg --purge vesk-config >/dev/null
status="$(dpkg-query -W -f='${Status}' vesk-config 2>/dev/null || true)"
case "$status" in
"" | *not-installed) ;;
*) fail "vesk-config after purging: $status" ;;
esac
echo "PASS: package built, installed, run as a new user and removed"
