#!/usr/bin/env bash
# The program on a fresh folder makes the installation tree and the empty card files; a second
# copy started on the same folder ends at once and touches no file.
set -u
zelmar=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
dir="$work/Zelmar"
export QT_QPA_PLATFORM=offscreen

"$zelmar" "$dir" &
first=$!
trap 'kill $first 2>/dev/null; wait $first 2>/dev/null' EXIT

for _ in $(seq 1 300); do
    [ -f "$dir/Temp/RabAnket.dat" ] && break
    sleep 0.1
done
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

before=$(find "$dir" -printf '%p %s %T@\n' | sort)
timeout 60 "$zelmar" "$dir"
rc=$?
after=$(find "$dir" -printf '%p %s %T@\n' | sort)
if [ $rc -ne 0 ]; then
    echo "second copy ended with $rc"
    fail=1
fi
if [ "$before" != "$after" ]; then
    echo "second copy touched the folder:"
    diff <(echo "$before") <(echo "$after")
    fail=1
fi
kill -0 $first 2>/dev/null || { echo "first copy is gone"; fail=1; }
exit $fail
