#!/usr/bin/env bash
# Install test: installs the normal build into a scratch root, validates the
# desktop entry, the AppStream metainfo and the udev rule, then builds the
# Debian package and checks its contents and computed dependencies.
# KESTROVA_BUILD_DIR picks another build directory than build/.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=$(realpath "${KESTROVA_BUILD_DIR:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
app_id=com.example.kestrova
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expected_files=(
  usr/bin/kestrova
  usr/share/applications/$app_id.desktop
  usr/share/metainfo/$app_id.metainfo.xml
  usr/lib/udev/rules.d/70-kestrova.rules
  usr/share/icons/hicolor/scalable/apps/kestrova.svg
)
icon_sizes=(16 32 48 64 128 256)
for size in "${icon_sizes[@]}"; do
  expected_files+=("usr/share/icons/hicolor/${size}x${size}/apps/kestrova.png")
done

echo "--- cmake --install into a scratch root"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
for f in "${expected_files[@]}"; do
  [ -f "$root/$f" ] || fail "not installed: /$f"
done

echo "--- executable"
if [ -x "$root/usr/bin/kestrova" ]; then
  file -b "$root/usr/bin/kestrova" | grep -q '^ELF' || fail "/usr/bin/kestrova is not an ELF program"
else
  fail "/usr/bin/kestrova is missing or not executable"
fi

echo "--- icons"
for size in "${icon_sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/kestrova.png
  [ -f "$png" ] || continue
  file -b "$png" | grep -q "^PNG image data, $size x $size," ||
    fail "icon in ${size}x${size} is not a $size x $size PNG: $(file -b "$png")"
done

echo "--- desktop entry"
desktop=$root/usr/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
  # Hints count too: a clean entry produces no output at all.
  report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
  if [ -n "$report" ]; then
    echo "$report"
    fail "desktop-file-validate reported issues"
  else
    echo "desktop-file-validate: no issues"
  fi
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed program"
  icon_name=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/32x32/apps/$icon_name.png" ] ||
    fail "Icon=$icon_name has no 32x32 icon installed"
fi

echo "--- AppStream metainfo"
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net --strict --pedantic "$metainfo" || fail "appstreamcli validate failed"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -f "$root/usr/share/applications/$launchable" ] ||
    fail "metainfo launches '$launchable', which is not installed"
  metainfo_version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
fi

echo "--- udev rule"
rule_file=$root/usr/lib/udev/rules.d/70-kestrova.rules
if [ -f "$rule_file" ]; then
  # Lines that are neither blank nor comments.
  rules=$(grep -v -e '^[[:space:]]*#' -e '^[[:space:]]*$' "$rule_file" || true)
  echo "$rules"
  match=$(grep -F 'SUBSYSTEM=="hidraw"' <<<"$rules" |
    grep -F 'ATTRS{idVendor}=="2704"' | grep -F 'ATTRS{idProduct}=="2018"' || true)
  [ -n "$match" ] || fail "no rule matches hidraw with ATTRS{idVendor}==\"2704\" and ATTRS{idProduct}==\"2018\""
  grep -qF 'TAG+="uaccess"' <<<"$match" || fail "the matching rule does not add TAG+=\"uaccess\""
  # No mode that lets every user write the node (the last octal digit with its write bit).
  while read -r mode; do
    (((8#$mode & 2) == 0)) || fail "world-writable MODE=\"$mode\" in the udev rule"
  done < <(grep -o 'MODE:\?="[0-7]*"' <<<"$rules" | grep -o '[0-7][0-7]*' || true)
  # 73-seat-late.rules turns the uaccess tag into an ACL, so the rule must sort before it.
  number=$(basename "$rule_file" | grep -o '^[0-9]*')
  [ -n "$number" ] && ((10#$number < 73)) || fail "udev rule '$(basename "$rule_file")' does not sort before 73"
fi

echo "--- Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
shopt -s nullglob
debs=("$work"/deb/kestrova_*.deb)
shopt -u nullglob
if ((${#debs[@]} != 1)); then
  fail "expected one kestrova_*.deb, found ${#debs[@]}"
else
  deb=${debs[0]}
  echo "${deb##*/}"
  dpkg-deb -c "$deb"
  listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
  for f in "${expected_files[@]}"; do
    grep -qxF "./$f" <<<"$listing" || fail "not in the package: /$f"
  done
  grep -v -e '^\./usr/' -e '^\./$' <<<"$listing" && fail "package installs outside /usr"

  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # Package names alone, one per line, without version constraints.
  depends_names=$(sed -e 's/([^)]*)//g' -e 's/[,|]/\n/g' <<<"$depends" | tr -d ' ')
  for lib in libc6 libstdc++6 libqt6widgets6; do
    grep -qxF "$lib" <<<"$depends_names" || fail "Depends lacks $lib"
  done
  for field in Package Version Architecture Maintainer Section Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "control field $field is empty"
  done
  [ "$(dpkg-deb -f "$deb" Package)" = kestrova ] || fail "package is not named kestrova"
  [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "architecture is not $(dpkg --print-architecture)"
  deb_version=$(dpkg-deb -f "$deb" Version)
  [ "${metainfo_version:-}" = "$deb_version" ] ||
    fail "newest metainfo release '${metainfo_version:-}' is not the package version '$deb_version'"

  dpkg-deb -e "$deb" "$work/control"
  if [ -x "$work/control/postinst" ]; then
    sh -n "$work/control/postinst" || fail "postinst is not valid sh"
  else
    fail "postinst missing or not executable"
  fi

  # apt must be able to satisfy the computed dependencies on this system.
  apt-get install --simulate "$deb" 2>&1 | grep -q '^Inst kestrova ' ||
    fail "apt-get cannot install the package (simulated)"
fi

if ((failures)); then
  echo "install test: $failures failure(s)" >&2
  exit 1
fi
echo "install test: all checks passed"
