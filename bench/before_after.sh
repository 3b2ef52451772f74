#!/usr/bin/env bash
# Two builds of the player side by side in one run, on a desktop's PipeWire
# of the script's own (pipewire, wireplumber and pipewire-pulse on a private
# runtime folder and session bus; no SDL driver, no server address), a null
# sink's monitor recorded by parec throughout:
#
# - CPU a second while playing an MP3 (bench/play_through, from 3 s to 13 s),
#   and ffplay's on the same file; the wake-ups a second of each of the
#   player's threads but the main one (bench/thread_wakeups.sh);
# - from `lirvan1 A B` (two place tracks): the silence heard between them;
#   through MPRIS: the position's lead over the sound heard, and how soon a
#   pause, a seek and a stop are heard (the time of a dbus-send included);
# - first sound from `lirvan1 FILE` for an MP3 and a MIDI song.
#
# Medians of RUNS runs; the moment of a call in the recording is its length
# then (parec hands over pieces of 20 ms, so up to that much behind).
#
#   bench/before_after.sh BEFORE_BUILD AFTER_BUILD [RUNS]     (default: 3)
#
# The player's own threads are named; ffplay's and the sound server's
# messages on a quit player are left on standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
builds=("$(realpath "$1")" "$(realpath "$2")")
runs=${3:-3}
for build in "${builds[@]}"; do
  for program in lirvan1 bench/play_through; do
    [ -x "$build/$program" ] || { echo "no $build/$program: build with -DLIRVAN_BENCH=ON first" >&2; exit 1; }
  done
done
for command in pipewire wireplumber pipewire-pulse parec ffplay dbus-daemon dbus-send; do
  command -v $command >/dev/null || { echo "$command is missing" >&2; exit 1; }
done

work=$(mktemp -d)
servers=()
trap 'kill ${servers[@]+"${servers[@]}"} 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p -m 700 "$work/run"
mkdir -p "$work/home"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" XDG_STATE_HOME="$work/home/state"
export XDG_CONFIG_HOME="$work/home/config" QT_QPA_PLATFORM=offscreen
unset PULSE_SERVER SDL_AUDIODRIVER
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
  read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; servers+=($pid)"; })"
pipewire >"$work/pipewire.log" 2>&1 &
servers+=($!)
for _ in $(seq 100); do [ -S "$work/run/pipewire-0" ] && break; sleep 0.05; done
wireplumber >"$work/wireplumber.log" 2>&1 &
servers+=($!)
pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
servers+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl load-module module-null-sink sink_name=bench rate=48000 channels=2 >/dev/null
pactl set-default-sink bench
parec -d bench.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 >"$work/monitor.raw" &
servers+=($!)
sleep 0.5

source bench/midi_song.sh
ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=440:duration=15" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.1:duration=15" -filter_complex amix=inputs=2 -ac 2 \
  -ar 44100 -b:a 192k "$work/song.mp3"
make_midi_song "$work/song.mid"
# Place tracks (see bench/recording.py): 10 s for MPRIS, two of 3 s to join.
place() { ffmpeg -nostdin -loglevel error -y -f lavfi -i "aevalsrc=exprs=0.1+0.8*t/$2|0.5:d=$2:s=44100" \
  -c:a pcm_s16le "$1"; }
place "$work/place.wav" 10
place "$work/a.wav" 3
place "$work/b.wav" 3

recorded() { echo $(($(stat -c %s "$work/monitor.raw") / 4)); }
analyse() { /usr/bin/python3 bench/recording.py "$work/monitor.raw" "$@"; }
mpris() {
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.lirvan1 /org/mpris/MediaPlayer2 "$@"
}
position_us() {
  mpris org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:Position |
    awk '/int64/ { print $3 }'
}
# Median of the numbers on standard input ("none" left out).
median() { { grep -v none || true; } | sort -g | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : "none" }'; }

