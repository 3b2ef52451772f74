#!/usr/bin/env bash
# The whole player against ffplay on the same 30 s MP3, played in real time to
# the same output: CPU time (user + system) and peak memory of each process.
# Both go through SDL's disk driver into /dev/null, which keeps real time as a
# sound card would.
#
#   bench/player_vs_ffplay.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
driver="$build/bench/play_through"
[ -x "$driver" ] || { echo "no $driver: build the project first" >&2; exit 1; }
command -v ffplay >/dev/null || { echo "ffplay is missing (package ffmpeg)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
track="$work/track.mp3"
# Two tones and some noise, so that the decoder has real work to do.
ffmpeg -loglevel error -y \
  -f lavfi -i "sine=frequency=440:duration=30" \
  -f lavfi -i "sine=frequency=2500:duration=30" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.1:duration=30" \
  -filter_complex amix=inputs=3 -ac 2 -ar 44100 -b:a 192k "$track"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null QT_QPA_PLATFORM=offscreen

# Prints "cpu_seconds peak_kib wall_seconds" for one run of the command.
measure() {
  /usr/bin/time -f "%U %S %M %e" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%.2f %d %.1f\n", $1 + $2, $3, $4 }' "$work/time"
}

read -r player_cpu player_kib player_wall < <(measure "$driver" "$track")
read -r ffplay_cpu ffplay_kib ffplay_wall < <(measure ffplay -nodisp -autoexit -loglevel error "$track")

printf '%-8s %10s %14s %10s\n' "" "CPU s" "peak memory" "wall s"
printf '%-8s %10s %11d MiB %10s\n' player "$player_cpu" $((player_kib / 1024)) "$player_wall"
printf '%-8s %10s %11d MiB %10s\n' ffplay "$ffplay_cpu" $((ffplay_kib / 1024)) "$ffplay_wall"
awk -v p="$player_cpu" -v f="$ffplay_cpu" -v pm="$player_kib" -v fm="$ffplay_kib" \
  'BEGIN { printf "player / ffplay: CPU %.2fx, memory %.2fx\n", (f > 0 ? p / f : 0), pm / fm }'
