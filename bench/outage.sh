#!/usr/bin/env bash
# The whole player (bench/play_through) on a long tone while its sound server
# is away, through a PulseAudio daemon of the script's own with a null sink.
# First a minute with no server at all from the first play on: the output's
# tries in it (its connections to the server's socket, one a try, seen by
# strace) and the CPU the player used. Then the server is started, and killed
# and started again 8 s later, ROUNDS times in all (10 unless given): after
# how many seconds of the server's first answer the player's connection was
# taken (below zero when its try came while the server was starting and
# waited in the socket's queue; the device is open some 0.1 s after), the
# median, and whether the sink heard the tone in the 4 s after the answer.
#   bench/outage.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
rounds=${2:-10}
cmake --build "$build" --target play_through >/dev/null
work=$(mktemp -d)
source bench/pulse_server.sh
player=0
cleanup() {
  [ "$player" -eq 0 ] || kill "$player" 2>/dev/null || true
  [ "$daemon" -eq 0 ] || kill "$daemon" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
pulse_setup
sox -n -r 44100 -c 2 "$work/tone.wav" synth 900 sine 440 vol 0.5

# strace stops the player only at connect(), so it costs it next to nothing.
strace -f -tt --seccomp-bpf -qq -e trace=connect -o "$work/connects" \
  "$build/bench/play_through" "$work/tone.wav" 2>"$work/player.log" &
tracer=$!
# Started, the engine loaded and the first play made.
sleep 5
player=$(pgrep -P "$tracer")
tries() { grep -c "$work/run/native" "$work/connects" || true; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$player/stat"; }
tries_before=$(tries)
cpu_before=$(cpu_ticks)
sleep 60
echo "tries_in_60s $(($(tries) - tries_before))"
awk -v ticks=$(($(cpu_ticks) - cpu_before)) -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "cpu_in_60s %.2f s (%.2f%% of a core)\n", ticks / hz, ticks / hz / 60 * 100 }'

# Seconds from one time of day to another, as strace and date write them.
seconds_between() {
  awk -v from="$1" -v to="$2" 'function s(t, p) { split(t, p, ":"); return p[1] * 3600 + p[2] * 60 + p[3] }
    BEGIN { printf "%.2f\n", s(to) - s(from) }'
}
delays=()
for round in $(seq "$rounds"); do
  if [ "$round" -gt 1 ]; then
    kill_server
    sleep 8
  fi
  seen=$(wc -l <"$work/connects")
  start_server
  answered=$(date +%T.%N)
  heard=$(hears_sound 4)
  # The first of the player's connections that this server took.
  connected=$(tail -n +"$((seen + 1))" "$work/connects" | grep "$work/run/native" | grep -m1 ') = 0$' |
    awk '{ print $2 }')
  delay=$(seconds_between "$answered" "${connected:-$answered}")
  [ -n "$connected" ] || delay=none
  echo "round $round player_connected_after_s $delay heard $heard"
  delays+=("$delay")
done
printf '%s\n' "${delays[@]}" | grep -v none | sort -n |
  awk -v rounds="$rounds" '{ d[NR] = $1 } END {
    printf "median_player_connected_after_s %.2f (%d of %d rounds)\n", (d[int((NR + 1) / 2)] + d[int(NR / 2) + 1]) / 2, NR, rounds }'
echo "the player said:"
cat "$work/player.log"
