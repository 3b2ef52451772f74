# Sourced by the bench scripts: a PulseAudio daemon of the script's own with a
# null sink, kept in the folder $work that the caller made and removes, and
# what its sink hears.
#
#   pulse_setup         points the clients of this shell at it (not started)
#   start_server        starts it and returns once it answers; sets $daemon
#   kill_server         kills it as a crashing sound server would end
#   hears_sound S       records the sink for S seconds from now and prints
#                       whether it heard sound ("yes" or "no")

daemon=0

pulse_setup() {
  mkdir -p -m 700 "$work/run" "$work/home"
  export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_SERVER=unix:$work/run/native
  export SDL_AUDIODRIVER=pulseaudio
}

start_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --disable-shm=yes \
    --log-target=stderr --log-level=error \
    -L "module-null-sink sink_name=bench rate=44100 channels=2" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" \
    >>"$work/pulseaudio.log" 2>&1 &
  daemon=$!
  for _ in $(seq 500); do pactl info >/dev/null 2>&1 && return; sleep 0.02; done
  echo "pulseaudio did not start" >&2
  exit 1
}

kill_server() {
  kill -KILL "$daemon"
  wait "$daemon" 2>/dev/null || true
  daemon=0
}

# Sound is anything above half a percent of full scale. The recording begins
# only once parec has connected, which under load can be after the player's
# own sound is back: it says whether, not how soon.
hears_sound() {
  parec --device=bench.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
    --file-format=raw "$work/heard.raw" &
  local recorder=$!
  sleep "$1"
  kill "$recorder"
  wait "$recorder" 2>/dev/null || true
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/heard.raw" -t raw "$work/sound.raw" silence 1 0.001 0.5%
  [ -s "$work/sound.raw" ] && echo yes || echo no
}
