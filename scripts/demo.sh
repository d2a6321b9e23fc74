#!/usr/bin/env bash
# A fiscal day on the simulated board: starts okta80f-sim on a fresh
# directory and, with okta-host, sets the factory number, registers the
# register, opens a shift and sells, returns and pays out as a shop does,
# prints the X report and the Z report, a shift-range report and a copy of
# a receipt; then shows the printed tape.
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
for _ in $(seq 400); do
    grep -q '^READY ' "$dir/sim.log" 2>/dev/null && break
    sleep 0.05
done
grep -q '^READY ' "$dir/sim.log" || { echo "the simulator did not start:"; cat "$dir/sim.log"; exit 1; }
export OKTA_PORT="$dir/board/host-line"

say() { echo; echo "# $*"; }
# Shows the command as it is typed (arguments with spaces quoted), then
# its answer, indented.
step() {
    local shown="" a
    for a in "$@"; do
        if [[ $a == *[[:space:]\"]* ]]; then shown+=" '$a'"; else shown+=" $a"; fi
    done
    echo "\$ okta-host$shown"
    "$host" "$@" | sed 's/^/    /'
}
# The cashier on duty: Иванова, cashier 5.
as_cashier() { step --cashier 5 --password 1234 "$@"; }

echo "Simulated board in $dir/board (host line: $OKTA_PORT)."
echo "Set-up commands use the service cashier 20 with the factory password 271828."

say "The factory number, once in the life of the register"
step set-serial 0000000042
say "Reference data: a cashier, two sections, a discount"
step cashier set 5 --name "Иванова" --new-password 1234 --rights sale,return,reports
step section set 1 --name "Хлеб и выпечка"
step section set 2 --name "Бакалея"
step discount set 2 --percent 10.00 --name "Скидка постоянному"
say "Registration with the taxpayer's numbers, texts and two taxes"
step register --inn 7701234567 --storage-number 9999078900001234 \
    --text1 'ООО "Ромашка"' --text2 "г. Москва, ул. Тверская, 1" --text3 "Касса 1" \
    --tax "1:НДС 20%:contained:20.00" --tax "2:НДС 10%:contained:10.00"

say "The day begins"
as_cashier shift open
as_cashier cash in 1000.00
say "A sale paid in cash, with change"
as_cashier receipt sale --item "Батон нарезной:45.50x2:section=1:tax=1" \
    --item "Молоко 3.2%:89.90:section=2:tax=2" --cash 300.00
say "A percentage discount from the table and a fixed discount"
as_cashier receipt sale --item "Кофе молотый 250 г:420.00:section=2:tax=1:discount=2" \
    --item "Печенье:110.00x3:section=1:tax=1:discount-sum=30.00:unit=уп" \
    --text "Спасибо за покупку!" --cash 800.00
say "A card payment"
as_cashier receipt sale --item "Сыр российский:560.00x0.450:section=2:tax=2" \
    --item "Хлеб бородинский:62.00:section=1:tax=1" --cash 0 --non-cash 314.00
say "A customer returns a loaf"
as_cashier receipt return-sale --item "Батон нарезной:45.50:section=1:tax=1" --cash 45.50
say "Cash taken to the safe"
as_cashier cash out 500.00

say "The X report with the departments"
as_cashier report x-departments
say "The shift's counters, as the register keeps them"
as_cashier counters shift
say "The day ends: the Z report"
as_cashier shift close
say "A shift-range report and a copy of the first receipt"
as_cashier report shifts 1 1
as_cashier copy 4

tape="$dir/board/printer/tape.txt"
echo
echo "== the printed tape ($tape) =="
cat "$tape"
echo
echo "The same tape for a browser: $dir/board/printer/tape.html"
