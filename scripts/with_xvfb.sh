#!/usr/bin/env bash
# Runs a command under an X server of its own:
#
#   scripts/with_xvfb.sh [-s "SERVER ARGS"] COMMAND [ARGS...]
#
# The server (Xvfb, default screen 1280x720x24) picks a free display number itself
# (-displayfd) and tells it only once it accepts connections, so two runs started at the same
# moment never meet on one display and the command never starts before its display is ready;
# -noreset keeps it from resetting (and refusing connections for a moment) whenever its last
# client leaves. A server that fails to come up is replaced by a new one, up to three times.
# DISPLAY is set for the command; the server is stopped afterwards. Exits with the command's code.
set -euo pipefail
server_args="-screen 0 1280x720x24"
if [ "${1:-}" = "-s" ]; then
  server_args="$2"
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [-s \"SERVER ARGS\"] COMMAND [ARGS...]" >&2; exit 2; }
command -v Xvfb > /dev/null || { echo "$0: Xvfb is not installed (Debian package xvfb)" >&2; exit 2; }

work="$(mktemp -d)"
server_pid=""
stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2> /dev/null || true
    wait "$server_pid" 2> /dev/null || true
    server_pid=""
  fi
}
trap 'stop_server; rm -rf "$work"' EXIT

display=""
for attempt in 1 2 3; do
  : > "$work/display"
  # shellcheck disable=SC2086 # the server arguments are words
  Xvfb -displayfd 3 -noreset -nolisten tcp $server_args 3> "$work/display" 2> "$work/xvfb.log" &
  server_pid=$!
  # The number arrives, with its newline, once the server listens; up to 30 s.
  for _ in $(seq 300); do
    if grep -q '^[0-9][0-9]*$' "$work/display" 2> /dev/null; then
      display="$(head -1 "$work/display")"
      break
    fi
    kill -0 "$server_pid" 2> /dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] && break
  echo "Xvfb did not come up (try $attempt):" >&2
  cat "$work/xvfb.log" >&2
  stop_server
done
[ -n "$display" ] || { echo "$0: no X server could be started" >&2; exit 1; }

set +e
DISPLAY=":$display" "$@"
code=$?
set -e
exit "$code"
