#!/usr/bin/env bash
# scripts/run under odd paths and contention, on its headless route: an --out that starts
# with a dash, an output folder another session holds, a build tree another script is
# building, and an export the program refuses, whose reason must be said at once.
#
# Usage: test_run_script.sh ROOT BUILD_DIR
set -euo pipefail

root="$1"
export FDTD1D_BUILD_DIR="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# run_script NAME ARGS...: scripts/run with its output in NAME.out and NAME.err
run_script() {
    local name="$1"
    shift
    status=0
    timeout -k 5 600 "$root/scripts/run" --headless "$@" >"$name.out" 2>"$name.err" || status=$?
}

echo "--- an output folder whose name starts with a dash"
run_script dash --out -pictures
[[ "$status" == 0 ]] || fail "status $status: $(cat dash.err)"
grep -q '^Steps run: *1001$' dash.out || fail "steps: $(cat dash.out)"
for file in out.eps out.png fdtd1d.png fdtd1d.log; do
    [[ -s "./-pictures/$file" ]] || fail "no -pictures/$file"
done

echo "--- a folder another session writes into"
mkdir busy
exec {busy_lock}<busy
flock -n "$busy_lock"
run_script busy --out busy
[[ "$status" != 0 ]] || fail "a busy folder was taken"
grep -q 'another session is writing' busy.err || fail "no reason given: $(cat busy.err)"
[[ ! -e busy/fdtd1d.log ]] || fail "the busy folder was written into"
exec {busy_lock}<&-

echo "--- a build tree another script holds, then an export the program refuses"
mkdir -p refused/out.eps
# The build lock is let go once scripts/run says that it waits for it.
flock "$FDTD1D_BUILD_DIR/build.lock" bash -c 'touch held
    until grep -q "waiting for another build" refused.err 2>/dev/null; do sleep 0.1; done' &
holder=$!
until [[ -e held ]]; do sleep 0.1; done
run_script refused --out refused
wait "$holder"
[[ "$status" != 0 ]] || fail "a refused export was taken for success"
grep -q 'waiting for another build' refused.err || fail "no wait for the build lock"
grep -q "Cannot open 'out.eps': Is a directory" refused.err ||
    fail "the program's reason was not said: $(cat refused.err)"

((failures == 0)) || exit 1
echo "all cases passed"
