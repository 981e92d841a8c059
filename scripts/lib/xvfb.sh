# shellcheck shell=bash
# A virtual X display of our own. Sourced by scripts/test, scripts/screenshots
# and bench/scan_compare.

# xvfb_start GEOMETRY: starts Xvfb with one screen of GEOMETRY (e.g.
# 1920x1200x24) and waits until it accepts connections, up to 10 s. Sets
# xvfb_display (":N") and xvfb_pid; the caller exports DISPLAY and kills the
# server when done. -displayfd makes Xvfb take the first free display number
# itself (it checks the sockets and lock files, without racing another X
# server) and report it once it accepts connections. Returns 1, with
# xvfb_display empty, if Xvfb ended or did not answer in time (xvfb_pid is
# then still set, for the caller's cleanup).
xvfb_start() {
  local display_file
  xvfb_display=''
  display_file=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -s "$display_file" ]; then xvfb_display=":$(tr -d '[:space:]' <"$display_file")"; fi
  rm -f "$display_file"
  [ -n "$xvfb_display" ]
}
