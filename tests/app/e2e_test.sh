#!/usr/bin/env bash
# The built program under a real X server (Xvfb), bare or with a window
# manager (second argument "openbox"): where its window and frame appear, that
# Alt+H and F10 open Help straight after start, that the wheel over the tab
# strip leaves the page, that page one draws, also after another client
# unmapped, resized or destroyed the drawing area's window, that the About box
# opens centred on the window, fixed in size with a close box only, minimised
# only together with the main window, and the focus comes back after it, so
# that Tab and Enter act on the page at once, that Space at start presses
# nothing on the hidden page, that
# a flood of pointer motion neither grows its memory nor delays a close, that
# a window destroyed from outside or closed ends it with 1, also after its
# About box was destroyed from outside or with stdout and stderr closed, and
# that a lost display, an 8-bit screen, a refused connection, a limit of 8
# open files or no display at all end it with 2 and one line on stderr.
set -euo pipefail
binary=$1
wm=${2:-}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND"' ERR

# shellcheck source=../support/script_helpers.sh
source "$(dirname "$0")/../support/script_helpers.sh"

# start_x DEPTH [OPTION...]: a fresh X server on a free display; its pid in $xvfb.
start_x() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "1024x768x$1" -nolisten tcp "${@:2}" 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    pids+=("$xvfb")
    until_true test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# start_app: the program, its stderr in $work/stderr.log, its window in $window.
start_app() {
    "$binary" "$@" 2>"$work/stderr.log" &
    app=$!
    find_window
}
find_window() {
    pids+=("$app")
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^3D demo Lunvik$' | sed -n 1p)
    [ -n "$window" ] || fail "no window titled '3D demo Lunvik'"
}

# expect_end CODE LINES WHAT: the program ends with CODE and LINES lines on stderr.
expect_end() {
    timeout 30 tail --pid="$app" -s 0.05 -f /dev/null || fail "the program did not end after $3"
    local status=0
    wait "$app" || status=$?
    cat "$work/stderr.log"
    [ "$status" = "$1" ] || fail "exit code $status after $3, expected $1"
    [ "$(wc -l <"$work/stderr.log")" = "$2" ] || fail "expected $2 lines on stderr after $3"
    [ "$2" = 0 ] || grep -q '^lunvik: ' "$work/stderr.log" || fail "the line does not begin with 'lunvik: '"
}

unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# AddressSanitizer keeps freed memory aside (256 MB by default), which the
# events of a flood fill: the memory check below wants little kept.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8"
# A desktop session has its runtime directory; without one Qt warns on stderr.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
start_x 24
if [ "$wm" = openbox ]; then
    # Ready once it runs its start-up command; a window mapped earlier may be lost.
    openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
    pids+=($!)
    until_true test -e "$work/wm-ready" || fail "openbox did not start"
fi

# Arguments make no difference: were they parsed, Qt would take this one off
# the screen and put the window elsewhere. The pointer is off the window, so
# keys go only where the focus is.
xdotool mousemove --sync 1000 750
start_app -platform offscreen -geometry 100x100+300+200

