#!/usr/bin/env bash
# Installs the system packages a part of the work needs, when missing.
#   install-deps.sh [group ...]    groups: base (the default), arm, sanitize
#     base      build the register, the simulator, the host kit; run the tests
#     arm       the board build: ARM cross compiler and qemu-user
#     sanitize  the sanitizer trees and the fuzz targets: clang and its
#               sanitizer and libFuzzer runtimes (libclang-rt-14-dev)
set -euo pipefail

declare -A groups=(
    [base]="cmake g++ make libgtest-dev python3 python3-serial systemd"
    [arm]="g++-arm-linux-gnueabihf qemu-user"
    [sanitize]="clang libclang-rt-14-dev"
)

packages=()
for group in "${@:-base}"; do
    [[ -n "${groups[$group]:-}" ]] || { echo "install-deps.sh: unknown group $group" >&2; exit 2; }
    read -ra names <<<"${groups[$group]}"
    packages+=("${names[@]}")
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
