#!/usr/bin/env bash
# One scripted session of the end-to-end test of the lab's window: starts `fdtd-lab view
# SCENARIO` on a virtual X display of its own in DIR, waits for its window, plays SESSION,
# quits and prints its findings as name=value lines (status=N last).
#   Usage: lab-view-session.sh APP DRIVER DIR SCENARIO SESSION
set -euo pipefail
app="$1" driver="$2" dir="$3" scenario="$4" session="$5"
# shellcheck source=../../scripts/lib/fdtd1d-driver.sh
source "$driver"
FDTD_WINDOW_TITLE="FDTD lab"
trap fdtd_cleanup EXIT
log="$dir/stdout.log"

#-----------------------------------------------------------------------------
# Helpers: exports that wait for the program's "Done!", and a wait for a status line,
# exporting until the picture shows it
#-----------------------------------------------------------------------------

export_eps() { # NAME: the picture as it is now, kept as NAME
    local before
    before="$(fdtd_count_lines "$log" 'Done!$')"
    fdtd_key p
    fdtd_wait_lines "$log" 'Done!$' $((before + 1)) 60
    cp "$dir/out.eps" "$dir/$1"
}

wait_status() { # TEXT NAME: export until the status line holds TEXT
    local deadline=$((SECONDS + 300))
    while ((SECONDS < deadline)); do
        export_eps "$2"
        grep -qF -- "$1" "$dir/$2" && return 0
        sleep 0.2
    done
    echo "no status '$1' in time" >&2
    return 1
}

press_and_wait() { # KEY REGEX: press KEY, then wait for one more output line matching REGEX
    local before
    before="$(fdtd_count_lines "$log" "$2")"
    fdtd_key "$1"
    fdtd_wait_lines "$log" "$2" $((before + 1)) 60
}

#-----------------------------------------------------------------------------
# Sessions
#-----------------------------------------------------------------------------

# Steps, resets and speeds up, exporting after each.
session_step_reset_and_rate() {
    export_eps start.eps
    fdtd_key n
    export_eps one.eps
    fdtd_key n; fdtd_key n; fdtd_key n
    export_eps four.eps
    fdtd_key 0
    export_eps reset.eps
    fdtd_key plus
    export_eps faster.eps
}

# Runs to the end with each right end in turn, then cycles the left end.
session_boundary_cycle() {
    fdtd_key plus; fdtd_key plus; fdtd_key plus; fdtd_key plus
    fdtd_key space
    wait_status "step 180/180" abc.eps
    fdtd_key bracketright; fdtd_key bracketright; fdtd_key bracketright
    fdtd_key space
    wait_status "step 180/180" pec.eps
    fdtd_key bracketright
    fdtd_key space
    wait_status "step 180/180" pmc.eps
    fdtd_key bracketleft
    export_eps left.eps
}

# Drags the probe marker 20 cells towards the source, runs to the end and writes the probe table.
session_drag_probe() {
    export_eps before.eps
    read -r sx sy < <(grep -m1 '^(source) ' "$dir/before.eps" | cut -d' ' -f2,3)
    read -r px _ < <(grep -m1 '^(probe) ' "$dir/before.eps" | cut -d' ' -f2,3)
    to=$(awk -v s="$sx" -v p="$px" 'BEGIN { printf "%d", s + (p - s) * 20 / 50 + 0.5 }')
    from=$(printf '%.0f' "$px")
    y=$(awk -v y="$sy" 'BEGIN { printf "%d", 720 - y - 40 }')
    fdtd_xdotool mousemove --window "$FDTD_WID" "$from" "$y" mousedown 1 \
        mousemove --window "$FDTD_WID" "$to" "$y" mouseup 1 >/dev/null
    export_eps after.eps
    fdtd_key plus; fdtd_key plus; fdtd_key plus; fdtd_key plus
    fdtd_key space
    wait_status "step 180/180" end.eps
    press_and_wait c 'probes.csv'
}

# Records a GIF while stepping, then one while running, and prints the last one's frames.
session_gif_recording() {
    fdtd_key g
    fdtd_key n; fdtd_key n; fdtd_key n; fdtd_key n
    press_and_wait g 'out.gif'
    cp "$dir/out.gif" "$dir/stepped.gif"
    fdtd_key g
    fdtd_key space
    sleep 0.5
    fdtd_key space
    press_and_wait g 'out.gif'
    grep 'out.gif' "$log" | tail -n 1 | sed -E 's/.*: ([0-9]+) frames, steps ([0-9]+) to ([0-9]+).*/frames=\1\nfirst=\2\nlast=\3/'
}

