#!/usr/bin/env bash
# The end-to-end session of fdtd1d --tidy: starts it on a virtual X display of its own in
# DIR, runs about 150 steps, selects the middle plot and reads off a point in it, exports
# the picture and quits, printing status=N.
#   Usage: fdtd1d-tidy-session.sh APP DRIVER DIR
set -euo pipefail
app="$1" driver="$2" dir="$3"
# shellcheck source=../../scripts/lib/fdtd1d-driver.sh
source "$driver"
trap fdtd_cleanup EXIT
fdtd_start_virtual_display 10 # seconds to wait for the display
printf '#!/bin/sh\nexec "%s" --tidy\n' "$app" >"$dir/tidy.sh"
chmod +x "$dir/tidy.sh"
log="$dir/stdout.log"
fdtd_start "$dir/tidy.sh" "$log" "$dir"
fdtd_wait_window 60
fdtd_key space
fdtd_wait_lines "$log" "$FDTD_STEP_REGEX" 150 300
fdtd_key space
fdtd_click 400 190
fdtd_click 400 190
fdtd_key p
fdtd_wait_lines "$log" "$FDTD_EXPORT_DONE_REGEX" 1 60
fdtd_key q
fdtd_wait_exit 20
echo "status=$FDTD_EXIT_STATUS"
