#!/usr/bin/env bash
# Sanitizer stage. Builds the tool and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan (any report aborts the test that
# made it) and runs the unit and widget tests there. Then the window's leak
# check: under LeakSanitizer in that build, and under valgrind on the normal
# build (definite leaks and descriptors left open fail).
# KESTROVA_BUILD_DIR picks another normal build directory than build/.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build-asan
export QT_QPA_PLATFORM=offscreen
symbolizer=$(command -v llvm-symbolizer-14 || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH=$symbolizer
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
supp=$PWD/scripts/ci/lsan-qt.supp
[ -f "$supp" ] && export LSAN_OPTIONS=suppressions=$supp:print_suppressions=0

echo "--- build ($build: -O1, address;undefined)"
start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  "-DKESTROVA_SANITIZE=address;undefined" -DKESTROVA_WARNINGS_AS_ERRORS=ON -DKESTROVA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "built in $((SECONDS - start)) s"

echo "--- unit and widget tests under ASan + UBSan"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L unit

echo "--- leak check under LeakSanitizer"
ctest --test-dir "$build" --output-on-failure -L leak

# valgrind sees the same leaks much more slowly; KESTROVA_LEAK_VALGRIND=1 adds it.
if [ "${KESTROVA_LEAK_VALGRIND:-0}" = 1 ]; then
  echo "--- leak check under valgrind (normal build)"
  normal_build=${KESTROVA_BUILD_DIR:-build}
  cmake --build "$normal_build" --target kestrova_leak_check -j"$(nproc)"
  leak_check=$normal_build/tests/leak/kestrova_leak_check
  valgrind --quiet --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --error-exitcode=99 --track-fds=no "$leak_check"
  echo "valgrind: no errors, no definite leaks"
fi
