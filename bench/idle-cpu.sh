#!/bin/sh
# CPU time a program uses while it sits idle: starts it, waits until it has
# settled, reads utime+stime of /proc/PID/stat (all threads) and the run time
# of its threads from /proc/PID/task/*/schedstat (nanoseconds), waits, reads
# both again and ends the program. Prints one line:
#   BENCH idle label=LABEL seconds=S threads=T cpu_ms=... core_percent=... sched_cpu_ms=... sched_core_percent=...
#
#   idle-cpu.sh LABEL SECONDS PROGRAM [ARGS...]
#
# With KESTROVA_IDLE_PROBE set to the show probe library, the settling starts
# once the program's window has been drawn (start-up can take many seconds
# in an emulated machine); KESTROVA_IDLE_SETTLE (seconds, default 3) then
# lets the first timer ticks pass.
set -eu
label=$1
seconds=$2
shift 2
settle=${KESTROVA_IDLE_SETTLE:-3}
report=/tmp/kestrova-idle-probe-$$.txt
rm -f "$report"

if [ -n "${KESTROVA_IDLE_PROBE:-}" ]; then
  LD_PRELOAD=$KESTROVA_IDLE_PROBE KESTROVA_PROBE_REPORT=$report KESTROVA_PROBE_SETTLE_MS=-1 "$@" >/dev/null 2>&1 &
else
  "$@" >/dev/null 2>&1 &
fi
pid=$!

# utime + stime in clock ticks; the fields after the ") " that ends the name.
cpu_ticks() { sed 's/.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }'; }
# Sum of the first schedstat field of every thread, in nanoseconds.
sched_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
alive() { kill -0 "$pid" 2>/dev/null || { echo "idle-cpu: $1 ended $2" >&2; exit 1; }; }

if [ -n "${KESTROVA_IDLE_PROBE:-}" ]; then
  waited=0
  until [ -s "$report" ]; do
    alive "$1" "before its window was drawn"
    waited=$((waited + 1))
    [ $waited -le 3000 ] || { echo "idle-cpu: $1 drew no window in 300 s" >&2; kill "$pid"; exit 1; }
    sleep 0.1
  done
  rm -f "$report"
fi
sleep "$settle"
alive "$1" "early"
ticks0=$(cpu_ticks)
sched0=$(sched_ns)
sleep "$seconds"
alive "$1" "during the measurement"
ticks1=$(cpu_ticks)
sched1=$(sched_ns)
threads=$(ls /proc/"$pid"/task | wc -l)
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true

hz=$(getconf CLK_TCK)
awk -v l="$label" -v s="$seconds" -v t0="$ticks0" -v t1="$ticks1" -v n0="$sched0" -v n1="$sched1" \
    -v hz="$hz" -v th="$threads" 'BEGIN {
  cpu = (t1 - t0) * 1000 / hz
  sched = (n1 - n0) / 1e6
  printf "BENCH idle label=%s seconds=%d threads=%d cpu_ms=%.0f core_percent=%.4f sched_cpu_ms=%.1f sched_core_percent=%.4f\n",
    l, s, th, cpu, cpu / (s * 10), sched, sched / (s * 10)
}'
