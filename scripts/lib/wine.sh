# shellcheck shell=bash
# Shared helpers for running the Windows build under Wine.
# Sourced by scripts/wine-exec, scripts/run-unprivileged, scripts/test,
# scripts/run and scripts/screenshots.

# Wine settings used for every Wine command we run. The overrides stop Wine
# from offering to install .NET/Gecko and from writing desktop menu entries.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"

# wine_choose_loader [SUFFIX]: the Wine loader and the build preset for the
# Windows program on this machine. The shipped program is 32-bit; where
# Wine's 32-bit loader does not start, the same sources built 64-bit run
# instead. Sets wine_loader (/usr/lib/wine/wine or wine64), wine_preset
# (windowsSUFFIX or windows64SUFFIX, e.g. SUFFIX -release), wine_probe (what
# the 32-bit loader's --version printed: its version, or why it did not
# start) and wine_why (empty for the 32-bit build, else why not: see
# wine_why_not_32bit).
# shellcheck disable=SC2034  # the four are the caller's
wine_choose_loader() {
  local wine32=/usr/lib/wine/wine wine64=/usr/lib/wine/wine64
  if wine_probe=$("$wine32" --version 2>&1); then
    wine_loader=$wine32 wine_preset=windows${1:-} wine_why=''
  else
    wine_loader=$wine64 wine_preset=windows64${1:-}
    wine_why=$(wine_why_not_32bit "$wine32" "$wine_probe")
  fi
}