# Alt+H (or the key given) again until the Help menu shows, one more window
# on show: the first may come before the program has taken in that its window
# is active.
shown() { xdotool search --onlyvisible --pid "$app" | wc -l; }
open_help() {
    local before deadline=$((SECONDS + 2))
    before=$(shown)
    xdotool key "${1:-alt+h}"
    until [ "$(shown)" -gt "$before" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}
# Straight after start, even without a window manager to give it the focus,
# the window is active: Alt+H opens Help, and so does F10, as on Windows.
# Escape closes the menu, a second leaves the menu bar.
for key in alt+h F10; do
    windows=$(shown)
    until_true open_help "$key" || fail "no menu on $key straight after start"
    xdotool key Escape Escape
    until_true test "$(shown)" = "$windows" || fail "the menu stayed open after Escape"
done

# The outer window, the window manager's frame included, at (0, 0) and 750 by
# 700, so the title bar is on the screen.
frame_of() {
    local id=$1 parent root
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    while parent=$(xwininfo -tree -id "$id" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
        [ "$parent" != "$root" ]; do
        id=$parent
    done
    echo "$id"
}
geometry() {
    xwininfo -id "$1" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | tr '\n' ' '
}
frame=$(frame_of "$window")
until_true test "$(geometry "$frame")" = "0 0 750 700 " ||
    fail "outer window at $(geometry "$frame")(x y width height), expected 0 0 750 700"
echo "outer window: $(geometry "$frame"); client area: $(geometry "$window")"
echo "frame extents: $(xprop -id "$window" _NET_FRAME_EXTENTS)"
if [ "$wm" = openbox ]; then
    [ "$frame" != "$window" ] || fail "openbox did not frame the window"
    [ "$(geometry "$window" | cut -d' ' -f2)" -gt 0 ] || fail "no title bar above the client area"
fi

# count COLOUR: pixels of that colour in the outer window.
count() {
    import -window root -crop 750x700+0+0 "$work/shot.png"
    convert "$work/shot.png" -fill black +opaque "$1" -fill white -opaque "$1" \
        -format '%[fx:round(mean*w*h)]' info:
}
# picture_moves: the drawing area shows another picture 0.3 s later.
picture_moves() {
    local x y
    read -r x y _ <<<"$(geometry "$window")"
    import -window root -crop "500x480+$((x + 36))+$((y + 129))" "$work/before.png"
    sleep 0.3
    import -window root -crop "500x480+$((x + 36))+$((y + 129))" "$work/after.png"
    ! same_picture "$work/before.png" "$work/after.png"
}
# eye_line FILE: page two's status lines, from the window's client area.
eye_line() {
    local x y
    read -r x y _ <<<"$(geometry "$window")"
    import -window root -crop "540x44+$((x + 12))+$((y + 60))" "$1"
}
# Page one's drawing area shows the red cube and the cyan stars, no green grid.
until_true test "$(count '#FF0000')" -gt 20 || fail "no red cube on screen"
until_true test "$(count '#00FFFF')" -gt 50 || fail "no cyan stars on screen"
[ "$(count '#00FF00')" = 0 ] || fail "green on page one"

# Another client unmaps, resizes or destroys the drawing area's own X window:
# the whole picture is back at once (page one stands still until a click).
destroy_window() {
    /usr/bin/python3 -c 'import sys; from Xlib import display
d = display.Display(); d.create_resource_object("window", int(sys.argv[1], 0)).destroy(); d.sync()' "$1"
}
shown_view() {
    local child
    for child in $(xwininfo -children -id "$window" | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
        if xwininfo -id "$child" | grep -q IsViewable; then echo "$child"; fi
    done
}
picture=$(count '#00FFFF')
for change in unmap resize destroy; do
    view=$(shown_view)
    [ "$(wc -w <<<"$view")" = 1 ] || fail "not one drawing area on show: $view"
    case $change in
        unmap) xdotool windowunmap "$view" ;;
        resize) xdotool windowsize "$view" 100 80 ;;
        destroy) destroy_window "$view" ;;
    esac
    until_true test "$(count '#00FFFF')" = "$picture" || fail "page one not whole after $change"
done

# The wheel over the tab strip leaves page one on show, as a Windows tab
# control does.
# The tab "Page1", below the menu bar, in the window's client area.
for button in 5 4; do
    xdotool mousemove --window "$window" 40 34 click "$button"
    sleep 0.5
    [ "$(count '#00FF00')" = 0 ] || fail "the wheel ($button) over the tab strip switched pages"
done

