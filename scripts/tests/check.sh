#!/usr/bin/env bash
# Checks of the shell scripts against stand-ins for the system's commands
# (dpkg-query, id, sudo, apt-get, cmake, clang-format, xvfb-run) placed first
# on PATH: what the set-up says where it cannot install, what it hands to
# sudo, the summary of .ci/run (its set-up line, the skipped cases in a
# stage's line), the skipped cases a ctest log names, and the virtual display
# scripts/run.sh names.  Nothing is installed or built.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect WHAT ACTUAL EXPECTED
expect() {
  if [ "$2" != "$3" ]; then
    printf 'FAILED: %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$3" "$2"
    failures=$((failures + 1))
  fi
}

# The stand-ins.  STUB_INSTALLED=1 makes every package installed; STUB_SUDO is "none"
# (cannot be used here), "ok" (works without a password) or "refused" (asks
# and then refuses, as for a user not in sudoers).  sudo and apt-get write
# their arguments into $work/calls.
stubs=$work/bin
mkdir -p "$stubs"
stub() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$stubs/$1" && chmod +x "$stubs/$1"; }
stub dpkg-query '[ "${STUB_INSTALLED:-0}" = 1 ] && printf "install ok installed"; true'
stub id '[ "$1" = -u ] && echo 1000 || exec /usr/bin/id "$@"'
stub sudo 'case "${STUB_SUDO:-none}:$*" in
  ok:*) echo "sudo $*" >>"$CALLS"; [ "$1" = -n ] || exec env "$@" ;;
  refused:-n*) exit 1 ;;
  refused:*) echo "Sorry, this user may not run sudo." >&2; exit 1 ;;
  *) exit 1 ;;
esac'
stub apt-get 'echo "apt-get $* (DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-})" >>"$CALLS"'
stub cmake 'true'
stub clang-format 'true'
stub xvfb-run 'echo "xvfb-run $*"'
export PATH="$stubs:$PATH" CALLS="$work/calls"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

packages=$(sed -n '/^packages=(/,/)/p' "$root/scripts/setup.sh" | tr -d '()' | sed 's/^packages=//' | xargs)
missing="Missing Debian packages: $packages"
as_root="Install them as root: apt-get update && apt-get install --no-install-recommends $packages"

# Without a usable sudo: the packages and the command for root, once each.
out=$("$root/scripts/setup.sh" 2>&1 </dev/null)
expect "set-up without sudo: status" "$?" 1
expect "set-up without sudo" "$out" "$missing
$as_root"

# With sudo: the packages named first, the front end on sudo's command line.
: >"$CALLS"
out=$(STUB_SUDO=ok "$root/scripts/setup.sh" 2>&1 </dev/null)
expect "set-up through sudo: status" "$?" 0
expect "set-up through sudo" "$out" "$missing
Installing them through sudo, which may ask for your password."
expect "set-up through sudo: commands" "$(grep -v -- '-n true' "$CALLS")" \
  "sudo DEBIAN_FRONTEND=noninteractive apt-get update -qq
apt-get update -qq (DEBIAN_FRONTEND=noninteractive)
sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $packages
apt-get install -y -qq --no-install-recommends $packages (DEBIAN_FRONTEND=noninteractive)"

# sudo refused on a terminal: the packages before it asks, again with the command for root after.
out=$(STUB_SUDO=refused script -qec "$root/scripts/setup.sh" /dev/null 2>&1 </dev/null | tr -d '\r')
expect "set-up with sudo refused" "$out" "$missing
Installing them through sudo, which may ask for your password.
Sorry, this user may not run sudo.
$missing
$as_root"

# .ci/run in a copy of the tree (a checkout of the user's own), whose test
# command prints what ctest and scripts/skipped.sh would.
tree=$work/tree
mkdir -p "$tree/.ci" "$tree/scripts/tests"
cp "$root/.ci/run" "$tree/.ci/run"
printf '#!/usr/bin/env bash\ntrue\n' >"$tree/scripts/tests/check.sh"
cat >"$tree/scripts/test.sh" <<'EOF'
#!/usr/bin/env bash
if [ "${SANITIZE:-0}" = 1 ]; then echo "96% tests passed, 3 tests failed out of 82"; exit 8; fi
[ "${NOGUI:-0}" = 1 ] && exit 2
echo "100% tests passed, 0 tests failed out of 82"
echo "2 cases skipped: Disk.Full: no small disk here; Files.AsAUser: only root can run a test as another user"
EOF
chmod +x "$tree/scripts/test.sh" "$tree/scripts/tests/check.sh"
touch "$tree/a.cpp" && git -C "$tree" init -q && git -C "$tree" add a.cpp