# wine_why_not_32bit LOADER PROBE: why the 32-bit loader LOADER did not start
# (PROBE: what it printed), told apart by what is missing: "Wine's 32-bit
# half is not installed (...)" (the loader, or the 32-bit libraries it
# needs, from the package wine32:i386) or "this kernel cannot start 32-bit
# programs (...)" (its IA-32 emulation is off or left out).
wine_why_not_32bit() {
  local loader=$1 error=${2##*: } kernel=0 probe
  probe=$(wine_kernel_probe) || kernel=$?
  # Could not tell (say, a temporary folder that allows no programs): the
  # loader's own error then, if it got as far as the kernel.
  if [ "$kernel" -eq 2 ] && [ -e "$loader" ] && [ "$error" = 'Exec format error' ]; then kernel=1; fi
  if [ "$kernel" -eq 1 ]; then
    if [ -e "$loader" ]; then
      echo "this kernel cannot start 32-bit programs ($loader --version: $error)"
    else
      echo "this kernel cannot start 32-bit programs (a 32-bit test program: ${probe##*: }); Wine's 32-bit half is not installed either (no $loader)"
    fi
  elif [ ! -e "$loader" ]; then
    echo "Wine's 32-bit half is not installed (no $loader, which comes with the package wine32:i386)"
  elif [ "$error" = 'No such file or directory' ]; then
    # The loader is there, but not the 32-bit system libraries it starts with.
    echo "Wine's 32-bit half is not installed (its 32-bit libraries are missing: $loader --version: $error)"
  else
    echo "Wine's 32-bit half is not installed (it is there but does not start: $loader --version: ${2##*$'\n'})"
  fi
}

# wine_kernel_probe: whether this kernel starts a 32-bit x86 program, from a
# tiny one (96 bytes: exit status 7, no libraries) written to a temporary
# file and started. Returns 0 (it does), 1 (it does not: "Exec format
# error") or 2 (could not tell), and prints what the start printed.
wine_kernel_probe() {
  local program rc=0 output
  # The ELF header (32-bit, little-endian, i386, entry 0x08048054), one
  # loadable segment of the whole file at 0x08048000, then the code:
  # mov eax, 1; mov ebx, 7; int 0x80 (the system call exit(7)).
  local hex='7f454c46 01010100 00000000 00000000
    0200 0300 01000000 54800408 34000000 00000000 00000000 3400 2000 0100 0000 0000 0000
    01000000 00000000 00800408 00800408 60000000 60000000 05000000 00100000
    b801000000 bb07000000 cd80'
  local bytes='' i
  hex=${hex//[[:space:]]/}
  for ((i = 0; i < ${#hex}; i += 2)); do bytes+="\\x${hex:i:2}"; done
  program=$(mktemp 2>/dev/null) || return 2
  if ! { printf '%b' "$bytes" >"$program" && chmod +x "$program"; } 2>/dev/null; then
    rm -f "$program"
    return 2
  fi
  output=$("$program" 2>&1) || rc=$?
  rm -f "$program"
  echo "$output"
  [ "$rc" -eq 7 ] && return 0
  [[ $output == *'Exec format error'* ]] && return 1
  return 2
}

# wine_arch LOADER: the prefix architecture that LOADER can run.
wine_arch() {
  case $1 in
    *64) echo win64 ;;
    *) echo win32 ;;
  esac
}

# The helpers below run before every test program, so they start no process
# unless something has to change: under load each one costs tens of ms.

# wine_prefix_ready PREFIX: true once wine_prefix_create has finished on it.
wine_prefix_ready() { [ -f "$1/.tavrelon-prefix" ]; }

# wine_set_link PREFIX LETTER TARGET: maps drive LETTER: to the folder TARGET.
# The link is built under a temporary name and renamed into place, so tests
# starting in parallel never see the drive missing.
wine_set_link() {
  local link="$1/dosdevices/$2:"
  [ -L "$link" ] && [ "$link" -ef "$3" ] && return 0
  ln -sfn "$3" "$link.$$" && mv -Tf "$link.$$" "$link"
}

# wine_folder_link PREFIX LETTER FOLDER: creates FOLDER and maps LETTER: to it.
wine_folder_link() {
  { [ -d "$3" ] || mkdir -p "$3"; } && wine_set_link "$1" "$2" "$3"
}

# wine_fat32_drive PREFIX: S: is a folder, <prefix>.fat32, that Wine reports
# as FAT32: the folder holds a FAT32 image, fat32.img, which the device link
# s:: names as the drive's device. Wine reads the image's boot sector for the
# file system's name and serial, for the drives it knew when its server
# started. Without mkfs.vfat there is no S: (its tests say they were skipped).
wine_fat32_drive() {
  local prefix=$1 folder=$1.fat32 mkfs
  mkfs=$(command -v mkfs.vfat || echo /usr/sbin/mkfs.vfat)
  if [ ! -f "$folder/fat32.img" ]; then
    [ -x "$mkfs" ] || return 0
    mkdir -p "$folder" && truncate -s 40M "$folder/fat32.img.$$" &&
      "$mkfs" -F 32 "$folder/fat32.img.$$" >/dev/null && mv "$folder/fat32.img.$$" "$folder/fat32.img" ||
      { rm -f "$folder/fat32.img.$$"; return 1; }
  fi
  wine_set_link "$prefix" s "$folder" && wine_set_link "$prefix" s: "$folder/fat32.img"
}

# wine_map_drives PREFIX: Q: is a scratch drive for test trees, <prefix>.q;
# R: is the small file system named by TAVRELON_SMALL_FS, if any; S: is
# reported as FAT32.
wine_map_drives() {
  local prefix=$1 letter
  wine_folder_link "$prefix" q "$prefix.q" || return
  wine_fat32_drive "$prefix" || return
  # F: to P: are drives the tests take one at a time, each for a tree of its
  # own at a drive root (tests run in parallel in the same prefix).
  for letter in f g h i j k l m n o p; do
    wine_folder_link "$prefix" "$letter" "$prefix.drives/$letter" || return
  done
  if [ -n "${TAVRELON_SMALL_FS:-}" ]; then
    local fs=$TAVRELON_SMALL_FS
    case $fs in /*) ;; *) fs=$PWD/$fs ;; esac
    wine_set_link "$prefix" r "$fs"
  elif [ -L "$prefix/dosdevices/r:" ]; then
    rm -f "$prefix/dosdevices/r:"   # left over from a run that had one
  fi
}

# wine_prefix_boot LOADER PREFIX: boots a new prefix and configures it, in a
# subshell of its own (for the environment). Each step ends the creation when
# it fails, before the marker is written, so the next run tries again: the
# steps run inside a tested condition, where bash ignores set -e.
wine_prefix_boot() (
  local loader=$1 prefix=$2
  local R='HKCU\Software\Wine\Fonts\Replacements'
  # Fixed locale: the Japanese value names below need UTF-8 when written.
  # No DISPLAY: booting needs no windows.
  WINEARCH=$(wine_arch "$loader")
  export WINEPREFIX=$prefix WINEARCH LC_ALL=C.UTF-8
  unset DISPLAY
  "$loader" wineboot -i || return
  # Japanese fonts for the names our dialogs ask for; without them ASCII
  # shows as empty boxes when the code page is not 932.
  "$loader" reg add "$R" /v 'ＭＳ ゴシック' /d IPAGothic /f || return
  "$loader" reg add "$R" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f || return
  "$loader" reg add "$R" /v 'MS UI Gothic' /d IPAPGothic /f || return
  # Unmanaged windows close at once when no window manager runs (Xvfb).
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return
  # Wait until the server has written the registry to disk.
  wineserver -w || return
  touch "$prefix/.tavrelon-prefix"
)

# wine_prefix_create LOADER PREFIX: boots PREFIX (wine_prefix_boot). Output
# goes to a log that is shown only if something fails.
wine_prefix_create() {
  local loader=$1 prefix=$2 log start=$SECONDS
  log=$(mktemp)
  if ! wine_prefix_boot "$loader" "$prefix" >"$log" 2>&1; then
    echo "wine: could not create the Wine prefix $prefix:" >&2
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  echo "wine: created Wine prefix $prefix ($(wine_arch "$loader")) in $((SECONDS - start)) s" >&2
}

# wine_prefix_ensure LOADER PREFIX: creates PREFIX (an absolute path) unless it
# is ready (under a lock: ctest starts several tests at once) and maps its
# drives.
wine_prefix_ensure() {
  local loader=$1 prefix=$2
  if ! wine_prefix_ready "$prefix"; then
    mkdir -p "$(dirname "$prefix")" || return
    (
      flock 9
      wine_prefix_ready "$prefix" || wine_prefix_create "$loader" "$prefix"
    ) 9>"$prefix.lock" || return
  fi
  wine_map_drives "$prefix"
}

# wine_set_dpi LOADER PREFIX DPI: the screen's scale as Wine reports it to
# the programs started from now on in PREFIX (96 is 100 %, 144 is 150 %);
# programs already running keep theirs.
wine_set_dpi() {
  WINEPREFIX=$2 WINEARCH=$(wine_arch "$1") "$1" reg add 'HKCU\Control Panel\Desktop' \
    /v LogPixels /t REG_DWORD /d "$3" /f </dev/null >/dev/null 2>&1
}

# wine_session_start LOADER PREFIX: starts a Wine server that stays up until
# wine_session_stop (programs then start in a fraction of the time), and the
# session's system processes (services, desktop). Those are started here with
# no output attached: started by a test program, they would inherit its
# stdout and stderr and keep ctest waiting for the end of its output for as
# long as they live. Returns 2 if a server was already up for PREFIX (someone
# else's session, which is then used as it is).
wine_session_start() {
  local rc=0
  WINEPREFIX=$2 wineserver -p </dev/null >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 2 ] && return 2     # "another server is already running"
  [ "$rc" -eq 0 ] || return 1
  WINEPREFIX=$2 WINEARCH=$(wine_arch "$1") "$1" wineboot </dev/null >/dev/null 2>&1
}

# wine_session_stop PREFIX: ends the server and every Wine process of PREFIX.
wine_session_stop() {
  WINEPREFIX=$1 wineserver -k </dev/null >/dev/null 2>&1 || true
}
