# shellcheck shell=bash disable=SC2034  # the constants and results are read by the caller
# Drives a running fdtd1d from the outside: keys, clicks, screenshots and its output.
# Source this file from bash; every function is prefixed fdtd_ and every wait is bounded.
#
#   fdtd_start_virtual_display       start Xvfb on a free display and export DISPLAY
#   fdtd_start BIN LOG [DIR [ARG...]]  start BIN in DIR (default: .) with its arguments,
#                                    stdout in LOG; FDTD_WINDOW_TITLE names its window
#   fdtd_wait_window [SECONDS]       wait for its window (the first new one); sets FDTD_WID
#   fdtd_key KEY                     send a key (xdotool key names: space, p, q, Escape)
#   fdtd_move X Y                    move the pointer to window pixel (X, Y)
#   fdtd_click X Y                   move there and click the left button
#   fdtd_count_lines LOG REGEX       number of lines of LOG matching REGEX (extended)
#   fdtd_wait_lines LOG REGEX N [S]  wait until at least N lines match
#   fdtd_export LOG N [S]            press p and wait for the Nth "Done!"; fails at once,
#                                    with the program's own words, when it is refused
#   fdtd_screenshot FILE             save the window's picture (format from the extension)
#   fdtd_wait_exit [SECONDS]         wait for the program to end; sets FDTD_EXIT_STATUS
#   fdtd_stop                        end the program if it still runs
#   fdtd_stop_virtual_display        end the Xvfb started above
#   fdtd_cleanup                     both of the above; meant for an EXIT trap
#   fdtd_median_step_time LOG        median of the per-step times in LOG, in microseconds

FDTD_WINDOW_TITLE="1D FDTD Simulation"
FDTD_STEP_REGEX='^Time for 1 step [0-9.eE+-]+ microsec$'
FDTD_EXPORT_DONE_REGEX='Done!$'
# How the engine begins every message about an export it could not make.
FDTD_EXPORT_FAILED_REGEX='^Cannot '
FDTD_STEPS_PER_RUN=1001
FDTD_SCREEN="1024x768x24"

# Upper bound on the life of a started program, whatever its caller forgets.
: "${FDTD_APP_LIFETIME:=600}"
FDTD_POLL_INTERVAL=0.05
FDTD_START_ATTEMPTS_MAX=3
FDTD_RESET_PAUSE=0.2

FDTD_PID=""
FDTD_WID=""
FDTD_WINDOWS_BEFORE=""
FDTD_EXIT_STATUS=""
FDTD_START_ARGS=()
FDTD_START_ATTEMPTS=0
FDTD_XVFB_PID=""

fdtd_log() {
    printf 'fdtd1d-driver: %s\n' "$*" >&2
}

# xdotool warns on every call that there is no focus without a window manager.
fdtd_xdotool() {
    xdotool "$@" 2> >(grep -v 'XGetInputFocus' >&2)
}

# ---------------------------------------------------------------------------
# Virtual display
# ---------------------------------------------------------------------------

fdtd_start_virtual_display() {
    local seconds="${1:-10}"
    local fd_file
    fd_file="$(mktemp)"
    # -displayfd lets Xvfb pick a free display itself and announce it once it is ready.
    Xvfb -displayfd 3 -screen 0 "$FDTD_SCREEN" -nolisten tcp -noreset 3>"$fd_file" 2>/dev/null &
    FDTD_XVFB_PID=$!
    local deadline=$((SECONDS + seconds))
    while [[ ! -s "$fd_file" ]]; do
        if ! kill -0 "$FDTD_XVFB_PID" 2>/dev/null || ((SECONDS >= deadline)); then
            fdtd_log "Xvfb did not start"
            rm -f "$fd_file"
            fdtd_stop_virtual_display
            return 1
        fi
        sleep "$FDTD_POLL_INTERVAL"
    done
    DISPLAY=":$(head -n 1 "$fd_file")"
    export DISPLAY
    rm -f "$fd_file"
}

fdtd_stop_virtual_display() {
    if [[ -n "$FDTD_XVFB_PID" ]]; then
        kill "$FDTD_XVFB_PID" 2>/dev/null || true
        wait "$FDTD_XVFB_PID" 2>/dev/null || true
        FDTD_XVFB_PID=""
    fi
}

# ---------------------------------------------------------------------------
# The program
# ---------------------------------------------------------------------------

fdtd_start() {
    FDTD_START_ARGS=("$@")
    FDTD_START_ATTEMPTS=1
    fdtd_launch "$@"
}

fdtd_launch() {
    local bin="$1" log="$2" dir="${3:-.}"
    local args=("${@:4}")
    : >"$log"
    # The program's window carries no process id, so ours is the one that was not there before.
    FDTD_WINDOWS_BEFORE=" $(fdtd_find_windows | tr '\n' ' ') "
    (cd "$dir" && exec timeout -k 5 "$FDTD_APP_LIFETIME" "$bin" "${args[@]}" >"$log" \
        2>"$log.stderr") &
    FDTD_PID=$!
    FDTD_WID=""
}

