#!/usr/bin/env bash
# Starts the programming program under a virtual X display (xvfb-run) and saves
# PNG pictures of its main window and of every window it opens.
#   scripts/screenshot.sh [FOLDER]    pictures go to FOLDER (default: screenshots/)
#   ZT_SCREENSHOT_LANGUAGE=2 scripts/screenshot.sh [FOLDER]
#                                     the same in Chinese (1: English, the default)
#   scripts/screenshot.sh --measure   time from process start to the main window shown
#                                     (splash skipped) and resident memory after start-up
# ZT_BUILD_DIR picks the build folder (default build/release).
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

zt_build_release ZTP958FM stage_data

if ! command -v xvfb-run >/dev/null; then
  echo "screenshot.sh: xvfb-run is missing (apt-get install xvfb)" >&2
  exit 1
fi

# The window position store goes to a throw-away folder, not the user's.
config="$(mktemp -d /tmp/zt-shot-config.XXXXXX)"
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$config"
screen="-screen 0 1280x900x24"

if [ "${1:-}" = "--measure" ]; then
  runs="${ZT_MEASURE_RUNS:-5}"
  # shellcheck disable=SC2016
  xvfb-run -a -s "$screen" bash -c '
    program="$1"; runs="$2"
    for i in $(seq 1 "$runs"); do
      out="$(mktemp)"
      start=$(date +%s%N)
      ZT_NO_SPLASH=1 ZT_REPORT_SHOWN=1 "$program" >"$out" 2>/dev/null &
      pid=$!
      until grep -q "main window shown" "$out" 2>/dev/null; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended early" >&2; exit 1; }
        sleep 0.002
      done
      shown=$(date +%s%N)
      sleep 0.5
      rss=$(awk "/^VmRSS/ {print \$2}" "/proc/$pid/status")
      kill "$pid"; wait "$pid" 2>/dev/null || true
      echo "run $i: main window shown after $(( (shown - start) / 1000000 )) ms (own clock: $(grep -o "[0-9]* ms" "$out")), resident memory ${rss} KiB"
      rm -f "$out"
    done' measure "$stage/ZTP958FM" "$runs"
  exit 0
fi

folder="${1:-screenshots}"
mkdir -p "$folder"
folder="$(cd "$folder" && pwd)"
# A copy of the installation, so the language chosen here stays out of the build's files.
copy="$config/install"
mkdir -p "$copy/language" "$copy/V300"
cp "$build/stage/Version.ini" "$copy/"
for item in ZTP958FM language Init PIC StartE.jpg StartC.jpg; do
  if [ -e "$stage/$item" ]; then cp -r "$stage/$item" "$copy/V300/"; fi
done
printf '[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=%s\n' \
  "${ZT_SCREENSHOT_LANGUAGE:-1}" >"$copy/language/mysetup.ini"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "$screen" "$copy/V300/ZTP958FM" --screenshots "$folder"
ls "$folder"/*.png
