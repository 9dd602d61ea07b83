# Sourced by the picture scripts: an X server of their own (Xvfb at SCREEN, default 1366x768)
# with openbox, torn down with the caller's temporary folder on exit.
# Needs: root, work (a temporary folder). Sets: DISPLAY, pids.
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 "${SCREEN:-1366x768}x24" -nolisten tcp &
pids+=($!)
sleep 1
export DISPLAY="$display"
openbox &
pids+=($!)
sleep 1
