#!/usr/bin/env bash
# Builds the suite and runs every test: the dev preset (all tests), then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/zt-runtime.XXXXXX)}"
chmod 0700 "$XDG_RUNTIME_DIR"

jobs="${ZT_JOBS:-$(nproc)}"

cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs" --output-on-failure

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" --output-on-failure
