#!/usr/bin/env bash
# The player's start-up against its floor: an empty Qt 6 dialog built from
# bench/bare_dialog.cpp, and beside it the same dialog with one captioned
# button, which shows what any window with text pays before it maps. All three
# run in turn under one Xvfb, several times each; the medians of launch to
# mapped window, CPU used by 1.5 s after launch and resident memory then are
# printed with the ratios to the targets. Twice: without a session bus, and
# with one of the script's own, as a desktop session has. Then the threads of
# an idle player, and how often each one wakes.
#
#   bench/startup_vs_floor.sh [BUILD_DIR] [RUNS]     (default: build, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
probe="$build/bench/launch_probe"
for program in "$build/lirvan1" "$build/bench/bare_dialog" "$probe"; do
  [ -x "$program" ] || { echo "no $program: build the project first" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is missing (package xvfb)" >&2; exit 1; }
command -v dbus-daemon >/dev/null || { echo "dbus-daemon is missing (package dbus)" >&2; exit 1; }

# 1.5 s: the moment after launch at which CPU time and memory are read.
settle=1.5

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
bus=
trap 'kill $xvfb $bus 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
mkdir -m 700 "$work/run"
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
unset DBUS_SESSION_BUS_ADDRESS
# The player keeps its playlists beside itself; it runs from a copy with its own.
mkdir -p "$work/player/pl"
cp "$build/lirvan1" "$work/player/"
cp "$build"/*.so "$work/player/" 2>/dev/null || true
player="$work/player/lirvan1"

bare="$build/bench/bare_dialog"
# Median of column $2 of file $1.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }

# The three programs in turn, $runs times after one warm-up each (so that all
# start from the same page cache); a table of medians and the ratios.
compare() {
  local name
  rm -f "$work"/*.txt
  for run in $(seq 0 "$runs"); do
    for name in player bare button; do
      case $name in
        player) set -- "$player" ;;
        bare) set -- "$bare" ;;
        button) set -- "$bare" --button ;;
      esac
      if [ "$run" -eq 0 ]; then "$probe" "$settle" "$@" >/dev/null; else "$probe" "$settle" "$@" >>"$work/$name.txt"; fi
    done
  done
  read -r p_map p_cpu p_kib <<<"$(median "$work/player.txt" 1) $(median "$work/player.txt" 2) $(median "$work/player.txt" 3)"
  read -r b_map b_cpu b_kib <<<"$(median "$work/bare.txt" 1) $(median "$work/bare.txt" 2) $(median "$work/bare.txt" 3)"
  read -r t_map t_cpu t_kib <<<"$(median "$work/button.txt" 1) $(median "$work/button.txt" 2) $(median "$work/button.txt" 3)"
  printf '%-26s %9s %9s %9s   %s\n' "medians of $runs runs" player bare "1 button" "player / bare, target"
  awk -v p="$p_map" -v b="$b_map" -v t="$t_map" 'BEGIN {
    printf "%-26s %8.3fs %8.3fs %8.3fs   ratio %.2f (<= 1.25); to 1 button %.2f\n", "launch to mapped window", p, b, t, p / b, p / t }'
  awk -v p="$p_cpu" -v b="$b_cpu" -v t="$t_cpu" -v s="$settle" 'BEGIN {
    printf "%-26s %8.3fs %8.3fs %8.3fs   +%.3f s (<= +0.040)\n", "CPU by " s " s after launch", p, b, t, p - b }'
  awk -v p="$p_kib" -v b="$b_kib" -v t="$t_kib" 'BEGIN {
    printf "%-26s %6.1fMiB %6.1fMiB %6.1fMiB   +%.1f MiB (<= +10)\n", "resident memory, idle", p / 1024, b / 1024, t / 1024, (p - b) / 1024 }'
}

echo "== no session bus: the first caption's accessibility bridge has D-Bus start one"
compare
printf '%-26s %9s %9s\n' "shared libraries mapped" "$(ldd "$player" | wc -l)" "$(ldd "$bare" | wc -l)"

# A desktop session has a bus: one of the script's own. The player then also
# registers on it for MPRIS.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
  read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus=$pid"; })"
echo "== a session bus, as on a desktop"
compare

echo "idle player, context switches per thread (2 s after launch, over 5 s):"
"$player" >/dev/null 2>&1 &
pid=$!
sleep 2
bench/thread_wakeups.sh "$pid" 5
kill "$pid"
wait "$pid" 2>/dev/null || true
