#!/usr/bin/env bash
# Sets up, builds and runs every test.  With SANITIZE=1 it builds into
# build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer; with
# NOGUI=1 into build-nogui/ without Qt (the numerical core and its tests only).
# WERROR=1 makes warnings in the project's own code errors.  Arguments go to
# ctest (e.g. -L unit, -R linalg).  At the end a line names the cases that
# skipped and why.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
options=(-DWERROR="$([ "${WERROR:-0}" = 1 ] && echo ON || echo OFF)")
if [ "${SANITIZE:-0}" = 1 ]; then
  export BUILD_DIR="$root/build-asan"
  options+=(-DSANITIZE=ON -DWITH_BENCHMARKS=OFF)
elif [ "${NOGUI:-0}" = 1 ]; then
  export BUILD_DIR="$root/build-nogui"
  options+=(-DWITH_GUI=OFF)
else
  export BUILD_DIR="$root/build"
fi
"$root/scripts/build.sh" "${options[@]}"
cd "$BUILD_DIR"
log=Testing/Temporary/LastTest.log
rm -f "$log"
status=0
ctest --output-on-failure -j"$(nproc)" "$@" || status=$?
# A skipped case passes in ctest's count: the line names each with its reason.
[ ! -f "$log" ] || "$root/scripts/skipped.sh" "$log"
exit "$status"
