# shellcheck shell=bash
# Serialises the configure and build steps of scripts that share one build tree: two of
# them configuring a fresh tree at once break each other's build with misleading errors.
#
#   fdtd_locked_build DIR COMMAND...   run COMMAND while holding DIR/build.lock

fdtd_locked_build() {
    local dir="$1"
    shift
    mkdir -p -- "$dir"
    (
        if ! flock -n 9; then
            echo "waiting for another build in $dir to finish" >&2
            flock 9
        fi
        "$@"
    ) 9>"$dir/build.lock"
}
