#!/usr/bin/env bash
# limits_test.sh LUNVIK: the built program under Xvfb (1280 x 1024) against
# what a shell, desktop settings or another client can do to it: too few
# processes for an unprivileged user (ulimit -u 2, 3, 4), a 64 KB stack, an
# address space from 120 to 600 MB; each run either shows a window that
# paints and ends with 1 on Alt+F4, or ends with 2 and one line. Another
# client resizing the window to 32000 x 32000 leaves its memory and size
# bounded; a scale factor of 4 or a font DPI of 300 keeps it on the screen;
# scale factors below one show the same picture as one; the tick report
# keeps its decimal point under a decimal-comma locale; a style override
# that does not exist and a missing or uncreatable runtime directory leave
# stderr empty.
set -euo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
chmod 755 "$work"
app=
xvfb=
cleanup() {
    kill -9 "$app" "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND"' ERR
# shellcheck source=../support/script_helpers.sh
source "$(dirname "$0")/../support/script_helpers.sh"

unset WAYLAND_DISPLAY QT_QPA_PLATFORM
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
until_true test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

# An unprivileged user of its own, with no process yet: ulimit -u binds it.
uid=$((61000 + $$ % 4000))
as_user() { setpriv --reuid "$uid" --regid "$uid" --clear-groups "$@"; }

start() { "$@" 2>"$work/stderr.log" & app=$!; }
window_of() { timeout 20 xdotool search --sync --onlyvisible --pid "$app" --name '^3D demo Lunvik$' | sed -n 1p; }
red() {
    import -window root -crop 750x700+0+0 "$work/shot.png"
    convert "$work/shot.png" -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' \
        -format '%[fx:round(mean*w*h)]' info:
}
# close_it WINDOW [LINES]: Alt+F4 ends it with 1, LINES (0) lines on stderr.
close_it() {
    xdotool windowfocus "$1" 2>/dev/null || true
    xdotool key alt+F4
    expect_end 1 "${2:-0}" "$what"
}
# works_or_refuses: a window that paints page one's cube and closes with 1,
# or exit code 2 and one line; never a signal, never a hang.
works_or_refuses() {
    local window
    window=$(window_of || true)
    if [ -z "$window" ]; then
        expect_end 2 1 "$what"
        return
    fi
    until_true test "$(red)" -gt 20 || fail "no cube painted: $what"
    close_it "$window"
}

what="ulimit -u 2, 3 and 4"
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    for processes in 2 3; do
        start as_user bash -c "ulimit -u $processes && exec '$binary'"
        expect_end 2 1 "$what"
    done
    start as_user bash -c "ulimit -u 4 && exec '$binary'"
    works_or_refuses
else
    echo "skipped: $what (needs root to be another user)"
fi

what="ulimit -s 64"
start bash -c "ulimit -s 64 && exec '$binary'"
works_or_refuses

# AddressSanitizer reserves terabytes of address space before main.
if ldd "$binary" | grep libasan >/dev/null; then
    echo "skipped: ulimit -v under AddressSanitizer"
else
    for kilobytes in 120000 200000 250000 262144 300000 400000 600000; do
        what="ulimit -v $kilobytes"
        start bash -c "ulimit -v $kilobytes && exec '$binary'"
        works_or_refuses
    done
fi

# Another client asks for 32000 x 32000: the window stays within the screen,
# memory within 150 MB of where it was, and one Alt+F4 still ends it.
what="a resize to 32000 x 32000"
start "$binary"
window=$(window_of)
rss_mb() { awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$app/status"; }
before=$(rss_mb)
xdotool windowsize "$window" 32000 32000
sleep 1
size=$(xwininfo -id "$window" | sed -n 's/^ *\(Width\|Height\): *//p' | tr '\n' ' ')
after=$(rss_mb)
echo "after the resize: $size(width height), RSS $before MB before, $after MB after"
[ "$size" = "1280 1024 " ] || fail "window $size after $what, expected the screen's 1280 1024"
[ "$after" -le $((before + 150)) ] || fail "RSS grew from $before to $after MB"
close_it "$window"

# outer_within_screen: the outer window's rectangle lies on the 1280 x 1024 screen.
outer_within_screen() {
    local x y w h
    read -r x y w h <<<"$(xwininfo -id "$1" |
        sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | tr '\n' ' ')"
    echo "$what: window at $x $y, $w x $h"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ]
}
for setting in QT_SCALE_FACTOR=4 QT_FONT_DPI=300; do
    what=$setting
    start env "$setting" "$binary"
    window=$(window_of)
    outer_within_screen "$window" || fail "the window is off the screen with $setting"
    close_it "$window"
done

# Below one Qt leaves most of each control unpainted; the program runs at one:
# page one (at rest until a click) looks exactly as it does at one.
shot_at() {
    what="QT_SCALE_FACTOR=$1"
    start env "QT_SCALE_FACTOR=$1" "$binary"
    window=$(window_of)
    until_true test "$(red)" -gt 20 || fail "no cube painted: $what"
    sleep 0.5
    import -window root -crop 750x700+0+0 "$work/scale_$1.png"
    close_it "$window"
}
shot_at 1
for factor in 0.5 0.75 0.9; do
    shot_at "$factor"
    differ=$(compare -metric AE "$work/scale_1.png" "$work/scale_$factor.png" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "$differ pixels differ from scale 1 at $what"
done

# The tick report under a decimal-comma locale, and settings the program does
# not use: nothing on stderr but the report.
localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" || fail "cannot make the locale de_DE.UTF-8"
what="the tick report under de_DE.UTF-8"
start env LOCPATH="$work" LC_ALL=de_DE.UTF-8 LUNVIK_REPORT=1 "$binary"
close_it "$(window_of)" 1
grep -Eq '^lunvik: ticks [0-9]+ [0-9]+ seconds [0-9]+\.[0-9]{3} first-paint [0-9]+\.[0-9]{9}$' \
    "$work/stderr.log" || fail "tick report not in the C locale"
for setting in QT_STYLE_OVERRIDE=nonexistent -u\ XDG_RUNTIME_DIR XDG_RUNTIME_DIR=/proc/none/run; do
    what="a start with $setting"
    # shellcheck disable=SC2086
    start env $setting "$binary"
    close_it "$(window_of)"
done
echo "limits: passed"
