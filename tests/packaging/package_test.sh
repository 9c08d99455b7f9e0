#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into an empty
# directory, checks what it installs with the desktop's own validators, and
# runs the unpacked program under Xvfb: it shows its window and a normal close
# ends it with exit code 1.
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill -9 "$app" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Depends
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libstdc++6 qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed"
done
dpkg-deb -c "$deb" | awk '{print $NF}'

root=$work/root
mkdir "$root"
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

desktop=$(ls "$share"/applications/*.desktop)
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "appstreamcli validate"
key() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$root/usr/bin/$(key Exec)" ] || fail "Exec=$(key Exec) is not an installed program"
icon=$(key Icon)
for size in 16 32 48 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "no ${size} px $icon.png"
done
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable $icon.svg"
for notice in copyright LICENSE DejaVu-LICENSE.txt IPA-Font-License-Agreement-v1.0.txt; do
    [ -s "$share/doc/lunvik/$notice" ] || fail "no $notice"
done

# The unpacked program on a display of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
wait_for 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

"$root/usr/bin/lunvik" 2>"$work/stderr.log" &
app=$!
window=$(timeout 30 xdotool search --sync --name '^3D demo Lunvik$' | head -n 1)
[ -n "$window" ] || fail "no window titled '3D demo Lunvik'"
# On X11 a desktop finds the window's menu entry by its class.
class=$(xprop -id "$window" WM_CLASS | sed 's/.*, "\(.*\)"$/\1/')
[ "$class" = "$(key StartupWMClass)" ] || fail "window class $class, entry's StartupWMClass $(key StartupWMClass)"
# The window's own icon is the desktop's picture at 16 and 32 px.
icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u | tr '\n' ' ')
echo "window icons: $icons"
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) " ] || fail "window icons: $icons"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key alt+F4
timeout 20 tail --pid="$app" -f /dev/null || fail "the program did not end after Alt+F4"
status=0
wait "$app" || status=$?
app=""
echo "installed program: exit code $status"
[ "$status" = 1 ] || fail "exit code $status after a close, expected 1"
if [ -s "$work/stderr.log" ]; then
    cat "$work/stderr.log"
    fail "the program wrote to stderr"
fi
echo "package: passed"
