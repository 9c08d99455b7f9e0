#!/usr/bin/env bash
# dpi_wine_test.sh APP_DPI_TESTS_EXE: inside scripts/with-wine, the program
# started at a system DPI of 144 draws the reference picture, then started
# at 96 it is told of a change to 144 and back (dpi_test.cpp).
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "FAIL: run me inside scripts/with-wine"; exit 1; }
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1
}
export LUNVIK_DPI_REFERENCE
LUNVIK_DPI_REFERENCE=$(winepath -w "$work/at144.bin")
set_dpi 144
wine "$exe"
set_dpi 96
wine "$exe"
