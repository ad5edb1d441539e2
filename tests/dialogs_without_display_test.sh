#!/usr/bin/env bash
# Without a display no dialog can be shown. Every command that opens one
# then ends as on Cancel and says so on the prompt line: entry point 1 does
# not go on to picking with an empty code-file name, and nothing is posted
# or read back. (Entry point 2 is left out: it rewrites the build's own
# settings file whatever its dialog gives.)
#
#   tests/dialogs_without_display_test.sh BIN_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$1
document=$(winepath -w "$root/examples/milling_2d.json")
fail=0
for arguments in "--command 1 --pick all" "--command 4" "--command 5 --pick all" \
  "--command 6 --code-file C:\\none.nc"; do
  # shellcheck disable=SC2086
  output=$(env -u DISPLAY "$root/scripts/wine-run" "$bin/zuhost.exe" run "$document" $arguments 2>&1) ||
    true
  for expected in 'host: prompt "对话框无法显示，命令没有执行。"' 'host: command ended'; do
    if ! grep -qF "$expected" <<<"$output"; then
      echo "$arguments: the output lacks $expected"
      fail=1
    fi
  done
  for unexpected in 'host: pick state 235' 'host: prompt "生成' '代码反读数据处理'; do
    if grep -qF "$unexpected" <<<"$output"; then
      echo "$arguments: the output has $unexpected"
      fail=1
    fi
  done
  [ $fail = 0 ] || printf '%s\n' "$output"
done
[ $fail = 0 ] && echo "every dialog without a display ended its command as cancelled"
exit $fail
