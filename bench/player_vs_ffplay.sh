#!/usr/bin/env bash
# The whole player against ffplay on the same 15 s MP3, played in real time to
# the same output: CPU time (user + system) and peak memory of each process,
# launch included, medians of several runs taken in turn. Two outputs in turn: SDL's disk driver into /dev/null, which
# keeps real time as a sound card would, and a real sound server (a PulseAudio
# daemon of the script's own with a null sink). While the player plays on the
# sound server, how often each of its threads wakes. Last, the same sound as
# WMA on the disk driver: the player decodes MP3 with libmpg123, WMA with
# FFmpeg as ffplay does.
#
#   bench/player_vs_ffplay.sh [BUILD_DIR] [RUNS]     (default: build, 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-3}
driver="$build/bench/play_through"
[ -x "$driver" ] || { echo "no $driver: build the project first" >&2; exit 1; }
command -v ffplay >/dev/null || { echo "ffplay is missing (package ffmpeg)" >&2; exit 1; }
command -v pulseaudio >/dev/null || { echo "pulseaudio is missing (package pulseaudio)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }

work=$(mktemp -d)
daemon=
trap '[ -n "$daemon" ] && kill $daemon 2>/dev/null; rm -rf "$work"' EXIT
track="$work/track.mp3"
# Two tones and some noise, so that the decoder has real work to do.
ffmpeg -loglevel error -y \
  -f lavfi -i "sine=frequency=440:duration=15" \
  -f lavfi -i "sine=frequency=2500:duration=15" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.1:duration=15" \
  -filter_complex amix=inputs=3 -ac 2 -ar 44100 -b:a 192k "$track"
# The same sound as WMA, which the player leaves to FFmpeg as ffplay does.
wma="$work/track.wma"
ffmpeg -loglevel error -y -i "$track" -c:a wmav2 -b:a 192k "$wma"

export QT_QPA_PLATFORM=offscreen

# Runs the command in the background under /usr/bin/time; its pid in $timed.
start_timed() {
  /usr/bin/time -f "%U %S %M %e" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" &
  timed=$!
}
# Waits for it; sets cpu (seconds), kib (peak resident memory) and wall (seconds).
finish_timed() {
  wait "$timed" || { echo "failed: $(cat "$work/stderr")" >&2; exit 1; }
  read -r cpu kib wall < <(awk '{ printf "%.2f %d %.1f\n", $1 + $2, $3, $4 }' "$work/time")
}

# Median of column $2 of file $1.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }

# One output: both programs in turn, $runs times; a table of medians and the
# ratios. With an argument, the wake-ups of the player's threads in its first run.
compare() {
  rm -f "$work/player.txt" "$work/ffplay.txt"
  for run in $(seq "$runs"); do
    start_timed "$driver" "$track"
    if [ -n "${1:-}" ] && [ "$run" -eq 1 ]; then
      sleep 3
      echo "player threads while playing, context switches (from 3 s, over 5 s):"
      bench/thread_wakeups.sh "$(pgrep -P "$timed")" 5
    fi
    finish_timed
    echo "$cpu $kib $wall" >>"$work/player.txt"
    start_timed ffplay -nodisp -autoexit -loglevel error "$track"
    finish_timed
    echo "$cpu $kib $wall" >>"$work/ffplay.txt"
  done
  printf '%-8s %10s %14s %10s   (medians of %d runs)\n' "" "CPU s" "peak memory" "wall s" "$runs"
  for program in player ffplay; do
    printf '%-8s %10s %11d MiB %10s\n' "$program" "$(median "$work/$program.txt" 1)" \
      $(($(median "$work/$program.txt" 2) / 1024)) "$(median "$work/$program.txt" 3)"
  done
  awk -v p="$(median "$work/player.txt" 1)" -v f="$(median "$work/ffplay.txt" 1)" \
    -v pm="$(median "$work/player.txt" 2)" -v fm="$(median "$work/ffplay.txt" 2)" \
    'BEGIN { printf "player / ffplay: CPU %.2fx (<= 0.8), memory %.2fx (<= 1)\n", (f > 0 ? p / f : 0), pm / fm }'
}

echo "== SDL disk driver into /dev/null"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null compare

# A PulseAudio daemon serving only this script: runtime folder, home and
# socket under $work, one null sink at the output's rate.
mkdir -p "$work/run" "$work/home"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" PULSE_SERVER="unix:$work/run/native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --disable-shm=yes \
  --log-target=stderr --log-level=error \
  -L "module-null-sink sink_name=bench rate=44100 channels=2" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" 2>"$work/pulse.log" &
daemon=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "the PulseAudio daemon did not start: $(cat "$work/pulse.log")" >&2; exit 1; }

echo "== PulseAudio, null sink"
SDL_AUDIODRIVER=pulseaudio compare wakeups

echo "== the same sound as WMA, decoded by FFmpeg in both, SDL disk driver into /dev/null"
track=$wma
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null compare
