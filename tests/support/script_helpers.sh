# Sourced by the test scripts that drive the real program.

fail() {
    echo "FAIL: $*"
    exit 1
}

# until_true CONDITION...: retries it for up to 20 seconds.
until_true() {
    local deadline=$((SECONDS + 20))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# press_alt_f4_until_gone WINDOW PID: presses Alt+F4 on the window, again every two
# seconds while the program runs (a press can come before the window takes
# keys, right after it shows), for up to 20 seconds; false if it still runs.
press_alt_f4_until_gone() {
    local deadline=$((SECONDS + 20))
    while kill -0 "$2" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        xdotool windowactivate --sync "$1" key alt+F4 2>/dev/null || true
        timeout 2 tail --pid="$2" -f /dev/null || true
    done
}
