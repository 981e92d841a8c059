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
# A scenario's folder tree on the prefix's C: drive, removed at the end.
c_tree=''
# Set while the prefix reports a scale other than 100 %.
scaled=''
cleanup() {
  if [ -n "$scaled" ]; then wine_set_dpi "$loader" "$prefix" 96; fi
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid"; fi
  rm -f "$prefix/dosdevices/$drive_letter:"
  if [ -n "$c_tree" ]; then
    rm -rf "$c_tree"
    rmdir "$(dirname "$c_tree")" 2>/dev/null || true
  fi
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

# check_lines LABEL EXPECTED ACTUAL: the same for texts of several lines;
# a difference is shown line by line.
check_lines() {
  if [ "$2" == "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1 (- expected, + actual):"
    diff -u <(printf '%s\n' "$2") <(printf '%s\n' "$3") | tail -n +3 || true
    failures=$((failures + 1))
  fi
}

drive() { "$loader" "$driver" "$@"; }

# list_items LIST: the items of a list, one a line. The driver is asked again
# if it could not find the window at once (seen once on a loaded machine);
# a window that stays missing fails the scenario.
list_items() {
  local out try
  for try in 1 2 3; do
    if out=$(drive items "$1"); then
      printf '%s\n' "$out"
      return 0
    fi
    sleep 0.5
  done
  echo "FAIL: $1 not found" >&2
  return 1
}

# wait_for LABEL EXPECTED COMMAND...: checks that COMMAND prints EXPECTED
# within 10 s.
wait_for() {
  local label=$1 wanted=$2 tenths=100 got=''
  shift 2
  while got=$("$@"); [ "$got" != "$wanted" ] && [ "$tenths" -gt 0 ]; do
    sleep 0.1
    tenths=$((tenths - 1))
  done
  check "$label" "$wanted" "$got"
}

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
  check "LIST2 empty" "" "$(list_items LIST2)"
  local width height
  read -r _ _ width height < <(drive rect)
  check "outer size" "940 724" "$width $height"
  check "LIST1's rows as high as its font's cells (16-pixel characters)" 17 "$(drive item-height LIST1)"
  local drives
  drives=$(drive items COMBO1)
  check "C: listed as a fixed disk" "C: 固定ディスク" "$(grep '^C: ' <<<"$drives")"
  check "drives in letter order" "$(cut -c1 <<<"$drives" | sort)" "$(cut -c1 <<<"$drives")"
  check "every entry a letter and ': '" "" "$(grep -v '^[A-Z]: ' <<<"$drives" || true)"
  save_screenshot main_window
}

# At 150 %: Wine reports 144 DPI to the program alone (the prefix's setting
# is given back as soon as its window is up), which draws the form at 1.5
# times its figures: the frame, each control's place and its text.
window_at_150_percent() {
  scaled=1
  wine_set_dpi "$loader" "$prefix" 144
  start_program
  wine_set_dpi "$loader" "$prefix" 96
  scaled=''
  local width height
  read -r _ _ width height < <(drive rect)
  check "outer size at 144 DPI" "1410 1086" "$width $height"
  check_lines "every control at 1.5 times its place (lists and combo box without heights)" \
    "LIST2 24 732 1344
EDIT1 48 48 600 36
BUTTON1 12 48 36 36
BUTTON2 672 48 108 36
BUTTON3 780 48 120 36
BUTTON4 1200 972 168 36
EDIT3 24 144 1344 36
EDIT4 24 696 1344 36
TEXT1 24 96 1344 48
COMBO1 912 48 456
TEXT5 48 24 552 24
TEXT6 912 24 444 24
LIST1 24 180 1344
CHECK1 24 972 492 36" "$(drive places)"
  check "LIST1's rows as high as its font's cells (24-pixel characters)" 26 "$(drive item-height LIST1)"
  check "TEXT1" " 「方向ボタン」を押すと検索を開始します。" "$(drive text TEXT1)"
  save_screenshot window_at_150_percent
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

# --- Whole synchronisations --------------------------------------------------
# A folder tree on the prefix's C: drive (the folder side) and one at the root
# of drive V: (the drive side), scanned, reviewed with withdrawals by
# double-click, carried out, and compared on disk afterwards. Times are noon,
# a day or more apart, so that the dates shown do not depend on the time zone
# and every update is beyond doubt.

t_same='2024-03-15 12:00:00'
t_old='2024-04-30 12:00:00' d_old='2024/04/30'
t_new='2024-05-01 12:00:00' d_new='2024/05/01'

found_text='検索完了！　　再度 「方向ボタン」を押すと処理を開始します。Ｗクリックでリストの取消ができます。'
file_question='下記の選択ファイルをリストからはずしますか'
folder_question='下記の選択フォルダをリストからはずしますか'
folder_note=$'\r\r選択フォルダ内のファイルもリストからはずれます'

# put_file PATH TIME CONTENT: a file holding CONTENT, last written at TIME.
put_file() {
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "$3" >"$1"
  touch -d "$2" "$1"
}

# tree_listing DIR [NAME]: every folder ("path/") and file ("path|time|content")
# under DIR, in byte order of the paths, without the program's own state
# folder at the top (it never takes part in a run), nor NAME at the top.
tree_listing() {
  local path
  (cd "$1" && find . -mindepth 1 \( -path ./.tavrelon -o -path "./${2:-.tavrelon}" \) -prune -o -printf '%P\n' | LC_ALL=C sort | while IFS= read -r path; do
    if [ -d "$path" ]; then
      printf '%s/\n' "$path"
    else
      printf '%s|%s|%s\n' "$path" "$(date -r "$path" '+%F %T')" "$(cat "$path")"
    fi
  done)
}

# The lines of a listing given one a line, in byte order as tree_listing has them.
byte_order() { LC_ALL=C sort; }

# A list line as the review state shows it: the text, spaces up to the width
# in code page 932 bytes (126 for a file to copy, 256 for the others), and the
# index right-aligned in 8 characters.
list_line() {  # TEXT WIDTH INDEX
  local bytes
  bytes=$(printf '%s' "$1" | iconv -f UTF-8 -t CP932 | wc -c)
  printf '%s%*s%8d\n' "$1" $(($2 > bytes ? $2 - bytes : 0)) '' "$3"
}
copy_line() { list_line "$1" 126 "$2"; }          # TEXT SLOT
other_line() { list_line "$1" 256 $((1000000 * $3 + $2)); }  # TEXT SLOT FOLDER(0/1)

# row_of LIST TEXT: the row (from 0) of the line that shows TEXT.
row_of() {
  drive items "$1" | T=$2 awk 'index($0, ENVIRON["T"] " ") == 1 { print NR - 1; exit }'
}

# withdraw LIST TEXT CAPTION BODY ANSWER: double-clicks the line of TEXT,
# checks the confirmation box, answers it and waits until the list has been
# built again (it then has no selected row).
withdraw() {
  local list=$1 text=$2 caption=$3 body=$4 answer=$5 row box
  row=$(row_of "$list" "$text")
  [ -n "$row" ] || fail "$list shows no line $text"
  drive dblclick "$list" "$row"
  box=$(drive box-text 10) || fail "no confirmation box after a double-click on $text"
  check "$list box for $text" "$caption"$'\n'"$body" "$box"
  drive box-answer "$answer"
  wait_for "$list rebuilt after $answer on $text" -1 drive selected "$list"
}

# check_list1 LABEL EXPECTED: LIST1 holds the expected lines, in the order a
# sorted list box gives them.
check_list1() {
  local items sorted
  items=$(list_items LIST1) || fail "LIST1 not found"
  check_lines "$1" "$(byte_order <<<"$2")" "$(byte_order <<<"$items")"
  sorted=$(drive sort-items LIST1) || fail "the driver could not sort LIST1's items"
  check_lines "$1, in sorted order" "$sorted" "$items"
}

# start_sync FOLDER BUTTON: starts the program on the folder (a Windows path)
# and the test drive, presses the direction BUTTON and returns once the scan
# has ended with entries found.
start_sync() {
  start_program
  drive set-text EDIT1 "$1"
  drive set-text COMBO1 "${drive_letter^^}: 固定ディスク"
  drive click "$2"
  drive wait-text TEXT1 "$found_text" 30 ||
    fail "the scan did not end with its text in TEXT1 (it shows: $(drive text TEXT1))," \
      "message box [$(drive box-text 0 | tr '\r\n' '  ' || true)]"
}

# finish_sync BUTTON: the second press; the execution runs to the completion
# state.
finish_sync() {
  drive click "$1"
  if ! drive wait-text TEXT1 '処理完了！　' 20; then
    fail "no completion text in TEXT1; it shows [$(drive text TEXT1)]," \
      "message box [$(drive box-text 0 | tr '\r\n' '  ' || true)]"
  fi
  # Read again if the first reading across processes comes back empty.
  wait_for "BUTTON4 at the end" '終  了' drive text BUTTON4
  wait_for "EDIT3 heading after the execution" '作成or更新したファイル' drive text EDIT3
  wait_for "EDIT4 heading after the execution" '削除したファイル' drive text EDIT4
}

# "→": the folder's tree is brought onto the drive. Deletions are withdrawn
# in LIST2: Cancel on a folder, OK on a lone file, and OK on a file inside a
# folder to delete, which keeps that folder too.
sync_to_drive() {
  local f="$prefix/drive_c/tavrelon-e2e/$scenario" d=$work/drive
  c_tree=$f
  rm -rf "$f"
  local folder="C:\\tavrelon-e2e\\$scenario" v="${drive_letter^^}:"

  # Directly in the roots, and first-level folders on one side only.
  put_file "$f/top.txt" "$t_new" 'top (folder)'
  put_file "$d/top.txt" "$t_old" 'top (drive)'
  put_file "$f/rootonly.txt" "$t_new" 'root only'
  put_file "$f/onlyfolder/x.txt" "$t_new" x
  put_file "$f/onlyfolder/sub/y.txt" "$t_new" y
  put_file "$d/driveonly/z.txt" "$t_old" z
  put_file "$d/driveonly/sub/w.txt" "$t_old" w
  # A first-level folder on both sides.
  put_file "$f/docs/same.txt" "$t_same" 'same (folder)'
  put_file "$d/docs/same.txt" "$t_same" 'same (drive)'
  put_file "$f/docs/newer.txt" "$t_new" 'newer (folder)'
  put_file "$d/docs/newer.txt" "$t_old" 'newer (drive)'
  put_file "$f/docs/older.txt" "$t_old" 'older (folder)'
  put_file "$d/docs/older.txt" "$t_new" 'older (drive)'
  put_file "$f/docs/new.txt" "$t_new" new
  put_file "$f/docs/表ソ.txt" "$t_new" '表ソ'
  put_file "$f/docs/sub/a.txt" "$t_new" a
  put_file "$f/docs/sub/deeper/b.txt" "$t_new" b
  put_file "$d/docs/gone.txt" "$t_old" gone
  put_file "$d/docs/keepme.txt" "$t_old" keepme
  put_file "$d/docs/old/c.txt" "$t_old" c
  put_file "$d/docs/old/inner/d.txt" "$t_old" d
  put_file "$f/資料/メモ.txt" "$t_new" 'メモ (folder)'
  put_file "$d/資料/メモ.txt" "$t_old" 'メモ (drive)'
  local folder_before
  folder_before=$(tree_listing "$f")
  wine_set_link "$prefix" "$drive_letter" "$d"

  start_sync "$folder" BUTTON3
  # Slots: updates of the drive's walk first, then creations of the folder's.
  check_list1 "LIST1 after the scan" "$(
    copy_line "(更新) $v\\docs\\newer.txt  ($d_new)→($d_old)" 1
    copy_line "(更新) $v\\資料\\メモ.txt  ($d_new)→($d_old)" 2
    copy_line "(作成) $v\\docs\\new.txt  ($d_new)→()" 3
    copy_line "(作成) $v\\docs\\表ソ.txt  ($d_new)→()" 4
    copy_line "(作成) $v\\docs\\sub\\a.txt  ($d_new)→()" 5
    copy_line "(作成) $v\\docs\\sub\\deeper\\b.txt  ($d_new)→()" 6
    other_line "(作成) $v\\docs\\sub" 1 1
    other_line "(作成) $v\\docs\\sub\\deeper" 2 1)"
  local gone keepme old_c old_d old inner
  gone=$(other_line "(削除) $v\\docs\\gone.txt" 1 0)
  keepme=$(other_line "(削除) $v\\docs\\keepme.txt" 2 0)
  old_c=$(other_line "(削除) $v\\docs\\old\\c.txt" 3 0)
  old_d=$(other_line "(削除) $v\\docs\\old\\inner\\d.txt" 4 0)
  old=$(other_line "(削除) $v\\docs\\old" 1 1)
  inner=$(other_line "(削除) $v\\docs\\old\\inner" 2 1)
  local list2
  list2=$(printf '%s\n' "$gone" "$keepme" "$old_c" "$old_d" "$old" "$inner")
  check_lines "LIST2 after the scan" "$list2" "$(list_items LIST2)"
  save_screenshot sync_to_drive_review

  withdraw LIST2 "(削除) $v\\docs\\old" "$folder_question" "(削除) $v\\docs\\old$folder_note" CANCEL
  check_lines "LIST2 after Cancel" "$list2" "$(list_items LIST2)"
  withdraw LIST2 "(削除) $v\\docs\\keepme.txt" "$file_question" "(削除) $v\\docs\\keepme.txt" OK
  check_lines "LIST2 after OK on a file" "$(printf '%s\n' "$gone" "$old_c" "$old_d" "$old" "$inner")" \
    "$(list_items LIST2)"
  withdraw LIST2 "(削除) $v\\docs\\old\\c.txt" "$file_question" "(削除) $v\\docs\\old\\c.txt" OK
  check_lines "LIST2 after OK on a file in a folder to delete: the folder stays too" \
    "$(printf '%s\n' "$gone" "$old_d" "$inner")" "$(list_items LIST2)"

  finish_sync BUTTON3
  check_list1 "LIST1 after the execution" "$(printf '%s\n' \
    "(作成) $v\\docs\\sub" "(作成) $v\\docs\\sub\\deeper" \
    "(更新) $v\\docs\\newer.txt" "(更新) $v\\資料\\メモ.txt" "(更新) $v\\docs\\new.txt" \
    "(更新) $v\\docs\\表ソ.txt" "(更新) $v\\docs\\sub\\a.txt" "(更新) $v\\docs\\sub\\deeper\\b.txt")"
  # Files first, then folders, the deepest first.
  check_lines "LIST2 after the execution" "$(printf '%s\n' "(削除) $v\\docs\\gone.txt" \
    "(削除) $v\\docs\\old\\inner\\d.txt" "(削除) $v\\docs\\old\\inner")" "$(list_items LIST2)"
  drive click BUTTON4
  expect_end 10

  check_lines "drive tree after →" "$(byte_order <<EOF2
top.txt|$t_old|top (drive)
driveonly/
driveonly/z.txt|$t_old|z
driveonly/sub/
driveonly/sub/w.txt|$t_old|w
docs/
docs/same.txt|$t_same|same (drive)
docs/newer.txt|$t_new|newer (folder)
docs/older.txt|$t_new|older (drive)
docs/new.txt|$t_new|new
docs/表ソ.txt|$t_new|表ソ
docs/sub/
docs/sub/a.txt|$t_new|a
docs/sub/deeper/
docs/sub/deeper/b.txt|$t_new|b
docs/keepme.txt|$t_old|keepme
docs/old/
docs/old/c.txt|$t_old|c
資料/
資料/メモ.txt|$t_new|メモ (folder)
EOF2
)" "$(tree_listing "$d")"
  check_lines "folder tree after → (the source, unchanged)" "$folder_before" "$(tree_listing "$f")"
  check_lines "what the run deleted or replaced, kept on the drive" "$(byte_order <<EOF2
docs/
docs/gone.txt|$t_old|gone
docs/newer.txt|$t_old|newer (drive)
docs/old/
docs/old/inner/
docs/old/inner/d.txt|$t_old|d
資料/
資料/メモ.txt|$t_old|メモ (drive)
EOF2
)" "$(tree_listing "$d"/.tavrelon/kept/* journal)"
  check "settings file written" "$(settings_bytes "$folder" "$v 固定ディスク" | od -An -tx1)" \
    "$(od -An -tx1 "$settings" 2>/dev/null || echo missing)"
}

# "←": the drive's tree is brought into the folder. A file to update is
# kept with Cancel; a new folder is withdrawn with OK, which withdraws its
# files and its sub-folder but not a sibling whose name begins with its name.
sync_to_folder() {
  local f="$prefix/drive_c/tavrelon-e2e/$scenario" d=$work/drive
  c_tree=$f
  rm -rf "$f"
  local folder="C:\\tavrelon-e2e\\$scenario" v="${drive_letter^^}:"
  local c=$folder  # the destination root in the lines

  put_file "$d/top.txt" "$t_new" 'top (drive)'
  put_file "$f/top.txt" "$t_old" 'top (folder)'
  put_file "$d/rootonly.txt" "$t_new" 'root only'
  put_file "$d/driveonly/e.txt" "$t_new" e
  put_file "$d/driveonly/sub/f.txt" "$t_new" f
  put_file "$f/folderonly/g.txt" "$t_old" g
  put_file "$f/folderonly/sub/k.txt" "$t_old" k
  put_file "$d/docs/same.txt" "$t_same" 'same (drive)'
  put_file "$f/docs/same.txt" "$t_same" 'same (folder)'
  put_file "$d/docs/newer.txt" "$t_new" 'newer (drive)'
  put_file "$f/docs/newer.txt" "$t_old" 'newer (folder)'
  put_file "$d/docs/older.txt" "$t_old" 'older (drive)'
  put_file "$f/docs/older.txt" "$t_new" 'older (folder)'
  put_file "$d/docs/new.txt" "$t_new" new
  put_file "$d/docs/sub/a.txt" "$t_new" a
  put_file "$d/docs/sub/deeper/b.txt" "$t_new" b
  put_file "$d/docs/sub2/c.txt" "$t_new" c
  put_file "$f/docs/gone.txt" "$t_old" gone
  put_file "$f/docs/old/h.txt" "$t_old" h
  put_file "$d/資料/ソ表/メモ.txt" "$t_new" 'メモ'
  mkdir -p "$f/資料"
  local drive_before
  drive_before=$(tree_listing "$d")
  wine_set_link "$prefix" "$drive_letter" "$d"

  start_sync "$folder" BUTTON2
  # Slots: creations and updates in the drive's walk order.
  local new newer a b c2 memo sub deeper sub2 soh
  new=$(copy_line "(作成) $c\\docs\\new.txt  ()←($d_new)" 1)
  newer=$(copy_line "(更新) $c\\docs\\newer.txt  ($d_old)←($d_new)" 2)
  a=$(copy_line "(作成) $c\\docs\\sub\\a.txt  ()←($d_new)" 3)
  b=$(copy_line "(作成) $c\\docs\\sub\\deeper\\b.txt  ()←($d_new)" 4)
  c2=$(copy_line "(作成) $c\\docs\\sub2\\c.txt  ()←($d_new)" 5)
  memo=$(copy_line "(作成) $c\\資料\\ソ表\\メモ.txt  ()←($d_new)" 6)
  sub=$(other_line "(作成) $c\\docs\\sub" 1 1)
  deeper=$(other_line "(作成) $c\\docs\\sub\\deeper" 2 1)
  sub2=$(other_line "(作成) $c\\docs\\sub2" 3 1)
  soh=$(other_line "(作成) $c\\資料\\ソ表" 4 1)
  local list1
  list1=$(printf '%s\n' "$new" "$newer" "$a" "$b" "$c2" "$memo" "$sub" "$deeper" "$sub2" "$soh")
  check_list1 "LIST1 after the scan" "$list1"
  check_lines "LIST2 after the scan" "$(
    other_line "(削除) $c\\docs\\gone.txt" 1 0
    other_line "(削除) $c\\docs\\old\\h.txt" 2 0
    other_line "(削除) $c\\docs\\old" 1 1)" "$(list_items LIST2)"
  save_screenshot sync_to_folder_review

  withdraw LIST1 "(更新) $c\\docs\\newer.txt" "$file_question" \
    "(更新) $c\\docs\\newer.txt  ($d_old)←($d_new)" CANCEL
  check_list1 "LIST1 after Cancel" "$list1"
  withdraw LIST1 "(作成) $c\\docs\\sub" "$folder_question" "(作成) $c\\docs\\sub$folder_note" OK
  check_list1 "LIST1 after OK on a new folder" \
    "$(printf '%s\n' "$new" "$newer" "$c2" "$memo" "$sub2" "$soh")"

  finish_sync BUTTON2
  check_list1 "LIST1 after the execution" "$(printf '%s\n' \
    "(作成) $c\\docs\\sub2" "(作成) $c\\資料\\ソ表" "(更新) $c\\docs\\new.txt" \
    "(更新) $c\\docs\\newer.txt" "(更新) $c\\docs\\sub2\\c.txt" "(更新) $c\\資料\\ソ表\\メモ.txt")"
  check_lines "LIST2 after the execution" "$(printf '%s\n' "(削除) $c\\docs\\gone.txt" \
    "(削除) $c\\docs\\old\\h.txt" "(削除) $c\\docs\\old")" "$(list_items LIST2)"
  drive click BUTTON4
  expect_end 10

  check_lines "folder tree after ←" "$(byte_order <<EOF2
top.txt|$t_old|top (folder)
folderonly/
folderonly/g.txt|$t_old|g
folderonly/sub/
folderonly/sub/k.txt|$t_old|k
docs/
docs/same.txt|$t_same|same (folder)
docs/newer.txt|$t_new|newer (drive)
docs/older.txt|$t_new|older (folder)
docs/new.txt|$t_new|new
docs/sub2/
docs/sub2/c.txt|$t_new|c
資料/
資料/ソ表/
資料/ソ表/メモ.txt|$t_new|メモ
EOF2
)" "$(tree_listing "$f")"
  check_lines "drive tree after ← (the source, unchanged)" "$drive_before" "$(tree_listing "$d")"
  check "settings file written" "$(settings_bytes "$folder" "$v 固定ディスク" | od -An -tx1)" \
    "$(od -An -tx1 "$settings" 2>/dev/null || echo missing)"
}

# Links to folders outside both trees, made on this machine's side: Wine
# shows them as folders with the reparse attribute. Through "→" the drive
# holds one where the folder has files, through "←" the folder does; neither
# receives anything, nor is deleted, and the run goes on to its end.
links_take_no_part() {
  local f=$work/folder d=$work/drive outside=$work/outside
  put_file "$outside/old.txt" "$t_old" outside
  put_file "$f/p/x.txt" "$t_new" x
  put_file "$f/p/sub/new.txt" "$t_new" new
  mkdir -p "$d/p"
  ln -s "$outside" "$d/p/sub"
  put_file "$d/q/sub/new.txt" "$t_new" new
  put_file "$d/q/y.txt" "$t_new" y
  mkdir -p "$f/q"
  ln -s "$outside" "$f/q/sub"
  local before
  before=$(tree_listing "$outside")
  wine_set_link "$prefix" "$drive_letter" "$d"
  # Without deletions, so that each run keeps what the other one brings.
  local arrow
  for arrow in BUTTON3 BUTTON2; do
    start_sync "$(windows_path "$f")" "$arrow"
    drive click CHECK1
    finish_sync "$arrow"
    drive click BUTTON4
    expect_end 10
  done
  check "→ copied beside the link" x "$(cat "$d/p/x.txt")"
  check "the drive's link stays" link "$([ -L "$d/p/sub" ] && echo link || echo gone)"
  check "← copied beside the link" y "$(cat "$f/q/y.txt")"
  check "the folder's link stays" link "$([ -L "$f/q/sub" ] && echo link || echo gone)"
  check_lines "nothing written or deleted through a link" "$before" "$(tree_listing "$outside")"
}

# Closing the window in the middle of a big copy: the copy is abandoned at
# once and the program ends; the window stays on the screen until the
# process ends; the file keeps its old content, nothing stray stays beside
# it, and no settings file is written (the run did not complete).
close_during_a_copy() {
  local f=$work/folder d=$work/drive
  mkdir -p "$f/p"
  put_file "$d/p/big.bin" "$t_old" old
  truncate -s $((3 << 30)) "$f/p/big.bin"   # sparse: cheap to make, long to copy
  wine_set_link "$prefix" "$drive_letter" "$d"
  start_sync "$(windows_path "$f")" BUTTON3
  drive click BUTTON3
  # The copy is seen on the drive, not through the window: a window busy
  # writing answers text requests late.
  local tenths=300
  until compgen -G "$d/p/*tavrelon-*.tmp" >/dev/null; do
    [ "$tenths" -gt 0 ] || fail "the copy did not start; TEXT1 shows" \
      "[$(timeout 5 "$loader" "$driver" text TEXT1 || true)], the drive holds [$(ls -A "$d/p" | tr '\n' ' ')]"
    sleep 0.1
    tenths=$((tenths - 1))
  done
  local closed_at
  closed_at=$(date +%s%N)
  drive close
  # A window gone while the process goes on for more than a moment would
  # let the user believe the program has ended.
  local gone_at=''
  while kill -0 "$program_pid" 2>/dev/null; do
    if ! drive wait-window 0 >/dev/null 2>&1; then gone_at=$(date +%s%N); break; fi
    sleep 0.05
  done
  expect_end 30
  local ended_at
  ended_at=$(date +%s%N)
  echo "close to end of the process: $(( (ended_at - closed_at) / 1000000 )) ms"
  check "the window stays until the process ends" yes \
    "$([ -z "$gone_at" ] || [ $((ended_at - gone_at)) -lt 1000000000 ] && echo yes || echo no)"
  check "the file keeps its old content" old "$(cat "$d/p/big.bin")"
  check "nothing stray beside it" "big.bin" "$(ls -A "$d/p" | tr '\n' ' ' | sed 's/ $//')"
  check "no settings file" absent "$([ -e "$settings" ] && echo present || echo absent)"
}

# Two runs "→" over one pair: a file saved on the drive between them is not
# deleted by the second, and its box says why.
record_keeps_what_the_drive_gained() {
  local f=$work/folder d=$work/drive
  put_file "$f/p/a.txt" "$t_new" 'new a'
  put_file "$d/p/a.txt" "$t_old" 'old a'
  wine_set_link "$prefix" "$drive_letter" "$d"
  start_sync "$(windows_path "$f")" BUTTON3
  finish_sync BUTTON3
  drive click BUTTON4
  expect_end 10
  put_file "$d/p/saved on the stick.txt" "$t_new" 'work'
  put_file "$f/p/b.txt" "$t_new" b
  start_sync "$(windows_path "$f")" BUTTON3
  local box
  box=$(drive box-text 10) || fail "no box of what the record protects"
  check "box of what the record protects" "前回の処理との照合"$'\n'"次のファイル・フォルダは前回の処理の後に作成または変更されたため、リストからはずしました"$'\r\r'"p\\saved on the stick.txt（前回の後に作成）" "$box"
  drive box-answer OK
  finish_sync BUTTON3
  drive click BUTTON4
  expect_end 10
  check "the file saved on the drive" work "$(cat "$d/p/saved on the stick.txt")"
  check "the new copy" b "$(cat "$d/p/b.txt")"
}

# undo_in_a_new_start FOLDER LEAD: a new start, the system menu's undo item,
# its box (caption and the lead of its text) answered OK; the program ends
# after the undo, or stays in the selection state when there is nothing to
# undo, and BUTTON4 ends it.
undo_in_a_new_start() {
  start_program
  drive set-text EDIT1 "$1"
  drive set-text COMBO1 "${drive_letter^^}: 固定ディスク"
  drive menu-undo || fail "no undo item in the system menu"
  local box
  box=$(drive box-text 10) || fail "no box after the undo item"
  check "the undo's box" "前回の処理を元に戻す"$'\n'"$2" "${box%%$'\r'*}"
  drive box-answer OK
  [ "$2" = "前回の処理を次のとおり元に戻します" ] || drive click BUTTON4
  expect_end 20
}

# "→", then the last run undone from the system menu in a new start: the
# drive is as it was, and a second undo finds nothing to undo.
undo_the_last_run() {
  local f=$work/folder d=$work/drive
  put_file "$f/p/a.txt" "$t_new" 'new a'
  put_file "$f/p/made/n.txt" "$t_new" n
  put_file "$d/p/a.txt" "$t_old" 'old a'
  put_file "$d/p/gone.txt" "$t_old" gone
  put_file "$d/p/sub/gone.txt" "$t_old" 'gone too'
  local drive_before
  drive_before=$(tree_listing "$d")
  wine_set_link "$prefix" "$drive_letter" "$d"
  start_sync "$(windows_path "$f")" BUTTON3
  finish_sync BUTTON3
  drive click BUTTON4
  expect_end 10
  check "the run changed the drive" changed \
    "$([ "$(tree_listing "$d")" != "$drive_before" ] && echo changed || echo same)"
  undo_in_a_new_start "$(windows_path "$f")" "前回の処理を次のとおり元に戻します"
  check_lines "drive tree after the undo" "$drive_before" "$(tree_listing "$d")"
  undo_in_a_new_start "$(windows_path "$f")" "元に戻す処理がありません"
  check_lines "drive tree after a second undo" "$drive_before" "$(tree_listing "$d")"
}

# The program killed in the middle of "→" (a big copy after a batch that
# replaced a file): a new start undoes as far as the run went, and the
# drive holds its files as before.
undo_after_a_kill() {
  local f=$work/folder d=$work/drive
  put_file "$d/p/a.bin" "$t_old" 'old a'
  put_file "$d/p/z.bin" "$t_old" 'old z'
  put_file "$d/p/gone.txt" "$t_old" gone
  mkdir -p "$f/p"
  truncate -s $((65 << 20)) "$f/p/a.bin"   # more than a batch holds: placed at once
  truncate -s $((3 << 30)) "$f/p/z.bin"
  touch -d "$t_new" "$f/p/a.bin" "$f/p/z.bin"
  local drive_before
  drive_before=$(tree_listing "$d")
  wine_set_link "$prefix" "$drive_letter" "$d"
  start_sync "$(windows_path "$f")" BUTTON3
  drive click BUTTON3
  local tenths=300
  until compgen -G "$d/p/*tavrelon-*.tmp" >/dev/null && [ "$(stat -c %s "$d/p/a.bin")" -gt 100 ]; do
    [ "$tenths" -gt 0 ] || fail "the big copy did not start after a.bin was placed"
    sleep 0.1
    tenths=$((tenths - 1))
  done
  kill -9 "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=''
  undo_in_a_new_start "$(windows_path "$f")" "前回の処理を次のとおり元に戻します"
  check_lines "drive tree after the undo" "$drive_before" \
    "$(tree_listing "$d" | grep -v 'tavrelon-[0-9-]*\.tmp|' || true)"
}

# --- The checks before anything is changed -----------------------------------

refused_heading='次のファイル・フォルダは移動先のドライブに保存できないため、リストからはずしました'

# "←" into a folder on S:, which Wine reports as FAT32: a file of 5 GiB
# (sparse) leaves the lists after the scan with a box that says why, and the
# run that follows completes.
size_limit_on_a_fat32_drive() {
  local fat32=$prefix.fat32 d=$work/drive
  [ -f "$fat32/fat32.img" ] || { echo "skipped: no drive S: reported as FAT32 (mkfs.vfat missing)"; exit 77; }
  local s="$fat32/tavrelon-e2e-$scenario" folder="S:\\tavrelon-e2e-$scenario"
  c_tree=$s
  rm -rf "$s"
  mkdir -p "$s/p"
  put_file "$d/p/ok.txt" "$t_new" ok
  put_file "$d/p/big.bin" "$t_new" ''
  truncate -s 5G "$d/p/big.bin"
  wine_set_link "$prefix" "$drive_letter" "$d"

  start_sync "$folder" BUTTON2
  local box
  box=$(drive box-text 10) || fail "no message box after the scan"
  check "box of what the drive cannot take" \
    "移動先の確認"$'\n'"$refused_heading"$'\r\r'"p\\big.bin（4GB以上のファイル）" "$box"
  drive box-answer OK
  # Wine lists names in the order of their upper case: big.bin took slot 1.
  check_list1 "LIST1 without the big file" "$(copy_line "(作成) $folder\\p\\ok.txt  ()←($d_new)" 2)"
  finish_sync BUTTON2
  drive click BUTTON4
  expect_end 10
  check_lines "folder on S: after ←" "p/"$'\n'"p/ok.txt|$t_new|ok" "$(tree_listing "$s")"
}

# The drive is replaced between the two presses: V: is pointed at another
# folder holding the same tree. The second press ends the program before
# anything is changed, without writing the settings file.
drive_replaced_between_presses() {
  local f="$prefix/drive_c/tavrelon-e2e/$scenario" d=$work/drive other=$work/other
  c_tree=$f
  rm -rf "$f"
  put_file "$f/docs/new.txt" "$t_new" new
  put_file "$d/docs/old.txt" "$t_old" old
  cp -a "$d" "$other"
  local folder_before drive_before
  folder_before=$(tree_listing "$f") drive_before=$(tree_listing "$d")
  wine_set_link "$prefix" "$drive_letter" "$d"

  start_sync "C:\\tavrelon-e2e\\$scenario" BUTTON3
  wine_set_link "$prefix" "$drive_letter" "$other"
  drive click BUTTON3
  local box
  box=$(drive box-text 30) || fail "no message box after the second press"
  check "box of the replaced drive" \
    "ドライブの確認"$'\n'"検索した後にドライブが変わったか、取り外されました。"$'\r\r'"もう一度検索してください。" "$box"
  drive box-answer OK
  expect_end 10
  check "no settings file" absent "$([ -e "$settings" ] && echo present || echo absent)"
  check_lines "folder tree unchanged" "$folder_before" "$(tree_listing "$f")"
  check_lines "scanned drive unchanged" "$drive_before" "$(tree_listing "$d")"
  check_lines "other drive unchanged" "$drive_before" "$(tree_listing "$other")"
}

declare -F "$scenario" >/dev/null || fail "no scenario named $scenario"
"$scenario"
if [ -n "$program_pid" ]; then
  drive close >/dev/null 2>&1 || true
  expect_end 10
fi
echo "$scenario: $failures failed check(s)"
[ "$failures" -eq 0 ]
