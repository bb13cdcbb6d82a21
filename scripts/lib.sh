# shellcheck shell=bash disable=SC2034
# Start-up code the scripts share. Source it first thing:
#   source "$(dirname "$0")/lib.sh"
# It stops on errors and unset variables, moves to the repository root, and
# sets `build` (ZT_BUILD_DIR, default build/release), `stage` (the staged
# program folder) and `jobs` (ZT_JOBS, default every core).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build="${ZT_BUILD_DIR:-build/release}"
stage="$build/stage/V300"
jobs="${ZT_JOBS:-$(nproc)}"

# Configures the release build when it is not there yet and builds TARGETS
# quietly; on failure the build's output goes to standard error.
zt_build_release() {
  if [ ! -f "$build/build.ninja" ]; then
    if [ "$build" = build/release ]; then
      cmake --preset release >/dev/null
    else
      cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZT_BUILD_TESTS=OFF >/dev/null
    fi
  fi
  local log
  log="$(mktemp /tmp/zt-build.XXXXXX)"
  if ! cmake --build "$build" -j "$jobs" --target "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}

# A private runtime folder for Qt when the session has none.
zt_runtime_dir() {
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/zt-runtime.XXXXXX)}"
  chmod 0700 "$XDG_RUNTIME_DIR"
}

# Simulators a benchmark started in the background: add each one's pid to zt_sims;
# zt_stop_sims stops them all (also from an EXIT trap).
zt_sims=()
zt_stop_sims() {
  local pid
  for pid in "${zt_sims[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  zt_sims=()
}
