#!/usr/bin/env bash
# What the backup before a write costs: the command-line write against the virtual radio paced
# at 9600 baud, once with --no-backup (the write alone) and once as by default (the radio is
# read and kept first, the changes are shown, then the write). Reported as seconds and as the
# ratio to the write alone, measured in the same run. Not part of ctest.
#   scripts/bench-write-backup.sh [RUNS]    (default 1 run of each)
#   ZT_BUILD_DIR=build/dev scripts/bench-write-backup.sh   (an existing build, no rebuild)
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

runs="${1:-1}"
[ -x "$stage/ztp958fm-cli" ] || zt_build_release ztp958fm-cli ztp958fm-radio-sim stage_data

work="$(mktemp -d /tmp/zt-bench-backup.XXXXXX)"
trap 'zt_stop_sims; rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"

"$stage/ztp958fm-radio-sim" --create --memory "$work/radio.bin" --baud 9600 >"$work/sim.out" 2>/dev/null &
zt_sims+=($!)
device=""
for _ in $(seq 1 100); do
  device="$(head -n 1 "$work/sim.out" 2>/dev/null || true)"
  [ -n "$device" ] && break
  sleep 0.05
done
[ -n "$device" ] || { echo "the virtual radio did not start" >&2; exit 1; }

# The document to write: the radio's own contents (read unpaced would be the same bytes).
"$stage/ztp958fm-cli" read --port "$device" -o "$work/doc.dat" --yes >/dev/null 2>&1

seconds() {  # command...
  local start end
  start=$(date +%s.%N)
  "$stage/ztp958fm-cli" "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

total_alone=0
total_backup=0
for _ in $(seq 1 "$runs"); do
  alone=$(seconds write --port "$device" "$work/doc.dat" --yes --no-backup)
  backup=$(seconds write --port "$device" "$work/doc.dat" --yes)
  total_alone=$(echo "$total_alone + $alone" | bc -l)
  total_backup=$(echo "$total_backup + $backup" | bc -l)
done
alone=$(echo "$total_alone / $runs" | bc -l)
backup=$(echo "$total_backup / $runs" | bc -l)
printf 'write alone (--no-backup)         %8.2f s\n' "$alone"
printf 'backup + preview + write          %8.2f s\n' "$backup"
printf 'ratio to the write alone          %8.2f\n' "$(echo "$backup / $alone" | bc -l)"
