#!/usr/bin/env bash
# How often each thread of a running process is switched in, and how much CPU
# it uses, over a while: context switches per second, all of them and of those
# the voluntary ones (the thread went to sleep) and the involuntary ones
# (preempted), and CPU time in milliseconds per second (the scheduler's own
# count in nanoseconds, not the 10 ms ticks of user and system time). One
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

# "tid name cpu-ns voluntary involuntary" for every thread alive now.
snapshot() {
  for task in /proc/"$pid"/task/*; do
    # The first field of schedstat is the time spent on a CPU.
    awk -v tid="$(basename "$task")" -v pid="$pid" '
      FNR == NR { ns = $1; next }
      /^Name:/ { name = tid == pid ? "main" : $2 }
      /^voluntary_ctxt_switches:/ { v = $2 }
      /^nonvoluntary_ctxt_switches:/ { n = $2 }
      END { if (name != "") print tid, name, ns, v, n }' "$task/schedstat" "$task/status" 2>/dev/null || true
  done
}

before=$(snapshot)
sleep "$seconds"
after=$(snapshot)
join <(sort <<<"$before") <(sort <<<"$after") |
  awk -v s="$seconds" '
    { name = $2; cpu[name] += ($7 - $3) / 1e6 / s; v[name] += ($8 - $4) / s; n[name] += ($9 - $5) / s }
    END { for (name in cpu) print name, cpu[name], v[name] + n[name], v[name], n[name] }' |
  sort -k3,3gr |
  if [ -n "$raw" ]; then cat; else
    awk '{ printf "  %-16s %8.1f /s  (voluntary %.1f, involuntary %.1f)  CPU %.1f ms/s\n", $1, $3, $4, $5, $2 }'
  fi