# An X server without -noreset resets when its last client leaves, and refuses connections
# for that moment; a program started just then cannot open the display and is started again.
fdtd_relaunch_after_reset() {
    local log="${FDTD_START_ARGS[1]}"
    ((FDTD_START_ATTEMPTS < FDTD_START_ATTEMPTS_MAX)) || return 1
    grep -q 'failed to open display' "$log.stderr" 2>/dev/null || return 1
    wait "$FDTD_PID" 2>/dev/null || true
    FDTD_START_ATTEMPTS=$((FDTD_START_ATTEMPTS + 1))
    sleep "$FDTD_RESET_PAUSE"
    fdtd_launch "${FDTD_START_ARGS[@]}"
}

fdtd_running() {
    [[ -n "$FDTD_PID" ]] && kill -0 "$FDTD_PID" 2>/dev/null
}

fdtd_find_windows() {
    fdtd_xdotool search --name "$FDTD_WINDOW_TITLE" 2>/dev/null || true
}

fdtd_wait_window() {
    local seconds="${1:-20}"
    local deadline=$((SECONDS + seconds)) wid
    while ((SECONDS < deadline)); do
        if ! fdtd_running && ! fdtd_relaunch_after_reset; then
            fdtd_log "the program ended before its window appeared"
            return 1
        fi
        for wid in $(fdtd_xdotool search --onlyvisible --name "$FDTD_WINDOW_TITLE" 2>/dev/null); do
            if [[ "$FDTD_WINDOWS_BEFORE" != *" $wid "* ]]; then
                FDTD_WID="$wid"
                return 0
            fi
        done
        sleep "$FDTD_POLL_INTERVAL"
    done
    fdtd_log "no window \"$FDTD_WINDOW_TITLE\" within ${seconds}s"
    return 1
}

# A key that ends the program makes xdotool fail on the key release, so failures of the
# send itself are not errors here; the effect is checked by the caller.
fdtd_key() {
    fdtd_xdotool key --window "$FDTD_WID" "$1" >/dev/null 2>&1 || true
}

fdtd_move() {
    fdtd_xdotool mousemove --window "$FDTD_WID" "$1" "$2" >/dev/null
}

fdtd_click() {
    fdtd_xdotool mousemove --window "$FDTD_WID" "$1" "$2" click 1 >/dev/null
}

fdtd_count_lines() {
    local n
    n="$(grep -cE -- "$2" "$1" 2>/dev/null)" || true
    echo "${n:-0}"
}

fdtd_wait_lines() {
    local log="$1" regex="$2" wanted="$3" seconds="${4:-60}"
    local deadline=$((SECONDS + seconds))
    while (($(fdtd_count_lines "$log" "$regex") < wanted)); do
        if ((SECONDS >= deadline)); then
            fdtd_log "only $(fdtd_count_lines "$log" "$regex") of $wanted lines /$regex/ in ${seconds}s"
            return 1
        fi
        if ! fdtd_running; then
            fdtd_log "the program ended after $(fdtd_count_lines "$log" "$regex") lines /$regex/"
            return 1
        fi
        sleep "$FDTD_POLL_INTERVAL"
    done
}

fdtd_export() {
    local log="$1" wanted="$2" seconds="${3:-60}"
    local failed_before deadline=$((SECONDS + seconds))
    failed_before="$(fdtd_count_lines "$log.stderr" "$FDTD_EXPORT_FAILED_REGEX")"
    fdtd_key p
    while (($(fdtd_count_lines "$log" "$FDTD_EXPORT_DONE_REGEX") < wanted)); do
        if (($(fdtd_count_lines "$log.stderr" "$FDTD_EXPORT_FAILED_REGEX") > failed_before)); then
            fdtd_log "the export failed: $(grep -E -- "$FDTD_EXPORT_FAILED_REGEX" "$log.stderr" |
                tail -n +$((failed_before + 1)) | tr '\n' ' ')"
            return 1
        fi
        if ((SECONDS >= deadline)) || ! fdtd_running; then
            fdtd_log "no export finished within ${seconds}s"
            return 1
        fi
        sleep "$FDTD_POLL_INTERVAL"
    done
}

fdtd_screenshot() {
    timeout 30 import -window "$FDTD_WID" "$1"
}

fdtd_wait_exit() {
    local seconds="${1:-10}"
    local deadline=$((SECONDS + seconds))
    while fdtd_running; do
        if ((SECONDS >= deadline)); then
            fdtd_log "the program still runs after ${seconds}s"
            return 1
        fi
        sleep "$FDTD_POLL_INTERVAL"
    done
    FDTD_EXIT_STATUS=0
    wait "$FDTD_PID" || FDTD_EXIT_STATUS=$?
    FDTD_PID=""
}

fdtd_stop() {
    if [[ -n "$FDTD_PID" ]]; then
        kill "$FDTD_PID" 2>/dev/null || true
        wait "$FDTD_PID" 2>/dev/null || true
        FDTD_PID=""
    fi
}

fdtd_cleanup() {
    fdtd_stop
    fdtd_stop_virtual_display
}

# ---------------------------------------------------------------------------
# Reading the output
# ---------------------------------------------------------------------------

fdtd_median_step_time() {
    grep -E -- "$FDTD_STEP_REGEX" "$1" | awk '{print $5}' | sort -g |
        awk '{v[NR] = $1} END {
            if (NR == 0) exit 1
            if (NR % 2) printf "%.3f\n", v[(NR + 1) / 2]
            else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2
        }'
}
