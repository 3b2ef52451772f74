#!/usr/bin/env bash
# What playing costs, per format, against ffplay and against decoding alone.
# Under one Xvfb of the script's own (the window shown, its meter running) and
# one PulseAudio daemon with a null sink, on the same 15 s of sound as an MP3
# with LAME's tag at 44.1 kHz (decoded by libmpg123), an MP3 at 48 kHz
# (FFmpeg), a WMA (FFmpeg) and a MIDI song (FluidSynth):
#
# - the whole player (bench/play_through) and `ffplay -nodisp` in turn, RUNS
#   times each: CPU time (user + system) of launch and 15 s of playing, peak
#   memory, CPU per second while playing (from 3 s to 13 s), and the player's
#   threads then: CPU and wake-ups per second of each (bench/thread_wakeups.sh);
# - the same files decoded alone: our decoder modules with no output
#   (decode_bench) and `ffmpeg -threads 1 -f null` (its own -benchmark
#   figure for the decode loop), per second of sound;
# - the engine alone (bench/engine_states) playing, paused and stopped: the
#   CPU and wake-ups of its threads in each state.
#
# Medians throughout; the ratios are printed beside the targets.
#
#   bench/player_vs_ffplay.sh [BUILD_DIR] [RUNS] [FORMAT...]
#
# (default: build, 5, all four formats: mp3 mp3-48k wma midi; "none" for the
# engine alone only)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}
shift $(($# < 2 ? $# : 2))
formats=(mp3 mp3-48k wma midi)
[ $# -gt 0 ] && formats=("$@")
[ "${formats[*]}" = none ] && formats=()
for program in play_through decode_bench engine_states; do
  [ -x "$build/bench/$program" ] || { echo "no $build/bench/$program: build with -DLIRVAN_BENCH=ON first" >&2; exit 1; }
done
for command in ffplay pulseaudio Xvfb; do
  command -v $command >/dev/null || { echo "$command is missing (packages ffmpeg, pulseaudio, xvfb)" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }

# The player's threads are watched from this moment after launch, for this long.
watch_from=3
watch_for=10

work=$(mktemp -d)
daemon=
xvfb=
trap 'kill $daemon $xvfb 2>/dev/null; rm -rf "$work"' EXIT

source bench/midi_song.sh

# Two tones and some noise, so that the decoders have real work to do.
ffmpeg -nostdin -loglevel error -y \
  -f lavfi -i "sine=frequency=440:duration=15" \
  -f lavfi -i "sine=frequency=2500:duration=15" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.1:duration=15" \
  -filter_complex amix=inputs=3 -ac 2 -ar 44100 -b:a 192k "$work/mp3.mp3"
ffmpeg -nostdin -loglevel error -y -i "$work/mp3.mp3" -ar 48000 -b:a 192k "$work/mp3-48k.mp3"
ffmpeg -nostdin -loglevel error -y -i "$work/mp3.mp3" -c:a wmav2 -b:a 192k "$work/wma.wma"
make_midi_song "$work/midi.mid"
declare -A file=([mp3]="$work/mp3.mp3" [mp3-48k]="$work/mp3-48k.mp3" [wma]="$work/wma.wma" [midi]="$work/midi.mid")
declare -A title=([mp3]="MP3, 44.1 kHz with LAME's tag: libmpg123" [mp3-48k]="MP3, 48 kHz: FFmpeg"
  [wma]="WMA: FFmpeg" [midi]="MIDI: FluidSynth")
seconds=15

# An X server and a PulseAudio daemon serving only this script: runtime
# folder, home and socket under $work, one null sink at the output's rate.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
mkdir -p -m 700 "$work/run" "$work/home"
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" PULSE_SERVER="unix:$work/run/native" SDL_AUDIODRIVER=pulseaudio
unset DBUS_SESSION_BUS_ADDRESS
pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --disable-shm=yes \
  --log-target=stderr --log-level=error \
  -L "module-null-sink sink_name=bench rate=44100 channels=2" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" 2>"$work/pulse.log" &
daemon=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "the PulseAudio daemon did not start: $(cat "$work/pulse.log")" >&2; exit 1; }

# Median of column $2 of file $1.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }

# Runs the command under /usr/bin/time, watching its threads from $watch_from s
# for $watch_for s into $work/threads; then sets cpu (s), kib (peak resident)
# and playing (CPU ms a second while watched, all threads).
timed_run() {
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" &
  local timed=$!
  sleep "$watch_from"
  bench/thread_wakeups.sh --raw "$(pgrep -P "$timed")" "$watch_for" >"$work/threads"
  wait "$timed" || { echo "failed: $* $(cat "$work/stderr")" >&2; exit 1; }
  read -r cpu kib < <(awk '{ printf "%.2f %d\n", $1 + $2, $3 }' "$work/time")
  playing=$(awk '{ s += $2 } END { printf "%.1f", s }' "$work/threads")
}

# Our decoder alone: CPU ms per second of sound, median of five repetitions.
decode_ours() {
  "$build/bench/decode_bench" "$1" --benchmark_repetitions=5 --benchmark_format=csv 2>/dev/null |
    awk -F, -v s="$seconds" '$1 ~ /_median"$/ && $5 == "ms" { printf "%.2f", $4 / s }'
}
# FFmpeg's decode loop alone, one thread: CPU ms per second of sound, median of five.
decode_ffmpeg() {
  for _ in 1 2 3 4 5; do
    ffmpeg -nostdin -benchmark -threads 1 -i "$1" -f null - 2>&1 |
      sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p'
  done | awk -v s="$seconds" '{ print ($1 + $2) * 1000 / s }' | sort -g | awk '{ v[NR] = $1 } END { print v[3] }'
}

for format in ${formats[@]+"${formats[@]}"}; do
  track=${file[$format]}
  echo "== ${title[$format]}"
  rm -f "$work"/player.txt "$work"/ffplay.txt "$work"/player-threads.txt
  for run in $(seq "$runs"); do
    timed_run "$build/bench/play_through" "$track"
    echo "$cpu $kib $playing" >>"$work/player.txt"
    awk -v run="$run" '{ print run, $0 }' "$work/threads" >>"$work/player-threads.txt"
    if [ "$format" != midi ]; then
      timed_run ffplay -nodisp -autoexit -loglevel error "$track"
      echo "$cpu $kib $playing" >>"$work/ffplay.txt"
    fi
  done
  ours=$(decode_ours "$track")
  printf '  %-22s %14s %16s %12s   (medians of %d runs)\n' "" "launch+${seconds} s" "CPU playing" "peak memory" "$runs"
  for program in player ffplay; do
    [ -s "$work/$program.txt" ] || continue
    printf '  %-22s %12s s %11s ms/s %8d MiB\n' "$program" "$(median "$work/$program.txt" 1)" \
      "$(median "$work/$program.txt" 3)" $(($(median "$work/$program.txt" 2) / 1024))
  done
  printf '  %-22s %14s %11s ms/s\n' "our decoder alone" "" "$ours"
  if [ "$format" != midi ]; then
    ffmpeg_alone=$(decode_ffmpeg "$track")
    printf '  %-22s %14s %11.2f ms/s\n' "ffmpeg -f null (loop)" "" "$ffmpeg_alone"
    awk -v p="$(median "$work/player.txt" 1)" -v f="$(median "$work/ffplay.txt" 1)" \
      'BEGIN { printf "  player / ffplay, launch+15 s:        %.2fx (target <= 0.5)\n", p / f }'
  fi
  awk -v p="$(median "$work/player.txt" 3)" -v d="$ours" \
    'BEGIN { printf "  player playing / our decoder alone:  %.1fx (target <= 2)\n", p / d }'
  echo "  the player's threads while playing (medians; CPU ms/s, wake-ups/s, of those voluntary):"
  awk '{ print $2 }' "$work/player-threads.txt" | sort -u | while read -r name; do
    awk -v n="$name" '$2 == n { print $3, $4, $5 }' "$work/player-threads.txt" >"$work/one.txt"
    printf '    %-16s %7.1f ms/s %7.1f /s %7.1f /s\n' "$name" "$(median "$work/one.txt" 1)" \
      "$(median "$work/one.txt" 2)" "$(median "$work/one.txt" 3)"
  done
  # Per run: the wake-ups of every thread but the main one, whose own include
  # the window's tick. A wake-up is a voluntary switch (the thread slept and
  # was woken); an involuntary one preempts a thread that was running, most
  # often by the sound server that its write just woke.
  awk '$2 != "main" { s[$1] += $4; v[$1] += $5 } END { for (r in s) print s[r], v[r] }' \
    "$work/player-threads.txt" >"$work/one.txt"
  printf '    %-16s %20.1f /s %7.1f /s (target <= 30 wake-ups)\n' "all but main" "$(median "$work/one.txt" 1)" \
    "$(median "$work/one.txt" 2)"
done

# The output keeper lets the paused device go after 3 s: a pause is watched
# before and after that.
echo "== the engine alone on the MP3: its threads in each state"
"$build/bench/engine_states" "${file[mp3]}" 6 >"$work/states" 2>"$work/stderr" &
engine=$!
watch_state() { # state, seconds into it, seconds watched, what is shown
  until grep -qx "$1" "$work/states"; do
    kill -0 "$engine" 2>/dev/null || { echo "the engine ended early:" >&2; cat "$work/stderr" >&2; exit 1; }
    sleep 0.05
  done
  sleep "$2"
  echo "  $4:"
  bench/thread_wakeups.sh "$engine" "$3"
}
watch_state playing 1 4 "playing (1 s to 5 s)"
watch_state paused 0.5 2 "paused (0.5 s to 2.5 s), the device still open"
sleep 1
echo "  paused (3.5 s to 5.5 s), the device let go:"
bench/thread_wakeups.sh "$engine" 2
watch_state stopped 1 3 "stopped (1 s to 4 s)"
wait "$engine"
