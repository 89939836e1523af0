# SPDX-License-Identifier: MIT
# Sourced by the hardening and benchmark scripts: a private X server.
# start_xvfb exports DISPLAY; stop_xvfb ends the server by its process id.
# -noreset keeps the server accepting clients between one program and the
# next (it would otherwise reset when its last client leaves).

XVFB_PID=

start_xvfb() {
    local dir=$1 deadline=$((SECONDS + 20))
    : >"$dir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
    XVFB_PID=$!
    # Xvfb writes its display number once it accepts clients.
    until [ -s "$dir/display" ]; do
        if [ $SECONDS -ge $deadline ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start:" >&2
            cat "$dir/xvfb.log" >&2
            return 1
        fi
        sleep 0.05
    done
    export DISPLAY=":$(head -n 1 "$dir/display")"
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}
