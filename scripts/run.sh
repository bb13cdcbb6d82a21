#!/usr/bin/env bash
# The main job, headless: builds the release programs if needed, starts a
# virtual ZT-958FM on a pseudo-terminal, reads it with the command-line
# program into a data file in a temporary folder, then shows the file.
#   scripts/run.sh [FOLDER]   keep the data file (and the radio memory) in FOLDER
set -euo pipefail
cd "$(dirname "$0")/.."

build="${ZT_BUILD_DIR:-build/release}"
stage="$build/stage/V300"
if [ ! -f "$build/build.ninja" ]; then
  if [ "$build" = build/release ]; then
    cmake --preset release >/dev/null
  else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZT_BUILD_TESTS=OFF >/dev/null
  fi
fi
build_log="$(mktemp /tmp/zt-build.XXXXXX)"
if ! cmake --build "$build" -j "${ZT_JOBS:-$(nproc)}" \
  --target ztp958fm-cli ztp958fm-radio-sim stage_data >"$build_log" 2>&1; then
  cat "$build_log" >&2
  rm -f "$build_log"
  exit 1
fi
rm -f "$build_log"

work="$(mktemp -d /tmp/zt-run.XXXXXX)"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$stage/ztp958fm-radio-sim" --create --memory "$work/radio.bin" \
  >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
device=""
for _ in $(seq 1 100); do
  device="$(head -n 1 "$work/sim.out" 2>/dev/null || true)"
  [ -n "$device" ] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    cat "$work/sim.err" >&2
    exit 1
  fi
  sleep 0.05
done
if [ -z "$device" ]; then
  echo "run.sh: the virtual radio did not start" >&2
  exit 1
fi
echo "virtual radio on $device"

"$stage/ztp958fm-cli" read --port "$device" -o "$work/radio.dat" --yes
"$stage/ztp958fm-cli" show "$work/radio.dat"

if [ $# -ge 1 ]; then
  mkdir -p "$1"
  cp "$work/radio.dat" "$work/radio.fre" "$work/radio.bin" "$1/"
  echo "kept radio.dat, radio.fre and radio.bin in $1"
fi
