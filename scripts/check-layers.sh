#!/usr/bin/env bash
# Fails on any #include "folder/..." of the register that points upward (or
# sideways) in the folder order of layers.txt, printing the offending lines.
set -euo pipefail
cd "$(dirname "$0")/.."

awk '
    # First file: the order, top down; "folder: a b" narrows what it may use.
    FNR == NR {
        if ($0 ~ /^[a-z]/) {
            name = $1; sub(/:$/, "", name)
            rank[name] = ++count
            if ($0 ~ /:/) { allowed[name] = " " substr($0, index($0, ":") + 1) " " }
        }
        next
    }
    # Then every source file: its folder is the first part of its path.
    FNR == 1 { split(FILENAME, parts, "/"); own = parts[1] }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
        line = $0
        sub(/^[^"]*"/, "", line)
        split(line, target, "/")
        other = target[1]
        if (!(other in rank) || other == own && index(line, "/") == 0) next
        bad = 0
        if (own in allowed) bad = index(allowed[own], " " other " ") == 0 && other != own
        else bad = rank[other] <= rank[own] && other != own
        if (bad) { printf "%s:%d: %s\n", FILENAME, FNR, $0; failed = 1 }
    }
    END {
        if (failed) { print "includes above point upward in layers.txt" > "/dev/stderr"; exit 1 }
    }
' layers.txt $(for d in $(grep -E '^[a-z]' layers.txt | cut -d: -f1); do
    [ -d "$d" ] && find "$d" \( -name '*.h' -o -name '*.cpp' \)
done | sort)
echo "layers: every include points down"
