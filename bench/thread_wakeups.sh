#!/usr/bin/env bash
# How often each thread of a running process is switched in, and how much CPU
# it uses, over a while: context switches per second, all of them and of those
# the voluntary ones (the thread went to sleep) and the involuntary ones
# (preempted), and CPU time (user + system) in milliseconds per second. One
# line a thread name; the first thread is called "main", and threads of one
# name are added together.
#
#   bench/thread_wakeups.sh [--raw] PID [SECONDS]     (default: 5)
#
# --raw prints "name cpu-ms/s switches/s voluntary/s involuntary/s" lines only,
# for scripts.
set -euo pipefail
raw=
if [ "${1:-}" = --raw ]; then raw=1; shift; fi
pid=$1
seconds=${2:-5}
tick=$(getconf CLK_TCK)

# "tid name cpu-ticks voluntary involuntary" for every thread alive now.
snapshot() {
  for task in /proc/"$pid"/task/*; do
    # In stat, utime and stime are the 12th and 13th fields after the name,
    # which may hold spaces.
    awk -v tid="$(basename "$task")" -v pid="$pid" '
      FNR == NR { sub(/^.*\) /, ""); split($0, f, " "); ticks = f[12] + f[13]; next }
      /^Name:/ { name = tid == pid ? "main" : $2 }
      /^voluntary_ctxt_switches:/ { v = $2 }
      /^nonvoluntary_ctxt_switches:/ { n = $2 }
      END { if (name != "") print tid, name, ticks, v, n }' "$task/stat" "$task/status" 2>/dev/null || true
  done
}

before=$(snapshot)
sleep "$seconds"
after=$(snapshot)
join <(sort <<<"$before") <(sort <<<"$after") |
  awk -v s="$seconds" -v tick="$tick" '
    { name = $2; cpu[name] += ($7 - $3) * 1000 / tick / s; v[name] += ($8 - $4) / s; n[name] += ($9 - $5) / s }
    END { for (name in cpu) print name, cpu[name], v[name] + n[name], v[name], n[name] }' |
  sort -k3,3gr |
  if [ -n "$raw" ]; then cat; else
    awk '{ printf "  %-16s %8.1f /s  (voluntary %.1f, involuntary %.1f)  CPU %.1f ms/s\n", $1, $3, $4, $5, $2 }'
  fi
