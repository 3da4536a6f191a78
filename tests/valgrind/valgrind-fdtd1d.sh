#!/usr/bin/env bash
# Runs fdtd1d under Memcheck for one whole session on a virtual display: space, the full
# run of steps, 'p' (an export), then 'q'. Fails when Memcheck reports an invalid access,
# a use of uninitialised memory or a definite leak that the GL suppressions do not cover.
#
# Usage: valgrind-fdtd1d.sh FDTD1D_BINARY [WORK_DIR]
#   WORK_DIR gets out.eps, the program's output (fdtd1d.log) and Memcheck's report
#   (memcheck.log); a fresh temporary directory when not given.
# Environment: FDTD_VALGRIND_STEPS waits for that many steps instead of the whole run.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
readonly here root

binary="$(realpath "${1:?usage: valgrind-fdtd1d.sh FDTD1D_BINARY [WORK_DIR]}")"
work_dir="${2:-$(mktemp -d)}"
mkdir -p "$work_dir"
work_dir="$(cd "$work_dir" && pwd)"
readonly binary work_dir

readonly memcheck_status=99
# Memcheck makes every redraw of the software renderer a few hundred times slower:
# a whole run takes about ten minutes on two cores.
readonly window_wait=180
readonly run_wait=1800
readonly export_wait=300
readonly exit_wait=300
export FDTD_APP_LIFETIME=$((window_wait + run_wait + export_wait + exit_wait))

readonly program_log="$work_dir/fdtd1d.log"
readonly report="$work_dir/memcheck.log"
readonly launcher="$work_dir/fdtd1d-under-memcheck"

# The driver starts a program without arguments, so Memcheck and its options go into a
# small launcher. One rasteriser thread: Memcheck runs threads one at a time anyway.
cat >"$launcher" <<LAUNCHER
#!/bin/sh
LP_NUM_THREADS=0 exec valgrind --tool=memcheck --keep-debuginfo=yes --num-callers=40 --leak-check=full \\
    --show-leak-kinds=definite --errors-for-leak-kinds=definite \\
    --suppressions="$here/gl-libraries.supp" --error-exitcode=$memcheck_status \\
    --log-file="$report" "$binary"
LAUNCHER
chmod +x "$launcher"

# shellcheck source=../../scripts/lib/fdtd1d-driver.sh
source "$root/scripts/lib/fdtd1d-driver.sh"
trap fdtd_cleanup EXIT

wanted_steps="${FDTD_VALGRIND_STEPS:-$FDTD_STEPS_PER_RUN}"
started=$SECONDS
fdtd_start_virtual_display 10 # seconds to wait for the display
fdtd_start "$launcher" "$program_log" "$work_dir"
fdtd_wait_window "$window_wait"
fdtd_key space
fdtd_wait_lines "$program_log" "$FDTD_STEP_REGEX" "$wanted_steps" "$run_wait"
fdtd_key p
fdtd_wait_lines "$program_log" "$FDTD_EXPORT_DONE_REGEX" 1 "$export_wait"
fdtd_key q
fdtd_wait_exit "$exit_wait"

echo "valgrind-fdtd1d: $wanted_steps steps and an export in $((SECONDS - started)) s; report in $report"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable' "$report" |
    sed 's/^==[0-9]*== *//'
if ((FDTD_EXIT_STATUS != 0)); then
    echo "valgrind-fdtd1d: FAILED, status $FDTD_EXIT_STATUS (Memcheck's is $memcheck_status)" >&2
    exit 1
fi
echo "valgrind-fdtd1d: clean"
