#!/usr/bin/env bash
# Builds the suite and runs every test: the dev preset (all tests), then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
zt_runtime_dir

cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs" --output-on-failure

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" --output-on-failure
