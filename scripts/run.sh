#!/usr/bin/env bash
# Sets up, builds and starts one program: ferrant (default), bifilon or mantlo.
# Without a display the program runs under a virtual X server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-ferrant}
case "$program" in ferrant|bifilon|mantlo) ;; *) echo "usage: $0 [ferrant|bifilon|mantlo]" >&2; exit 2;; esac
"$root/scripts/setup.sh"
# Only the program and the libraries it links: the tests and benchmarks are
# the test command's business.
BUILD_TARGETS="$program" "$root/scripts/build.sh"
exe="$root/build/$program/$program"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  # The first display number no X server holds, so that the line can name it
  # (xvfb-run -a would pick one without saying which).
  n=99
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "No display: ${program^} runs on the virtual display :$n (Xvfb), where it cannot be seen; end it with Ctrl+C." >&2
  exec xvfb-run -n "$n" "$exe"
fi
exec "$exe"
