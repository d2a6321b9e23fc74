#!/usr/bin/env bash
# A demo on the simulated board: starts okta80f-sim on a fresh directory,
# drives it with okta-host, then shows the printed tape.
set -euo pipefail
build=${1:-build}
dir=$(realpath -m "${2:-demo}")
sim="$build/app/okta80f-sim"
host="$build/host/okta-host"

rm -rf "$dir"
mkdir -p "$dir"
"$sim" --root "$dir/board" > "$dir/sim.log" 2>&1 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 200); do
    grep -q '^READY ' "$dir/sim.log" 2>/dev/null && break
    sleep 0.05
done
grep -q '^READY ' "$dir/sim.log" || { echo "the simulator did not start:"; cat "$dir/sim.log"; exit 1; }
export OKTA_PORT="$dir/board/host-line"

step() { echo; echo "\$ okta-host $*"; "$host" "$@"; }

echo "Simulated board in $dir/board (host line: $OKTA_PORT)"
echo "Authorised commands use the service cashier 20 with the factory password 271828."
step version
step status || true                     # refused: no factory number yet
step set-serial 0000000042
step model
step key
step clock get
step cashier set 5 --name "Иванова" --new-password 1234 --rights sale,return,reports
step cashier get 5
step section set 3 --name "Бакалея"
step discount set 2 --percent 10.00 --name "Скидка постоянному"
step setting get rounding
step printer-setting get width
step print "ОКТА-80-Ф" --font 3 --align centre --bold --double
step print "Демонстрация принтера" --align centre
step print "Кассир: Иванова" --cut
step printer status
step status

tape="$dir/board/printer/tape.txt"
echo
echo "== printed tape ($tape) =="
if [ -s "$tape" ]; then cat "$tape"; else echo "(nothing printed)"; fi
