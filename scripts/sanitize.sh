#!/usr/bin/env bash
# The sanitizer trees, built with clang at -O1:
#   build-asan  AddressSanitizer + UndefinedBehaviorSanitizer: every unit and
#               end-to-end test (the simulators the end-to-end tests start
#               are built with them too);
#   build-tsan  ThreadSanitizer: the tests where threads meet (the queue,
#               the link with the core, the status and identity locks) and
#               the end-to-end tests of the host line.
# A report fails the run: the test processes stop at the first one, and the
# simulators write theirs to files that are looked for at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2}

reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT

build_tree() {  # tree sanitizers [targets...]
    local tree=$1 sanitizers=$2
    shift 2
    CC=clang CXX=clang++ cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Debug \
        -DOKTA_SANITIZE="$sanitizers" >/dev/null
    cmake --build "$tree" -j"$JOBS" ${1:+--target "$@"}
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:log_path=$reports/tsan"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
build_tree build-asan address,undefined
(cd build-asan && ctest --output-on-failure -j"$JOBS")

echo "== ThreadSanitizer =="
build_tree build-tsan thread unit_state unit_core unit_link unit_identity e2e_tests
(cd build-tsan && ctest --output-on-failure -j"$JOBS" -R '^(Queue|Status|CoreWorker|FrameLink|LinkCommands|LinkE2E|IdentityE2E|ConfigE2E|DocumentsE2E)\.')

if compgen -G "$reports/*" >/dev/null; then
    echo "sanitizer reports:"
    cat "$reports"/*
    exit 1
fi
echo "sanitizers: no reports"
