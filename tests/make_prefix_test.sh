#!/usr/bin/env bash
# The prefix script prepares a prefix other than the build's own with the
# post module in it: the programs just built, the sample NC systems and the
# registry values that name their folders; and the host's code reader
# registered. Unregistered again, reverse reading says the reader is missing
# and the command ends.
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
  NCSystems/SIEMENS-840D.mcf NCSystems/LinuxCNC.mcf NCSystems/LinuxCNC.xml; do
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
reader_key='HKCR\CLSID\{6B0C5C11-5F1D-4C8B-9C55-2B1E3A7D0A01}\InprocServer32'
if ! WINEPREFIX=$prefix "$root/scripts/wine-run" reg query "$reader_key" 2>/dev/null |
  grep -q 'zureader.dll'; then
  echo "the code reader is not registered"
  fail=1
fi

WINEPREFIX=$prefix "$root/scripts/wine-run" regsvr32 /u /s "$(winepath -w "$bin/zureader.dll")" \
  >/dev/null 2>&1 || true
# A server the prefix script left, started without a display, would break
# window creation; then the session processes start, as the display script
# starts them for the build's own prefix.
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
WINEPREFIX=$prefix "$root/scripts/wine-run" wineboot -u </dev/null >/dev/null 2>&1 || true
printf 'dialog 9000\nlist-click 9015 "FANUC-0i"\nok\n' >"$scratch/script.txt"
# The command ends on the reader's stop message: the host says so and exits
# with 6.
status=0
WINEPREFIX=$prefix "$root/scripts/wine-run" "$bin/zuhost.exe" run "$root/examples/milling_2d.json" \
  --command 6 --code-file "$root/gcode/samples/fanuc_plate.nc" \
  --automation "$scratch/script.txt" --record "$scratch/record.txt" >"$scratch/host.txt" 2>&1 ||
  status=$?
if [ "$status" != 6 ] ||
  ! grep -qF 'host: message "代码读取组件没有安装，无法反读代码。" stop' "$scratch/host.txt"; then
  echo "the host did not end on the reader's stop message (exit $status):"
  cat "$scratch/host.txt"
  fail=1
fi
for line in '代码读取组件没有安装，无法反读代码。' 'host command ended'; do
  if ! grep -qF "$line" "$scratch/record.txt" 2>/dev/null; then
    echo "without the code reader, the record lacks: $line"
    fail=1
  fi
done
[ $fail = 0 ] && echo "make-prefix prepared $prefix with the post module and the code reader"
exit $fail
