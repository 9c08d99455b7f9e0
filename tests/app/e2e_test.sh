#!/usr/bin/env bash
# The built program under a real X server (Xvfb): where its window appears,
# that page one draws, that closing it ends the process with 1, and that with
# no display at all it exits with 2 and one line on stderr.
set -euo pipefail
binary=$1
work=$(mktemp -d)

display=120
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
app=""
cleanup() {
    [ -n "$app" ] && kill -9 "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":${display}"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# A desktop session has its runtime directory; without one Qt warns on stderr.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

fail() {
    echo "FAIL: $*"
    exit 1
}

# Arguments make no difference: were they parsed, Qt would take this one off
# the screen and put the window elsewhere.
"$binary" -platform offscreen -geometry 100x100+300+200 2>"$work/stderr.log" &
app=$!
window=$(timeout 30 xdotool search --sync --name '^3D demo Lunvik$' | head -n 1)
[ -n "$window" ] || fail "no window titled '3D demo Lunvik'"

# Where the X server has the window: the outer window at (0, 0), 750 by 700.
sleep 1
info=$(xwininfo -id "$window")
field() { echo "$info" | sed -n "s/^ *$1: *//p"; }
x=$(field "Absolute upper-left X")
y=$(field "Absolute upper-left Y")
w=$(field "Width")
h=$(field "Height")
echo "window $window at ($x, $y), $w x $h"
[ "$x" = 0 ] && [ "$y" = 0 ] || fail "window at ($x, $y), not (0, 0)"
[ "$w" = 750 ] && [ "$h" = 700 ] || fail "window is $w x $h, not 750 x 700"

# Page one's drawing area shows the red cube and the cyan stars.
import -window root -crop 750x700+0+0 "$work/shot.png"
count() {
    convert "$work/shot.png" -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%[fx:round(mean*w*h)]' info:
}
red=$(count '#FF0000')
cyan=$(count '#00FFFF')
echo "red pixels: $red, cyan pixels: $cyan"
[ "$red" -gt 20 ] || fail "no red cube on screen"
[ "$cyan" -gt 50 ] || fail "no cyan stars on screen"

# No window manager runs here: the program takes Alt+F4 itself, as a Windows
# program does, and closes.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key alt+F4
status=0
timeout 20 tail --pid="$app" -f /dev/null || fail "the program did not end after Alt+F4"
wait "$app" || status=$?
app=""
[ "$status" = 1 ] || fail "exit code $status after a close, expected 1"
if [ -s "$work/stderr.log" ]; then
    cat "$work/stderr.log"
    fail "the program wrote to stderr"
fi

# No display at all: one line on stderr, exit code 2, no core dump.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$binary" 2>"$work/nodisplay.log" || status=$?
cat "$work/nodisplay.log"
[ "$status" = 2 ] || fail "exit code $status without a display, expected 2"
[ "$(wc -l <"$work/nodisplay.log")" = 1 ] || fail "expected exactly one line on stderr"

echo "e2e: passed"
