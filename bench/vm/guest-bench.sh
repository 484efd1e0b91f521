#!/bin/sh
# Runs inside the benchmark VM, chrooted into the host's root file system:
# the discovery tick with 1, 8 and 32 HID interfaces (the foot switch last,
# and without it), then the idle CPU of the window with and without the
# simulated foot switch, and of a Qt window that only wakes as often. Result
# lines start with "BENCH ".
#
#   guest-bench.sh BUILD_DIR IDLE_SECONDS ROUNDS
build=$1
idleSeconds=$2
rounds=$3
here=$(cd "$(dirname "$0")" && pwd)

export HOME=/tmp
export LANG=C.UTF-8
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=/tmp/runtime-bench
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"

sim=$build/tools/kestrova-sim/kestrova-sim
crowd=$build/bench/vm/kestrova-bench-crowd
tick=$build/bench/vm/kestrova-bench-tick
[ -e /dev/uhid ] || { echo "guest-bench: /dev/uhid is missing (uhid not loaded)"; exit 1; }
for program in "$sim" "$crowd" "$tick" "$build/kestrova" "$build/bench/startup/libkestrova_show_probe.so"; do
  [ -e "$program" ] || { echo "guest-bench: $program is missing (build it first)"; exit 1; }
done

# Waits up to 60 s for a line starting with $2 in file $1.
wait_for_line() {
  i=0
  while ! grep -q "^$2" "$1" 2>/dev/null; do
    i=$((i + 1))
    [ $i -le 600 ] || { echo "guest-bench: no '$2' in $1"; cat "$1"; return 1; }
    sleep 0.1
  done
}

start_sim() {
  "$sim" >/tmp/sim.log 2>&1 &
  simPid=$!
  wait_for_line /tmp/sim.log "node 0"
}
stop_sim() {
  kill -TERM "$simPid"
  wait "$simPid" 2>/dev/null
}
start_crowd() {
  crowdPid=""
  [ "$1" -gt 0 ] || return 0
  "$crowd" "$1" >/tmp/crowd.log 2>&1 &
  crowdPid=$!
  wait_for_line /tmp/crowd.log "ready"
}
stop_crowd() {
  [ -n "$crowdPid" ] || return 0
  kill -TERM "$crowdPid"
  wait "$crowdPid" 2>/dev/null
  # The nodes go away a little after the files are closed.
  i=0
  while [ -n "$(ls /sys/class/hidraw)" ] && [ $i -lt 100 ]; do i=$((i + 1)); sleep 0.1; done
}

echo "BENCH machine vcpus=$(nproc) cpu=\"$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')\" kernel=$(uname -r)"
rc=0
for n in 1 8 32; do
  start_crowd $((n - 1)) || exit 1
  start_sim || exit 1
  "$tick" --device connected --rounds "$rounds" || rc=1
  stop_sim
  "$tick" --device absent --rounds "$rounds" || rc=1
  stop_crowd
done

# Idle, side by side over the same time: with the simulated foot switch,
# then without it, each beside a Qt window that only wakes every 350 ms (the
# floor). The window starts slowly here, so each measurement begins 12 s
# after its first drawn frame, when the caret of the focused box has
# stopped blinking.
export KESTROVA_IDLE_PROBE=$build/bench/startup/libkestrova_show_probe.so
export KESTROVA_IDLE_SETTLE=12
idle="$here/../idle-cpu.sh"
floor="$build/bench/startup/kestrova-bench-minimal-window"
start_sim || exit 1
"$idle" vm/device_connected "$idleSeconds" "$build/kestrova" >/tmp/idle1 &
p1=$!
"$idle" vm/device_connected_floor "$idleSeconds" "$floor" --tick-ms 350 >/tmp/idle2 &
p2=$!
wait $p1 $p2
cat /tmp/idle1 /tmp/idle2
grep -q "^BENCH idle" /tmp/idle1 && grep -q "^BENCH idle" /tmp/idle2 || rc=1
# The window opened the foot switch: the simulator saw its vendor interface opened.
if grep -q "^open 0" /tmp/sim.log; then
  echo "BENCH idle-check the window opened the simulated foot switch"
else
  echo "guest-bench: the window never opened the simulated foot switch"
  rc=1
fi
stop_sim
"$idle" vm/no_device "$idleSeconds" "$build/kestrova" >/tmp/idle1 &
p1=$!
"$idle" vm/no_device_floor "$idleSeconds" "$floor" --tick-ms 350 >/tmp/idle2 &
p2=$!
wait $p1 $p2
cat /tmp/idle1 /tmp/idle2
grep -q "^BENCH idle" /tmp/idle1 && grep -q "^BENCH idle" /tmp/idle2 || rc=1
exit $rc
