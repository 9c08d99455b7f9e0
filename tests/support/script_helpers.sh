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
