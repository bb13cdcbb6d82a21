#!/usr/bin/env bash
# Line-rate benchmark: full reads and writes by the command-line program
# against the virtual radio paced at 9600 baud (10 bits per byte), with and
# without the cable's echo, compared with the time the protocol's bytes take on
# the wire and with the fastest client (bench_fastest_client: sends each command
# and waits for exactly its answer, nothing else) against the same radio in the
# same run. Then the same unpaced, as the overhead per block. Not part of ctest.
#   scripts/bench-line-rate.sh [RUNS]    (default 1 run of each)
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

runs="${1:-1}"
zt_build_release ztp958fm-cli ztp958fm-radio-sim bench_fastest_client stage_data

# Bytes on the wire of one successful exchange (command + answer; an echo
# shares the command's byte-times): handshake 7+3, identify 1+16, password
# block 4+22, 580 blocks, END 3+1.
read_bytes=$(( 10 + 17 + 26 + 580 * (4 + 22) + 4 ))
write_bytes=$(( 10 + 17 + 26 + 580 * (22 + 1) + 4 ))

work="$(mktemp -d /tmp/zt-bench.XXXXXX)"
trap 'zt_stop_sims; rm -rf "$work"' EXIT

start_sim() {  # baud echo
  local args=(--create --memory "$work/radio.bin" --baud "$1")
  [ "$2" = on ] && args+=(--echo)
  rm -f "$work/sim.out"
  "$stage/ztp958fm-radio-sim" "${args[@]}" >"$work/sim.out" 2>/dev/null &
  zt_sims+=($!)
  for _ in $(seq 1 100); do
    device="$(head -n 1 "$work/sim.out" 2>/dev/null || true)"
    [ -n "$device" ] && return 0
    sleep 0.05
  done
  echo "the virtual radio did not start" >&2
  exit 1
}

transfer_time() {  # command...
  "$stage/ztp958fm-cli" "$@" --yes --timing 2>&1 >/dev/null |
    sed -n 's/^transfer time: \([0-9.]*\) s.*/\1/p'
}

client_time() {  # read|write echo
  local args=("$device" "$1" --image "$work/radio.bin")
  [ "$2" = on ] && args+=(--echo)
  "$build/bench/bench_fastest_client" "${args[@]}" | sed -n 's/^transfer time: \([0-9.]*\) s.*/\1/p'
}

printf '%-8s %-5s %-6s %10s %10s %10s %9s %9s\n' kind echo baud "time (s)" "client (s)" "line (s)" "/client" "/line"
for baud in 9600 0; do
  for echo in off on; do
    start_sim "$baud" "$echo"
    for _ in $(seq 1 "$runs"); do
      t_read=$(transfer_time read --port "$device" -o "$work/radio.dat")
      c_read=$(client_time read "$echo")
      t_write=$(transfer_time write --port "$device" "$work/radio.dat")
      c_write=$(client_time write "$echo")
      for kind in read write; do
        if [ "$kind" = read ]; then t=$t_read; c=$c_read; bytes=$read_bytes; else t=$t_write; c=$c_write; bytes=$write_bytes; fi
        if [ "$baud" = 0 ]; then
          awk -v k="$kind" -v e="$echo" -v t="$t" -v c="$c" 'BEGIN {
            printf "%-8s %-5s %-6s %10.3f %10.3f %10s %9.4f %9s   %.3f ms per block\n", k, e, "0", t, c, "-", t / c, "-", t * 1000 / 580 }'
        else
          awk -v k="$kind" -v e="$echo" -v t="$t" -v c="$c" -v b="$bytes" 'BEGIN {
            line = b * 10 / 9600
            printf "%-8s %-5s %-6s %10.3f %10.3f %10.3f %9.4f %9.4f\n", k, e, "9600", t, c, line, t / c, t / line }'
        fi
      done
    done
    zt_stop_sims
  done
done
