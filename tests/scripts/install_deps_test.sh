#!/usr/bin/env bash
# install_deps_test.sh: the README's two commands and their installer, run with
# a stand-in apt-get, dpkg and dpkg-query first on PATH. dpkg-query reports
# every package missing; apt-get logs what it is asked, fails "update" as a
# half-synced mirror does, and either fails "install" or hands it to the real
# apt-get as a simulation, so nothing on this machine changes.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=../support/script_helpers.sh
source "$repo/tests/support/script_helpers.sh"

stubs=$work/bin
mkdir -p "$stubs"
cat >"$stubs/apt-get" <<'SH'
#!/bin/sh
echo "apt-get $*" >>"$STUB_LOG"
case " $* " in
*" update "*)
    echo "E: Failed to fetch http://deb.example/dists/bookworm-security/main/binary-amd64/Packages.xz  File has unexpected size (4242 != 4343). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
*" install "*)
    if [ "$STUB_INSTALL" = fail ]; then
        echo "E: Unable to locate package stand-in-missing" >&2
        exit 100
    fi
    exec /usr/bin/apt-get --simulate "$@" ;;
esac
SH
cat >"$stubs/dpkg-query" <<'SH'
#!/bin/sh
case "$1" in -W) exit 1 ;; esac
exec /usr/bin/dpkg-query "$@"
SH
cat >"$stubs/dpkg" <<'SH'
#!/bin/sh
echo "dpkg $*" >>"$STUB_LOG"
case "$1" in --configure | --add-architecture) exit 0 ;; esac
exec /usr/bin/dpkg "$@"
SH
# No pauses between the retries; localedef only logged.
printf '#!/bin/sh\nexit 0\n' >"$stubs/sleep"
printf '#!/bin/sh\necho "localedef $*" >>"$STUB_LOG"\n' >"$stubs/localedef"
chmod +x "$stubs"/*

# run_stubbed INSTALL COMMAND...: the command with the stand-ins; its output
# goes to $work/out, its log to $work/log, its exit code to $status.
run_stubbed() {
    : >"$work/log"
    status=0
    STUB_LOG=$work/log STUB_INSTALL=$1 PATH="$stubs:$PATH" "${@:2}" >"$work/out" 2>&1 </dev/null ||
        status=$?
}
asked() { sed -n 's/^apt-get .*install //p' "$work/log" | tr ' ' '\n' | grep -v '^-' | sort -u; }

check_no_system_changes() {
    ! grep -q -e '--add-architecture' -e ':i386' "$work/log" || fail "$1 adds an architecture"
}

# Seeing the demo: only building and running, a virtual display only when
# there is no display, and nothing else on the user's system.
for display in "" ":0"; do
    run_stubbed fail env -u WAYLAND_DISPLAY DISPLAY="$display" "$repo/scripts/run"
    [ "$status" != 0 ] || fail "scripts/run went on after a failed install"
    asked >"$work/run-$display.txt"
    grep -qx qt6-base-dev "$work/run-$display.txt" || fail "scripts/run asked for no Qt: $(cat "$work/log")"
    for p in g++-mingw-w64-x86-64-posix wine wine64 nsis clang-14 valgrind gnuplot-nox libgtest-dev \
        emscripten chromium node-acorn npm; do
        ! grep -qx "$p" "$work/run-$display.txt" || fail "scripts/run asks for $p"
    done
    check_no_system_changes scripts/run
    ! grep -q localedef "$work/log" || fail "scripts/run generates a locale"
done
grep -qx xvfb "$work/run-.txt" || fail "scripts/run without a display asks for no virtual display"
! grep -qx xvfb "$work/run-:0.txt" || fail "scripts/run on a display asks for a virtual one"

# A failed install stops with one line naming the packages and apt-get's reason.
grep -q '^install-deps: could not install .*qt6-base-dev.*: Unable to locate package stand-in-missing$' "$work/out" ||
    fail "no one-line reason for the failed install: $(cat "$work/out")"
[ "$(grep -c '^install-deps:' "$work/out")" = 2 ] || fail "more than the index and install lines: $(cat "$work/out")"

# The suite: everything its builds and tests run, found by the files they use.
run_stubbed fail "$repo/scripts/test"
[ "$status" != 0 ] || fail "scripts/test went on after a failed install"
asked >"$work/test.txt"
comm -23 "$work/run-.txt" "$work/test.txt" | grep . && fail "scripts/test lacks what scripts/run needs"
for used in /usr/bin/Xvfb /usr/bin/openbox /usr/bin/xdotool /usr/bin/xprop /usr/bin/makensis \
    /usr/bin/x86_64-w64-mingw32-g++-posix /usr/lib/wine/wine64 /usr/bin/clang++-14 /usr/bin/valgrind \
    /usr/bin/unzip /usr/bin/rsvg-convert /usr/bin/desktop-file-validate /usr/bin/appstreamcli \
    /usr/bin/dpkg-shlibdeps /usr/include/gtest/gtest.h /usr/include/benchmark/benchmark.h \
    /usr/bin/emcc /usr/bin/chromium /usr/share/nodejs/acorn/package.json; do
    package=$(dpkg-query -S "$used" | cut -d: -f1)
    grep -qx "$package" "$work/test.txt" || fail "scripts/test does not install $package (for $used)"
done
check_no_system_changes scripts/test

# An index that never downloads is tried three times, then installing goes on
# from what was fetched.
run_stubbed simulate "$repo/scripts/install-deps" build
[ "$status" = 0 ] || fail "a failed index update stopped the install: $(cat "$work/out")"
[ "$(grep -c '^apt-get .*update' "$work/log")" = 3 ] || fail "apt-get update was not tried three times"
grep -q '^apt-get .*install' "$work/log" || fail "nothing was installed after the failed update"

# Under pipefail, a "grep -q" or "grep -m" that stops reading early leaves its
# writer to die of SIGPIPE, and the pipe fails now and then: CI once skipped a
# branch so.
while IFS=: read -r file line _; do
    grep -q pipefail "$repo/$file" && fail "$file:$line ends a pipe with a grep that stops early under pipefail"
done < <(cd "$repo" && git grep -nE '\| *(!\s*)?grep -[a-zA-Z]*[qm]' -- scripts tests bench packaging .ci || true)
echo "PASS"
