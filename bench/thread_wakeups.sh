#!/usr/bin/env bash
# How often each thread of a running process is switched in, over a while:
# voluntary plus involuntary context switches per second, one line a thread.
#
#   bench/thread_wakeups.sh PID [SECONDS]     (default: 5)
set -euo pipefail
pid=$1
seconds=${2:-5}

# "tid name switches" for every thread alive now.
snapshot() {
  for status in /proc/"$pid"/task/*/status; do
    awk -v tid="$(basename "$(dirname "$status")")" '
      /^Name:/ { name = $2 }
      /ctxt_switches:/ { n += $2 }
      END { print tid, name, n }' "$status" 2>/dev/null || true
  done
}

before=$(snapshot)
sleep "$seconds"
after=$(snapshot)
join <(sort <<<"$before") <(sort <<<"$after") |
  awk -v s="$seconds" '{ printf "  %-16s %8.1f /s\n", $2, ($5 - $3) / s }'
