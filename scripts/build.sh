#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as BUILD_DIR); extra
# arguments go to CMake's configure step.  BUILD_TARGETS (blank-separated)
# builds only those targets and what they link; everything by default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
