#!/usr/bin/env bash
# Runs a test program on its own virtual X server (Xvfb), with Qt on X11;
# with ON_X11_TCP=1 in the environment the program reaches the server over
# TCP, as over a network.
#   on_x11.sh PROGRAM [ARGS...]
set -euo pipefail
work=$(mktemp -d)
listen=(-nolisten tcp)
[ "${ON_X11_TCP:-}" = 1 ] && listen=(-listen tcp -ac)
Xvfb -displayfd 3 -screen 0 1024x768x24 "${listen[@]}" 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY="${ON_X11_TCP:+localhost}:$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
"$@"
