#!/usr/bin/env bash
# Names every GoogleTest case that skipped in a ctest run, each with its
# reason, on one line ("2 cases skipped: A.B: why; C.D: why"); nothing when
# none did.  ctest counts a test program whose cases skipped as passed, so
# this line is the only sign that they never ran.  Reads the whole output of
# every test, which ctest keeps in Testing/Temporary/LastTest.log.
set -euo pipefail
awk '
  function flush() { if (taking) reason = text; taking = 0 }
  # A case runs from "[ RUN      ] Suite.Case" to its end line.  A case may
  # run the test program again and skip with all that run printed; the reason
  # is then that of the case inside, after the last "file:line: Skipped".
  /^<end of output>$/ { flush(); depth = 0; next }
  /^\[ RUN      \] / { flush(); name[++depth] = substr($0, 14); next }
  /^\[ *(OK|FAILED|SKIPPED) *\] [^ ]+.* \([0-9]+ ms\)$/ {
    flush()
    skipped = $0 ~ /^\[  SKIPPED \]/
    sub(/^\[[^]]*\] /, ""); sub(/[ ,].*$/, "")
    while (depth > 0 && name[depth] != $0) depth--
    if (depth > 0) depth--
    if (skipped && depth == 0) {
      r = reason == "" ? "no reason given" : reason
      if (length(r) > 200) r = substr(r, 1, 197) "..."
      list = list (count++ ? "; " : "") $0 ": " r
    }
    if (depth == 0) reason = ""
    next
  }
  /^[^ ]+:[0-9]+: Skipped$/ { flush(); taking = 1; text = ""; next }
  taking && /^\[/ { flush(); next }
  taking {
    line = $0; gsub(/[\r\t]/, " ", line); gsub(/^ +| +$/, "", line)
    if (line != "") text = text (text == "" ? "" : " ") line
  }
  END { if (count) print count (count == 1 ? " case" : " cases") " skipped: " list }
' "$1"
