#!/usr/bin/env bash
# One scripted session of the end-to-end test of fdtd1d: starts the program on a virtual X
# display of its own in DIR, waits for its window, plays SESSION and prints its findings as
# name=value lines. The test reads those lines and the files left in DIR.
#   Usage: fdtd1d-session.sh APP DRIVER DIR SESSION [SESSION ARGUMENTS...]
# The waits come from the environment: window_wait, run_wait, export_wait (seconds) and
# steps_per_run (the step lines of a full run).
set -euo pipefail
app="$1" driver="$2" dir="$3" session="$4"
shift 4
: "${window_wait:?}" "${run_wait:?}" "${export_wait:?}" "${steps_per_run:?}"
# shellcheck source=../../scripts/lib/fdtd1d-driver.sh
source "$driver"
trap fdtd_cleanup EXIT
log="$dir/stdout.log"

#-----------------------------------------------------------------------------
# Steps the sessions share
#-----------------------------------------------------------------------------

count_steps() { fdtd_count_lines "$log" "$FDTD_STEP_REGEX"; }

export_picture() {
    local done_before
    done_before="$(fdtd_count_lines "$log" "$FDTD_EXPORT_DONE_REGEX")"
    fdtd_key p
    fdtd_wait_lines "$log" "$FDTD_EXPORT_DONE_REGEX" $((done_before + 1)) "$export_wait"
}

wait_for_full_run() { fdtd_wait_lines "$log" "$FDTD_STEP_REGEX" "$steps_per_run" "$run_wait"; }

report_running() { echo "running_after_end=$(fdtd_running && echo yes || echo no)"; }

quit_and_report() {
    fdtd_key q
    fdtd_wait_exit 20
    echo "status=$FDTD_EXIT_STATUS"
}

#-----------------------------------------------------------------------------
# Sessions
#-----------------------------------------------------------------------------

# Runs, pauses with 'r', runs to the end and presses space once more.
session_pause_and_end() {
    sleep 1
    echo "while_paused=$(count_steps)"
    fdtd_key space
    fdtd_wait_lines "$log" "$FDTD_STEP_REGEX" 100 120
    fdtd_key r
    sleep 0.5
    echo "paused_at=$(count_steps)"
    sleep 1
    echo "still_paused_at=$(count_steps)"
    fdtd_key space
    wait_for_full_run
    sleep 1
    fdtd_key space
    sleep 1
    report_running
    quit_and_report
}

# Ends the program with the key given.
session_exit_key() {
    fdtd_key "$1"
    fdtd_wait_exit 20
    echo "status=$FDTD_EXIT_STATUS"
}

# Runs briefly and exports, for a program started without standard output.
session_export_without_output() {
    fdtd_key space
    sleep 2
    fdtd_key p
    for _ in $(seq 100); do [[ -s "$dir/out.eps" ]] && break; sleep 0.1; done
    echo "exported=$([[ -s "$dir/out.eps" ]] && echo yes || echo no)"
    quit_and_report
}

session_click_layer_list() {
    fdtd_move 10 30
    fdtd_click 10 30
    fdtd_key space
    wait_for_full_run
    sleep 0.5
    report_running
    quit_and_report
}

# Clicks the top plot twice while paused (select, then read off), exporting after each;
# then, after a full run, the history plot at its own point.
#   Arguments: TOP_X TOP_Y HISTORY_X HISTORY_Y (window pixels)
session_select_and_read_off() {
    local top_x="$1" top_y="$2" history_x="$3" history_y="$4"
    fdtd_click "$top_x" "$top_y"
    export_picture
    cp "$dir/out.eps" "$dir/selected.eps"
    fdtd_click "$top_x" "$top_y"
    export_picture
    cp "$dir/out.eps" "$dir/top.eps"
    fdtd_key space
    wait_for_full_run
    fdtd_click "$history_x" "$history_y"
    fdtd_click "$history_x" "$history_y"
    export_picture
    quit_and_report
}

session_picture_after_run() {
    fdtd_key space
    wait_for_full_run
    sleep 0.5
    fdtd_screenshot "$dir/shot.ppm"
    export_picture
    quit_and_report
}

case "$session" in
pause_and_end | exit_key | export_without_output | click_layer_list | select_and_read_off | \
    picture_after_run) ;;
*)
    echo "unknown session: $session" >&2
    exit 2
    ;;
esac
fdtd_start_virtual_display 10 # seconds to wait for the display
fdtd_start "$app" "$log" "$dir"
fdtd_wait_window "$window_wait"
"session_$session" "$@"
