#!/usr/bin/env bash
# Checks that a plug-in library exports ordinals 1 to 6 and no names.
set -euo pipefail
dump=$(i686-w64-mingw32-objdump -p "$1")
names=$(printf '%s\n' "$dump" | sed -n 's/^\s*\[Name Pointer\/Ordinal\] Table\s*\([0-9a-fA-F]*\)$/\1/p')
slots=$(printf '%s\n' "$dump" | sed -n 's/^\s*Export Address Table\s*\([0-9a-fA-F]*\)$/\1/p' | head -n 1)
base=$(printf '%s\n' "$dump" | sed -n 's/^Ordinal Base\s*//p')
ordinals=$(printf '%s\n' "$dump" | sed -n 's/^\s*\[\s*[0-9]*\] +base\[\s*\([0-9]*\)\].*/\1/p' | tr '\n' ' ')
[ -n "$names" ] || { echo "FAIL: no export table"; exit 1; }
echo "names: $names, address table slots: $slots, ordinal base: $base, ordinals: $ordinals"
[ "$((16#$names))" -eq 0 ] || { echo "FAIL: the library exports names"; exit 1; }
[ "$((16#$slots))" -eq 6 ] || { echo "FAIL: expected six exports"; exit 1; }
[ "$ordinals" = "1 2 3 4 5 6 " ] || { echo "FAIL: expected ordinals 1 to 6"; exit 1; }
echo "ordinals 1 to 6, no names: ok"
