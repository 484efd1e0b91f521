#!/usr/bin/env bash
# Boots the distribution's own kernel in qemu (TCG) with a tiny initramfs,
# shares this machine's root file system read-only over 9p, and runs the
# end-to-end test programs inside the guest against kestrova-sim.
#
#   run-e2e.sh --work-dir DIR --sim PATH PROGRAM [PROGRAM...]
#
# Exit status: the guest's result; 77 (skipped) when qemu or a kernel image
# is missing and CI is not set to true; 1 for that case in CI.
# Environment: KESTROVA_E2E_KERNEL (a vmlinuz path), KESTROVA_E2E_TIMEOUT
# (seconds, default 480), KESTROVA_E2E_SMP (default 2), KESTROVA_E2E_FILTER
# (a GoogleTest filter passed to every program).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
workDir=""
sim=""
programs=()
while (($#)); do
  case $1 in
    --work-dir) workDir=$2; shift 2 ;;
    --sim) sim=$2; shift 2 ;;
    -*) echo "run-e2e: unknown option $1" >&2; exit 2 ;;
    *) programs+=("$1"); shift ;;
  esac
done
[ -n "$workDir" ] && [ -n "$sim" ] && ((${#programs[@]})) || {
  echo "usage: run-e2e.sh --work-dir DIR --sim PATH PROGRAM [PROGRAM...]" >&2
  exit 2
}

missing() {
  if [ "${CI:-}" = true ]; then
    echo "e2e: FAILED: $1 (the end-to-end test cannot run; CI requires it)" >&2
    exit 1
  fi
  echo "e2e: SKIPPED: $1 (install the packages of scripts/packages/e2e.txt)" >&2
  exit 77
}

qemu=$(command -v qemu-system-x86_64 || true)
[ -n "$qemu" ] || missing "qemu-system-x86_64 not found"

# The newest installed kernel whose modules are present too.
kernel=${KESTROVA_E2E_KERNEL:-}
if [ -z "$kernel" ]; then
  for candidate in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -rV); do
    if [ -r "$candidate" ] && [ -f "/lib/modules/${candidate#/boot/vmlinuz-}/modules.dep" ]; then
      kernel=$candidate
      break
    fi
  done
fi
if [ -n "${KESTROVA_E2E_KERNEL:-}" ]; then
  [ -r "$kernel" ] || missing "KESTROVA_E2E_KERNEL=$kernel is not a readable file"
else
  [ -n "$kernel" ] || missing "no readable /boot/vmlinuz-* with modules in /lib/modules"
fi
version=${kernel#/boot/vmlinuz-}
[ -f "/lib/modules/$version/modules.dep" ] || missing "no modules for kernel $version in /lib/modules/$version"
[ -x /bin/busybox ] || missing "/bin/busybox not found (busybox-static)"
command -v cpio >/dev/null || missing "cpio not found"

# The paths travel on the kernel command line, one word each.
for path in "$here/guest-run.sh" "$sim" "${programs[@]}"; do
  case $path in
    /*) ;;
    *) echo "run-e2e: $path must be an absolute path" >&2; exit 2 ;;
  esac
  if [[ $path =~ [^A-Za-z0-9_./+-] ]]; then
    echo "run-e2e: $path has characters the kernel command line cannot carry" >&2
    exit 2
  fi
  [ -e "$path" ] || { echo "run-e2e: $path does not exist (build it first)" >&2; exit 1; }
done
filter=${KESTROVA_E2E_FILTER:-}
if [[ $filter =~ [^A-Za-z0-9_.*:/-] ]]; then
  echo "run-e2e: KESTROVA_E2E_FILTER has characters the kernel command line cannot carry" >&2
  exit 2
fi

mkdir -p "$workDir"
initramfs=$workDir/initramfs-$version.cpio.gz
"$here/make-initramfs.sh" "$version" "$initramfs"

args="kestrova_arg=$sim"
for program in "${programs[@]}"; do args+=" kestrova_arg=$program"; done
[ -z "$filter" ] || args+=" kestrova_arg=--gtest_filter=$filter"

log=$workDir/guest.log
echo "e2e: booting $kernel in qemu (TCG, ${KESTROVA_E2E_SMP:-2} vCPUs); guest log: $log"
start=$(date +%s.%N)
set +e
timeout -k 10 "${KESTROVA_E2E_TIMEOUT:-480}" "$qemu" \
  -accel tcg -cpu max -smp "${KESTROVA_E2E_SMP:-2}" -m 1024 \
  -nodefaults -display none -serial stdio -no-reboot \
  -kernel "$kernel" -initrd "$initramfs" \
  -append "console=ttyS0 quiet panic=-1 kestrova_run=$here/guest-run.sh $args" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  </dev/null 2>&1 | tr -d '\r' | tee "$log"
status=("${PIPESTATUS[@]}")
set -e
end=$(date +%s.%N)
elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')

if [ "${status[0]}" -eq 124 ] || [ "${status[0]}" -eq 137 ]; then
  echo "e2e: FAILED: the guest did not finish within ${KESTROVA_E2E_TIMEOUT:-480} s" >&2
  exit 1
fi
rcLine=$(grep -a '^KESTROVA_E2E_RC=' "$log" | tail -n 1 || true)
if [ -z "$rcLine" ]; then
  echo "e2e: FAILED: the guest ended without reporting a result (qemu status ${status[0]}) after $elapsed s" >&2
  exit 1
fi
rc=${rcLine#KESTROVA_E2E_RC=}
echo "e2e: the guest took $elapsed s in all (boot, tests, power-off); result $rc"
[ "$rc" = 0 ]
