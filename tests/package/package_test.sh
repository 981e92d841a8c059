#!/usr/bin/env bash
# Usage: package_test.sh FOLDER
# Checks the packages that scripts/package left in FOLDER as a distribution
# and a Windows user would meet them: the zip's Tavrelon.exe (32-bit, only
# system DLLs, stripped, versioned, its manifest) and README text; the
# Debian package as lintian checks it, installed on this machine with
# apt-get, its program started without a display, its desktop entry and
# metadata validated, then removed again; and both packed again from the
# build folders scripts/package used, to the same bytes.
# Prints "ok: CHECK" or "FAIL: CHECK" per check, or "skip: CHECK (WHY)" for one
# it cannot make here; exits non-zero on a failure.
set -uo pipefail
[ $# -eq 1 ] || { echo "usage: $0 FOLDER" >&2; exit 2; }
deb=$(ls "$1"/tavrelon_*.deb 2>/dev/null | head -n 1)
zip=$(ls "$1"/Tavrelon-*-win32.zip 2>/dev/null | head -n 1)
[ -n "$deb" ] && [ -n "$zip" ] || { echo "FAIL: both packages in $1"; exit 1; }
deb=$(realpath "$deb")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

failures=0
check() {  # LABEL COMMAND...: the command succeeds
  local label=$1 output
  shift
  if output=$("$@" 2>&1); then
    echo "ok: $label"
  else
    echo "FAIL: $label"
    [ -z "$output" ] || sed 's/^/  /' <<<"$output"
    failures=$((failures + 1))
  fi
}
same() { [ "$1" == "$2" ] || { echo "expected [$1], got [$2]"; return 1; }; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
apt() { DEBIAN_FRONTEND=noninteractive as_root apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }

version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- The Windows program ---------------------------------------------------
top=Tavrelon-$version-win32
cmake -E chdir "$work" cmake -E tar xf "$(realpath "$zip")"
exe=$work/$top/Tavrelon.exe
check "the zip holds $top/Tavrelon.exe and README.ja.txt" \
  same "$(printf '%s\n' "$top/README.ja.txt" "$top/Tavrelon.exe")" "$(cmake -E tar tf "$zip" | sort)"

headers=$(objdump -p "$exe" 2>&1)
pe32_gui() { grep -Eq '^Magic\s+010b\s+\(PE32\)' <<<"$headers" && grep -Eq '^Subsystem\s+00000002' <<<"$headers"; }
check "Tavrelon.exe is a 32-bit Windows GUI program" pe32_gui

# The system's own DLLs; MinGW's runtime (libgcc, libstdc++, libwinpthread)
# must not be among the imports.
system_dlls='advapi32|bcrypt|comctl32|comdlg32|gdi32|kernel32|msvcrt|normaliz|ole32|oleaut32|shell32|shlwapi|user32|uxtheme|version'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')
check "Tavrelon.exe imports only system DLLs ($(paste -sd" " <<<"$imports"))" \
  same "" "$(grep -Evx "($system_dlls)\.dll" <<<"$imports")"
check "Tavrelon.exe is stripped" \
  same "" "$(objdump -h "$exe" | awk '$2 ~ /^\.debug/ { print $2 }')"
check "Tavrelon.exe's version resource is $version" \
  same "$version" "$(strings -el "$exe" | grep -A1 -x FileVersion | tail -n 1)"
# The manifest: as the user, Windows 7 to 11, the monitor's scale, and the
# classic controls (no common controls 6).
manifest() {
  local text
  text=$(strings -n 6 "$exe")
  grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$text" &&
    same 4 "$(grep -c '<supportedOS Id=' <<<"$text")" &&
    grep -q '<dpiAwareness .*>PerMonitorV2' <<<"$text" &&
    grep -q '<dpiAware .*>true/pm</dpiAware>' <<<"$text" &&
    same 0 "$(grep -c 'Common-Controls' <<<"$text")"
}
check "Tavrelon.exe's manifest: as the user, Windows 7 to 11, per-monitor DPI, classic controls" manifest
# Its time stamp is the commit's, as the packages' file times are.
source_time=${SOURCE_DATE_EPOCH:-$(git -c "safe.directory=$root" -C "$root" log -1 --format=%ct 2>/dev/null || true)}
if [ -n "$source_time" ]; then
  check "Tavrelon.exe's time stamp is the commit's, not the build's" \
    same "$(date -d "@$source_time" '+%a %b %e %H:%M:%S %Y')" \
    "$(sed -n 's/^Time\/Date\s*//p' <<<"$headers")"
fi
readme_text() {
  local text=$work/$top/README.ja.txt
  same efbbbf "$(head -c 3 "$text" | od -An -tx1 | tr -d ' ')" &&
    same 0 "$(grep -c $'[^\r]$' "$text")" && iconv -f UTF-8 -t UTF-8 "$text" >/dev/null
}
check "README.ja.txt is UTF-8 with a byte order mark and CR LF lines" readme_text

# --- The Debian package ----------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
check "the package depends on the Qt 6 libraries and a Japanese font" \
  grep -Eq '(^|, )libqt6widgets6.*(^|, )fonts-ipafont-gothic \| fonts-noto-cjk|fonts-ipafont-gothic \| fonts-noto-cjk.*libqt6widgets6' \
  <<<"$depends"
check "the package depends on Qt's D-Bus library (the launcher's progress)" \
  grep -Eq '(^|, )libqt6dbus6( |,|$)' <<<"$depends"
check "lintian finds no error and no warning" lintian --fail-on error,warning "$deb"

was_installed=$(dpkg-query -W -f='${Status}' tavrelon 2>/dev/null | grep -c 'install ok installed')
check "apt-get installs the package" apt install --no-install-recommends "$deb"
check "tavrelon --version without a display" \
  same "tavrelon $version" "$(env -u DISPLAY -u WAYLAND_DISPLAY tavrelon --version)"
check "the installed program is stripped" \
  same "" "$(readelf -S --wide /usr/bin/tavrelon | grep -o '\.debug_[a-z]*' || true)"
check "desktop-file-validate accepts tavrelon.desktop" \
  desktop-file-validate /usr/share/applications/tavrelon.desktop
metainfo=/usr/share/metainfo/org.tavrelon.Tavrelon.metainfo.xml
check "appstreamcli validate accepts the metadata" appstreamcli validate --no-net "$metainfo"
check "the metadata's latest release is $version" grep -q "<release version=\"$version\"" "$metainfo"
installed_files() {
  local size
  for size in 16 32 48 256; do ls "/usr/share/icons/hicolor/${size}x$size/apps/tavrelon.png"; done
  ls /usr/share/icons/hicolor/scalable/apps/tavrelon.svg /usr/share/man/man1/tavrelon.1.gz \
    /usr/share/doc/tavrelon/README.ja.md
}
check "icons, manual page and README installed" installed_files
check "the changelog's latest entry is version $version" \
  same "tavrelon ($version) unstable; urgency=medium" "$(zcat /usr/share/doc/tavrelon/changelog.gz | head -n 1)"
check "the installed program holds no path of the folder it was built in" \
  same "" "$(strings /usr/bin/tavrelon | grep -F "$root/" || true)"
if [ "$was_installed" -eq 0 ]; then
  check "apt-get removes the package" apt purge tavrelon
  check "nothing of it is left" same "" "$(ls /usr/bin/tavrelon /usr/share/applications/tavrelon.desktop 2>/dev/null)"
else
  echo "skip: apt-get removes the package (it was installed before the test, and stays)"
fi

# --- Packed again -----------------------------------------------------------
# From the same build, with the files' times moved on by an hour: the same
# bytes, since the packages keep the commit's time and gzip neither names
# nor times.
repacked_the_same() {  # PRESET PACKAGE
  local build=$root/build/$1 again=$work/again-$1
  find "$build/src" "$build/packaging" -maxdepth 1 -type f \
    \( -name tavrelon -o -name Tavrelon.exe -o -name '*.gz' -o -name '*.txt' \) \
    -exec touch -d "@$(($(date +%s) + 3600))" {} +
  (cd "$root" && cpack --preset "$1" -B "$again" >/dev/null) && cmp "$2" "$again/$(basename "$2")"
}
if [ -d "$root/build/linux-release" ] && [ -d "$root/build/windows-release" ]; then
  check "the Debian package packed again is the same, byte for byte" \
    repacked_the_same linux-release "$deb"
  check "the zip packed again is the same, byte for byte" \
    repacked_the_same windows-release "$(realpath "$zip")"
else
  echo "skip: the packages packed again are the same, byte for byte (no build folders of scripts/package)"
fi

[ "$failures" -eq 0 ]