# The player run from a copy with its own playlists' folder, as installed.
player_copy() {
  rm -rf "$work/player"
  mkdir -p "$work/player/pl"
  cp "$1/lirvan1" "$work/player/"
  cp "$1"/*.so "$work/player/" 2>/dev/null || true
}
quit_player() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; sleep 0.3; }

declare -A figure
for side in 0 1; do
  build=${builds[$side]}
  player_copy "$build"
  for run in $(seq "$runs"); do
    # CPU and wake-ups while playing.
    # Bounded: a stream whose end is never told would play on.
    timeout 20 "$build/bench/play_through" "$work/song.mp3" >/dev/null 2>&1 &
    through=$!
    sleep 3
    bench/thread_wakeups.sh --raw "$(pgrep -P "$through")" 10 >"$work/threads"
    wait "$through" || true
    awk '{ s += $2 } END { print s }' "$work/threads" >>"$work/$side.cpu"
    awk '$1 != "main" { print $1, $4 }' "$work/threads" >>"$work/$side.wakeups"
    ffplay -nodisp -autoexit -loglevel error "$work/song.mp3" &
    ff=$!
    sleep 3
    bench/thread_wakeups.sh --raw "$ff" 10 | awk '{ s += $2 } END { print s }' >>"$work/$side.ffplay"
    wait "$ff" || true

    # First sound.
    for kind in mp3 mid; do
      from=$(recorded)
      "$work/player/lirvan1" "$work/song.$kind" >/dev/null 2>&1 &
      pid=$!
      sleep 2
      quit_player "$pid"
      analyse first-sound "$from" >>"$work/$side.first-$kind"
    done

    # Two tracks in turn.
    from=$(recorded)
    "$work/player/lirvan1" "$work/a.wav" "$work/b.wav" >/dev/null 2>&1 &
    pid=$!
    sleep 4
    quit_player "$pid"
    analyse gap "$from" 3 >>"$work/$side.gap"

    # Through MPRIS: the lead, then pause, seek and stop.
    "$work/player/lirvan1" "$work/place.wav" >/dev/null 2>&1 &
    pid=$!
    sleep 1.5
    for _ in 1 2 3 4 5 6 7; do
      at=$(recorded)
      us=$(position_us)
      at=$(((at + $(recorded)) / 2))
      sleep 0.15
      echo "$at $us" >>"$work/leads"
    done
    sleep 0.3
    while read -r at us; do analyse lead "$at" "$us" 10; done <"$work/leads" | median >>"$work/$side.lead"
    rm -f "$work/leads"
    from=$(recorded)
    mpris org.mpris.MediaPlayer2.Player.Pause >/dev/null
    sleep 0.5
    analyse silent "$from" >>"$work/$side.pause"
    mpris org.mpris.MediaPlayer2.Player.Play >/dev/null
    sleep 0.5
    from=$(recorded)
    here=$(( $(position_us || echo 0) / 1000000 ))
    mpris org.mpris.MediaPlayer2.Player.Seek int64:4000000 >/dev/null
    sleep 0.5
    analyse left-place "$from" $((here + 4)) >>"$work/$side.seek"
    from=$(recorded)
    mpris org.mpris.MediaPlayer2.Player.Stop >/dev/null
    sleep 0.5
    analyse silent "$from" >>"$work/$side.stop"
    quit_player "$pid"
  done
  for name in cpu ffplay first-mp3 first-mid gap lead pause seek stop; do
    figure[$side.$name]=$(median <"$work/$side.$name")
  done
  # The output thread's wake-ups a second, median over the runs.
  figure[$side.wakeups]=$(awk '$1 == "lirvan-output" { print $2 }' "$work/$side.wakeups" | median)
  figure[$side.threads]=$(sort "$work/$side.wakeups" | awk '{ s[$1] += $2; n[$1]++ }
    END { for (t in s) printf "%s %.1f  ", t, s[t] / n[t] }')
done

printf '%-46s %12s %12s   %s\n' "medians of $runs runs" before after target
row() { printf '%-46s %12s %12s   %s\n' "$1" "${figure[0.$2]}" "${figure[1.$2]}" "$3"; }
row "player, CPU while playing an MP3 (ms/s)" cpu ""
row "ffplay, CPU while playing it (ms/s)" ffplay ""
for side in 0 1; do
  figure[$side.ratio]=$(awk -v p="${figure[$side.cpu]}" -v f="${figure[$side.ffplay]}" 'BEGIN { printf "%.2f", p / f }')
done
row "player / ffplay" ratio "<= 0.25"
row "output thread, wake-ups a second" wakeups "<= 4"
echo "  threads' wake-ups a second, before: ${figure[0.threads]}"
echo "  threads' wake-ups a second, after:  ${figure[1.threads]}"
row "silence between two tracks (ms)" gap "< 1"
row "position ahead of the sound (ms)" lead "within 30"
row "pause to silence (ms)" pause "30"
row "seek: old place heard for (ms)" seek "30"
row "stop to silence (ms)" stop "30"
row "first sound, lirvan1 FILE.mp3 (ms)" first-mp3 ""
row "first sound, lirvan1 FILE.mid (ms)" first-mid ""
