#!/usr/bin/env bash
# Stage: Qt window natively on Wayland (headless weston)
# Starts Debian's weston with its headless backend on a socket of its own, in
# a private runtime folder and with no X server, and there, through Qt's
# Wayland platform (qt6-wayland): runs the Wayland window tests (the window
# shows, Compute gives the report, a refused entry's message box shows), then
# starts the program itself, which must keep running for 3 s with nothing on
# its error output. Stops weston at the end, whatever happened.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" weston qt6-wayland
require_commands weston

build_preset default --target form1_wayland_tests vellamire

# Only the compositor started here: no X server, no session's compositor.
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET
# mktemp makes the folder private (0700) to whoever runs this, as a session's
# runtime folder is; weston puts its socket there.
runtime=$(mktemp -d)
socket=vellamire-$$
weston_pid=
program_pid=
stop_all() {
  local pid
  for pid in $program_pid $weston_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$runtime"
}
trap stop_all EXIT

XDG_RUNTIME_DIR=$runtime weston --no-config --backend=headless-backend.so --socket="$socket" \
  --idle-time=0 --log="$runtime/weston.log" &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
  cat "$runtime/weston.log" >&2
  fail "weston did not open its socket $runtime/$socket"
fi
say "$(weston --version) runs headless on the socket $socket"

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
build/default/tests/ui/form1_wayland_tests || fail "the Wayland window tests failed"

build/default/app/vellamire 2>"$runtime/stderr" >/dev/null &
program_pid=$!
sleep 3
if ! kill -0 "$program_pid" 2>/dev/null; then
  status=0
  wait "$program_pid" || status=$?
  program_pid=
  cat "$runtime/stderr" >&2
  fail "the program ended by itself on Wayland (exit status $status)"
fi
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
if [ -s "$runtime/stderr" ]; then
  cat "$runtime/stderr" >&2
  fail "the program wrote to stderr on Wayland"
fi
say "the program ran 3 s on Wayland silently and was stopped"
