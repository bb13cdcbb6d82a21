#!/usr/bin/env bash
# Production-line benchmark with the real programs: `ztp958fm-cli line` on 1, 2
# and 4 virtual radios paced at 9600 baud (one radio per cable, so the figure is
# the programming time alone, without anybody swapping radios), as radios per
# hour, the ratio of 4 cables to 1, and the processor time the line took against
# its wall time. Not part of ctest.
#   scripts/bench-production-line.sh      (ZT_BUILD_DIR=build/dev to use another build)
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

zt_build_release ztp958fm-cli ztp958fm-radio-sim stage_data

work="$(mktemp -d /tmp/zt-bench-line.XXXXXX)"
trap 'zt_stop_sims; rm -rf "$work"' EXIT

start_sim() {  # index -> sets $device (not in a subshell, so the radio is stopped at the end)
  rm -f "$work/sim$1.out"
  "$stage/ztp958fm-radio-sim" --memory "$work/radio$1.bin" --baud 9600 \
    >"$work/sim$1.out" 2>/dev/null &
  zt_sims+=($!)
  device=""
  for _ in $(seq 1 100); do
    device="$(head -n 1 "$work/sim$1.out" 2>/dev/null || true)"
    [ -n "$device" ] && return 0
    sleep 0.05
  done
  echo "the virtual radio did not start" >&2
  exit 1
}

# The document every radio gets: read from a fresh radio.
rm -f "$work/sim0.out"
"$stage/ztp958fm-radio-sim" --create --memory "$work/radio0.bin" --baud 0 >"$work/sim0.out" 2>/dev/null &
zt_sims+=($!)
for _ in $(seq 1 100); do
  device="$(head -n 1 "$work/sim0.out" 2>/dev/null || true)"
  [ -n "$device" ] && break
  sleep 0.05
done
"$stage/ztp958fm-cli" read --port "$device" -o "$work/shop.dat" --yes >/dev/null 2>&1
zt_stop_sims
# Each radio a serial number of its own (16 digits at 0x3F30), so none is
# skipped as one already being written.
for i in 1 2 3 4; do
  cp "$work/radio0.bin" "$work/radio$i.bin"
  printf '20260101%08d' "$i" | dd of="$work/radio$i.bin" bs=1 seek=$((0x3F30)) conv=notrunc status=none
done
cat >"$work/job.json" <<JOB
{"document": "shop.dat",
 "info": {"program_password": "", "dealer_code": "DL-7", "stock_in_date": "2026-12-01",
          "sale_date": "2026-12-09", "seller": "Bob"}}
JOB

printf '%-7s %9s %9s %9s %12s %8s\n' cables "wall (s)" "cpu (s)" "cpu %" "radios/hour" "ratio"
base=""
for cables in 1 2 4; do
  ports=()
  for i in $(seq 1 "$cables"); do
    start_sim "$i"
    ports+=(--port "$device")
  done
  rm -f "$work/units.csv"
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" \
    "$stage/ztp958fm-cli" line "$work/job.json" "${ports[@]}" --count "$cables" \
    --log "$work/units.csv" >/dev/null 2>"$work/line.err" || { cat "$work/line.err" >&2; exit 1; }
  zt_stop_sims
  read -r wall user sys <"$work/time.txt"
  cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
  pct=$(awk -v c="$cpu" -v w="$wall" 'BEGIN { printf "%.1f", 100 * c / w }')
  rate=$(awk -v n="$cables" -v w="$wall" 'BEGIN { printf "%.0f", n * 3600 / w }')
  [ -z "$base" ] && base="$rate"
  ratio=$(awk -v r="$rate" -v b="$base" 'BEGIN { printf "%.2f", r / b }')
  printf '%-7s %9s %9s %9s %12s %8s\n' "$cables" "$wall" "$cpu" "$pct" "$rate" "$ratio"
done
