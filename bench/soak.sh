#!/usr/bin/env bash
# The long run of the whole player on the real engine (bench/soak_player.cpp):
# 200 generated tracks played, changed, sought, paused and turned up and down
# at random for MINUTES (10 unless given), through a PulseAudio daemon of the
# script's own with a null sink, which is killed and started again a third of
# the way in, as a crashing sound server would be. Prints the driver's figures:
# track changes, memory, threads and descriptors at the start (idle), midway
# (playing) and end (idle again), and streams left behind.
#   bench/soak.sh [BUILD_DIR] [MINUTES]
# Without pulseaudio installed it plays on SDL's dummy driver and kills nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
minutes=${2:-10}
cmake --build "$build" --target soak_player >/dev/null
work=$(mktemp -d)
daemon=0
cleanup() {
  [ "$daemon" -eq 0 ] || kill "$daemon" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --disable-shm=yes \
    --log-target=stderr --log-level=error \
    -L "module-null-sink sink_name=soak rate=44100 channels=2" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" \
    >>"$work/pulseaudio.log" 2>&1 &
  daemon=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
  echo "pulseaudio did not start" >&2
  exit 1
}

export QT_QPA_PLATFORM=offscreen
if command -v pulseaudio >/dev/null; then
  mkdir -p -m 700 "$work/run" "$work/home"
  export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_SERVER=unix:$work/run/native
  export SDL_AUDIODRIVER=pulseaudio
  start_server
else
  export SDL_AUDIODRIVER=dummy
fi

"$build/bench/soak_player" "$work/tracks" "$minutes" &
player=$!
if [ "$daemon" -ne 0 ]; then
  # The tracks take a while to write; the crash comes a third into the playing.
  sleep "$(awk -v m="$minutes" 'BEGIN { print 20 + m * 20 }')"
  kill -KILL "$daemon"
  wait "$daemon" 2>/dev/null || true
  echo "server_killed_at $(date -u +%T)"
  sleep 2
  start_server
  echo "server_back_at $(date -u +%T)"
fi
wait "$player"
echo "player_exit $?"
