#!/bin/sh
# Runs inside the guest, chrooted into the host's root file system: prepares
# what the test programs expect of a desktop session and runs them in turn.
#
#   guest-run.sh SIM PROGRAM... [--gtest_filter=...]
sim=$1
shift
programs=""
filter=""
for arg in "$@"; do
  case $arg in
    --gtest_filter=*) filter=$arg ;;
    *) programs="$programs $arg" ;;
  esac
done

export KESTROVA_SIM="$sim"
# Here a missing uhid is a failure, not a reason to skip.
export KESTROVA_E2E_REQUIRED=1
export QT_QPA_PLATFORM=offscreen
export HOME=/tmp
export LANG=C.UTF-8
# The window test drops to this user; Qt wants a runtime directory that is
# the user's own with mode 0700.
export KESTROVA_E2E_USER=65534
export XDG_RUNTIME_DIR=/tmp/runtime-e2e
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
chown "$KESTROVA_E2E_USER:$KESTROVA_E2E_USER" "$XDG_RUNTIME_DIR"

[ -e /dev/uhid ] || { echo "guest-run: /dev/uhid is missing (uhid not loaded)"; exit 1; }

rc=0
for program in $programs; do
  echo "guest-run: === ${program##*/} ==="
  start=$(date +%s.%N)
  if [ -n "$filter" ]; then
    "$program" --gtest_color=no "$filter"
  else
    "$program" --gtest_color=no
  fi
  status=$?
  end=$(date +%s.%N)
  echo "guest-run: ${program##*/} exited $status after $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s"
  [ "$status" -eq 0 ] || rc=1
done
exit $rc
