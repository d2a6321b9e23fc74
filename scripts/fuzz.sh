#!/usr/bin/env bash
# The fuzz targets of fuzz/, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer with libFuzzer (tree build-fuzz). Each target
# first runs its regression inputs (fuzz/regressions/<target>/), then fuzzes
# for FUZZ_SECONDS (default 60) from its seed corpus (fuzz/corpus/<target>/)
# in a scratch corpus, so the repository's seeds stay as they are. Any
# finding (a crash, a sanitizer report, a broken property, a time-out)
# fails the run; its input is kept in build-fuzz/findings/<target>/.
#   fuzz.sh [target ...]     (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2}
SECONDS_PER_TARGET=${FUZZ_SECONDS:-60}
TREE=build-fuzz
ALL=(frame_reader_fuzz tlv_fuzz receipt_fuzz registration_fuzz counter_tlv_fuzz archive_fuzz
     internal_storage_fuzz)
targets=("${@:-${ALL[@]}}")

CC=clang CXX=clang++ cmake -S . -B "$TREE" -DCMAKE_BUILD_TYPE=Debug \
    -DOKTA_SANITIZE=address,undefined -DOKTA_FUZZ=ON >/dev/null
cmake --build "$TREE" -j"$JOBS" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
summary=()
for t in "${targets[@]}"; do
    echo "== $t =="
    findings="$TREE/findings/$t"
    work="$TREE/corpus/$t"
    mkdir -p "$findings" "$work"
    if compgen -G "fuzz/regressions/$t/*" >/dev/null; then
        if ! "$TREE/fuzz/$t" fuzz/regressions/$t/* >"$TREE/$t.regressions.log" 2>&1; then
            echo "$t: a regression input fails"; tail -20 "$TREE/$t.regressions.log"
            failed+=("$t"); continue
        fi
    fi
    if ! "$TREE/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -timeout=20 -rss_limit_mb=2560 \
         -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" \
         "$work" "fuzz/corpus/$t" >"$TREE/$t.log" 2>&1; then
        echo "$t: finding"; grep -v "^#" "$TREE/$t.log" | tail -30
        failed+=("$t")
    fi
    runs=$(grep -o "stat::number_of_executed_units: [0-9]*" "$TREE/$t.log" | grep -o "[0-9]*$" || true)
    cov=$(grep -o "cov: [0-9]* ft: [0-9]*" "$TREE/$t.log" | tail -1 || true)
    summary+=("$t: ${runs:-?} runs in ${SECONDS_PER_TARGET} s, $cov")
done
echo
printf '%s\n' "${summary[@]}"
if ((${#failed[@]})); then
    echo "fuzz findings: ${failed[*]}"
    exit 1
fi
echo "fuzz: no findings"
