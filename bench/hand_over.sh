#!/usr/bin/env bash
# Times the one-player hand-over: a second `lirvan1 FILE` while a player runs,
# from the second launch to the running player's new track (its MPRIS title
# changing), and to the second process's exit. Ten runs on a bus of the
# script's own, offscreen, SDL's dummy output; prints each run and the medians.
# Usage: bench/hand_over.sh BUILD_DIR
set -euo pipefail
# A session bus of its own, so that no player of the desktop's answers.
[ -n "${LIRVAN_HAND_OVER_BUS:-}" ] || LIRVAN_HAND_OVER_BUS=1 exec dbus-run-session -- "$0" "$@"
build=$(realpath "${1:?build folder}")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
mkdir -m 700 "$XDG_RUNTIME_DIR"
for i in $(seq 10); do
  sox -n -r 44100 -c 2 "$work/track$i.wav" synth 5 sine 440 2>/dev/null
done

"$build/lirvan1" 2>/dev/null &
for _ in $(seq 100); do
  playerctl --player=lirvan1 status >/dev/null 2>&1 && break
  sleep 0.05
done
now() { date +%s%N; }
playerctl --player=lirvan1 --follow metadata xesam:title > "$work/titles" 2>/dev/null &
sleep 0.5
: > "$work/runs"
for i in $(seq 10); do
  start=$(now)
  "$build/lirvan1" "$work/track$i.wav"
  exited=$(now)
  until grep -qx "track$i" "$work/titles"; do sleep 0.002; done
  heard=$(now)
  echo "$(( (heard - start) / 1000 )) $(( (exited - start) / 1000 ))" | tee -a "$work/runs"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
echo "median to the new track: $(cut -d' ' -f1 "$work/runs" | median) µs"
echo "median to the second's exit: $(cut -d' ' -f2 "$work/runs" | median) µs"
