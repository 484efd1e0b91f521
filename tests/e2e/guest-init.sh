#!/bin/sh
# PID 1 of the end-to-end guest. Loads the HID and 9p modules, mounts the
# host's root file system read-only, and runs the payload named on the kernel
# command line inside it; prints its exit status for the host and powers off.
export PATH=/bin

mount -t proc proc /proc
mount -t sysfs sysfs /sys
# The kernel does not mount devtmpfs by itself for an initramfs.
mount -t devtmpfs devtmpfs /dev

for module in $(cat /modules/order); do
  insmod "/modules/$module.ko" || echo "guest-init: insmod $module failed"
done

run=""
args=""
for word in $(cat /proc/cmdline); do
  case $word in
    kestrova_run=*) run=${word#kestrova_run=} ;;
    kestrova_arg=*) args="$args ${word#kestrova_arg=}" ;;
  esac
done

rc=1
if ! mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=524288,cache=loose hostroot /host; then
  echo "guest-init: cannot mount the host's root file system over 9p"
elif [ -z "$run" ]; then
  echo "guest-init: no kestrova_run= on the kernel command line"
else
  mount -t devtmpfs devtmpfs /host/dev
  mkdir -p /host/dev/shm /host/dev/pts
  mount -t tmpfs -o mode=1777 tmpfs /host/dev/shm
  mount -t proc proc /host/proc
  mount -t sysfs sysfs /host/sys
  # The guest's own /tmp hides the host's; a project checked out under the
  # host's /tmp is bound back into it so the payload can still be reached.
  mkdir -p /hosttmp
  mount -o bind /host/tmp /hosttmp
  mount -t tmpfs -o mode=1777 tmpfs /host/tmp
  case $run in
    /tmp/?*/*)
      top=${run#/tmp/}
      top=${top%%/*}
      mkdir -p "/host/tmp/$top"
      mount -o bind "/hosttmp/$top" "/host/tmp/$top"
      ;;
  esac
  mount -t tmpfs -o mode=0755 tmpfs /host/run
  read -r uptime _ </proc/uptime
  echo "guest-init: up after $uptime s, running $run"
  # shellcheck disable=SC2086 # the arguments are words from the command line
  chroot /host /bin/sh "$run" $args
  rc=$?
fi

echo "KESTROVA_E2E_RC=$rc"
poweroff -f
# poweroff returned: end PID 1 so the kernel panics and qemu exits (-no-reboot).
exit "$rc"
