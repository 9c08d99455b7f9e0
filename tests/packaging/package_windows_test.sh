#!/usr/bin/env bash
# package_windows_test.sh BUILD: makes the NSIS installer and the zip from a
# built Windows tree (inside scripts/with-wine), checks that the installer is a
# 64-bit program, installs silently with /S, checks what it put under Program
# Files, the Start menu and the 64-bit registry, and starts the
# installed program with its standard output and error closed: it shows its
# window and ends with 1 on Alt+F4. The zip holds the program and the licences.
set -euo pipefail
build=$1
work=$(mktemp -d)
app=""
trap '[ -n "$app" ] && kill -9 "$app" 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=../support/script_helpers.sh
source "$(dirname "$0")/../support/script_helpers.sh"
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || fail "run me inside scripts/with-wine"

(cd "$build" && cpack -G "NSIS;ZIP" -B "$work/packages" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
installer=$(ls "$work"/packages/Lunvik-*-win64.exe)
zip=$(ls "$work"/packages/Lunvik-*-win64.zip)

# A 32-bit installer would need 32-bit Wine (or WOW64) just to install.
file "$installer" | grep 'PE32+ executable' >/dev/null || fail "the installer is not a 64-bit program: $(file -b "$installer")"

unzip -l "$zip" >"$work/zip.txt"
grep -q '/bin/lunvik.exe$' "$work/zip.txt" || fail "the zip has no bin/lunvik.exe"
grep -q '/LICENSE$' "$work/zip.txt" || fail "the zip has no LICENSE"

timeout 120 wine "$installer" /S || fail "the silent install failed"
root="$WINEPREFIX/drive_c/Program Files/Lunvik"
for file in bin/lunvik.exe LICENSE Uninstall.exe IPA-Font-License-Agreement-v1.0.txt; do
    [ -f "$root/$file" ] || fail "the installer put no $file under Program Files/Lunvik"
done
[ ! -e "$WINEPREFIX/drive_c/Program Files (x86)/Lunvik" ] || fail "the installer wrote to Program Files (x86)"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lunvik'
uninstall_entry() { wine reg query "$uninstall" /v UninstallString "/reg:$1" </dev/null 2>/dev/null; }
uninstall_entry 64 | grep 'Program Files\\Lunvik\\Uninstall.exe' >/dev/null ||
    fail "no uninstall entry in the 64-bit registry view"
! uninstall_entry 32 | grep Uninstall >/dev/null || fail "the uninstall entry is in the 32-bit registry view"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/3D demo Lunvik"
[ -f "$menu/3D demo Lunvik.lnk" ] || fail "no Start-menu entry '3D demo Lunvik'"

# As some launchers start programs: standard output and error closed.
wine "$root/bin/lunvik.exe" >&- 2>&- &
app=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^3D demo Lunvik$' | sed -n 1p)
[ -n "$window" ] || fail "the installed program showed no window"
press_alt_f4_until_gone "$window" "$app" || fail "Alt+F4 did not end the installed program"
status=0
wait "$app" || status=$?
app=""
[ "$status" = 1 ] || fail "the installed program ended with $status, expected 1"
echo "PASS"
