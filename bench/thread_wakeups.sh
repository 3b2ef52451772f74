#!/usr/bin/env bash
# How often each thread of a running process is switched in, over a while:
# context switches per second, one line a thread: all of them, and of those the
# voluntary ones (the thread went to sleep) and the involuntary ones (preempted).
#
#   bench/thread_wakeups.sh PID [SECONDS]     (default: 5)
set -euo pipefail
pid=$1
seconds=${2:-5}

# "tid name voluntary involuntary" for every thread alive now.
snapshot() {
  for status in /proc/"$pid"/task/*/status; do
    awk -v tid="$(basename "$(dirname "$status")")" '
      /^Name:/ { name = $2 }
      /^voluntary_ctxt_switches:/ { v = $2 }
      /^nonvoluntary_ctxt_switches:/ { n = $2 }
      END { print tid, name, v, n }' "$status" 2>/dev/null || true
  done
}

before=$(snapshot)
sleep "$seconds"
after=$(snapshot)
join <(sort <<<"$before") <(sort <<<"$after") |
  awk -v s="$seconds" '{ v = ($6 - $3) / s; n = ($7 - $4) / s
    printf "  %-16s %8.1f /s  (voluntary %.1f, involuntary %.1f)\n", $2, v + n, v, n }'
