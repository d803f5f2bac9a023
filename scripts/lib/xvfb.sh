# shellcheck shell=bash
# Sourced by the scripts and tests that need an X screen: a private Xvfb on a
# display number it finds free itself.
# -noreset: by default the server resets when its last client leaves, and a
# client that connects in that moment (the next program started) is refused.

xvfb_pid=""

# Sets xvfb_pid and exports DISPLAY; fails when no display number came within
# 15 s or the server ended first (its log says why).
xvfb_start() {  # WIDTHxHEIGHTxDEPTH LOGFILE
    local number_file number=""
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$number_file" >"$2" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 150); do
        [ -s "$number_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    number=$(head -n 1 "$number_file" | tr -d '[:space:]')
    rm -f "$number_file"
    [ -n "$number" ] || return 1
    export DISPLAY=":$number"
}

xvfb_stop() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true  # its status is that of the signal
    fi
    xvfb_pid=""
    return 0
}
