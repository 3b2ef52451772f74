#!/usr/bin/env bash
# The player's start-up against its floor: an empty Qt 6 dialog built from
# bench/bare_dialog.cpp. Both run in turn under one Xvfb, several times each;
# the medians of launch to mapped window, CPU used by 1.5 s after launch and
# resident memory then are printed with the three ratios to the targets.
# Then the threads of an idle player, and how often each one wakes.
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

# 1.5 s: the moment after launch at which CPU time and memory are read.
settle=1.5

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
mkdir -m 700 "$work/run"
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
# The player keeps its playlists beside itself; it runs from a copy with its own.
mkdir -p "$work/player/pl"
cp "$build/lirvan1" "$work/player/"
cp "$build"/*.so "$work/player/" 2>/dev/null || true
player="$work/player/lirvan1"

# One warm-up each, so that both start from the same page cache.
"$probe" "$settle" "$player" >/dev/null
"$probe" "$settle" "$build/bench/bare_dialog" >/dev/null
for _ in $(seq "$runs"); do
  "$probe" "$settle" "$player" >>"$work/player.txt"
  "$probe" "$settle" "$build/bench/bare_dialog" >>"$work/bare.txt"
done

# Median of column $2 of file $1.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }
read -r p_map p_cpu p_kib <<<"$(median "$work/player.txt" 1) $(median "$work/player.txt" 2) $(median "$work/player.txt" 3)"
read -r b_map b_cpu b_kib <<<"$(median "$work/bare.txt" 1) $(median "$work/bare.txt" 2) $(median "$work/bare.txt" 3)"

echo "medians of $runs runs under one Xvfb"
printf '%-28s %10s %12s %12s\n' "" player "bare dialog" "target"
awk -v p="$p_map" -v b="$b_map" 'BEGIN {
  printf "%-28s %9.3fs %11.3fs   ratio %.2f (<= 1.25)\n", "launch to mapped window", p, b, p / b }'
awk -v p="$p_cpu" -v b="$b_cpu" -v s="$settle" 'BEGIN {
  printf "%-28s %9.3fs %11.3fs   +%.3f s (<= +0.040)\n", "CPU by " s " s after launch", p, b, p - b }'
awk -v p="$p_kib" -v b="$b_kib" 'BEGIN {
  printf "%-28s %8.1fMiB %9.1fMiB   +%.1f MiB (<= +10)\n", "resident memory, idle", p / 1024, b / 1024, (p - b) / 1024 }'
printf '%-28s %10s %12s\n' "shared libraries mapped" \
  "$(ldd "$player" | wc -l)" "$(ldd "$build/bench/bare_dialog" | wc -l)"

echo "idle player, context switches per thread (2 s after launch, over 5 s):"
"$player" >/dev/null 2>&1 &
pid=$!
sleep 2
bench/thread_wakeups.sh "$pid" 5
kill "$pid"
wait "$pid" 2>/dev/null || true