# After a failed set-up: one line for it, and the stages that need the packages not run.
cp "$root/scripts/setup.sh" "$tree/scripts/setup.sh"
out=$("$tree/.ci/run" 2>&1 </dev/null)
expect ".ci/run after a failed set-up: status" "$?" 1
expect ".ci/run after a failed set-up: packages named" "$(grep -c '^Missing Debian packages' <<<"$out")" 1
expect ".ci/run after a failed set-up: summary" "$(sed -n '/^=== .ci.run summary ===$/,$p' <<<"$out")" \
  "=== .ci/run summary ===
set-up:                  failed (status 1): $missing
scripts:                 not run: the set-up failed
format:                  every source as .clang-format has it
plain (WERROR=1):        not run: the set-up failed
sanitizers (SANITIZE=1): not run: the set-up failed
without Qt (NOGUI=1):    not run: the set-up failed
FAILED"

cp "$tree/scripts/tests/check.sh" "$tree/scripts/setup.sh"
# After a set-up that passes: the skipped cases in the stage's line, a failed
# test, a build that fails.
out=$("$tree/.ci/run" 2>&1 </dev/null)
expect ".ci/run summary: status" "$?" 1
expect ".ci/run summary" "$(sed -n '/^=== .ci.run summary ===$/,$p' <<<"$out")" \
  "=== .ci/run summary ===
set-up:                  every package the project needs is installed
scripts:                 every check of the shell scripts passed
format:                  every source as .clang-format has it
plain (WERROR=1):        82 passed, 0 failed of 82; 2 cases skipped: Disk.Full: no small disk here; Files.AsAUser: only root can run a test as another user
sanitizers (SANITIZE=1): 79 passed, 3 failed of 82
without Qt (NOGUI=1):    no tests run: the build failed (status 2)
FAILED"

# Without a display the program runs on a display the line names.
out=$(STUB_INSTALLED=1 "$root/scripts/run.sh" mantlo 2>&1 </dev/null)
n=$(sed -nE 's/^xvfb-run -n ([0-9]+) .*/\1/p' <<<"$out")
expect "run.sh without a display" "$out" \
  "No display: Mantlo runs on the virtual display :$n (Xvfb), where it cannot be seen; end it with Ctrl+C.
xvfb-run -n $n $root/build/mantlo/mantlo"

# The skipped cases of a ctest log: a reason on several lines, a case that
# runs the program again and skips with what that run said, a failed case
# with a parameter; a test program without skips adds nothing.
cat >"$work/LastTest.log" <<'EOF'
1/2 Test: one_test
Output:
----------------------------------------------------------
[ RUN      ] Disk.Full
/src/one_test.cpp:12: Skipped
no small disk here:
mount: permission denied
[  SKIPPED ] Disk.Full (0 ms)
[ RUN      ] Param/Sweep.Holds/3
/src/one_test.cpp:30: Failure
[  FAILED  ] Param/Sweep.Holds/3, where GetParam() = 3 (1 ms)
[ RUN      ] Files.AsAUser
/src/one_test.cpp:40: Skipped
Running main() from gtest_main.cc
Note: Google Test filter = Files.AsNobody
[==========] Running 1 test from 1 test suite.
[ RUN      ] Files.AsNobody
/src/AsNobody.h:130: Skipped
the test program cannot run as nobody: cannot become nobody: Operation not permitted
[  SKIPPED ] Files.AsNobody (2 ms)
[  SKIPPED ] 1 test, listed below:
[  SKIPPED ] Files.AsNobody

[  SKIPPED ] Files.AsAUser (5 ms)
[       OK ] Files.Plain (0 ms)
[  SKIPPED ] 2 tests, listed below:
[  SKIPPED ] Disk.Full
[  SKIPPED ] Files.AsAUser
<end of output>
2/2 Test: two_test
Output:
----------------------------------------------------------
[ RUN      ] Two.Passes
[       OK ] Two.Passes (0 ms)
<end of output>
EOF
expect "skipped cases" "$("$root/scripts/skipped.sh" "$work/LastTest.log")" \
  "2 cases skipped: Disk.Full: no small disk here: mount: permission denied; Files.AsAUser: the test program cannot run as nobody: cannot become nobody: Operation not permitted"
sed -n '/2\/2 Test/,$p' "$work/LastTest.log" >"$work/none.log"
expect "no skipped case" "$("$root/scripts/skipped.sh" "$work/none.log")" ""

[ "$failures" -eq 0 ] && echo "scripts/tests/check.sh: every check passed" || echo "scripts/tests/check.sh: $failures failed"
[ "$failures" -eq 0 ]
