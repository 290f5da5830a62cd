#!/usr/bin/env bash
# The Debian package of this build: made by CPack from the binaries already built, installed
# with dpkg, its programs run from /usr/bin on a fresh folder, and removed again.
# Skipped (exit 77) where it cannot run: not root, no dpkg, or zelmar installed already.
set -u
build=$1
work=$2

skip() {
    echo "SKIPPED: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root (the CI runs the tests as root)"
command -v dpkg >/dev/null && command -v cpack >/dev/null || skip "dpkg or cpack is not installed"
if dpkg-query -W -f='${Status}' zelmar 2>/dev/null | grep -q "ok installed"; then
    skip "a zelmar package is installed on this machine; the test will not replace it"
fi

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/zelmar_*.deb)
dpkg -i "$deb" || exit 1
trap 'dpkg -r zelmar >/dev/null' EXIT

fail=0
expect() { # what, then the command that must succeed
    local what=$1
    shift
    "$@" >/dev/null 2>&1 || { echo "not so: $what"; fail=1; }
}
version=$(/usr/bin/zelmar-admin --version)
echo "$version"
[ "$version" = "zelmar-admin $(dpkg-deb -f "$deb" Version)" ] || { echo "wrong version"; fail=1; }
expect "the report runner beside the program" test -x /usr/bin/prtview
expect "the installation files" test -f /usr/share/zelmar/REPORT/OtkazPic.rtf
expect "the menu entry" grep -q '^Exec=zelmar$' /usr/share/applications/zelmar.desktop
expect "the icon" test -f /usr/share/icons/hicolor/scalable/apps/zelmar.svg
expect "the timer example" test -f /usr/share/doc/zelmar/examples/zelmar-backup.timer

# The installed program makes a new folder from the files built into it; the installed
# administration command reads it and merges a report with its templates.
home="$work/Zelmar"
QT_QPA_PLATFORM=offscreen /usr/bin/zelmar "$home" &
program=$!
for _ in $(seq 1 300); do
    [ -f "$home/Temp/RabAnket.dat" ] && break
    sleep 0.1
done
sleep 0.5
kill $program 2>/dev/null
wait $program 2>/dev/null
expect "a new folder with the templates" test -f "$home/REPORT/OtkazPic.rtf"
expect "check of the new folder" /usr/bin/zelmar-admin check -d "$home"
expect "the register book" /usr/bin/zelmar-admin report Otkaz -d "$home"
expect "the register book document" test -s "$home/REPORT/OtkazRep.rtf"
exit $fail
