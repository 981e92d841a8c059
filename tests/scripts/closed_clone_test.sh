#!/usr/bin/env bash
# Usage: closed_clone_test.sh [--wine LOADER PREFIX] PROGRAM
# scripts/run-unprivileged as it runs in a clone that only its owner may
# enter (a clone in root's home, mode 700): this source tree's scripts and
# PROGRAM, the unprivileged tests, are copied into a folder of mode 700 under
# /tmp, and the copied scripts run the copied program from the build folder
# there, as ctest does. Passes when the program passes; the options are
# run-unprivileged's. Only root's runs change user, so for anyone else there
# is nothing to check and the test reports itself skipped (exit status 77).
set -euo pipefail
source_tree=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

options=()
if [ "${1:-}" = --wine ]; then options=("${@:1:3}"); shift 3; fi
[ $# -eq 1 ] || { echo "usage: $0 [--wine LOADER PREFIX] PROGRAM" >&2; exit 2; }
program=$1

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: run-unprivileged changes user only for root"
  exit 77
fi

closed=$(mktemp -d -p /tmp)
trap 'rm -rf "$closed"' EXIT
chmod 700 "$closed"
# Inside the closed folder the clone's own folders are open to everyone, as
# a clone's are: only its parent keeps nobody out.
mkdir -p "$closed/clone/build/tests"
cp -r "$source_tree/scripts" "$closed/clone/"
cp "$program" "$closed/clone/build/tests/"
cd "$closed/clone/build/tests"
"$closed/clone/scripts/run-unprivileged" "${options[@]}" "./$(basename "$program")"
