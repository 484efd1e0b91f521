#!/usr/bin/env bash
# Unit and widget tests of the normal build.
set -euo pipefail
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" -L unit
