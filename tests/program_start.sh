#!/usr/bin/env bash
# The program on a fresh folder makes the installation tree (for its owner only) and the empty
# card files. A second copy on the same folder - through a symbolic link, with the runtime
# folder of another session, or under another account of the folder's group - says who works
# with the folder, ends and touches no file. Once
# the first copy is killed, the next start gets in.
set -u
zelmar=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
dir="$work/Zelmar"
export QT_QPA_PLATFORM=offscreen

wait_for_start() {
    for _ in $(seq 1 300); do
        [ -f "$dir/Temp/RabAnket.dat" ] && return 0
        sleep 0.1
    done
    return 1
}

"$zelmar" "$dir" &
first=$!
trap 'kill -9 $first 2>/dev/null; wait $first 2>/dev/null' EXIT
wait_for_start
sleep 1

fail=0
for f in Baza/Anketi.dat Baza/ArhAnket.dat Temp/RabAnket.dat; do
    if [ ! -f "$dir/$f" ] || [ -s "$dir/$f" ]; then
        echo "expected an empty $f"
        fail=1
    fi
done
for d in Baza Temp REPORT WhodGIF WhodWord Otveti Help Backup; do
    [ -d "$dir/$d" ] || { echo "missing folder $d"; fail=1; }
done
open=$(find "$dir" \( -perm /o=rwx -o \( -type d -perm /g=rwx \) -o \( -type f -perm /g=rw \) \) -print)
if [ -n "$open" ]; then
    echo "open to other accounts:"
    echo "$open"
    fail=1
fi

ln -s "$dir" "$work/link"
mkdir -p "$work/other-runtime"
chmod 700 "$work/other-runtime"
ways=(direct link other-session)
# Run as root: the folder shared with a group as the administrator's guide shows, and a clerk of
# another account in that group tries it too.
other=()
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && getent passwd nobody >/dev/null; then
    chgrp -R nogroup "$dir"
    find "$dir" -type d -exec chmod 2770 {} +
    find "$dir" -type f -exec chmod 0660 {} +
    mkdir -p "$work/other-home"
    chown nobody:nogroup "$work/other-home"
    chmod 700 "$work/other-home"
    other=(setpriv --reuid=nobody --regid=nogroup --clear-groups
        env HOME="$work/other-home" XDG_RUNTIME_DIR="$work/other-home")
    if "${other[@]}" test -w "$dir/zelmar.lock"; then
        ways+=(other-account)
    else
        echo "another account cannot reach $dir: that case is left out"
    fi
fi
before=$(find "$dir" -printf '%p %s %T@ %m\n' | sort)
for how in "${ways[@]}"; do
    path=$dir
    env=(env)
    [ "$how" = link ] && path="$work/link"
    [ "$how" = other-session ] && env=(env XDG_RUNTIME_DIR="$work/other-runtime")
    [ "$how" = other-account ] && env=("${other[@]}")
    err=$("${env[@]}" timeout 60 "$zelmar" "$path" 2>&1 >/dev/null)
    rc=$?
    if [ $rc -ne 1 ]; then
        echo "second copy ($how) ended with $rc"
        fail=1
    fi
    case $err in
    *"уже работает пользователь"*) ;;
    *) echo "second copy ($how) did not say who holds the folder: $err"; fail=1 ;;
    esac
done
after=$(find "$dir" -printf '%p %s %T@ %m\n' | sort)
if [ "$before" != "$after" ]; then
    echo "a second copy touched the folder:"
    diff <(echo "$before") <(echo "$after")
    fail=1
fi
kill -0 $first 2>/dev/null || { echo "first copy is gone"; fail=1; }

# Killed, however hard: the system releases the lock and the next start gets in.
kill -9 $first
wait $first 2>/dev/null
rm -f "$dir/Temp/RabAnket.dat"
"$zelmar" "$dir" &
first=$!
if ! wait_for_start || ! kill -0 $first 2>/dev/null; then
    echo "no start after the first copy was killed"
    fail=1
fi
exit $fail
