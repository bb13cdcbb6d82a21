#!/usr/bin/env bash
# The main job: builds the release programs if needed and starts a virtual
# ZT-958FM on a pseudo-terminal. With a display it registers the virtual radio
# as COM1 of the staged installation and opens the programming program on it.
# Without one it says so, reads the radio with the command-line program into a
# data file in a temporary folder, then shows the file.
#   scripts/run.sh [FOLDER]   keep the data file (and the radio memory) in FOLDER
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

bash scripts/install-deps.sh

zt_build_release ztp958fm-cli ztp958fm-radio-sim ZTP958FM stage_data initdata

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

gui=0
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  gui=1
else
  echo "run.sh: no display (DISPLAY or WAYLAND_DISPLAY); running the command-line demo instead"
fi

sim_args=(--create --memory "$work/radio.bin")
if [ "$gui" = 1 ]; then
  sim_args+=(--register "$stage/../language/mysetup.ini" COM1)
fi
"$stage/ztp958fm-radio-sim" "${sim_args[@]}" >"$work/sim.out" 2>"$work/sim.err" &
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

if [ "$gui" = 1 ]; then
  echo "the programming program uses it as COM1 (Settings > COM port)"
  "$stage/ZTP958FM"
  exit $?
fi

"$stage/ztp958fm-cli" read --port "$device" -o "$work/radio.dat" --yes
"$stage/ztp958fm-cli" show "$work/radio.dat"

if [ $# -ge 1 ]; then
  mkdir -p "$1"
  cp "$work/radio.dat" "$work/radio.fre" "$work/radio.bin" "$1/"
  echo "kept radio.dat, radio.fre and radio.bin in $1"
fi
