#!/usr/bin/env bash
# Usage: e2e_test.sh SCENARIO LOADER PREFIX TAVRELON_EXE DRIVER_EXE OUT_DIR
# Runs one end-to-end scenario: Tavrelon.exe under the Wine LOADER in the
# Wine prefix PREFIX, on the display in DISPLAY, driven by DRIVER_EXE. The
# program runs in OUT_DIR/work/SCENARIO, a fresh folder, which is where its
# settings file goes. Exit status 0 when every check passed, 77 (skipped)
# without a display.
set -euo pipefail
[ $# -eq 6 ] || { echo "usage: $0 SCENARIO LOADER PREFIX TAVRELON_EXE DRIVER_EXE OUT_DIR" >&2; exit 2; }
scenario=$1 loader=$2 prefix=$(realpath -m "$3")
program=$(realpath "$4") driver=$(realpath "$5") out=$(realpath -m "$6")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/lib/wine.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "skipped: no DISPLAY (scripts/test runs these tests in a virtual display)"
  exit 77
fi
wine_prefix_ensure "$loader" "$prefix"
export WINEPREFIX=$prefix
WINEARCH=$(wine_arch "$loader")
export WINEARCH

work=$out/work/$scenario
rm -rf "$work"
mkdir -p "$work"
cd "$work"

settings=$work/Tavrelon.GYD
# A drive letter of this suite's own for a test tree (the unit tests take
# letters from F to P, and Q and R).
drive_letter=v
program_pid=''
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid"; fi
  rm -f "$prefix/dosdevices/$drive_letter:"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; exit 1; }
