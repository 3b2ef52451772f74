#!/usr/bin/env bash
# CPU time of our decode path against FFmpeg's own command on the same
# 60-second MP3: `ffmpeg -threads 1 -i FILE -f null -` (user + system time,
# best of five runs, and its own -benchmark figure for the decode loop alone)
# and decode_bench (CPU time of one whole decode, best of five repetitions).
# Prints the figures and the ratios; the aim is 1.2 or less.
#
#   bench/decode_vs_ffmpeg.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench=$build/bench/decode_bench
[ -x "$bench" ] || { echo "no $bench: build with Google Benchmark installed first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/sixty.mp3
ffmpeg -nostdin -loglevel error -y -f lavfi \
  -i 'aevalsrc=0.4*sin(440*2*PI*t)+0.2*sin(3*PI*t*t)|0.4*sin(660*2*PI*t):s=44100:d=60' \
  -c:a libmp3lame -b:a 192k "$file"

# ffmpeg's whole run (user + sys, start-up included) and, from its -benchmark
# report, the CPU time of its decode loop alone; best of five each.
best=""
loop=""
for _ in 1 2 3 4 5; do
  /usr/bin/time -f '%U %S' -o "$work/time" \
    ffmpeg -nostdin -benchmark -threads 1 -i "$file" -f null - 2> "$work/ffmpeg.log"
  run=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")
  inner=$(sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' "$work/ffmpeg.log" |
    awk '{ printf "%.3f", $1 + $2 }')
  if [ -z "$best" ] || awk -v a="$run" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$run; fi
  if [ -z "$loop" ] || awk -v a="$inner" -v b="$loop" 'BEGIN { exit !(a < b) }'; then loop=$inner; fi
done

# CPU time (ms) of the best repetition, aggregates left out.
ours=$("$bench" "$file" --benchmark_repetitions=5 --benchmark_format=csv 2>/dev/null |
  awk -F, '$1 ~ /^"BM_/ && $1 !~ /_(mean|median|stddev|cv)"$/ && $5 == "ms" {
             if (best == "" || $4 < best) best = $4 }
           END { printf "%.3f", best / 1000 }')

echo "ffmpeg -threads 1 -f null, whole run (user+sys): ${best} s"
echo "ffmpeg decode loop only (-benchmark):           ${loop} s"
echo "our decode path (CPU):                          ${ours} s"
awk -v o="$ours" -v f="$best" 'BEGIN { printf "ratio ours / ffmpeg whole run:                  %.2f\n", o / f }'
awk -v o="$ours" -v f="$loop" 'BEGIN { printf "ratio ours / ffmpeg decode loop:                %.2f\n", o / f }'
