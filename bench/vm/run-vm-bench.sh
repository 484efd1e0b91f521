#!/usr/bin/env bash
# Boots the distribution's kernel in qemu with the end-to-end test's
# initramfs (tests/e2e/make-initramfs.sh, whose init runs the script named
# by kestrova_run= inside this machine's root file system, shared read-only
# over 9p) and runs guest-bench.sh there. Prints the guest's "BENCH " lines.
#
#   run-vm-bench.sh --build DIR --work-dir DIR [--accel kvm|tcg]
#                   [--idle-seconds S] [--rounds R]
#
# --accel defaults to tcg, as in the end-to-end test: slow in absolute terms
# but it runs everywhere (nested KVM hangs at boot on some cloud machines).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=""
workDir=""
accel=""
idleSeconds=60
rounds=20
while (($#)); do
  case $1 in
    --build) build=$(realpath "$2"); shift 2 ;;
    --work-dir) workDir=$2; shift 2 ;;
    --accel) accel=$2; shift 2 ;;
    --idle-seconds) idleSeconds=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "run-vm-bench: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$build" ] && [ -n "$workDir" ] || {
  echo "usage: run-vm-bench.sh --build DIR --work-dir DIR [--accel kvm|tcg] [--idle-seconds S] [--rounds R]" >&2
  exit 2
}
[ -n "$accel" ] || accel=tcg
case $accel in
  kvm) cpu=host ;;
  tcg) cpu=max ;;
  *) echo "run-vm-bench: --accel is kvm or tcg" >&2; exit 2 ;;
esac

qemu=$(command -v qemu-system-x86_64 || true)
[ -n "$qemu" ] || { echo "run-vm-bench: qemu-system-x86_64 not found (scripts/packages/bench.txt)" >&2; exit 1; }
kernel=${KESTROVA_E2E_KERNEL:-}
if [ -z "$kernel" ]; then
  for candidate in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -rV); do
    if [ -r "$candidate" ] && [ -f "/lib/modules/${candidate#/boot/vmlinuz-}/modules.dep" ]; then
      kernel=$candidate
      break
    fi
  done
fi
[ -n "$kernel" ] || { echo "run-vm-bench: no readable /boot/vmlinuz-* with modules" >&2; exit 1; }
version=${kernel#/boot/vmlinuz-}
for path in "$here/guest-bench.sh" "$build"; do
  if [[ $path =~ [^A-Za-z0-9_./+-] ]]; then
    echo "run-vm-bench: $path has characters the kernel command line cannot carry" >&2
    exit 2
  fi
done

mkdir -p "$workDir"
initramfs=$workDir/initramfs-$version.cpio.gz
"$root/tests/e2e/make-initramfs.sh" "$version" "$initramfs"

log=$workDir/guest-$accel.log
echo "vm-bench: booting $kernel in qemu ($accel, 2 vCPUs); guest log: $log" >&2
set +e
timeout -k 10 "${KESTROVA_BENCH_VM_TIMEOUT:-1800}" "$qemu" \
  -accel "$accel" -cpu "$cpu" -smp 2 -m 1024 \
  -nodefaults -display none -serial stdio -no-reboot \
  -kernel "$kernel" -initrd "$initramfs" \
  -append "console=ttyS0 quiet panic=-1 kestrova_run=$here/guest-bench.sh kestrova_arg=$build kestrova_arg=$idleSeconds kestrova_arg=$rounds" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  </dev/null >"$log.raw" 2>&1
set -e
tr -d '\r' <"$log.raw" >"$log"
grep -a '^BENCH ' "$log" | sed "s/^BENCH /BENCH accel=$accel /"
rcLine=$(grep -a '^KESTROVA_E2E_RC=' "$log" | tail -n 1 || true)
if [ "$rcLine" != "KESTROVA_E2E_RC=0" ]; then
  echo "vm-bench: FAILED (${rcLine:-no result from the guest}); see $log" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