check() {  # LABEL EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

drive() { "$loader" "$driver" "$@"; }

start_program() {
  "$loader" "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  drive wait-window 30 || fail "the main window did not appear"
}

# expect_end SECONDS: the program ends by itself within SECONDS, status 0.
expect_end() {
  local tenths=$(($1 * 10)) status=0
  while kill -0 "$program_pid" 2>/dev/null && [ "$tenths" -gt 0 ]; do
    sleep 0.1
    tenths=$((tenths - 1))
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after $1 s"
  wait "$program_pid" || status=$?
  program_pid=''
  check "exit status" 0 "$status"
}

# The settings file's bytes for two fields given in UTF-8.
settings_bytes() { printf '"%s","%s"\r\n' "$1" "$2" | iconv -f UTF-8 -t CP932; }

# The Windows path of a folder of this machine (Z: is the root).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

save_screenshot() {
  local left top width height
  read -r left top width height < <(drive rect)
  mkdir -p "$out/screenshots"
  import -window root -crop "${width}x${height}+${left}+${top}" "$out/screenshots/$1.png" ||
    echo "note: no screenshot (ImageMagick's import failed)"
}

# --- Scenarios -------------------------------------------------------------

startup_texts_and_states() {
  start_program
  check "title" "Tavrelon" "$(drive text MAINFORM)"
  check "TEXT1" " 「方向ボタン」を押すと検索を開始します。" "$(drive text TEXT1)"
  check "BUTTON1" "..." "$(drive text BUTTON1)"
  check "BUTTON2" "←" "$(drive text BUTTON2)"
  check "BUTTON3" "→" "$(drive text BUTTON3)"
  check "BUTTON4" "中　止" "$(drive text BUTTON4)"
  check "EDIT3" "作成or更新対象となるフォルダ・ファイル" "$(drive text EDIT3)"
  check "EDIT4" "削除対象となるフォルダ・ファイル" "$(drive text EDIT4)"
  check "TEXT5" "(本体k内の親ディレクトリとみなすフォルダ)" "$(drive text TEXT5)"
  check "TEXT6" "(ＵＳＢ等の接続ドライブ)" "$(drive text TEXT6)"
  check "CHECK1" "フォルダ・ファイルの削除はしない" "$(drive text CHECK1)"
  check "EDIT1 without a settings file" "" "$(drive text EDIT1)"
  check "COMBO1 without a settings file" "" "$(drive text COMBO1)"
  local name
  for name in BUTTON1 BUTTON2 BUTTON3 BUTTON4 EDIT1 COMBO1; do
    check "$name enabled" 1 "$(drive enabled "$name")"
  done
  check "CHECK1 disabled" 0 "$(drive enabled CHECK1)"
  check "CHECK1 unchecked" 0 "$(drive checked CHECK1)"
  check "LIST1 empty" "" "$(drive items LIST1)"
  check "LIST2 empty" "" "$(drive items LIST2)"
  local width height
  read -r _ _ width height < <(drive rect)
  check "outer size" "940 724" "$width $height"
  local drives
  drives=$(drive items COMBO1)
  check "C: listed as a fixed disk" "C: 固定ディスク" "$(grep '^C: ' <<<"$drives")"
  check "drives in letter order" "$(cut -c1 <<<"$drives" | sort)" "$(cut -c1 <<<"$drives")"
  check "every entry a letter and ': '" "" "$(grep -v '^[A-Z]: ' <<<"$drives" || true)"
  save_screenshot main_window
}

stop_in_selection_writes_nothing() {
  start_program
  drive click BUTTON4
  expect_end 10
  check "no settings file" "absent" "$([ -e "$settings" ] && echo present || echo absent)"
}

settings_file_shown() {
  local folder='C:\作業,資料' entry='E: USB・FD等交換可能ディスク'
  settings_bytes "$folder" "$entry" >"$settings"
  cp "$settings" "$work/settings.before"
  start_program
  check "EDIT1 from the settings file" "$folder" "$(drive text EDIT1)"
  check "COMBO1 from the settings file" "$entry" "$(drive text COMBO1)"
}

closing_the_window_ends_the_program() {
  settings_bytes 'C:\x' 'C: 固定ディスク' >"$settings"
  cp "$settings" "$work/settings.before"
  start_program
  drive close
  expect_end 10
  check "settings file unchanged" same "$(cmp -s "$settings" "$work/settings.before" && echo same || echo changed)"
}

direction_press_reaches_completion() {
  # Both sides hold the same empty first-level folder: nothing to do.
  mkdir -p "$work/folder/a" "$work/drive/a"
  wine_set_link "$prefix" "$drive_letter" "$work/drive"
  local folder entry
  folder=$(windows_path "$work/folder")
  entry="${drive_letter^^}: 固定ディスク"
  start_program
  drive set-text EDIT1 "　$folder "
  drive set-text COMBO1 "$entry"
  drive click BUTTON3
  local box
  box=$(drive box-text 30) || fail "no message box after the scan"
  check "scan result box" "$(printf '検索完了！\n作成・更新・削除の対象となるファイルがありませんでした')" "$box"
  check "BUTTON2 disabled by the first press of →" 0 "$(drive enabled BUTTON2)"
  drive box-answer OK
  expect_end 20
  check "settings file written" "$(settings_bytes "$folder" "$entry" | od -An -tx1)" \
    "$(od -An -tx1 "$settings" 2>/dev/null || echo missing)"
}

keyboard_tab_and_enter() {
  start_program
  check "focus at start" MAINFORM "$(drive focus)"
  drive key TAB
  check "Tab from the form: the first tab stop" LIST2 "$(drive focus)"
  drive key SHIFT+TAB
  check "Shift+Tab back to the form" MAINFORM "$(drive focus)"
  drive key SHIFT+TAB
  check "Shift+Tab from the form: the last enabled tab stop" LIST1 "$(drive focus)"
  drive key TAB
  check "Tab after the last tab stop: the form" MAINFORM "$(drive focus)"
  drive key TAB TAB TAB TAB TAB TAB
  check "six Tabs from the form" BUTTON4 "$(drive focus)"
  drive key ENTER
  expect_end 10
}

browser_cancel_keeps_folder() {
  start_program
  drive set-text EDIT1 'C:\windows'
  drive click BUTTON1
  drive box-text 30 >/dev/null || fail "the folder browser did not open"
  drive box-answer CANCEL
  sleep 0.5
  check "EDIT1 after a cancelled browser" 'C:\windows' "$(drive text EDIT1)"
  drive click BUTTON4
  expect_end 10
}

declare -F "$scenario" >/dev/null || fail "no scenario named $scenario"
"$scenario"
if [ -n "$program_pid" ]; then
  drive close >/dev/null 2>&1 || true
  expect_end 10
fi
echo "$scenario: $failures failed check(s)"
[ "$failures" -eq 0 ]
