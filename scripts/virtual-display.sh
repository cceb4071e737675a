# shellcheck shell=bash
# Sourced by the scripts that run Wine's windows: a private virtual X display
# without a window manager. start_virtual_display exports DISPLAY;
# stop_virtual_display ends the server (after Wine's, which uses it).
virtual_display_pid=""

start_virtual_display() {
    local ready
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" </dev/null >/dev/null 2>&1 &
    virtual_display_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        rm -f "$ready"
        echo "Xvfb did not start" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$ready")"
    export DISPLAY
    rm -f "$ready"
}

stop_virtual_display() {
    [ -n "$virtual_display_pid" ] || return 0
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=""
}
