#!/usr/bin/env bash
# The programming program as a screen reader sees it: on a virtual X server with
# its own session bus and accessibility bus, a throw-away copy of the
# installation is started, its channel grid, channel editor and function windows
# are opened through their menu items over AT-SPI, and every control a user can
# focus or press must have a name (scripts/atspi-names.py), in English and in
# Chinese.
#   scripts/atspi-xvfb.sh PROGRAM
# Exit status 77 (skipped) when a tool is missing: xvfb-run, dbus-run-session,
# the accessibility bus (at-spi2-core) or python3-pyatspi.
set -uo pipefail

program="${1:?usage: atspi-xvfb.sh PROGRAM}"
here="$(cd "$(dirname "$0")" && pwd)"
python=/usr/bin/python3
missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
{ [ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null; } || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
  echo "atspi-xvfb: missing ${missing[*]} (bash scripts/install-deps.sh); skipped"
  exit 77
fi

# shellcheck source=scripts/throwaway-install.sh
source "$here/throwaway-install.sh"
zt_throwaway_install "$program" atspi
trap 'rm -rf "$work"' EXIT
# A bus of this run only, whatever the calling session has.
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
# Qt hands its tree to the accessibility bus whether or not a screen reader runs.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0

status=0
for language in 1 2; do
  file=english.ini
  [ "$language" = 2 ] && file=chinese.ini
  printf '[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=%s\n' "$language" \
    >"$work/root/language/mysetup.ini"
  # shellcheck disable=SC2016
  dbus-run-session -- xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    program="$1"; walker="$2"; texts="$3"; python="$4"; log="$5"
    "$program" --no-splash >"$log" 2>&1 &
    pid=$!
    "$python" "$walker" "$texts"
    result=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit "$result"
  ' atspi "$work/root/$version_folder/ZTP958FM" "$here/atspi-names.py" \
    "$work/root/$version_folder/language/$file" "$python" "$work/program-$language.txt" \
    </dev/null 2>"$work/bus-$language.txt"
  result=$?
  if [ "$result" -ne 0 ]; then
    echo "atspi-xvfb: $file: failed (status $result)"
    cat "$work/program-$language.txt" "$work/bus-$language.txt"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "atspi-xvfb: passed"
exit "$status"