# c and g while another process holds the folder's lock, then c once it is free.
session_keys_in_a_held_folder() {
    # The holder waits for the lock (the check below takes it for a moment) and ends with the
    # view at the latest, so that a failed session leaves no holder behind.
    (exec 3<"$dir" && flock 3 && exec tail --pid="$FDTD_PID" -f /dev/null) >/dev/null 2>&1 &
    local holder=$! deadline=$((SECONDS + 60))
    until ! flock -n "$dir" true || ((SECONDS >= deadline)); do sleep 0.05; done
    press_and_wait c 'no tables written'
    wait_status 'no tables written: another fdtd-lab run' refused.eps
    press_and_wait g 'not recording'
    echo "tables_while_held=$(find "$dir" -maxdepth 1 -name '*.csv' | wc -l)"
    echo "gif_while_held=$(find "$dir" -maxdepth 1 -name '*out.gif*' | wc -l)"
    kill "$holder"
    wait "$holder" || true
    press_and_wait c 'probes.csv'
}

# Writes the picture in every format.
session_export_formats() {
    press_and_wait e 'out.png'
}

# Counts redraws and CPU ticks over two paused seconds, then runs.
session_paused_cpu() {
    cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$(pgrep -P "$FDTD_PID")/stat"; }
    redraws() { fdtd_count_lines "$log" '^redraw '; }
    sleep 1
    echo "redraws_before=$(redraws)"
    echo "cpu_before=$(cpu_ticks)"
    sleep 2
    echo "redraws_after=$(redraws)"
    echo "cpu_after=$(cpu_ticks)"
    echo "ticks_per_second=$(getconf CLK_TCK)"
    fdtd_key space
    fdtd_wait_lines "$log" '^redraw ' $(( $(redraws) + 5 )) 60
}

# Runs the scenario to its end at the highest rate.
session_slab_spectra() {
    for _ in 1 2 3 4 5 6; do fdtd_key plus; done
    fdtd_key space
    wait_status "step 6000/6000" slab.eps
}

# The temporaries of out.gif left in the session's folder, and how the program ended.
report_ending() {
    fdtd_wait_exit 60
    echo "temporaries=$(find "$dir" -maxdepth 1 -name '.out.gif.*' | wc -l)"
    echo "gif=$([[ -s "$dir/out.gif" ]] && echo yes || echo no)"
    echo "status=$FDTD_EXIT_STATUS"
    exit 0
}

# Records a few steps, then destroys the window from outside, as no window manager would.
session_destroyed_while_recording() {
    fdtd_key g
    fdtd_key n; fdtd_key n; fdtd_key n
    fdtd_wait_lines "$log" '^redraw ' 4 60
    fdtd_xdotool windowclose "$FDTD_WID"
    report_ending
}

# Records, resets the run and records on: the summary names both runs of steps.
session_reset_while_recording() {
    fdtd_key g
    for _ in 1 2 3 4 5 6; do fdtd_key n; done
    fdtd_key 0
    fdtd_key n; fdtd_key n
    press_and_wait g 'out.gif'
    echo "summary=$(grep 'out.gif' "$log" | tail -n 1)"
}

# Records into a file that may not grow beyond a few frames (ulimit -f, set by the test):
# the recording stops at once and says why.
session_recording_fails() {
    fdtd_key g
    local deadline=$((SECONDS + 120))
    until grep -q 'recording stopped' "$log" || ((SECONDS >= deadline)); do fdtd_key n; done
    echo "stopped=$(grep -m1 'recording stopped' "$log")"
}

wait_for_temporary() { # until the recording has its first frame on disk
    local deadline=$((SECONDS + 60))
    until compgen -G "$dir/.out.gif.*" >/dev/null || ((SECONDS >= deadline)); do
        sleep "$FDTD_POLL_INTERVAL"
    done
}

# An unattended recording whose window is destroyed from outside.
session_record_destroyed() {
    wait_for_temporary
    fdtd_xdotool windowclose "$FDTD_WID"
    report_ending
}

# An unattended recording stopped by SIGTERM: nothing kept, no temporary.
session_record_terminated() {
    wait_for_temporary
    kill -TERM "$(pgrep -P "$FDTD_PID")"
    report_ending
}

if [[ "$(type -t "session_$session")" != function ]]; then
    echo "unknown session: $session" >&2
    exit 2
fi
fdtd_start_virtual_display 10 # seconds to wait for the display
if [[ "$session" == record_* ]]; then
    fdtd_start "$app" "$log" "$dir" record "$scenario" --gif out.gif --every 1
else
    fdtd_start "$app" "$log" "$dir" view "$scenario"
fi
fdtd_wait_window 60
"session_$session"
fdtd_key q
fdtd_wait_exit 20
echo "status=$FDTD_EXIT_STATUS"
