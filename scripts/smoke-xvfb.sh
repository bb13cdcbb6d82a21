#!/usr/bin/env bash
# Smoke test of the programming program on a real (virtual) X server without a
# window manager: a throw-away copy of the installation whose stored language
# differs from the locale, the program started with --smoke (it chooses every
# menu command, clicks into every window and closes), the first click on the
# channel grid's group list given from outside with xdotool. Passes when the
# program ends with status 0 and says "smoke: done".
#   scripts/smoke-xvfb.sh PROGRAM
# Exit status 77 (skipped) when xvfb-run is not installed.
set -uo pipefail

program="${1:?usage: smoke-xvfb.sh PROGRAM}"
if ! command -v xvfb-run >/dev/null; then
  echo "smoke-xvfb: xvfb-run is missing (bash scripts/install-deps.sh); skipped"
  exit 77
fi
# shellcheck source=scripts/throwaway-install.sh
source "$(dirname "$0")/throwaway-install.sh"
zt_throwaway_install "$program" smoke
trap 'rm -rf "$work"' EXIT
# A throw-away settings store; the X platform whatever the other tests use.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
# Stored language Chinese, system locale English: the first activation re-applies it.
printf '[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n' >"$work/root/language/mysetup.ini"

clicker=""
if command -v xdotool >/dev/null; then clicker=xdotool; fi

# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  program="$1"; out="$2"; clicker="$3"
  "$program" --smoke >"$out" 2>&1 &
  pid=$!
  if [ -n "$clicker" ]; then
    for _ in $(seq 1 100); do
      line="$(grep -m1 "^smoke: click" "$out" 2>/dev/null)" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -n "${line:-}" ]; then
      set -- $line
      xdotool mousemove "$3" "$4" click 1
    fi
  fi
  wait "$pid"
' smoke "$work/root/$version_folder/ZTP958FM" "$work/out.txt" "$clicker" \
  </dev/null
status=$?
cat "$work/out.txt"
if [ "$status" -ne 0 ]; then
  echo "smoke-xvfb: the program ended with status $status"
  exit 1
fi
if ! grep -q "^smoke: done" "$work/out.txt"; then
  echo "smoke-xvfb: the program did not finish its walk"
  exit 1
fi
echo "smoke-xvfb: passed"
