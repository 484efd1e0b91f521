#!/usr/bin/env bash
# The report-descriptor parser and the Linux HID backend read untrusted bytes
# and run a writer thread: their tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, where a read past a buffer fails the run.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build-sanitize-hid
tests=(hid_report_descriptor_test hid_linux_sysfs_enumeration_test
       hid_linux_hidraw_open_test hid_linux_hidraw_write_test)

cmake -S . -B "$build" -G Ninja -DKESTROVA_WARNINGS_AS_ERRORS=ON -DKESTROVA_BUILD_GUI=OFF \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${tests[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1
for t in "${tests[@]}"; do
  echo "--- $t"
  "$build/tests/hid/linux/$t" --gtest_brief=1
done
