#!/usr/bin/env bash
# The long run of the whole player on the real engine (bench/soak_player.cpp):
# 200 generated tracks played, changed, sought, paused and turned up and down
# at random for MINUTES (10 unless given), through a PulseAudio daemon of the
# script's own with a null sink, which is killed and started again a third of
# the way in, as a crashing sound server would be. Prints the driver's figures:
# track changes, memory, threads and descriptors at the start (idle), midway
# (playing) and end (idle again), and streams left behind.
#   bench/soak.sh [BUILD_DIR] [MINUTES] [RESTART_EVERY]
# With RESTART_EVERY (seconds) the server is instead killed that often, from
# the first track on, and started again 2 s later; each restart prints whether
# the sink heard sound within 5 s of it.
# Without pulseaudio installed it plays on SDL's dummy driver and kills nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
minutes=${2:-10}
restart_every=${3:-}
cmake --build "$build" --target soak_player >/dev/null
work=$(mktemp -d)
source bench/pulse_server.sh
cleanup() {
  [ "$daemon" -eq 0 ] || kill "$daemon" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
if command -v pulseaudio >/dev/null; then
  pulse_setup
  start_server
else
  export SDL_AUDIODRIVER=dummy
fi

"$build/bench/soak_player" "$work/tracks" "$minutes" > >(tee "$work/player.out") &
player=$!
# Down for a moment, as a restarting server is.
restart() {
  kill_server
  echo "server_killed_at $(date -u +%T)"
  sleep 2
  start_server
  echo "server_back_at $(date -u +%T)"
}
if [ "$daemon" -ne 0 ] && [ -n "$restart_every" ]; then
  # The tracks take a while to write; the driver reports once they play, and
  # they play for the minutes asked. A restart must leave time to be heard.
  until grep -q '^start_' "$work/player.out" 2>/dev/null; do sleep 1; done
  last_restart=$(awk -v now="$(date +%s)" -v m="$minutes" -v every="$restart_every" \
    'BEGIN { print int(now + m * 60 - every - 7) }')
  restarts=0
  while [ "$(date +%s)" -le "$last_restart" ]; do
    sleep "$restart_every"
    restart
    restarts=$((restarts + 1))
    echo "restart $restarts heard_within_5s $(hears_sound 5)"
  done
elif [ "$daemon" -ne 0 ]; then
  # The tracks take a while to write; the crash comes a third into the playing.
  sleep "$(awk -v m="$minutes" 'BEGIN { print 20 + m * 20 }')"
  restart
fi
wait "$player"
echo "player_exit $?"
