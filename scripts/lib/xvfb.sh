# Sourced by the bench scripts: a virtual X server of their own, on a display number that the
# server picks itself (-displayfd), so that no other server's display is taken.
#   start_xvfb WxHxDEPTH   starts it, waits for its number and points DISPLAY (and SDL) at it
#   stop_xvfb              ends it; safe to call when it never started (for an EXIT trap)
xvfb_pid=
xvfb_number_file=

start_xvfb() {
  xvfb_number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$xvfb_number_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$xvfb_number_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$xvfb_number_file" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$xvfb_number_file")"
  unset SDL_VIDEODRIVER WAYLAND_DISPLAY
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_number_file" ]; then rm -f "$xvfb_number_file"; fi
}
