#!/usr/bin/env bash
# End-to-end: the real window and hidraw backend against kestrova-sim on the
# distribution's kernel in qemu. In CI a missing qemu or kernel is a failure.
set -euo pipefail
export CI=${CI:-true}
# -V: the guest's own output, with its timings, also when it passes.
ctest --test-dir build -V --no-tests=error -L e2e
