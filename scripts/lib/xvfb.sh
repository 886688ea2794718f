# A virtual display for programs that open windows: start_xvfb starts Xvfb on the first free
# display number, sets XVFB_DISPLAY and xvfb_pid; the caller stops it (kill "$xvfb_pid").
xvfb_pid=""
start_xvfb() {
  local display
  for display in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
  done
  XVFB_DISPLAY=":$display"
}
