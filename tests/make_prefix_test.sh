#!/usr/bin/env bash
# The prefix script prepares a prefix other than the build's own with the
# post module in it: the programs just built, the sample NC systems and the
# registry values that name their folders.
#
#   tests/make_prefix_test.sh BIN_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$1
scratch=$(mktemp -d)
prefix=$scratch/prefix
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
"$root/scripts/make-prefix" "$prefix" "$bin" >/dev/null
fail=0
for file in Post/ORVOPost.exe Post/OrvoPostUI.exe NCSystems/FANUC-0i.mcf NCSystems/HNC-818.mcf \
  NCSystems/SIEMENS-840D.mcf; do
  if [ ! -f "$prefix/drive_c/ORVO/$file" ]; then
    echo "missing: C:\\ORVO\\$file"
    fail=1
  fi
done
if ! cmp -s "$bin/ORVOPost.exe" "$prefix/drive_c/ORVO/Post/ORVOPost.exe"; then
  echo "C:\\ORVO\\Post\\ORVOPost.exe is not the one just built"
  fail=1
fi
for value in '"PostModule"="C:\\ORVO\\Post"' '"PostPath"="C:\\ORVO\\NCSystems"'; do
  if ! grep -qF "$value" "$prefix/system.reg"; then
    echo "the registry lacks $value"
    fail=1
  fi
done
[ $fail = 0 ] && echo "make-prefix prepared $prefix with the post module"
exit $fail
