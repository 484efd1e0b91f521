#!/usr/bin/env bash
# Builds the guest's tiny initramfs: a static busybox, the guest init and the
# kernel modules the guest needs (HID with uhid, and 9p over virtio to reach
# the host's root file system), with their dependencies in load order.
#
#   make-initramfs.sh KERNEL_VERSION OUTPUT.cpio.gz
set -euo pipefail

version=$1
output=$2
here=$(cd "$(dirname "$0")" && pwd)
moddir=/lib/modules/$version
busybox=${KESTROVA_E2E_BUSYBOX:-/bin/busybox}

# Modules wanted in the guest; their dependencies come from modules.dep.
wanted=(hid hid-generic uhid virtio_pci 9pnet_virtio 9p)

[ -f "$moddir/modules.dep" ] || { echo "no $moddir/modules.dep" >&2; exit 1; }
# A dynamically linked busybox would need the host's libraries before 9p is up.
if ldd "$busybox" 2>&1 | grep -q '=>'; then
  echo "$busybox is not statically linked (install busybox-static)" >&2
  exit 1
fi

declare -A depsOf pathOf loaded
while IFS= read -r line; do
  path=${line%%:*}
  name=${path##*/}
  name=${name%%.ko*}
  name=${name//-/_}
  pathOf[$name]=$path
  depsOf[$name]=${line#*:}
done <"$moddir/modules.dep"

order=()
load() {
  local name=${1//-/_} dep depname
  [ -n "${loaded[$name]:-}" ] && return
  [ -n "${pathOf[$name]:-}" ] || { echo "module $1 is not in $moddir (built in?)" >&2; return; }
  loaded[$name]=1
  for dep in ${depsOf[$name]}; do
    depname=${dep##*/}
    load "${depname%%.ko*}"
  done
  order+=("$name")
}
for module in "${wanted[@]}"; do load "$module"; done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{bin,dev,proc,sys,host,modules}
cp "$busybox" "$root/bin/busybox"
for applet in sh mount umount insmod chroot poweroff mkdir cat echo sleep chmod date; do
  ln -s busybox "$root/bin/$applet"
done
cp "$here/guest-init.sh" "$root/init"
chmod 0755 "$root/init"

: >"$root/modules/order"
for name in "${order[@]}"; do
  src=$moddir/${pathOf[$name]}
  case $src in
    *.ko) cp "$src" "$root/modules/$name.ko" ;;
    *.ko.xz) xz -dc "$src" >"$root/modules/$name.ko" ;;
    *.ko.zst) zstd -qdc "$src" >"$root/modules/$name.ko" ;;
    *.ko.gz) gzip -dc "$src" >"$root/modules/$name.ko" ;;
    *) echo "unknown module format: $src" >&2; exit 1 ;;
  esac
  echo "$name" >>"$root/modules/order"
done

mkdir -p "$(dirname "$output")"
(cd "$root" && find . -print0 | cpio --null -o -H newc -R 0:0 --quiet) | gzip -1 >"$output.tmp"
mv "$output.tmp" "$output"
