#!/usr/bin/env bash
# Sets up, builds and runs every test.  With SANITIZE=1 it builds into
# build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
if [ "${SANITIZE:-0}" = 1 ]; then
  export BUILD_DIR="$root/build-asan"
  "$root/scripts/build.sh" -DSANITIZE=ON -DWITH_BENCHMARKS=OFF
else
  export BUILD_DIR="$root/build"
  "$root/scripts/build.sh"
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