# The About box by the keyboard (Alt+H, Enter), closed by Escape: the window
# has the focus again and Ctrl+Tab shows page two with its green grid. The
# pointer is off the window, so keys go only where the focus is.
focus() { xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"; }
open_about() {
    xdotool mousemove --sync 1000 750
    focus
    until_true open_help || fail "no menu on Alt+H"
    xdotool key Return
    about=$(timeout 20 xdotool search --sync --onlyvisible --name '^About$' | sed -n 1p)
    [ -n "$about" ] || fail "no About box after Alt+H, Enter"
}
open_about
# Centred on the outer window (0, 0, 750 by 700), frames included, to a pixel.
about_centred() {
    local x y width height
    read -r x y width height <<<"$(geometry "$(frame_of "$about")")"
    [ $(((2 * x + width - 750) ** 2 + (2 * y + height - 700) ** 2)) -le 8 ]
}
until_true about_centred ||
    fail "About box at $(geometry "$(frame_of "$about")")(x y width height), not centred on the window"
about_box_fixed "$about" "$wm"
[ "$wm" != openbox ] || minimised_together "$about" "$window"
xdotool key Escape
until_true test -z "$(xdotool search --onlyvisible --name '^About$')" || fail "About box still open"
until_true test "$(xdotool getwindowfocus)" = "$window" || fail "the window did not get the focus back"
# Tab and Enter act on the page at once: the focus is back on page one's
# first tab stop ("<=" of the eye), Tab takes it to "=>", Enter presses it and
# the eye, at rest until now, orbits.
! picture_moves || fail "page one moves before any button was pressed"
xdotool key Tab Return
until_true picture_moves || fail "Tab and Enter after the About box did nothing"
xdotool key ctrl+Tab
until_true test "$(count '#00FF00')" -gt 1000 || fail "Ctrl+Tab after the About box did not show page two"
# Page two's eye line as it reads when no button of page two was pressed.
eye_line "$work/eye-untouched.png"

# A flood of pointer motion over the window (30,000 moves a second for 5 s):
# memory stays where it was.
rss_mb() { awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$app/status"; }
before=$(rss_mb)
/usr/bin/python3 "$(dirname "$0")/pointer_flood.py" 30000 5 0 0 750 700
after=$(rss_mb)
echo "RSS: $before MB before the flood, $after MB after it"
[ "$after" -le $((before + 30)) ] || fail "RSS grew from $before to $after MB in the flood"

# Alt+F4 closes it at once (taken by the window manager, or without one by the
# program itself, as a Windows program does): exit code 1, nothing on stderr.
close_by_alt_f4() {
    focus
    xdotool key alt+F4
    expect_end 1 0 "$1"
}
asked=$(date +%s%N)
close_by_alt_f4 "Alt+F4"
took=$((($(date +%s%N) - asked) / 1000000))
echo "Alt+F4 answered in $took ms"
[ "$took" -le 2000 ] || fail "Alt+F4 took $took ms"

# At start the focus is on the page on show: Space presses nothing on page
# two (its first tab stop, "<=", would turn its eye), whose eye line then
# reads as it did above.
start_app
xdotool key space space space space space space
xdotool key ctrl+Tab
until_true test "$(count '#00FF00')" -gt 1000 || fail "Ctrl+Tab did not show page two"
eye_line "$work/eye-after-space.png"
same_picture "$work/eye-untouched.png" "$work/eye-after-space.png" ||
    fail "Space at start changed page two's eye"

# Another X client destroys the window: the program ends as if it was closed.
destroy_window "$window"
expect_end 1 0 "its window was destroyed"

# Another X client destroys the About box: its modal run ends, and the window
# takes Alt+F4 again.
start_app
open_about
destroy_window "$about"
until_true test "$(xdotool getwindowfocus)" = "$window" || fail "no focus back after the About box"
close_by_alt_f4 "Alt+F4 after the About box was destroyed"

# Started with standard output and error closed, and no runtime directory (Qt
# warns then), the tick report on: it shows its window and ends with 1.
env -u XDG_RUNTIME_DIR LUNVIK_REPORT=1 "$binary" >&- 2>&- &
app=$!
find_window
: >"$work/stderr.log"
close_by_alt_f4 "Alt+F4 with stdout and stderr closed"

# The X server goes away under the running program.
start_app
kill -9 "$xvfb"
expect_end 2 1 "the X server was killed"

# A screen Qt cannot paint on.
start_x 8
"$binary" 2>"$work/stderr.log" &
app=$!
expect_end 2 1 "start on an 8-bit screen"

# An X server that refuses the connection (it wants a cookie the program lacks),
# and a limit of 8 open files: one line each, not the libraries' too.
xauth -q -f "$work/cookies" add :0 . "$(mcookie)"
start_x 24 -auth "$work/cookies"
XAUTHORITY="$work/cookies-none" "$binary" 2>"$work/stderr.log" &
app=$!
expect_end 2 1 "start on an X server that refuses it"
(ulimit -n 8 && exec "$binary") 2>"$work/stderr.log" &
app=$!
expect_end 2 1 "start with at most 8 open files"

# No display at all, or a platform Qt does not have: one line, not Qt's too.
env -u DISPLAY "$binary" 2>"$work/stderr.log" &
app=$!
expect_end 2 1 "start without a display"
QT_QPA_PLATFORM=foo "$binary" 2>"$work/stderr.log" &
app=$!
expect_end 2 1 "start on the platform 'foo'"

echo "e2e${wm:+ with $wm}: passed"
